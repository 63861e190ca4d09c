#include "platform/current_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/automation_assert.h"
#include "support/temp_dir.h"

namespace zadeve::platform {
namespace {

namespace fs = std::filesystem;

struct CurrentDirectory : ::testing::Test {
  ~CurrentDirectory() override { fs::current_path(saved); }
  fs::path saved = fs::current_path();
  support::TempDir dir;
};

TEST_F(CurrentDirectory, ChangesToAFolderGivenWithOrWithoutTheSeparator) {
  fs::create_directory(dir.path() / "bitmaps");
  for (std::string path : {dir.path().string() + "/", (dir.path() / "bitmaps").string()}) {
    changeDrive(path);
    changeDirectory(path);
    EXPECT_TRUE(fs::equivalent(currentDirectory(), path)) << path;
  }
  changeDirectory("..");  // relative to where we are now
  EXPECT_TRUE(fs::equivalent(currentDirectory(), dir.path()));
  changeDrive("");
  changeDirectory("");  // no folder configured: stay
  EXPECT_TRUE(fs::equivalent(currentDirectory(), dir.path()));
}

TEST_F(CurrentDirectory, AFolderThatCannotBeEnteredIsPathNotFound) {
  changeDirectory(dir.path().string());
  for (const std::string& path : {dir.file("missing") + "/", dir.write("plain.txt", "x")}) {
    EXPECT_AUTOMATION_ERROR(changeDirectory(path), 76, "Path not found: " + path);
    EXPECT_TRUE(fs::equivalent(currentDirectory(), dir.path()));
  }
}

}  // namespace
}  // namespace zadeve::platform
