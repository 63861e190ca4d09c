// The DLL's platform services on a Windows desktop (here Wine's): twips per pixel from the
// screen; the unattended switch that turns the library's own message boxes into lines on
// standard error answered with the first button; and pictures: PNG and JPEG go to the
// system's imaging component, which must give the sizes and pixels the native build's
// decoders give for the same files (the numbers the native picture tests hold), and refuse
// a damaged file with 481, never crash on it. The exit code counts failures.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "automation/error.h"
#include "platform/picture.h"
#include "platform/windowing.h"
#include "check_count.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include <windows.h>

using namespace zadeve;
using namespace zadeve::platform;

namespace {

std::string show(Rgba c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "," + std::to_string(c.a);
}

// make_icons.py draws this 5x3 image into check.png.
const Rgba Check[3][5] = {
    {{200, 0, 0}, {0, 150, 0}, {0, 0, 200}, {255, 255, 255}, {0, 0, 0}},
    {{255, 0, 255}, {255, 210, 0}, {128, 128, 128}, {0, 0, 128}, {0, 160, 200}},
    {{0, 0, 0}, {255, 255, 255}, {200, 0, 0}, {0, 150, 0}, {0, 0, 200}},
};

void pictures(const std::string& folder) {
  try {
    auto png = readPicture(folder + "check.png");
    check(png->width() == 5 && png->height() == 3,
          "check.png is " + std::to_string(png->width()) + "x" + std::to_string(png->height()));
    for (int y = 0; y < 3 && png->width() == 5 && png->height() == 3; ++y)
      for (int x = 0; x < 5; ++x)
        check(png->pixel(x, y) == Check[y][x], "check.png at " + std::to_string(x) + "," + std::to_string(y) +
                                                   ": " + show(png->pixel(x, y)));
    auto jpeg = readPicture(folder + "grey8.jpg");  // one 8 x 8 block of grey: 128 + DC 64 / 8
    check(jpeg->width() == 8 && jpeg->height() == 8, "grey8.jpg is " + std::to_string(jpeg->width()) + "x" +
                                                         std::to_string(jpeg->height()));
    for (int i = 0; i < 8 && jpeg->width() == 8 && jpeg->height() == 8; ++i)
      check(jpeg->pixel(i, 7 - i) == (Rgba{136, 136, 136}), "grey8.jpg at " + std::to_string(i) + "," +
                                                                  std::to_string(7 - i) + ": " +
                                                                  show(jpeg->pixel(i, 7 - i)));
  } catch (const automation::AutomationError& e) {
    check(false, "a good picture raised " + std::to_string(e.number()) + ": " + e.description());
  }

  // A JPEG under a BMP's name, on which stb's decoder shifted a value by 33 bits: refused
  // with 481 or decoded, the same way twice, never a crash.
  const std::string shift = folder + "jpeg-shift-33.bmp";
  std::string first;
  for (int round = 0; round < 2; ++round) {
    std::string result;
    try {
      auto p = readPicture(shift);
      result = std::to_string(p->width()) + "x" + std::to_string(p->height());
      check(p->rgba().size() == size_t(p->width()) * size_t(p->height()) * 4, "the shift input's pixels");
    } catch (const automation::AutomationError& e) {
      check(e.number() == automation::err::InvalidPicture && e.description().find(shift) != std::string::npos,
            "the shift input raised " + std::to_string(e.number()) + ": " + e.description());
      result = e.description();
    }
    if (round == 0) first = result;
    check(result == first, "the shift input decoded twice: " + first + " / " + result);
  }
  std::printf("jpeg-shift-33.bmp: %s\n", first.c_str());
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void desktop(const std::string& scratch) {
  Windowing& screen = windowing();
  // Wine's screen has 96 logical pixels an inch, as most desktops do: 15 twips a pixel.
  check(screen.twipsPerPixelX() == 15.0, "twips per pixel across: " + std::to_string(screen.twipsPerPixelX()));
  check(screen.twipsPerPixelY() == 15.0, "twips per pixel down: " + std::to_string(screen.twipsPerPixelY()));
  screen.beep();

  _putenv("ZADEVE_UNATTENDED=1");
  const std::string log = scratch + "\\stderr.txt";
  std::fflush(stderr);
  if (!std::freopen(log.c_str(), "w", stderr)) {
    check(false, "standard error redirected");
    return;
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
}

}  // namespace

int main(int argc, char** argv) {
  // The host initialises COM before it loads the DLL; this program is the host here.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  pictures(std::string(argc > 2 ? argv[2] : "..") + "\\tests\\data\\pictures\\");
  desktop(argc > 1 ? argv[1] : ".");
  CoUninitialize();
  if (failures == 0) std::printf("ALL OK\n");
  return failures;
}
