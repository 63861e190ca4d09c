// FillBar, KaTBuildBar, the icon set behind each button image, and the types and passing
// modes of every call on a toolbar control: a control written in another language binds a
// by-reference parameter only to a value of its exact type.

#include <gtest/gtest.h>

#include <new>
#include <set>

#include "support/automation_assert.h"
#include "support/library_internals.h"
#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::InvokeKind;
using automation::makeObject;
using support::FakeObject;
using support::RecordedCall;

// A main view that draws a symbol into the locator view's shape picture.
std::pair<Ref<FakeObject>, Ref<FakeObject>> symbolHost(FakeObject& app) {
  auto mainView = makeObject<FakeObject>("MainView"), locView = makeObject<FakeObject>("locView");
  mainView->acceptAnyCall();
  locView->set("ShapePicture", Variant(platform::Picture::fromPixels(1, 1, {255, 0, 255, 255})));
  app.set("MainView", Variant(ObjectRef(mainView)));
  app.set("locView", Variant(ObjectRef(locView)));
  return {mainView, locView};
}

const std::string IconSets = "[Functions]\nIconSet0=std16.bmp,16,15\nIconSet1=big24.bmp,24,24\nIconSet2=std16.bmp\n";
const std::string Size16 = "&16:Integer, &16:Integer)";

class FillBarTest : public support::ToolbarTest {
 protected:
  // Fills the test's toolbar as bar set setup would, with the given property string.
  void fill(const std::string& tag, bool floating = false) {
    tb->set("Tag", Variant(tag));
    tb->clearCalls();
    LibraryInternals::FillBar(*lib, tb, floating);
  }
  Ref<support::FakeToolbar> tb = makeObject<support::FakeToolbar>();
};

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
      (Lines{"Reset()", "SuppressLayout(True:Boolean)", "Visible =(True:Boolean)", "Align =(0:Long)",
             "Vertical =(True:Boolean)", "SetImageSize(&22:Integer, &15:Integer)", "SetBarHeight(&22:Integer)",
             "AddImageSet(<Picture>, \"1\")", "AddImageSet(<Picture>, \"0\", \"\", &16:Integer, &15:Integer)",
             "AddPushButton(&\"Open\", \"0.1\", &\"\", &\"Open file\", 5:Double, 9:Double, &22:Integer, &22:Integer)",
             "AddSeparator()", "AddToggleButton(&\"Bold\", \"0.4\", &\"\", &\"Bold\", &22:Integer, &22:Integer)",
             "AddCombo(&\"Fonts\", &\"1400\", &\"Font name\")",
             "AddSpin(&\"Size\", &8:Single, &6:Single, &72:Single, &1:Single, &0:Single, &\"Font size\")", "AddGap()",
             "AddMenu(&\"Layers\")", "AddMenuItem(&\"Recent\", \"1.2\", &\"extra\", &\"Recent\")",
             "AddPanel(&\"Status\", &\"3000\", &True:Boolean, &\"Ready\")",
             "AddPanel(&\"Busy\", &\"1500\", &False:Boolean, &\"Busy\")", "SuppressLayout(False:Boolean)"}));
  auto pictures = imageSetPictures(*tb);  // the preloaded big strip, then the small one
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0]->height(), 24);
  EXPECT_EQ(pictures[1]->height(), 15);
  EXPECT_TRUE(app->messages.empty());
}

TEST_F(FillBarTest, TheImageSizeNeverExceedsTheButtonSize) {
  const std::pair<const char*, const char*> cases[] = {
      {"ButtonSize=20\nBitmapWidth=16\nBitmapHeight=24\n", "SetImageSize(&16:Integer, &20:Integer)"},
      {"ButtonSize=12\n", "SetImageSize(&12:Integer, &12:Integer)"},
  };
  for (const auto& [sizes, imageSize] : cases) {
    writeIni("[Functions]\n" + toolbarSection("S", {}, sizes));
    fill("Name=S");
    EXPECT_EQ(callsOf(*tb, "SetImageSize"), Lines{imageSize}) << sizes;
  }
}

TEST_F(FillBarTest, DefinitionGrammar) {
  const std::string push = "AddPushButton(&\"F\", \"-1.-1\", &\"\", ";
  const std::string set2 = "AddImageSet(<Picture>, \"2\", \"\", &16:Integer, &15:Integer)";
  const std::pair<const char*, Lines> cases[] = {
      {"PUSH,,A, b", {push + "&\"A, b\", 0:Double, 0:Double, " + Size16}},
      {"PUSH,,T|x~a~1~2", {push + "&\"T\", 0:Double, 0:Double, " + Size16}},
      {"PUSH,,T|~1.5~&H10", {push + "&\"T\", 1.5:Double, 16:Double, " + Size16}},
      // Empty fields keep the previous spin's values only within one build.
      {"SPIN,/7//,S", {"AddSpin(&\"F\", &0:Single, &7:Single, &0:Single, &0:Single, &0:Single, &\"S\")"}},
      {"DIP,2/!,x", {set2, "AddPanel(&\"F\", &\"\", &True:Boolean, &\"x\")"}},
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

TEST_F(FillBarTest, VisibilityAndOrientationFollowTheBarsProperties) {
  struct Case {
    const char* tag;
    bool floating, visible;
    const char* vertical;  // "" when left alone
  } cases[] = {
      {"Visible=YES;State=FLOATING", false, false, "False"},
      {"Visible=YES;State=FLOATING;Home=LEFT", true, true, "False"},
      {"Visible=YES;Home=LEFT", true, false, "True"},
      {"Visible=yes;Home=right", false, true, "True"},
      {"Visible=NO;Home=BOTTOM", false, false, "False"},
      {"Visible=YES;Home=SKETCH", false, true, ""},
      {"", false, false, "False"},
  };
  writeIni(toolbarSection("", {}));
  for (const auto& c : cases) {
    fill(c.tag, c.floating);
    EXPECT_EQ(tb->property("Visible"), Variant(c.visible)) << c.tag << " floating " << c.floating;
    Lines vertical = *c.vertical ? Lines{"Vertical =(" + std::string(c.vertical) + ":Boolean)"} : Lines{};
    EXPECT_EQ(callsOf(*tb, "Vertical"), vertical) << c.tag << " floating " << c.floating;
  }
}

TEST_F(FillBarTest, SpecialEntriesAndTheThreeReports) {
  const Lines entries{"!GAP", "!SOFTBREAK", "!BREAK",     "!MXSTART", "!MXEND", "!FOO",
                      "!gap", "!SEPARATOR", "!separator", "Nowhere",  "",       "F"};
  const Lines reports{"Toolbar setup error - unknown\r\nfunction: !FOO.",
                      "Toolbar setup error - unknown\r\nfunction: !gap.",
                      "Toolbar setup error - unknown\r\nfunction: !separator.",
                      "Toolbar setup error - missing\r\nfunction: Nowhere."};
  for (const std::string debug : {"", "ReportMissing=0", "ReportMissing=1"}) {
    writeIni("[Debug]\n" + debug + "\n[Functions]\nF=MENU\n" + toolbarSection("S", entries));
    app->messages.clear();
    fill("Name=S");
    EXPECT_EQ(callsOf(*tb, "Add"), (Lines{"AddGap()", "AddGap()", "AddGap()", "AddSeparator()", "AddMenu(&\"F\")"}));
    Lines expected = reports;
    if (debug == "ReportMissing=1") expected.push_back("Toolbar setup error - Missing button: Button10.");
    EXPECT_EQ(app->messages, expected) << debug;
  }
}

TEST_F(FillBarTest, PreloadsNamedIconSetsOnceAndLeavesFailuresToTheButtons) {
  writeIni(IconSets + "IconSet3=nothere.bmp,16,15\nA=PUSH,1/3,A\nB=PUSH,3/1,B\n" + toolbarSection("P", {"A", "B"}));
  // 1.4 rounds to 1 again; 300 and -1 do not fit the loaded list; 9 has no entry, 3 no file.
  fill("Name=P;IconSets=1/x/1/300/-1/9/3/1.4/");
  // The missing bitmap is reported by the first button that needs it, which still adds the
  // set (with Nothing for its picture) and is still added itself.
  EXPECT_EQ(callsOf(*tb, "AddImageSet"),
            (Lines{"AddImageSet(<Picture>, \"1\")", "AddImageSet(Nothing, \"3\", \"\", &16:Integer, &15:Integer)"}));
  ASSERT_EQ(app->messages.size(), 1u);
  EXPECT_TRUE(app->messages[0].starts_with("File not found: " + dir.file("nothere.bmp"))) << app->messages[0];
  EXPECT_EQ(callsOf(*tb, "Add").back(), "AddPushButton(&\"B\", \"3.1\", &\"\", &\"B\", 0:Double, 0:Double, " + Size16);
}

TEST_F(FillBarTest, AnItemTheControlRefusesIsReportedAndTheBuildGoesOn) {
  tb->on("AddPushButton", refuse(automation::err::InvalidCall, "No room"));
  writeIni("[Functions]\nA=PUSH,,A|\nB=MENU\n" + toolbarSection("R", {"A", "B"}));
  fill("Name=R");
  EXPECT_EQ(app->messages, Lines{"No room\r\nwhile processing: A"});
  EXPECT_EQ(callsOf(*tb, "AddMenu"), Lines{"AddMenu(&\"B\")"});
  EXPECT_EQ(callsOf(*tb).back(), "SuppressLayout(False:Boolean)");

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
      "", "!", ",,,||~~//", "1e999", "-32769", "&HFFFFFFFF", "1/2/3/4/5/6/7", "\\\\", "-1/-1", "300/1", "0/99999",
      "70000/70000", "\xff\xfe", "2/x/y", "Create Symbol:", "!SYMBOL_PALETTE", "abc", "std16.bmp,0,0", "std16.bmp,-5,x",
      std::string(300, 'x')};
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
  fill("Name=G;IconSets=3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/19/20/21/22");
  EXPECT_EQ(callsOf(*tb).back(), "SuppressLayout(False:Boolean)");
  EXPECT_FALSE(app->messages.empty());
  for (const auto& m : app->messages) EXPECT_NE(m.find("\r\n"), std::string::npos) << m;
  for (const auto& g : garbage) {
    fill("Name=Small;Home=" + g + ";Visible=" + g + ";State=" + g + ";IconSets=" + g + "/" + g, true);
    EXPECT_EQ(callsOf(*tb).back(), "SuppressLayout(False:Boolean)") << g;
  }
}

class KaTBuildBarTest : public support::ToolbarTest {
 protected:
  KaTBuildBarTest() { bar->set("Tag", Variant("Name=Other;Home=TOP;Visible=YES;IconSets=1")); }

  void build(const std::string& barName) {
    bar->clearCalls();
    automation::callMethod(*lib, "KaTBuildBar", {Variant(ObjectRef(bar)), Variant(barName)});
  }

  Ref<support::FakeForm> form = makeObject<support::FakeForm>();
  Ref<support::FakeToolbar> bar = form->bar(0);
};

TEST_F(KaTBuildBarTest, BuildsTheNamedSectionTheHostBarWayThenLaysOutAndSignals) {
  lib->InitialiseZADEVE(nullptr, dir.file("BARS.INI"), dir.path().string() + "/",
                        dir.write("de.po", "msgid \"Open file\"\nmsgstr \"Datei oeffnen\"\n"));
  writeIni(
      "[Functions]\nIconSet0=std16.bmp,16,15\nOpen=PUSH,0/1,Open file|~5~9\n"
      "Fonts=COMBO,Fonts,Font name|Arial;Courier\nFirst=SPIN,/5,x\n"
      "Size=SPIN,8/6/72/1/0,Font size|x\nNext=SPIN,/7//,Next\nLayers=MENU,Layers|more\nRecent=MENUITEM,1/2,Recent|\n"
      "Status=DIP,/!3000,Ready|x\nOdd=WIDGET,1\n" +
      toolbarSection("Main", {"Open", "Fonts", "First", "Size", "Next", "Layers", "Recent", "Status", "Odd"},
                     "ButtonSize=22\n"));
  form->onSignal([&](const std::string&) { EXPECT_GT(form->count("ScaleWidth"), 0) << "laid out before the signal"; });
  build("Main");

  // Texts untranslated, the rest of a definition passed on, spins Double, MENUITEM ignored;
  // visibility, alignment, orientation and the layout switch are left to the host.
  Lines calls = callsOf(*bar);
  calls.resize(std::find(calls.begin(), calls.end(), "UpdateLayout()") - calls.begin() + 1);
  const std::string spin = "&8:Double, &7:Double, &72:Double, &1:Double, &0:Double, ";
  EXPECT_EQ(
      calls,
      (Lines{"Reset()", "SetImageSize(&16:Integer, &16:Integer)", "SetBarHeight(&22:Integer)",
             "AddImageSet(<Picture>, \"0\", \"\", &16:Integer, &15:Integer)",
             "AddPushButton(&\"Open\", \"0.1\", &\"\", &\"Open file\", 5:Double, 9:Double, &22:Integer, &22:Integer)",
             "AddCombo(&\"Fonts\", &\"Arial;Courier\")",
             "AddSpin(&\"First\", &Empty, &5:Double, &Empty, &Empty, &Empty, &\"x\")",
             "AddSpin(&\"Size\", &8:Double, &6:Double, &72:Double, &1:Double, &0:Double, &\"Font size|x\")",
             "AddSpin(&\"Next\", " + spin + "&\"Next\")", "AddMenu(&\"Layers\", &\"Layers|more\")",
             "AddPanel(&\"Status\", &\"3000\", <missing>, &\"Ready|x\")", "UpdateLayout()"}));
  EXPECT_EQ(form->signals, Lines{"RebuiltBar"});
  EXPECT_TRUE(app->messages.empty());
}

// KaTBuildBar catches nothing: the host gets the error, and the form no signal. Sizes that
// are not numbers fail before any button, in FillBar too.
TEST_F(KaTBuildBarTest, FailuresReachTheHost) {
  bar->on("AddCombo", refuse(automation::err::InvalidCall, "No combos here"));
  const std::pair<std::string, int32_t> cases[] = {
      {"F=SPIN,1/x,y\n" + toolbarSection("T", {"F"}), automation::err::TypeMismatch},
      {"F=COMBO,1,2|3\n" + toolbarSection("T", {"F"}), automation::err::InvalidCall},
      {"F=MENU\n" + toolbarSection("T", {"F"}, "ButtonSize=big\n"), automation::err::TypeMismatch},
      {"F=MENU\n" + toolbarSection("T", {"F"}, "BitmapWidth=big\n"), automation::err::TypeMismatch},
      {"F=MENU\n" + toolbarSection("T", {"F"}, "BitmapHeight=big\n"), automation::err::TypeMismatch},
      {"F=MENU\n[Toolbar.T]\nButtonCount=big\nButton0=F\n", automation::err::TypeMismatch},
  };
  for (const auto& [ini, number] : cases) {
    writeIni("[Functions]\n" + ini);
    EXPECT_AUTOMATION_ERROR(build("T"), number, "");
    EXPECT_EQ(bar->count("AddMenu") + bar->count("UpdateLayout"), 0) << ini;
  }
  EXPECT_TRUE(form->signals.empty());
  EXPECT_TRUE(app->messages.empty());
}

// "let Visible(Boolean)", "AddPanel(&String, &String, <missing>, &String)".
std::string signature(const RecordedCall& c) {
  std::string s = c.kind == InvokeKind::PropertyGet   ? "get "
                  : c.kind == InvokeKind::PropertyLet ? "let "
                  : c.kind == InvokeKind::PropertySet ? "set "
                                                      : "";
  s += c.name + "(";
  for (size_t i = 0; i < c.args.size(); ++i)
    s += std::string(i ? ", " : "") + (c.byRef[i] ? "&" : "") +
         (c.args[i].isMissing() ? "<missing>" : std::string(automation::varTypeName(c.args[i].type())));
  return s + ")";
}

using ControlCallsTest = support::ToolbarTest;

TEST_F(ControlCallsTest, EveryCallOfTheBuildersPassesTheContractsTypes) {
  const std::set<std::string> contract = {
      // FillBar: reset, layout switch, the bar's properties, sizes and preloaded sets.
      "Reset()", "SuppressLayout(Boolean)", "get Tag()", "let Visible(Boolean)", "let Align(Long)",
      "let Vertical(Boolean)", "SetImageSize(&Integer, &Integer)", "SetBarHeight(&Integer)",
      "AddImageSet(Object, String)",
      // Its items.
      "AddGap()", "AddSeparator()", "AddMenu(&String)", "AddCombo(&String, &String, &String)",
      "AddSpin(&String, &Single, &Single, &Single, &Single, &Single, &String)",
      "AddPushButton(&String, String, &String, &String, Double, Double, &Integer, &Integer)",
      "AddMenuItem(&String, String, &String, &String)",
      "AddToggleButton(&String, String, &String, &String, &Integer, &Integer)",
      "AddPanel(&String, &String, &Boolean, &String)",
      // Icon sets on demand: a bitmap set (its picture Nothing when it did not load) or a
      // symbol, the palette editor's bitmap, and the number the control gave a symbol set.
      "AddImageSet(Object, String, String, &Integer, &Integer)", "AddImageSet(Object)", "get IconSetIndex()",
      // KaTBuildBar's own forms, its layout and the form it signals.
      "AddMenu(&String, &String)", "AddCombo(&String, &String)",
      "AddSpin(&String, &Double, &Double, &Double, &Double, &Double, &String)",
      "AddPanel(&String, &String, <missing>, &String)", "UpdateLayout()", "get parent()",
  };

  symbolHost(*app);
  app->set("GetBitmap", Variant(platform::Picture::fromPixels(1, 1, {0, 0, 0, 255})));
  writeIni(
      "[Functions]\nIconSet0=std16.bmp,16,15\nIconSet1=big24.bmp,24,24\nIconSet3=nothere.bmp\n"
      "IconSet4=!SYMBOL_PALETTE\nOpen=PUSH,0/1,Open|~5~9\nBold=TOGGLE,0/4,Bold\nFonts=COMBO,1400,Font|Arial\n"
      "Size=SPIN,8/6/72/1/0,Size\nLayers=MENU\nRecent=MENUITEM,3/2,Recent\nStatus=DIP,1/!3000,Ready\n"
      "Busy=BUMP,/1500,Busy\nCreate Symbol:Valve=PUSH,4/1,Valve\nEditSymbolPalette=PUSH,4/1,Edit\n" +
      toolbarSection("Main", {"Open", "!SEPARATOR", "Bold", "Fonts", "Size", "!GAP", "Layers", "Recent", "Status",
                              "Busy", "Create Symbol:Valve", "EditSymbolPalette"}));

  auto filled = makeObject<support::FakeToolbar>();
  filled->set("Tag", Variant("Name=Main;Home=LEFT;Visible=YES;IconSets=1"));
  LibraryInternals::FillBar(*lib, filled, false);
  // A host bar of its own on a form: the form's layout walks its bar array, not this one.
  auto form = makeObject<support::FakeForm>();
  auto hostBar = makeObject<support::FakeToolbar>();
  hostBar->placeOn(form.get());
  lib->KaTBuildBar(hostBar, "Main");

  std::set<std::string> seen;
  for (const FakeObject* tb : {static_cast<FakeObject*>(filled.get()), static_cast<FakeObject*>(hostBar.get())})
    for (const auto& call : tb->calls()) {
      seen.insert(signature(call));
      EXPECT_TRUE(contract.count(signature(call))) << call.describe();
    }
  for (const auto& row : contract) EXPECT_TRUE(seen.count(row)) << "never made: " << row;
  EXPECT_EQ(app->messages.size(), 1u) << "only the missing bitmap is reported";
}

// The two outputs and what is left of the image field, as "set.index|rest".
class ButtonImageTest : public support::ToolbarTest {
 protected:
  ButtonImageTest() {
    writeIni(
        "[Functions]\nIconSet0=big24.bmp,24\nIconSet1=big24.bmp,,20\nIconSet2=std16.bmp,16,15\nIconSet3=std16.bmp\n"
        "IconSet4=!SYMBOL_PALETTE\nIconSet5=missing.bmp,16,15\nIconSet6=bad.bmp,16,15\nIconSet7=std16.bmp,wide,15\n"
        "IconSet8=!OTHER_KIND\n[Toolbar.Sym]\nButtonSize=20\nBitmapHeight=24\nBitmapWidth=x\n");
    dir.write("bad.bmp", "BM not really a bitmap");
  }

  std::string resolve(std::string field, const std::string& name = "Fn") {
    int16_t set = 7, index = 7;
    LibraryInternals::ResolveButtonImage(*lib, name, "Toolbar.Sym", tb, field, set, index, loaded);
    return std::to_string(set) + "." + std::to_string(index) + "|" + field;
  }

  LoadedIconSets loaded;
  Ref<support::FakeToolbar> tb = makeObject<support::FakeToolbar>();
};

TEST_F(ButtonImageTest, LoadsEachBitmapSetOncePerBuild) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "-1.-1|"},    {"/5", "-1.-1|/5"}, {"2/5", "2.5|"},     {"2/7", "2.7|"},
      {"2", "2.-1|"},    {"2/", "2.-1|"},    {"2/x", "2.0|"},     {"2/4abc/rest/x", "2.4|rest/x"},
      {"0/2.5", "0.2|"}, {"x/1", "0.1|"},    {"1.5/3.5", "2.4|"}, {"1/1", "1.1|"},
      {"3", "3.-1|"},
  };
  for (const auto& [field, result] : cases) EXPECT_EQ(resolve(field), result) << field;
  EXPECT_EQ(callsOf(*tb), (Lines{"AddImageSet(<Picture>, \"2\", \"\", &16:Integer, &15:Integer)",
                                 "AddImageSet(<Picture>, \"0\", \"\", &24:Integer, &15:Integer)",
                                 "AddImageSet(<Picture>, \"1\", \"\", &16:Integer, &20:Integer)",
                                 "AddImageSet(<Picture>, \"3\", \"\", &16:Integer, &15:Integer)"}));
  EXPECT_EQ(imageSetPictures(*tb).at(0)->width(), 16 * 16);
  EXPECT_EQ(loaded, std::string("\x02\x00\x01\x03", 4));
  EXPECT_TRUE(app->messages.empty());
}

// Every failure is reported with the token taken last, and the remaining steps still run:
// a set that failed counts as loaded, so later buttons do not try it again.
TEST_F(ButtonImageTest, FailuresAreReportedAndTheRestStillRuns) {
  struct Case {
    const char* field;
    const char* result;
    std::string message;
    size_t recorded;
    size_t reports;  // of two buttons with the same field
  } cases[] = {
      {"5/2", "5.2|", "File not found: " + dir.file("missing.bmp") + "\r\nwhile processing: 15", 1, 1},
      {"6/1/r", "6.1|r", "Invalid picture: " + dir.file("bad.bmp"), 1, 1},
      {"7/3", "7.3|", "Type mismatch\r\nwhile processing: wide", 1, 1},
      {"300/1", "300.1|", "Icon set 300 is not a number from 0 to 255\r\nwhile processing: 300", 0, 2},
      {"-2/1", "-2.1|", "Icon set -2 is not a number from 0 to 255\r\nwhile processing: -2", 0, 2},
      {"70000/1", "-1.1|", "Overflow\r\nwhile processing: 70000", 0, 2},
      {"2/99999", "2.-1|", "Overflow\r\nwhile processing: 99999", 1, 2},
  };
  auto fresh = [&] {
    loaded.clear();
    app->messages.clear();
  };
  for (const auto& c : cases) {
    fresh();
    EXPECT_EQ(resolve(c.field), c.result);
    EXPECT_EQ(resolve(c.field), c.result) << "a second button";
    ASSERT_EQ(app->messages.size(), c.reports) << c.field;
    EXPECT_TRUE(app->messages[0].starts_with(c.message)) << app->messages[0];
    EXPECT_EQ(loaded.size(), c.recorded) << c.field;
  }
  // A set whose picture failed is added with Nothing; the one whose width failed at the
  // default width.
  EXPECT_EQ(callsOf(*tb), (Lines{"AddImageSet(Nothing, \"5\", \"\", &16:Integer, &15:Integer)",
                                 "AddImageSet(Nothing, \"6\", \"\", &16:Integer, &15:Integer)",
                                 "AddImageSet(<Picture>, \"7\", \"\", &16:Integer, &15:Integer)",
                                 "AddImageSet(<Picture>, \"2\", \"\", &16:Integer, &15:Integer)"}));

  // A control that refuses the set without its picture says so too; the button keeps its set.
  tb->on("AddImageSet", refuse(automation::err::InvalidPicture, "No picture"));
  fresh();
  EXPECT_EQ(resolve("5/2"), "5.2|");
  ASSERT_EQ(app->messages.size(), 2u);
  EXPECT_TRUE(app->messages[0].starts_with("File not found: ")) << app->messages[0];
  EXPECT_EQ(app->messages[1], "No picture\r\nwhile processing: 15");
  EXPECT_EQ(loaded, "\x05");

  // Memory running out is reported as any other failure, and the build goes on.
  tb->on("AddImageSet", [](FakeObject&, std::span<automation::Arg>) -> Variant { throw std::bad_alloc(); });
  fresh();
  EXPECT_EQ(resolve("2/4"), "2.4|");
  ASSERT_EQ(app->messages.size(), 1u);
  EXPECT_EQ(app->messages[0], "Out of memory\r\nwhile processing: 15");
}

TEST_F(ButtonImageTest, SymbolButtonsDrawTheirSymbolIntoASetOfTheirOwn) {
  // A host without a main view: the palette step fails, and the field still loses its index.
  EXPECT_EQ(resolve("4/9/rest", "Create Symbol:Valve"), "-1.-1|rest");
  EXPECT_EQ(app->messages, Lines{"Object doesn't support this property or method\r\nwhile processing: 4"});
  app->messages.clear();

  // A symbol-drawing host, and a control that numbers unnumbered sets from 256.
  auto [mainView, locView] = symbolHost(*app);
  app->on("GetBitmap", [](FakeObject&, std::span<automation::Arg>) {
    return Variant(platform::Picture::fromPixels(2, 2, std::vector<uint8_t>(16, 0)));
  });
  int16_t lastSet = 255;
  tb->on("AddImageSet", [&](FakeObject&, std::span<automation::Arg>) {
    ++lastSet;
    return Variant();
  });
  tb->on("IconSetIndex", [&](FakeObject&, std::span<automation::Arg>) { return Variant(lastSet); });
  tb->clearCalls();

  EXPECT_EQ(resolve("4/9/rest", "Create Symbol:Valve\\\\Large"), "256.0|rest");
  EXPECT_EQ(resolve("4", "Create Symbol:A\\B"), "257.0|");
  const std::string info = "SetShapePictureInfo(&20:Integer, &16:Integer, 0:Integer, 16711935:Long, &\"";
  EXPECT_EQ(mainView->log(), (Lines{info + "Valve\", 1:Integer)", info + "A\\B\", 1:Integer)"}));
  EXPECT_EQ(locView->log(), Lines(2, "ShapePicture()"));
  EXPECT_EQ(callsOf(*tb, "AddImageSet"),
            Lines(2, "AddImageSet(<Picture>, \"\", \"Symbols\", &20:Integer, &16:Integer)"));
  EXPECT_TRUE(loaded.empty());

  // The palette editor shows the host's bitmap; other functions and kinds add nothing.
  tb->clearCalls();
  EXPECT_EQ(resolve("4/1", "EditSymbolPalette"), "258.0|");
  EXPECT_EQ(resolve("4/1", "Other"), "258.0|");
  EXPECT_EQ(resolve("8/1", "Create Symbol:V"), "258.0|");
  EXPECT_EQ(callsOf(*tb), (Lines{"AddImageSet(<Picture>)", "IconSetIndex()", "IconSetIndex()", "IconSetIndex()"}));
  EXPECT_EQ(imageSetPictures(*tb).at(0)->width(), 2);
  EXPECT_EQ(mainView->calls().size(), 2u);
  EXPECT_TRUE(app->messages.empty());
}

}  // namespace
}  // namespace zadeve::core
