// The tool on files a hostile but ordinary user leaves: a FIFO as the language file does
// not stop it, and a refused write says in one line which file and why, leaving the old
// file as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/cli_files.h"
#include "cli/run_zadeve.h"
#include "platform/profile_lock.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;

TEST(HostileFiles, AFifoAsTheLanguageFileIsRefusedAtOnce) {
  support::TempDir dir;
  const std::string fifo = dir.file("x.po");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  ::alarm(10);  // a blocking open ends the test here instead of hanging it
  const auto start = std::chrono::steady_clock::now();
  const auto r = zadeve({"check", exampleIni(), "--lang", fifo});
  ::alarm(0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(r.status, ExitUsage);
  EXPECT_NE(r.err.find("x.po"), std::string::npos) << r.err;
}

TEST(HostileFiles, ARefusedWriteNamesTheFileAndTheReasonInOneLine) {
  support::TempDir dir;
  const std::string before = "[s]\nk=1\n";
  const std::string locked = dir.write("locked.ini", before), readOnly = dir.write("ro.ini", before);
  const std::string fifo = dir.file("fifo.ini");
  fs::permissions(readOnly, fs::perms::owner_read);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  const int holder = ::open(locked.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  const struct {
    std::string file, line;
  } cases[] = {
      {locked, "zadeve: could not write " + locked + ": it is locked by another writer (waited " +
                   std::to_string(platform::kLockWaitMs / 1000) + " s)\n"},
      {readOnly, "zadeve: could not write " + readOnly + ": Permission denied\n"},
      {fifo, "zadeve: could not write " + fifo + ": not a regular file\n"},
      {dir.file("none/b.ini"), "zadeve: could not write " + dir.file("none/b.ini") + ": No such file or directory\n"},
  };
  for (const auto& c : cases) {
    const auto r = zadeve({"ini", "set", c.file, "s", "k", "2"});
    EXPECT_EQ(r.status, ExitFailed);
    EXPECT_EQ(r.err, c.line);
  }
  ::close(holder);
  EXPECT_EQ(support::TempDir::read(locked), before);
  EXPECT_EQ(support::TempDir::read(readOnly), before);
}

// render -o onto a full disk: the old picture stays byte for byte, and the reason is said.
TEST(HostileFiles, RenderOntoAFullDiskLeavesTheOldPicture) {
  support::TempDir dir;
  if (::geteuid() != 0 || ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "no tmpfs could be mounted here; the platform tests cover a full disk through the file-system seam";
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount{dir.path().string()};
  const std::string png = dir.write("view.png", "\x89PNG the old picture");
  {
    std::ofstream filler(dir.file("filler"), std::ios::binary);
    const std::string block(1024, 'f');
    while (filler.write(block.data(), block.size())) {
    }
  }
  const auto r = zadeve({"render", exampleIni(), "--view", "MainView", "--size", "800x600", "-o", png});
  EXPECT_EQ(r.status, ExitFailed);
  EXPECT_NE(r.err.find(png + ": No space left on device"), std::string::npos) << r.err;
  // The example's own two reports come first; the failure is one line of its own.
  size_t failures = 0;
  for (size_t at = 0; (at = r.err.find("zadeve: ", at)) != std::string::npos; ++at) ++failures;
  EXPECT_EQ(failures, 1u) << r.err;
  EXPECT_EQ(support::TempDir::read(png), "\x89PNG the old picture");
}

// A relative -o names a file in the user's folder, although setup makes the bitmap folder
// current; nothing is left beside the bitmaps.
TEST(HostileFiles, RenderWritesARelativeOutputWhereTheUserIs) {
  support::TempDir dir;
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  const auto r = zadeve({"render", exampleIni(), "--view", "MainView", "--size", "320x200", "-o", "here.png"});
  fs::current_path(before);
  EXPECT_EQ(r.status, ExitOk) << r.err;
  EXPECT_TRUE(fs::exists(dir.file("here.png")));
  EXPECT_FALSE(fs::exists(fs::path(exampleIni()).parent_path() / "here.png"));
}

}  // namespace
}  // namespace zadeve::cli
