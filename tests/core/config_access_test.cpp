#include <gtest/gtest.h>

#include <filesystem>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "support/automation_assert.h"
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

TEST_F(ConfigAccess, ReadsValuesAndDefaults) {
  useFile("[Toolbar.Main]\r\nButtonCount=3\r\n[Functions]\r\nOpen=PUSH,1/2,Open file|\r\n");
  EXPECT_EQ(get("toolbar.main", "BUTTONCOUNT", "0"), "3");
  EXPECT_EQ(get("Toolbar.Missing", "ButtonCount", "0"), "0");
  EXPECT_EQ(get("Functions", "Open", ""), "PUSH,1/2,Open file|");
  lib->BarsConfigFile(dir.file("nowhere.ini"));
  EXPECT_EQ(get("Functions", "Open", "dflt"), "dflt");
}

TEST_F(ConfigAccess, LongValuesAreCutTo255) {
  std::string v255(255, 'a'), v300(300, 'b');
  useFile("[S]\nA=" + v255 + "\nB=" + v300 + "\n");
  EXPECT_EQ(get("S", "A", ""), v255);
  EXPECT_EQ(get("S", "B", ""), v300.substr(0, 255));
}

TEST_F(ConfigAccess, UnreadableFilesReadAsDefaults) {
  lib->BarsConfigFile(dir.path().string());  // a directory
  EXPECT_EQ(get("S", "K", "d"), "d");
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
  useFile(garbage);
  EXPECT_EQ(get("Functions", "IconSetCount", "-1"), "-1");
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
}

TEST_F(ConfigAccess, FailedWritesReturnZero) {
  lib->BarsConfigFile(dir.file("missing-folder/BARS.INI"));
  EXPECT_EQ(lib->SetConfigValue("S", "K", "v"), Variant(int16_t(0)));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing-folder")));
}

struct IconSetCase {
  const char* file;
  const char* name;
  bool found;
  int16_t number;
};

TEST_F(ConfigAccess, GetIconSetNumberFindsTheFirstWholeMatch) {
  const char* three = "[Functions]\nIconSetCount=3\nIconSet0=Std\nIconSet1=Big\nIconSet2=Big\nIconSet3=Late\n";
  const IconSetCase cases[] = {
      {three, "Big", true, 1},
      {three, "Std", true, 0},
      {three, "big", false, 3},   // case-sensitive; left at the next free number
      {three, "Late", false, 3},  // beyond the count
      {"[Functions]\nIconSet0=Std\n", "Std", false, 0},
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
}

TEST_F(ConfigAccess, GetIconSetNumberRaisesForANonNumericCount) {
  useFile("[Functions]\nIconSetCount=many\n");
  int16_t n = 0;
  EXPECT_AUTOMATION_ERROR(lib->GetIconSetNumber("x", n), 13, "Type mismatch");
}

}  // namespace
}  // namespace zadeve::core
