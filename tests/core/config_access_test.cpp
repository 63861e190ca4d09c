#include <gtest/gtest.h>

#include <filesystem>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "support/automation_assert.h"
#include "support/counting_file_system.h"
#include "support/temp_dir.h"

namespace zadeve::core {
namespace {

using automation::byRef;
using automation::makeObject;

class ConfigAccess : public ::testing::Test {
 protected:
  void useFile(const std::string& content) { lib->BarsConfigFile(dir.write("BARS.INI", content)); }
  std::string get(const std::string& s, const std::string& k, const std::string& d) {
    return automation::toString(lib->GetConfigValue(s, k, d));
  }

  support::TempDir dir;
  Ref<ZuzuzudLibrary> lib = makeObject<ZuzuzudLibrary>();
};

// Sections and keys in any case; values cut to 255 characters; a missing, unreadable or
// garbled file reads as the defaults.
TEST_F(ConfigAccess, ReadsValuesAndDefaults) {
  std::string v255(255, 'a');
  useFile("[Toolbar.Main]\r\nButtonCount=3\r\n[S]\r\nA=" + v255 + "b\r\n");
  EXPECT_EQ(get("toolbar.main", "BUTTONCOUNT", "0"), "3");
  EXPECT_EQ(get("Toolbar.Missing", "ButtonCount", "0"), "0");
  EXPECT_EQ(get("S", "A", ""), v255);
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
  for (const std::string& file : {dir.file("nowhere.ini"), dir.path().string(), dir.write("bad.ini", garbage)}) {
    lib->BarsConfigFile(file);
    EXPECT_EQ(get("Functions", "IconSetCount", "d"), "d") << file;
  }
}

TEST_F(ConfigAccess, WritesAreSeenByTheNextRead) {
  useFile("[S]\r\nK=old\r\n");
  EXPECT_EQ(lib->SetConfigValue("S", "K", "new"), Variant(int16_t(1)));
  EXPECT_EQ(get("S", "K", ""), "new");
  EXPECT_EQ(automation::callMethod(*lib, "SetConfigValue", {Variant("T"), Variant("A"), Variant(5)}), Variant(int16_t(1)));
  EXPECT_EQ(get("T", "A", ""), "5");
  Variant section("S");
  EXPECT_EQ(automation::callMethod(*lib, "ClearConfigSection", {byRef(section)}), Variant(int16_t(1)));
  EXPECT_EQ(get("S", "K", "gone"), "gone");
  EXPECT_EQ(get("T", "A", ""), "5");

  lib->BarsConfigFile(dir.file("missing-folder/BARS.INI"));
  EXPECT_EQ(lib->SetConfigValue("S", "K", "v"), Variant(int16_t(0)));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing-folder")));
}

TEST_F(ConfigAccess, GetIconSetNumberFindsTheFirstWholeMatch) {
  const char* three = "[Functions]\nIconSetCount=3\nIconSet0=Std\nIconSet1=Big\nIconSet2=Big\nIconSet3=Late\n";
  const struct {
    const char* file;
    const char* name;
    bool found;
    int16_t number;
  } cases[] = {
      {three, "Big", true, 1},
      {three, "Std", true, 0},
      {three, "big", false, 3},   // case-sensitive; left at the next free number
      {three, "Late", false, 3},  // beyond the count
      {"[Functions]\nIconSetCount=2\nIconSet0=std.bmp,16,15\n", "std.bmp", false, 2},
      {"[Functions]\nIconSetCount=2\nIconSet0=std.bmp,16,15\n", "std.bmp,16,15", true, 0},
      {"[Functions]\nIconSetCount=2\n", "!NONE", true, 0},  // a missing entry reads as its default
  };
  for (const auto& c : cases) {
    useFile(c.file);
    Variant number(int16_t(-5));
    Variant found = automation::callMethod(*lib, "GetIconSetNumber", {Variant(c.name), byRef(number)});
    EXPECT_EQ(found, Variant(c.found)) << c.name;
    EXPECT_EQ(number, Variant(c.number)) << c.name;
  }
  useFile("[Functions]\nIconSetCount=many\n");
  int16_t n = 0;
  EXPECT_AUTOMATION_ERROR(lib->GetIconSetNumber("x", n), 13, "Type mismatch");
}

// GetIconSetNumber makes one lookup per entry but checks the file once per call; each call,
// and each single GetConfigValue, sees the file as it is when it begins.
TEST_F(ConfigAccess, EachCallChecksTheFileOnceAndSeesEditsMadeBeforeIt) {
  useFile("[Functions]\nIconSetCount=3\nIconSet0=Std\nIconSet1=Big\nIconSet2=Old\n");
  support::CountingFileSystem counting(lib->BarsConfigFile());
  int16_t number = 0;
  EXPECT_TRUE(lib->GetIconSetNumber("Old", number));
  EXPECT_EQ(counting.checks, 1);

  useFile("[Functions]\nIconSetCount=3\nIconSet0=Std\nIconSet1=Big\nIconSet2=New\n");
  Variant found(int16_t(0));
  EXPECT_EQ(automation::callMethod(*lib, "GetIconSetNumber", {Variant("New"), byRef(found)}), Variant(true));
  EXPECT_EQ(found, Variant(int16_t(2)));
  EXPECT_EQ(counting.checks, 2);

  useFile("[Functions]\nIconSetCount=3\nIconSet0=Std\nIconSet1=Big\nIconSet2=Now\n");
  EXPECT_EQ(get("Functions", "IconSet2", ""), "Now");
  EXPECT_EQ(counting.checks, 3);
}

}  // namespace
}  // namespace zadeve::core
