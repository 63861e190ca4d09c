#include "host/shell_application.h"

#include <gtest/gtest.h>

#include <sstream>

#include "automation/dispatch.h"
#include "core/host_contracts.h"
#include "support/automation_assert.h"

namespace zadeve::host {
namespace {

using automation::makeObject;
using automation::Ref;
using automation::ObjectRef;
using automation::Variant;

class ShellApplicationTest : public ::testing::Test {
 protected:
  Ref<ShellApplication> app = makeObject<ShellApplication>();
  core::ShellApp face{ObjectRef(app)};
};

TEST_F(ShellApplicationTest, KeepsReportsAndEchoesThemOneLineBreakEach) {
  std::ostringstream echo;
  face.MsgBoxSub("before the echo");
  app->echoReportsTo(&echo);
  face.MsgBoxSub("Toolbar setup error - missing\r\nfunction: Export.");
  automation::callMethod(*app, "MsgBoxSub", {Variant("no style")});

  ASSERT_EQ(app->reports().size(), 3u);
  EXPECT_EQ(app->reports()[1].text, "Toolbar setup error - missing\r\nfunction: Export.");
  EXPECT_EQ(app->reports()[1].style, 1);
  EXPECT_EQ(app->reports()[2].style, 0);
  EXPECT_EQ(echo.str(), "Toolbar setup error - missing\nfunction: Export.\nno style\n");
}

TEST_F(ShellApplicationTest, HoldsThePreparedCommandAndHearsBroadcasts) {
  face.aString("FontSize_SpinUp");
  face.aValue(Variant(9.5f));
  face.aCmdFlag(-1);
  face.Broadcast("REFRESHTOOLBAR");
  EXPECT_EQ(automation::getProperty(*app, "aString"), Variant("FontSize_SpinUp"));
  EXPECT_EQ(automation::getProperty(*app, "aValue"), Variant(9.5f));  // kept as Single
  EXPECT_EQ(automation::getProperty(*app, "aCmdFlag"), Variant(int16_t{-1}));
  EXPECT_EQ(app->broadcasts(), std::vector<std::string>{"REFRESHTOOLBAR"});
}

TEST_F(ShellApplicationTest, MainViewDrawsTheSymbolThatLocViewHandsOut) {
  core::HostView main{face.MainView()}, loc{face.locView()};
  EXPECT_AUTOMATION_ERROR(loc.ShapePicture(), 91, "SetShapePictureInfo");

  main.SetShapePictureInfo(24, 20, 0, 16711935, "Valve", 1);
  auto picture = automation::objectAs<platform::Picture>(loc.ShapePicture());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width(), 20);
  EXPECT_EQ(picture->height(), 24);
  EXPECT_EQ(app->lastSymbol(), "Valve");
  // The corners are the key colour the toolbar leaves out; the symbol lies in the middle.
  const platform::Rgba magenta{255, 0, 255, 255};
  EXPECT_EQ(picture->pixel(0, 0), magenta);
  EXPECT_EQ(picture->pixel(19, 23), magenta);
  EXPECT_NE(picture->pixel(10, 12), magenta);

  // Each call prepares a new picture; the colour value is 0x00BBGGRR.
  main.SetShapePictureInfo(16, 16, 0, 0x00FF0000, "Pump", 1);
  auto second = automation::objectAs<platform::Picture>(loc.ShapePicture());
  EXPECT_NE(second, picture);
  EXPECT_EQ(second->pixel(0, 0), (platform::Rgba{0, 0, 255, 255}));
}

TEST_F(ShellApplicationTest, NamedShapesAreDrawnAsNamedAndSizesAreChecked) {
  auto draw = [](const std::string& name) { return drawSymbol(name, 15, 15, {255, 0, 255, 255}); };
  const platform::Rgba key{255, 0, 255, 255};
  // A square fills its corners' neighbourhood, an ellipse and a diamond leave it empty;
  // a triangle points up, so its top corners stay empty while its bottom ones fill.
  EXPECT_NE(draw("Big Rectangle")->pixel(2, 2), key);
  EXPECT_EQ(draw("Ellipse")->pixel(2, 2), key);
  EXPECT_EQ(draw("diamond")->pixel(2, 2), key);
  EXPECT_EQ(draw("Triangle")->pixel(2, 2), key);
  EXPECT_NE(draw("Triangle")->pixel(3, 12), key);
  // Names without a shape word still get the same picture every time.
  auto a = draw("Valve"), b = draw("VALVE");
  EXPECT_TRUE(std::equal(a->rgba().begin(), a->rgba().end(), b->rgba().begin()));

  core::HostView main{face.MainView()};
  EXPECT_AUTOMATION_ERROR(main.SetShapePictureInfo(0, 16, 0, 0, "Valve", 1), 5, "height");
  EXPECT_AUTOMATION_ERROR(main.SetShapePictureInfo(16, 300, 0, 0, "Valve", 1), 5, "width");

  auto bitmap = automation::objectAs<platform::Picture>(face.GetBitmap());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width(), 64);
  EXPECT_EQ(bitmap->height(), 15);
}

}  // namespace
}  // namespace zadeve::host
