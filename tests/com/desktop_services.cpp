// The DLL's windowing services on a Windows desktop (here Wine's): twips per pixel from
// the screen, and the unattended switch that turns the library's own message boxes into
// lines on standard error answered with the first button. The exit code counts failures.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/windowing.h"
#include "check_count.h"

using namespace zadeve::platform;

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string scratch = argc > 1 ? argv[1] : ".";
  Windowing& screen = windowing();
  // Wine's screen has 96 logical pixels an inch, as most desktops do: 15 twips a pixel.
  check(screen.twipsPerPixelX() == 15.0, "twips per pixel across: " + std::to_string(screen.twipsPerPixelX()));
  check(screen.twipsPerPixelY() == 15.0, "twips per pixel down: " + std::to_string(screen.twipsPerPixelY()));
  screen.beep();

  _putenv("ZADEVE_UNATTENDED=1");
  const std::string log = scratch + "\\stderr.txt";
  std::fflush(stderr);
  if (!std::freopen(log.c_str(), "w", stderr)) {
    std::printf("FAILED: cannot redirect standard error\n");
    return 1;
  }
  const auto ok = screen.messageBox("Workspace stack underflow.", MessageBoxButtons::Ok, "");
  const auto yes = screen.messageBox("Dock the bar?", MessageBoxButtons::YesNo, "Palette");
  const auto okCancel = screen.messageBox("Go on?", MessageBoxButtons::OkCancel, "Setup");
  std::fclose(stderr);
  check(ok == MessageBoxResult::Ok, "an OK box answers OK");
  check(yes == MessageBoxResult::Yes, "a Yes/No box answers Yes");
  check(okCancel == MessageBoxResult::Ok, "an OK/Cancel box answers OK");
  std::string printed;  // standard error is in text mode: CRLF line ends
  for (char c : readFile(log))
    if (c != '\r') printed += c;
  check(printed == "ZADEVE: Workspace stack underflow.\nPalette: Dock the bar?\nSetup: Go on?\n",
        "standard error holds the boxes: \"" + printed + "\"");

  if (failures == 0) std::printf("ALL OK\n");
  return failures;
}
