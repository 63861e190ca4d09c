#include <gtest/gtest.h>

#include "support/automation_assert.h"
#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::makeObject;

class KaTBuildBarTest : public support::ToolbarTest {
 protected:
  KaTBuildBarTest() { bar->set("Tag", Variant("Name=Other;Home=TOP;Visible=YES;IconSets=1")); }

  // Through the library's automation face, as a host calls it.
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

}  // namespace
}  // namespace zadeve::core
