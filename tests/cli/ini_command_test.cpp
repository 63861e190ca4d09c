#include <gtest/gtest.h>

#include "cli/run_zadeve.h"
#include "support/temp_dir.h"

namespace zadeve::cli {
namespace {

TEST(IniCommand, GetSetAndDeleteSection) {
  support::TempDir dir;
  auto ini = dir.write("BARS.INI", "; keep me\r\n[A]\r\nk=1\r\n[B]\r\nx=2\r\n");
  EXPECT_EQ(zadeve({"ini", "get", ini, "a", "K"}).out, "1\n");
  auto missing = zadeve({"ini", "get", ini, "A", "ButtonSize", "--default", "16"});
  EXPECT_EQ(missing.status, ExitOk);
  EXPECT_EQ(missing.out, "16\n");
  EXPECT_EQ(zadeve({"ini", "get", ini, "Nope", "Nope"}).out, "\n");

  EXPECT_EQ(zadeve({"ini", "set", ini, "a", "K", "9"}).status, ExitOk);
  EXPECT_EQ(support::TempDir::read(ini), "; keep me\r\n[A]\r\nk=9\r\n[B]\r\nx=2\r\n");
  EXPECT_EQ(zadeve({"ini", "delete-section", ini, "A"}).status, ExitOk);
  EXPECT_EQ(support::TempDir::read(ini), "; keep me\r\n[B]\r\nx=2\r\n");
}

TEST(IniCommand, FailedWritesAndBadUsageHaveTheirOwnStatus) {
  support::TempDir dir;
  auto failed = zadeve({"ini", "set", dir.file("no/such/folder/BARS.INI"), "S", "K", "v"});
  EXPECT_EQ(failed.status, ExitFailed);
  EXPECT_NE(failed.err.find("could not write"), std::string::npos);

  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"ini"}, {"ini", "get", "f"}, {"ini", "frob"}, {"ini", "set", "f", "s", "k"}, {"bogus"}}) {
    auto r = zadeve(args);
    EXPECT_EQ(r.status, ExitUsage) << ::testing::PrintToString(args);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

}  // namespace
}  // namespace zadeve::cli
