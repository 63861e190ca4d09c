#include "host/shell_application.h"

#include <gtest/gtest.h>

#include <sstream>

#include "automation/dispatch.h"
#include "core/host_contracts.h"
#include "support/automation_assert.h"

namespace zadeve::host {
namespace {

using automation::makeObject;
using automation::ObjectRef;
using automation::Variant;
using platform::Picture;

class ShellApplicationTest : public ::testing::Test {
 protected:
  automation::Ref<Picture> shapePicture() {
    return automation::objectAs<Picture>(core::HostView{face.locView()}.ShapePicture());
  }

  automation::Ref<ShellApplication> app = makeObject<ShellApplication>();
  core::ShellApp face{ObjectRef(app)};
};

// The main road sees reports echoed; here, their style, and only those after the echo began.
TEST_F(ShellApplicationTest, KeepsReportsAndPreparedValuesAndHearsBroadcasts) {
  std::ostringstream echo;
  face.MsgBoxSub("before the echo");
  app->echoReportsTo(&echo);
  face.MsgBoxSub("a\r\nb");
  automation::callMethod(*app, "MsgBoxSub", {Variant("no style")});
  ASSERT_EQ(app->reports().size(), 3u);
  EXPECT_EQ(app->reports()[1].style, 1);
  EXPECT_EQ(app->reports()[2].style, 0);
  EXPECT_EQ(echo.str(), "a\nb\nno style\n");

  face.aValue(Variant(9.5f));
  face.aCmdFlag(-1);
  face.Broadcast("REFRESHTOOLBAR");
  EXPECT_EQ(automation::getProperty(*app, "aValue"), Variant(9.5f));  // kept as Single
  EXPECT_EQ(automation::getProperty(*app, "aCmdFlag"), Variant(int16_t{-1}));
  EXPECT_EQ(app->broadcasts(), std::vector<std::string>{"REFRESHTOOLBAR"});
}

TEST_F(ShellApplicationTest, MainViewDrawsTheSymbolThatLocViewHandsOut) {
  core::HostView main{face.MainView()};
  EXPECT_AUTOMATION_ERROR(shapePicture(), 91, "SetShapePictureInfo");
  main.SetShapePictureInfo(24, 20, 0, 16711935, "Valve", 1);  // height first
  auto picture = shapePicture();
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width(), 20);
  EXPECT_EQ(picture->height(), 24);
  // The corners are the key colour the toolbar leaves out; the symbol lies in the middle.
  EXPECT_EQ(picture->pixel(19, 23), (platform::Rgba{255, 0, 255, 255}));
  EXPECT_NE(picture->pixel(10, 12), (platform::Rgba{255, 0, 255, 255}));

  main.SetShapePictureInfo(16, 16, 0, 0x00FF0000, "Pump", 1);  // 0x00BBGGRR
  EXPECT_EQ(shapePicture()->pixel(0, 0), (platform::Rgba{0, 0, 255, 255}));
  EXPECT_AUTOMATION_ERROR(main.SetShapePictureInfo(0, 16, 0, 0, "Valve", 1), 5, "height");
  EXPECT_AUTOMATION_ERROR(main.SetShapePictureInfo(16, 300, 0, 0, "Valve", 1), 5, "width");
}

TEST_F(ShellApplicationTest, NamedShapesAreDrawnAsNamed) {
  const platform::Rgba key{255, 0, 255, 255};
  // Near a corner a square is filled, an ellipse or a diamond is not; a triangle points up.
  const struct { const char* name; int x, y; bool filled; } cases[] = {
      {"Big Rectangle", 2, 2, true}, {"Ellipse", 2, 2, false}, {"diamond", 2, 2, false},
      {"Triangle", 2, 2, false},     {"Triangle", 3, 12, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(drawSymbol(c.name, 15, 15, key)->pixel(c.x, c.y) != key, c.filled) << c.name << " " << c.x << "," << c.y;
  // Names without a shape word still get the same picture every time.
  auto a = drawSymbol("Valve", 15, 15, key), b = drawSymbol("VALVE", 15, 15, key);
  EXPECT_TRUE(std::equal(a->rgba().begin(), a->rgba().end(), b->rgba().begin()));

  auto bitmap = automation::objectAs<Picture>(face.GetBitmap());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width(), 64);
  EXPECT_EQ(bitmap->height(), 15);
}

}  // namespace
}  // namespace zadeve::host
