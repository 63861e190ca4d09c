// What every command of the tool shares: help, usage errors, the one-line failures, the files a
// hostile but ordinary user hands it, and the ini command that edits a file in place.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/run_zadeve.h"
#include "platform/profile_lock.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;

std::string shown(const std::vector<std::string>& args) { return ::testing::PrintToString(args); }

TEST(ToolConventions, HelpOnEveryCommandAndAVersion) {
  for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
           {}, {"ini"}, {"ini", "get"}, {"ini", "set"}, {"ini", "delete-section"}, {"demo"}, {"check"}, {"render"},
           {"layout"}, {"call"}, {"show"}}) {
    std::string usage = "\nUsage: zadeve";
    for (const auto& word : command) usage += " " + word;
    auto args = command;
    args.push_back("--help");
    const auto r = zadeve(args);
    EXPECT_EQ(r.status, ExitOk) << usage;
    EXPECT_NE(r.out.find(usage + " [OPTIONS]"), std::string::npos) << r.out;
  }
  EXPECT_NE(zadeve({"call", "--help"}).out.find("click FORM BAR FUNCTION"), std::string::npos) << "the grammar";
  const auto check = zadeve({"check", "--help"}).out;
  for (const char* word : {"--bitmaps", "--lang", "--format", "Errors (exit status 1)", "Warnings"})
    EXPECT_NE(check.find(word), std::string::npos) << word;
  const auto v = zadeve({"--version"});
  EXPECT_EQ(v.status, ExitOk);
  EXPECT_TRUE(std::regex_match(v.out, std::regex("zadeve [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << v.out;
}

// Twips are 16-bit: 32767 twips at 15 to a pixel is 2184 pixels a side.
TEST(ToolConventions, UsageErrorsExitTwoWithOneLineNamingWhatIsWrong) {
  support::TempDir dir;
  const std::string ini = exampleIni(), png = dir.file("x.png");
  const std::string clean = (fs::path(ZADEVE_TEST_DATA) / "check" / "clean.ini").string();
  const std::string badPo = dir.write("bad.po", "msgid \"x\nmsgstr \"y\"\n");
  struct Case {
    std::vector<std::string> args;
    std::string said;
  };
  for (const auto& c : std::vector<Case>{
           {{}, ""}, {{"bogus"}, ""}, {{"ini"}, ""}, {{"ini", "get", "f"}, ""}, {{"ini", "frob"}, ""},
           {{"ini", "set", "f", "s", "k"}, ""}, {{"render", ini, "-o", png}, ""},
           {{"layout", ini, "--view", "MainView", "--size", "800x"}, "malformed size 800x"},
           {{"layout", ini, "--view", "MainView", "--size", "0x600"}, ""},
           {{"layout", ini, "--view", "MainView", "--size", "3000x600"}, "each side from 1 to 2184 pixels"},
           {{"layout", ini, "--view", "MainView", "--size", "800x2185"}, "each side from 1 to 2184 pixels"},
           {{"render", ini, "--view", "MainView", "--size", "big", "-o", png}, ""},
           {{"render", ini, "--view", "MainView", "-o", png, "--set", "Bold=maybe"}, ""},
           {{"render", ini, "--view", "MainView", "-o", png, "--status", "no equals sign"}, ""},
           {{"layout", ini, "--view", "MainView", "--frobnicate"}, ""},
           {{"call", ini, "a.zcall", "b.zcall"}, ""}, {{"show", ini}, ""},
           {{"show", ini, "--view", "MainView", "--size", "0x600"}, ""},
           {{"check", dir.file("nowhere.ini")}, "nowhere.ini"},
           {{"check", clean, "--bitmaps", dir.file("nofolder")}, "nofolder"},
           {{"check", clean, "--lang", dir.file("none.po")}, "none.po"},
           {{"check", clean, "--lang", badPo}, "bad.po"},
           {{"check", clean, "--format", "xml"}, "xml"}}) {
    const auto r = zadeve(c.args);
    EXPECT_EQ(r.status, ExitUsage) << shown(c.args);
    EXPECT_TRUE(oneLine(r.err)) << shown(c.args) << "\n" << r.err;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << shown(c.args);
  }
  EXPECT_FALSE(fs::exists(png)) << "nothing is drawn on a usage error";
  const auto largest = zadeve({"layout", ini, "--view", "MainView", "--size", "2184x2184", "--json"});
  EXPECT_EQ(largest.status, ExitOk) << largest.err;
  EXPECT_NE(largest.out.find("\"twips\": {\"width\": 32760, \"height\": 32760}"), std::string::npos) << largest.out;
}

TEST(ToolConventions, AMissingFileOrAnUnknownViewIsOneLineNamingTheFile) {
  support::TempDir dir;
  const std::string missing = dir.file("NONE.INI"), ini = exampleIni();
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  for (const auto& c : std::vector<Case>{
           {{"layout", missing, "--view", "MainView"}, missing + ": no such file"},
           {{"render", missing, "--view", "MainView", "-o", dir.file("x.png")}, missing + ": no such file"},
           {{"call", missing, "-"}, missing + ": no such file"},
           {{"call", ini, dir.file("none.zcall")}, dir.file("none.zcall") + ": no such file"},
           {{"layout", ini, "--view", "NoView"}, ini + ": no view NoView (no [NoView.Toolbars] with a BarCount)"},
           {{"layout", ini, "--view", "MainView", "--float", "Nothing"}, ini + ": MainView: frmMain has no bar Nothing"}}) {
    const auto r = zadeve(c.args);
    EXPECT_EQ(r.status, ExitFailed) << c.err;
    EXPECT_EQ(r.err, "zadeve: " + c.err + "\n");
    EXPECT_EQ(r.out, "");
  }
}

TEST(ToolConventions, TextIsUtf8Throughout) {
  support::TempDir dir;
  const std::string ini = dir.write("BARS.INI",
                                    "[Ansicht.Toolbars]\nBarCount=1\nBar0=Name=Übersicht;Home=TOP;Visible=Yes\n"
                                    "[Functions]\nGrüße=PUSH,,Grüße \"zurück\"|~0~0\n"
                                    "[Toolbar.Übersicht]\nButtonCount=1\nButton0=Grüße\n");
  const auto layout = zadeve({"layout", ini, "--view", "Ansicht", "--json"});
  ASSERT_EQ(layout.status, ExitOk) << layout.err;
  EXPECT_NE(layout.out.find("\"name\": \"Übersicht\", \"edge\": \"TOP\""), std::string::npos) << layout.out;
  const auto call = zadeve({"call", ini, dir.write("u.zcall", "form Main 400x300\nKaTSetup Main Ansicht\n"
                                                              "KaSetButtonTip Main Grüße \"Grüße „neu“\"\n"
                                                              "KaTBarName Main.Übersicht\n")});
  ASSERT_EQ(call.status, ExitOk) << call.err;
  EXPECT_NE(call.out.find("KaTBarName(Main.Übersicht) = \"Übersicht\"\n"), std::string::npos) << call.out;
  EXPECT_NE(call.out.find("KaSetButtonTip(Main, \"Grüße\", \"Grüße „neu“\")\n"), std::string::npos) << call.out;
}

// Every input that once gave a message beside the point (no such file, no view, line 1 is
// neither ...) names the file and the real reason, at once: nothing waits on a FIFO or a device.
TEST(HostileFiles, EveryCommandNamesTheRealReasonAtOnce) {
  support::TempDir dir;
  const std::string ini = "[V.Toolbars]\r\nBarCount=0\r\n";
  auto utf16 = [&](bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ini) out += little ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
  };
  fs::create_directory(dir.path() / "folder");
  const std::string fifo = dir.file("fifo.ini"), po = dir.file("x.po");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(po.c_str(), 0600), 0);
  const std::string locked = dir.write("locked.ini", ini);
  fs::permissions(locked, fs::perms::none);
  std::FILE* probe = std::fopen(locked.c_str(), "rb");
  const bool lockedReadable = probe != nullptr;
  if (probe) std::fclose(probe);
  const std::string clean = dir.write("BARS.INI", "[V.Toolbars]\nBarCount=1\nBar0=Name=T;Visible=Yes\n[Functions]\n"
                                                  "IconSetCount=1\nIconSet0=fifo.ini,16,15\nA=PUSH,0/0,A|\n"
                                                  "[Toolbar.T]\nButtonCount=1\nButton0=A\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string said;
  };
  std::vector<Case> cases{
      {{"layout", clean, "--view", "V", "--bitmaps", clean}, ExitFailed, clean + ": is not a folder"},
      {{"render", clean, "--view", "V", "--bitmaps", dir.file("none"), "-o", dir.file("x.png")}, ExitFailed,
       dir.file("none") + ": no such folder"},
      {{"check", clean, "--bitmaps", clean}, ExitUsage, clean + "/: is not a folder"},
      {{"check", clean, "--lang", po}, ExitUsage, po + ": is a named pipe (FIFO)"}};
  std::vector<std::pair<std::string, std::string>> inputs{
      {dir.file("folder"), "is a folder, not a file"},
      {fifo, "is a named pipe (FIFO), not a regular file"},
      {"/dev/zero", "is a device, not a regular file"},
      {dir.write("empty.ini", ""), "is empty"},
      {dir.write("le.ini", utf16(true)), "is saved as UTF-16 little-endian (it starts"},
      {dir.write("be.ini", utf16(false)), "is saved as UTF-16 big-endian (it starts"},
      {dir.write("utf32.ini", std::string("\xFF\xFE\0\0[\0\0\0", 8)), "is saved as UTF-32 little-endian (it starts"},
      {dir.write("nobom.ini", utf16(true).substr(2)), "holds NUL bytes (UTF-16 without a byte-order mark"}};
  // Whoever may read anything (root) reads a file without permissions too.
  if (!lockedReadable) inputs.push_back({locked, "cannot be read: permission denied"});
  for (const auto& [file, reason] : inputs)
    for (const auto& [args, status] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"layout", file, "--view", "V"}, ExitFailed},
             {{"render", file, "--view", "V", "-o", dir.file("x.png")}, ExitFailed},
             {{"call", file, "-"}, ExitFailed},
             {{"check", file}, ExitUsage}})
      cases.push_back({args, status, file + ": " + reason});
  ::alarm(30);  // a blocking open ends the test here instead of hanging it
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const auto r = zadeve(c.args);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << shown(c.args);
    EXPECT_EQ(r.status, c.status) << shown(c.args);
    EXPECT_TRUE(oneLine(r.err)) << r.err;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << shown(c.args) << ": " << r.err;
  }
  ::alarm(0);
  EXPECT_NE(zadeve({"check", clean}).out.find(":6: error: the bitmap of IconSet0 does not load: " + fifo +
                                              " is a named pipe (FIFO)"),
            std::string::npos);
}

// The ini command edits in place; a refused write says in one line which file and why, and
// leaves the old file as it was.
TEST(IniCommand, GetSetDeleteAndARefusedWriteNamesTheFileAndTheReason) {
  support::TempDir dir;
  auto ini = dir.write("BARS.INI", "; keep me\r\n[A]\r\nk=1\r\n[B]\r\nx=2\r\n");
  EXPECT_EQ(zadeve({"ini", "get", ini, "a", "K"}).out, "1\n");
  const auto missing = zadeve({"ini", "get", ini, "A", "ButtonSize", "--default", "16"});
  EXPECT_EQ(missing.status, ExitOk);
  EXPECT_EQ(missing.out, "16\n");
  EXPECT_EQ(zadeve({"ini", "get", ini, "Nope", "Nope"}).out, "\n");
  EXPECT_EQ(zadeve({"ini", "set", ini, "a", "K", "9"}).status, ExitOk);
  EXPECT_EQ(support::TempDir::read(ini), "; keep me\r\n[A]\r\nk=9\r\n[B]\r\nx=2\r\n");
  EXPECT_EQ(zadeve({"ini", "delete-section", ini, "A"}).status, ExitOk);
  EXPECT_EQ(support::TempDir::read(ini), "; keep me\r\n[B]\r\nx=2\r\n");

  const std::string before = "[s]\nk=1\n";
  const std::string locked = dir.write("locked.ini", before), readOnly = dir.write("ro.ini", before);
  const std::string fifo = dir.file("fifo.ini"), none = dir.file("none/b.ini");
  fs::permissions(readOnly, fs::perms::owner_read);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  const int holder = ::open(locked.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  for (const auto& [file, why] : std::vector<std::pair<std::string, std::string>>{
           {locked, "it is locked by another writer (waited " + std::to_string(platform::kLockWaitMs / 1000) + " s)"},
           {readOnly, "Permission denied"},
           {fifo, "not a regular file"},
           {none, "No such file or directory"}}) {
    const auto r = zadeve({"ini", "set", file, "s", "k", "2"});
    EXPECT_EQ(r.status, ExitFailed);
    EXPECT_EQ(r.err, "zadeve: could not write " + file + ": " + why + "\n");
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

// The README shows examples/script/hello.vbs as it is; the Wine suite runs the file.
TEST(ToolConventions, TheReadmeShowsTheHelloScriptVerbatim) {
  const std::string readme = support::TempDir::read((sourceRoot() / "README.md").string());
  const auto named = readme.find("(`examples/script/hello.vbs`):");
  ASSERT_NE(named, std::string::npos);
  const auto begin = readme.find("```vb\n", named);
  ASSERT_NE(begin, std::string::npos);
  EXPECT_EQ(readme.substr(begin + 6, readme.find("```\n", begin + 6) - begin - 6),
            support::TempDir::read((sourceRoot() / "examples" / "script" / "hello.vbs").string()));
}

}  // namespace
}  // namespace zadeve::cli
