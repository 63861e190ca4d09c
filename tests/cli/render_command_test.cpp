#include <gtest/gtest.h>

#include "cli/cli_files.h"
#include "cli/run_zadeve.h"
#include "platform/headless_windowing.h"
#include "platform/picture.h"

namespace zadeve::cli {
namespace {

using platform::HeadlessWindowing;

struct Rendered {
  automation::Ref<platform::Picture> picture;
  std::string out;
};

class RenderCommand : public ::testing::Test {
 protected:
  Rendered render(std::vector<std::string> extra, const std::string& size = "800x600") {
    const std::string png = dir.file("view" + std::to_string(count++) + ".png");
    std::vector<std::string> args{"render", exampleIni(), "--view", "MainView", "--size", size, "-o", png};
    args.insert(args.end(), extra.begin(), extra.end());
    const auto r = zadeve(args);
    EXPECT_EQ(r.status, ExitOk) << r.err;
    return {platform::readPicture(png), r.out};
  }
  // Pixels that differ inside a box of the form's client area.
  static int differences(const platform::Picture& a, const platform::Picture& b, int x, int y, int w, int h) {
    int n = 0;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) n += a.pixel(i, j) != b.pixel(i, j);
    return n;
  }
  support::TempDir dir;
  int count = 0;
};

TEST_F(RenderCommand, PictureDecodesAndHasTheRequestedSize) {
  const auto big = render({}), small = render({}, "640x480");
  ASSERT_TRUE(big.picture && small.picture);
  EXPECT_EQ(big.picture->width(), 800);
  EXPECT_EQ(big.picture->height(), 600);
  EXPECT_EQ(small.picture->width(), 640);
  EXPECT_EQ(small.picture->height(), 480);
  EXPECT_NE(big.out.find(": 800 x 600 px, MainView on a 800 x 600 px form\n"), std::string::npos) << big.out;
  // --screen draws the form in its frame, with the margin around the screen.
  const auto screen = render({"--screen"}, "640x480");
  ASSERT_TRUE(screen.picture);
  EXPECT_EQ(screen.picture->width(), 640 + 2 * HeadlessWindowing::FramePixels + 16);
  // The client area is the same pixels as inside the frame of the screen's picture.
  const int cx = HeadlessWindowing::FramePixels, cy = cx + HeadlessWindowing::CaptionPixels;
  int differing = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) differing += small.picture->pixel(x, y) != screen.picture->pixel(cx + x, cy + y);
  EXPECT_EQ(differing, 0);
}

TEST_F(RenderCommand, AFloatedBarLeavesItsPlaceOnTheForm) {
  const auto docked = render({}), floated = render({"--float", "Draw"});
  // Draw docks left below the two top bars (60 px) and is 34 px wide; the File bar above it
  // does not move.
  EXPECT_GT(differences(*docked.picture, *floated.picture, 0, 70, 30, 200), 1000);
  EXPECT_EQ(differences(*docked.picture, *floated.picture, 0, 0, 800, 30), 0);
}

TEST_F(RenderCommand, StatesAndPanelsShowInThePicture) {
  const auto plain = render({});
  // Each changes something on the bars and nothing of the form's size.
  for (const auto& option : std::vector<std::vector<std::string>>{{"--set", "Bold=on"},
                                                                  {"--set", "ZoomIn=disabled"},
                                                                  {"--set", "FileSave=hidden"},
                                                                  {"--status", "StatusText=Drawing saved"}}) {
    const auto changed = render(option);
    EXPECT_GT(differences(*plain.picture, *changed.picture, 0, 0, 800, 600), 0) << option[1];
    EXPECT_EQ(changed.picture->width(), plain.picture->width()) << option[1];
  }
  // Off is how the example starts: the same picture.
  EXPECT_EQ(differences(*plain.picture, *render({"--set", "Bold=off"}).picture, 0, 0, 800, 600), 0);
}

}  // namespace
}  // namespace zadeve::cli
