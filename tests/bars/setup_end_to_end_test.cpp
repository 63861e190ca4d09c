// One realistic view built by KaTSetup from a BARS.INI with real icon strips: every kind
// of item, the reports a user would see, and the free rectangle left for the document.

#include <gtest/gtest.h>

#include <filesystem>

#include "automation/conversions.h"
#include "bars/bars_fixture.h"
#include "platform/picture.h"
#include "support/temp_dir.h"

namespace zadeve::core {
namespace {

const char* const BarsIni = R"([Debug]
ReportMissing=1

[Drawing.Toolbars]
BarCount=8
Bar0=Name=File;Home=TOP;Visible=Yes;State=Docked;IconSets=0
Bar1=Name=Format;Home=TOP;Visible=Yes;State=Docked;IconSets=0
Bar2=Name=Draw;Home=LEFT;Visible=Yes;State=Docked;IconSets=1
Bar3=
Bar4=Name=View;Home=RIGHT;Visible=Yes;State=Docked
Bar5=Name=Sketch;Home=BOTTOM;Visible=Yes;State=Docked
Bar6=Name=Status;Home=BOTTOM;Visible=Yes;State=Docked
Bar7=Name=Tools;Home=TOP;Visible=Yes;State=Floating;FloatPos=6000,3000,2400,900

[Functions]
IconSetCount=2
IconSet0=std16.bmp,16,15
IconSet1=big24.bmp,24,24
FileNew=PUSH,0/0,New drawing|~0~0
FileOpen=PUSH,0/1,Open drawing|~0~0
FileSave=PUSH,0/2,Save drawing|x~4~1
Print=PUSH,0/3,Print|
Bold=TOGGLE,0/4,Bold|
Italic=TOGGLE,0/5,Italic|
FontName=COMBO,1400,Font name, size|
FontSize=SPIN,8/6/72/1/0,Font size|
DrawLine=PUSH,1/0,Line|~0~0
DrawRect=PUSH,1/1,Rectangle|~0~0
ZoomIn=PUSH,0/6,Zoom in|~0~0
ZoomOut=PUSH,0/7,Zoom out|~0~0
Grid=TOGGLE,0/8,Show grid|
Layers=MENU,Layers
StatusText=DIP,/!3000,Ready|
Progress=BUMP,/1500,Progress|
SketchPad=PUSH,,Sketch pad|~0~0

[Toolbar.File]
ButtonCount=6
ButtonSize=22
Button0=FileNew
Button1=FileOpen
Button2=FileSave
Button3=!SEPARATOR
Button4=Print
Button5=Export

[Toolbar.Format]
ButtonCount=6
ButtonSize=22
Button0=FontName
Button1=FontSize
Button2=!GAP
Button3=Bold
Button4=Italic
Button5=!WRAP

[Toolbar.Draw]
ButtonCount=2
ButtonSize=28
BitmapWidth=24
BitmapHeight=24
Button0=DrawLine
Button1=DrawRect

[Toolbar.View]
ButtonCount=5
ButtonSize=22
Button0=ZoomIn
Button1=ZoomOut
Button2=!SEPARATOR
Button3=Grid
Button4=Layers

[Toolbar.Sketch]
ButtonCount=1
Button0=SketchPad

[Toolbar.Status]
ButtonCount=3
Button0=StatusText
Button1=!BREAK
Button2=Progress

[Toolbar.Tools]
ButtonCount=3
Button0=ZoomIn
Button1=
Button2=ZoomOut
)";

class SetupEndToEnd : public BarsTest {
 protected:
  SetupEndToEnd() {
    auto bitmaps = dir.path() / "bitmaps";
    std::filesystem::create_directory(bitmaps);
    for (const char* file : {"std16.bmp", "big24.bmp"})
      std::filesystem::copy_file(std::filesystem::path(ZADEVE_TEST_DATA) / "pictures" / file, bitmaps / file);
    dir.write("BARS.INI", BarsIni);
    dir.write("de.po", "msgid \"Bold\"\nmsgstr \"Fett\"\n");
    lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), bitmaps.string() + "/", dir.file("de.po"));
  }

  // The item calls a bar received, by name, in order.
  static std::vector<std::string> items(const FakeToolbar& bar) {
    std::vector<std::string> out;
    for (const auto& c : bar.calls())
      if (c.name.rfind("Add", 0) == 0) out.push_back(c.name);
    return out;
  }
  // The size of the picture a bar's first AddImageSet received.
  static std::pair<int, int> imageSetSize(const FakeToolbar& bar) {
    for (const auto& c : bar.calls()) {
      if (c.name != "AddImageSet" || c.args.empty() || !c.args[0].isObject()) continue;
      auto picture = automation::objectAs<platform::Picture>(c.args[0].object());
      return picture ? std::pair{picture->width(), picture->height()} : std::pair{0, 0};
    }
    return {0, 0};
  }

  CurrentDirectoryGuard cwd;
  support::TempDir dir;
  Ref<FakeForm> form = makeObject<FakeForm>("frmDrawing", 12000, 8000);
};

TEST_F(SetupEndToEnd, BuildsTheViewReportsItsFlawsAndLeavesTheFreeRectangle) {
  lib->KaTSetup(form, "Drawing");

  // Bar3 is empty: seven bars in seven consecutive elements, all registered in order.
  ASSERT_EQ(form->bars().size(), 7);
  std::vector<ObjectRef> bars;
  for (int16_t i = 0; i < 7; ++i) bars.push_back(form->bar(i));
  EXPECT_EQ(tbm->items, bars);
  EXPECT_EQ(form->bar(4)->property("Tag"), Variant("Name=Sketch;Home=BOTTOM;Visible=Yes;State=Docked"));
  EXPECT_TRUE(screen->messages().empty());

  const std::string br = "\r\n";
  EXPECT_EQ(app->messages, (std::vector<std::string>{
                               "Toolbar setup error - missing" + br + "function: Export.",
                               "Toolbar setup error - unknown" + br + "function: !WRAP.",
                               "Toolbar setup error - Missing button: Button1.",
                           }));

  using V = std::vector<std::string>;
  EXPECT_EQ(items(*form->bar(0)),
            (V{"AddImageSet", "AddPushButton", "AddPushButton", "AddPushButton", "AddSeparator", "AddPushButton"}));
  EXPECT_EQ(items(*form->bar(1)),
            (V{"AddImageSet", "AddCombo", "AddSpin", "AddGap", "AddToggleButton", "AddToggleButton"}));
  EXPECT_EQ(items(*form->bar(2)), (V{"AddImageSet", "AddPushButton", "AddPushButton"}));
  EXPECT_EQ(items(*form->bar(3)),
            (V{"AddImageSet", "AddPushButton", "AddPushButton", "AddSeparator", "AddToggleButton", "AddMenu"}));
  EXPECT_EQ(items(*form->bar(4)), (V{"AddPushButton"}));
  EXPECT_EQ(items(*form->bar(5)), (V{"AddPanel", "AddGap", "AddPanel"}));
  EXPECT_EQ(items(*form->bar(6)), (V{"AddImageSet", "AddPushButton", "AddPushButton"}));

  // Icon strips come from the real files: preloaded by number, or on demand with their size.
  EXPECT_EQ(imageSetSize(*form->bar(0)), (std::pair{256, 15}));
  EXPECT_EQ(imageSetSize(*form->bar(2)), (std::pair{384, 24}));
  EXPECT_EQ(imageSetSize(*form->bar(3)), (std::pair{256, 15}));
  auto drawSet = form->bar(2)->log("AddImageSet");
  EXPECT_EQ(drawSet, (V{"AddImageSet(<Picture>, \"1\")"}));
  auto viewSet = form->bar(3)->log("AddImageSet");
  EXPECT_EQ(viewSet, (V{"AddImageSet(<Picture>, \"0\", \"\", &16:Integer, &15:Integer)"}));

  // Texts pass through the workspace's language file.
  EXPECT_EQ(form->bar(1)->log("AddToggleButton")[0],
            "AddToggleButton(&\"Bold\", \"0.4\", &\"\", &\"Fett\", &22:Integer, &22:Integer)");
  EXPECT_EQ(form->bar(5)->log("AddPanel")[0], "AddPanel(&\"StatusText\", &\"3000\", &-1:Integer, &\"Ready\")");

  // The floating Tools bar stays hidden on the form and takes no place.
  EXPECT_EQ(form->bar(6)->property("Visible"), Variant(false));
  EXPECT_EQ(form->bar(6)->count("EdgeFlags1"), 0);

  // By hand, on a 12000 x 8000 client area with pixels of 15 x 12 twips; the fake bars
  // are 330 deep lying and 420 standing:
  //   File   top     0..330 across the whole width                      vt = 330
  //   Format top     330..660                                           vt = 660
  //   Draw   left    x 0..420, from 660 down to the form's bottom       vl = 420
  //   View   right   x 11580..12000, same height                        vr = 11580
  //   Sketch bottom  on the form's edge: top 8000 - 330 = 7670          VB = 7670 - 12 = 7658
  //   Status bottom  top 7658 - 330 + 12 = 7340, edges 1+4+8            VB = 7340 - 12 = 7328
  //   Tools  hidden
  //   afterwards     VB + 12 = 7340 (a bottom bar was placed); vr - 15 = 11565
  int16_t vl = 0, vt = 0, vr = 0, VB = 0;
  lib->KaTLayout(form, vl, vt, vr, VB);
  EXPECT_EQ(vl, 420);
  EXPECT_EQ(vt, 660);
  EXPECT_EQ(vr, 11565);
  EXPECT_EQ(VB, 7340);

  struct Spot {
    double left, top, width, height;
    int16_t edges;
  };
  const Spot spots[] = {{0, 0, 12000, 330, 2},          {0, 330, 12000, 330, 2},
                        {0, 660, 420, 7340, 2},          {11580, 660, 420, 7340, 2},
                        {420, 7670, 11160, 330, 1 + 4}, {420, 7340, 11160, 330, 1 + 4 + 8}};
  for (int16_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    auto bar = form->bar(i);
    EXPECT_EQ(automation::toDouble(bar->property("Left")), spots[i].left);
    EXPECT_EQ(automation::toDouble(bar->property("Top")), spots[i].top);
    EXPECT_EQ(automation::toDouble(bar->property("Width")), spots[i].width);
    EXPECT_EQ(automation::toDouble(bar->property("Height")), spots[i].height);
    EXPECT_EQ(bar->property("EdgeFlags1"), Variant(spots[i].edges));
    // Setup had already laid them out the same way: each bar was placed twice.
    EXPECT_EQ(bar->count("EdgeFlags1"), 2);
  }
}

}  // namespace
}  // namespace zadeve::core
