// One realistic view built by KaTSetup from a BARS.INI with the real icon strips: every
// kind of item, the reports a user would see, and the free rectangle left for the document.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::byRef;

const char* const ViewAndFunctions = R"([Drawing.Toolbars]
BarCount=7
Bar0=Name=File;Home=TOP;Visible=Yes;State=Docked;IconSets=0
Bar1=Name=Format;Home=TOP;Visible=Yes;State=Docked
Bar2=Name=Draw;Home=LEFT;Visible=Yes;State=Docked;IconSets=1
Bar3=
Bar4=Name=View;Home=RIGHT;Visible=Yes;State=Docked
Bar5=Name=Sketch;Home=BOTTOM;Visible=Yes;State=Docked
Bar6=Name=Status;Home=BOTTOM;Visible=Yes;State=Docked

[Functions]
IconSet0=std16.bmp,16,15
IconSet1=big24.bmp,24,24
New=PUSH,0/0,New drawing|~0~0
Open=PUSH,0/1,Open drawing|
Bold=TOGGLE,0/4,Bold|
FontName=COMBO,1400,Font name, size|
FontSize=SPIN,8/6/72/1/0,Font size|
Line=PUSH,1/0,Line|~0~0
Zoom=PUSH,0/6,Zoom in|
Layers=MENU,Layers
StatusText=DIP,/!3000,Ready|
Progress=BUMP,/1500,Progress|
SketchPad=PUSH,,Sketch pad|
)";

using SetupEndToEnd = support::ToolbarTest;

TEST_F(SetupEndToEnd, BuildsTheViewReportsItsFlawsAndLeavesTheFreeRectangle) {
  writeIni(std::string(ViewAndFunctions) +
           toolbarSection("File", {"New", "!SEPARATOR", "Open", "Export"}, "ButtonSize=22\n") +
           toolbarSection("Format", {"FontName", "FontSize", "!GAP", "Bold", "!WRAP"}, "ButtonSize=22\n") +
           toolbarSection("Draw", {"Line"}, "ButtonSize=28\nBitmapWidth=24\nBitmapHeight=24\n") +
           toolbarSection("View", {"Zoom", "!SEPARATOR", "Layers"}) + toolbarSection("Sketch", {"SketchPad"}) +
           toolbarSection("Status", {"StatusText", "!BREAK", "Progress"}));
  dir.write("de.po", "msgid \"Bold\"\nmsgstr \"Fett\"\n");
  lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), dir.path().string() + "/", dir.file("de.po"));
  auto form = automation::makeObject<support::FakeForm>("frmDrawing", 12000, 8000);
  Variant view("Drawing");
  automation::callMethod(*lib, "KaTSetup", {Variant(ObjectRef(form)), byRef(view)});

  // Bar3 is empty: six bars in six consecutive elements, all registered in order.
  ASSERT_EQ(form->bars().size(), 6);
  std::vector<ObjectRef> bars;
  for (int16_t i = 0; i < 6; ++i) bars.push_back(form->bar(i));
  EXPECT_EQ(tbm->items, bars);
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.path()));  // the bitmap folder
  EXPECT_TRUE(screen->messages().empty());
  EXPECT_EQ(app->messages, (Lines{"Toolbar setup error - missing\r\nfunction: Export.",
                                  "Toolbar setup error - unknown\r\nfunction: !WRAP."}));

  // Icon strips come from the real files: preloaded by number, or on demand with their size.
  EXPECT_EQ(imageSetPictures(*form->bar(0)).at(0)->width(), 256);
  EXPECT_EQ(form->bar(2)->log("AddImageSet"), Lines{"AddImageSet(<Picture>, \"1\")"});
  EXPECT_EQ(imageSetPictures(*form->bar(2)).at(0)->width(), 384);
  EXPECT_EQ(form->bar(3)->log("AddImageSet"), Lines{"AddImageSet(<Picture>, \"0\", \"\", &16:Integer, &15:Integer)"});
  // Texts pass through the workspace's language file.
  EXPECT_EQ(form->bar(1)->log("AddToggleButton"),
            Lines{"AddToggleButton(&\"Bold\", \"0.4\", &\"\", &\"Fett\", &22:Integer, &22:Integer)"});

  // By hand (pixels 15 x 12 twips): File and Format take the top 660, Draw and View the
  // sides below them; Sketch sits on the bottom edge (7670), Status above it sharing a pixel
  // (7340); the free bottom gives that pixel back, the free right stops one pixel short.
  Variant vl, vt, vr, vb;
  automation::callMethod(*lib, "KaTLayout", {Variant(ObjectRef(form)), byRef(vl), byRef(vt), byRef(vr), byRef(vb)});
  EXPECT_EQ((std::vector<Variant>{vl, vt, vr, vb}),
            (std::vector<Variant>{Variant(int16_t(420)), Variant(int16_t(660)), Variant(int16_t(11565)),
                                  Variant(int16_t(7340))}));

  const std::pair<Lines, const char*> expected[] = {
      {{"AddImageSet", "AddPushButton", "AddSeparator", "AddPushButton"}, "0,0 12000x330 e2 H z"},
      {{"AddCombo", "AddSpin", "AddGap", "AddImageSet", "AddToggleButton"}, "0,330 12000x330 e2 H z"},
      {{"AddImageSet", "AddPushButton"}, "0,660 420x7340 e2 V"},
      {{"AddImageSet", "AddPushButton", "AddSeparator", "AddMenu"}, "11580,660 420x7340 e2 V"},
      {{"AddPushButton"}, "420,7670 11160x330 e5 H"},
      {{"AddPanel", "AddGap", "AddPanel"}, "420,7340 11160x330 e13 H"},
  };
  for (int16_t i = 0; i < 6; ++i) {
    const auto& [items, placed] = expected[i];
    Lines names;
    for (const auto& c : form->bar(i)->calls())
      if (c.name.starts_with("Add")) names.push_back(c.name);
    EXPECT_EQ(names, items) << "bar " << i;
    EXPECT_EQ(placement(*form->bar(i)), placed) << "bar " << i;
    // Setup had already laid them out the same way: each bar was placed twice.
    EXPECT_EQ(form->bar(i)->count("EdgeFlags1"), 2) << "bar " << i;
  }
}

}  // namespace
}  // namespace zadeve::core
