#include <gtest/gtest.h>

#include "build/build_fixture.h"

namespace zadeve::core {
namespace {

const std::string IconSets = "[Functions]\nIconSet0=std16.bmp,16,15\nIconSet1=big24.bmp,24,24\nIconSet2=std16.bmp\n";
const std::string Size16 = "&16:Integer, &16:Integer)";

using FillBarTest = BuildTest;

TEST_F(FillBarTest, BuildsEveryKindOfItemInEntryOrderWithLayoutSuppressed) {
  writeIni(IconSets +
           "Open=PUSH,0/1,Open file|~5~9\nBold=TOGGLE,0/4,Bold|x\nFonts=COMBO,1400,Font name|Arial\n"
           "Size=SPIN,8/6/72/1/0,Font size|x\nLayers=MENU,Layers\nRecent=MENUITEM,1/2/extra,Recent|~1~2\n"
           "Status=DIP,/!3000,Ready|\nBusy=BUMP,1/1500,Busy|\n" +
           toolbarSection("Main",
                          {"Open", "!SEPARATOR", "Bold", "Fonts", "Size", "!GAP", "Layers", "Recent", "Status", "Busy"},
                          "ButtonSize=22\nBitmapWidth=30\nBitmapHeight=15\n"));
  fill("Name=Main;Home=left;Visible=Yes;State=Docked;IconSets=1");
  EXPECT_EQ(
      callsOf(*tb),
      (Lines{"Reset()",
             "SuppressLayout(True:Boolean)",
             "Visible =(True:Boolean)",
             "Align =(0:Long)",
             "Vertical =(True:Boolean)",
             "SetImageSize(&22:Integer, &15:Integer)",
             "SetBarHeight(&22:Integer)",
             "AddImageSet(<Picture>, \"1\")",
             "AddImageSet(<Picture>, \"0\", \"\", &16:Integer, &15:Integer)",
             "AddPushButton(&\"Open\", \"0.1\", &\"\", &\"Open file\", 5:Double, 9:Double, &22:Integer, &22:Integer)",
             "AddSeparator()",
             "AddToggleButton(&\"Bold\", \"0.4\", &\"\", &\"Bold\", &22:Integer, &22:Integer)",
             "AddCombo(&\"Fonts\", &\"1400\", &\"Font name\")",
             "AddSpin(&\"Size\", &8:Single, &6:Single, &72:Single, &1:Single, &0:Single, &\"Font size\")",
             "AddGap()",
             "AddMenu(&\"Layers\")",
             "AddMenuItem(&\"Recent\", \"1.2\", &\"extra\", &\"Recent\")",
             "AddPanel(&\"Status\", &\"3000\", &-1:Integer, &\"Ready\")",
             "AddPanel(&\"Busy\", &\"1500\", &0:Integer, &\"Busy\")",
             "SuppressLayout(False:Boolean)"}));
  auto pictures = imageSetPictures(*tb);  // the preloaded big strip, then the small one
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0]->height(), 24);
  EXPECT_EQ(pictures[1]->height(), 15);
  EXPECT_TRUE(app->messages.empty());
}

TEST_F(FillBarTest, DefinitionGrammar) {
  const std::pair<const char*, Lines> cases[] = {
      {"PUSH,,Tip|~5~9", {"AddPushButton(&\"F\", \"-1.-1\", &\"\", &\"Tip\", 5:Double, 9:Double, " + Size16}},
      {"PUSH,,Tip|~~", {"AddPushButton(&\"F\", \"-1.-1\", &\"\", &\"Tip\", 0:Double, 0:Double, " + Size16}},
      {"PUSH,,A, b", {"AddPushButton(&\"F\", \"-1.-1\", &\"\", &\"A, b\", 0:Double, 0:Double, " + Size16}},
      {"PUSH,,T|x~a~1~2", {"AddPushButton(&\"F\", \"-1.-1\", &\"\", &\"T\", 0:Double, 0:Double, " + Size16}},
      {"PUSH,,T|~1.5~&H10", {"AddPushButton(&\"F\", \"-1.-1\", &\"\", &\"T\", 1.5:Double, 16:Double, " + Size16}},
      {"PUSH,2/5/more/x,T|",
       {"AddImageSet(<Picture>, \"2\", \"\", &16:Integer, &15:Integer)",
        "AddPushButton(&\"F\", \"2.5\", &\"more/x\", &\"T\", 0:Double, 0:Double, " + Size16}},
      {"COMBO,Fonts,Font name|Arial;Courier", {"AddCombo(&\"F\", &\"Fonts\", &\"Font name\")"}},
      {"SPIN,1/2,S|", {"AddSpin(&\"F\", &1:Single, &2:Single, &0:Single, &0:Single, &0:Single, &\"S\")"}},
      {"SPIN,1/2/3/4/5/6,S", {"AddSpin(&\"F\", &1:Single, &2:Single, &3:Single, &4:Single, &5:Single, &\"S\")"}},
      {"TOGGLE,1/4,Bold",
       {"AddImageSet(<Picture>, \"1\", \"\", &24:Integer, &24:Integer)",
        "AddToggleButton(&\"F\", \"1.4\", &\"\", &\"Bold\", " + Size16}},
      {"DIP,2/!,x",
       {"AddImageSet(<Picture>, \"2\", \"\", &16:Integer, &15:Integer)",
        "AddPanel(&\"F\", &\"\", &-1:Integer, &\"x\")"}},
      {"MENU,x|y", {"AddMenu(&\"F\")"}},
      {"MENUITEM,,Item|~1~2", {"AddMenuItem(&\"F\", \"-1.-1\", &\"\", &\"Item\")"}},
      {"WIDGET,1,2", {}},
      {"push,,lower case", {}},
  };
  for (const auto& [definition, calls] : cases) {
    writeIni(IconSets + "F=" + definition + "\n" + toolbarSection("Case", {"F"}));
    fill("Name=Case");
    EXPECT_EQ(callsOf(*tb, "Add"), calls) << definition;
  }
  EXPECT_TRUE(app->messages.empty());
}

TEST_F(FillBarTest, EmptySpinFieldsKeepThePreviousSpinsValuesWithinOneBuild) {
  writeIni("[Functions]\nA=SPIN,1/2/3/4/5,A\nB=SPIN,/7//,B\n" + toolbarSection("Two", {"A", "B"}) +
           toolbarSection("One", {"B"}));
  fill("Name=Two");
  EXPECT_EQ(callsOf(*tb, "Add").at(1),
            "AddSpin(&\"B\", &1:Single, &7:Single, &3:Single, &4:Single, &5:Single, &\"B\")");
  fill("Name=One");
  EXPECT_EQ(callsOf(*tb, "Add"),
            Lines{"AddSpin(&\"B\", &0:Single, &7:Single, &0:Single, &0:Single, &0:Single, &\"B\")"});
}

TEST_F(FillBarTest, VisibilityAndOrientationFollowTheBarsProperties) {
  struct Case {
    const char* tag;
    bool floating;
    Lines calls;  // Visible, then Vertical unless it is left alone
  } cases[] = {
      {"Visible=YES;State=FLOATING", false, {"Visible =(False:Boolean)", "Vertical =(False:Boolean)"}},
      {"Visible=YES;State=FLOATING;Home=LEFT", true, {"Visible =(True:Boolean)", "Vertical =(False:Boolean)"}},
      {"Visible=YES;Home=LEFT", true, {"Visible =(False:Boolean)", "Vertical =(True:Boolean)"}},
      {"Visible=yes;Home=right", false, {"Visible =(True:Boolean)", "Vertical =(True:Boolean)"}},
      {"Visible=NO;Home=BOTTOM", false, {"Visible =(False:Boolean)", "Vertical =(False:Boolean)"}},
      {"Visible=YES;Home=SKETCH", false, {"Visible =(True:Boolean)"}},
      {"", false, {"Visible =(False:Boolean)", "Vertical =(False:Boolean)"}},
  };
  writeIni(toolbarSection("", {}));
  for (const auto& c : cases) {
    fill(c.tag, c.floating);
    EXPECT_EQ(callsOf(*tb, "V"), c.calls) << c.tag << " floating " << c.floating;
  }
}

TEST_F(FillBarTest, SizesThatAreNotNumbersFailBeforeAnyButtonWithLayoutStillSuppressed) {
  for (const char* key : {"ButtonCount", "ButtonSize", "BitmapWidth", "BitmapHeight"}) {
    writeIni("[Functions]\nF=MENU\n[Toolbar.Bad]\n" + std::string(key) + "=big\nButtonCount=1\nButton0=F\n");
    tb->set("Tag", Variant("Name=Bad"));
    tb->clearCalls();
    EXPECT_AUTOMATION_ERROR(LibraryInternals::FillBar(*lib, tb, false), automation::err::TypeMismatch, "");
    EXPECT_EQ(callsOf(*tb, "Reset").size(), 1u) << key;
    EXPECT_EQ(callsOf(*tb, "SuppressLayout"), Lines{"SuppressLayout(True:Boolean)"}) << key;
    EXPECT_TRUE(callsOf(*tb, "Add").empty()) << key;
  }
}

TEST_F(FillBarTest, SpecialEntriesAndTheThreeReports) {
  const Lines entries{"!GAP", "!SOFTBREAK", "!BREAK", "!MXSTART", "!MXEND", "!FOO", "!gap", "Nowhere", "", "F"};
  const Lines reports{"Toolbar setup error - unknown\r\nfunction: !FOO.",
                      "Toolbar setup error - unknown\r\nfunction: !gap.",
                      "Toolbar setup error - missing\r\nfunction: Nowhere."};
  for (const char* debug : {"", "ReportMissing=0", "ReportMissing=1"}) {
    writeIni(std::string("[Debug]\n") + debug + "\n[Functions]\nF=MENU\n" + toolbarSection("S", entries));
    app->messages.clear();
    fill("Name=S");
    EXPECT_EQ(callsOf(*tb, "Add"), (Lines{"AddGap()", "AddGap()", "AddGap()", "AddMenu(&\"F\")"}));
    Lines expected = reports;
    if (debug == std::string("ReportMissing=1")) expected.push_back("Toolbar setup error - Missing button: Button8.");
    EXPECT_EQ(app->messages, expected) << debug;
  }
  EXPECT_EQ(app->log().back(), "MsgBoxSub(\"Toolbar setup error - Missing button: Button8.\", 1:Long)");
}

TEST_F(FillBarTest, PreloadsNamedIconSetsOnceAndSkipsFailuresSilently) {
  writeIni(IconSets + "IconSet3=nothere.bmp,16,15\nA=PUSH,1/3,A\nB=PUSH,3/1,B\n" + toolbarSection("P", {"A", "B"}));
  // 1.4 rounds to 1 again; 300 and -1 do not fit the loaded list; 9 has no entry, 3 no file.
  fill("Name=P;IconSets=1/x/1/300/-1/9/3/1.4/");
  EXPECT_EQ(callsOf(*tb, "AddImageSet"), Lines{"AddImageSet(<Picture>, \"1\")"});
  // Set 3 failed to preload, so its first button tries it and reports what is wrong.
  ASSERT_EQ(app->messages.size(), 1u);
  EXPECT_TRUE(app->messages[0].starts_with("File not found: " + dir.file("nothere.bmp"))) << app->messages[0];
  EXPECT_EQ(callsOf(*tb, "Add").back(), "AddPushButton(&\"B\", \"3.1\", &\"\", &\"B\", 0:Double, 0:Double, " + Size16);
}

TEST_F(FillBarTest, TranslatesThroughTheWorkspaceCatalogueWhenThereIsOne) {
  lib->InitialiseZADEVE(nullptr, dir.file("BARS.INI"), "", dir.write("de.po", "msgid \"Open\"\nmsgstr \"Oeffnen\"\n"));
  writeIni("[Functions]\nO=COMBO,1,Open|\nK=TOGGLE,,Keep|\n" + toolbarSection("T", {"O", "K"}));
  fill("Name=T");
  const Lines translated{"AddCombo(&\"O\", &\"1\", &\"Oeffnen\")",
                         "AddToggleButton(&\"K\", \"-1.-1\", &\"\", &\"Keep\", " + Size16};
  EXPECT_EQ(callsOf(*tb, "Add"), translated);
  lib->CurrentWorkspace()->LanguageCatalog(nullptr);  // as before InitialiseZADEVE
  fill("Name=T");
  EXPECT_EQ(callsOf(*tb, "Add").at(0), "AddCombo(&\"O\", &\"1\", &\"Open\")");
}

TEST_F(FillBarTest, AnItemTheControlRefusesIsReportedAndTheBuildGoesOn) {
  tb->on("AddPushButton", refuse(automation::err::InvalidCall, "No room"));
  writeIni("[Functions]\nA=PUSH,,A|\nB=MENU\n" + toolbarSection("R", {"A", "B"}));
  fill("Name=R");
  EXPECT_EQ(app->messages, Lines{"No room\r\nwhile processing: A"});
  EXPECT_EQ(callsOf(*tb).back(), "SuppressLayout(False:Boolean)");
  EXPECT_EQ(callsOf(*tb, "AddMenu"), Lines{"AddMenu(&\"B\")"});

  // A host that refuses the report itself gets the error, with layout switched back on.
  app->on("MsgBoxSub", refuse(automation::err::MemberMissing));
  EXPECT_AUTOMATION_ERROR(fill("Name=R"), automation::err::MemberMissing, "");
  EXPECT_EQ(callsOf(*tb).back(), "SuppressLayout(False:Boolean)");
  EXPECT_TRUE(callsOf(*tb, "AddMenu").empty());
}

// Whatever a definition, image field, icon-set entry or property holds, the build ends
// with layout switched on, and anything it says goes through the host.
TEST_F(FillBarTest, GarbageInAnyFieldNeverStopsTheBuild) {
  const std::string garbage[] = {
      "",
      ",",
      "|",
      "~",
      "/",
      "!",
      "!!",
      "//",
      "~~~",
      ",,,||~~//",
      "1e999",
      "-32769",
      "99999",
      "&H",
      "&HFFFFFFFF",
      "abc",
      "1/2/3/4/5/6/7",
      "\\\\",
      "-1/-1",
      "300/1",
      "0/99999",
      "70000/70000",
      std::string(300, 'x'),
      "\xff\xfe",
      "Create Symbol:",
      "2/x/y",
      "!SYMBOL_PALETTE",
      "std16.bmp,0,0",
      "std16.bmp,-5,x",
  };
  std::string ini = "[Functions]\n";
  Lines buttons;
  for (size_t g = 0; g < std::size(garbage); ++g) {
    ini += "IconSet" + std::to_string(g + 3) + "=" + garbage[g] + "\n";
    for (std::string type : {"PUSH", "MENUITEM", "TOGGLE", "COMBO", "SPIN", "DIP", "BUMP", "MENU"}) {
      std::string fn = type + std::to_string(g);
      ini += fn + "=" + type + "," + garbage[g] + "\n" + fn + "i=" + type + "," + std::to_string(g + 3) + "/1,t|\n";
      buttons.insert(buttons.end(), {fn, fn + "i"});
    }
    buttons.push_back(garbage[g]);
  }
  writeIni(ini + toolbarSection("G", buttons) + toolbarSection("Small", {"PUSH0i", "SPIN1"}));
  fill("Name=G;IconSets=3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/19/20/21/22/23");
  EXPECT_EQ(callsOf(*tb).back(), "SuppressLayout(False:Boolean)");
  EXPECT_FALSE(app->messages.empty());
  for (const auto& m : app->messages) EXPECT_NE(m.find("\r\n"), std::string::npos) << m;
  for (const auto& g : garbage) {
    fill("Name=Small;Home=" + g + ";Visible=" + g + ";State=" + g + ";IconSets=" + g + "/" + g, true);
    EXPECT_EQ(callsOf(*tb).back(), "SuppressLayout(False:Boolean)") << g;
  }
}

}  // namespace
}  // namespace zadeve::core
