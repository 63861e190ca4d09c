// The argument types and passing modes of every call the builders make on a toolbar
// control. A control written in another language binds a by-reference parameter only to
// a value of its exact type, so a Boolean sent as the Integer -1 fails there even though
// our own control and the fakes take it.

#include <gtest/gtest.h>

#include <set>

#include "support/library_internals.h"
#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::InvokeKind;
using automation::makeObject;
using support::FakeObject;
using support::RecordedCall;

// "let Visible(Boolean)", "AddPanel(&String, &String, <missing>, &String)".
std::string signature(const RecordedCall& c) {
  std::string s;
  if (c.kind == InvokeKind::PropertyGet) s = "get ";
  if (c.kind == InvokeKind::PropertyLet) s = "let ";
  if (c.kind == InvokeKind::PropertySet) s = "set ";
  s += c.name + "(";
  for (size_t i = 0; i < c.args.size(); ++i) {
    if (i) s += ", ";
    if (c.byRef[i]) s += "&";
    s += c.args[i].isMissing() ? "<missing>" : std::string(automation::varTypeName(c.args[i].type()));
  }
  return s + ")";
}

class ControlCallsTest : public support::ToolbarTest {};

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

  auto mainView = makeObject<FakeObject>("MainView"), locView = makeObject<FakeObject>("locView");
  mainView->acceptAnyCall();
  locView->set("ShapePicture", Variant(platform::Picture::fromPixels(1, 1, {255, 0, 255, 255})));
  app->set("MainView", Variant(ObjectRef(mainView)));
  app->set("locView", Variant(ObjectRef(locView)));
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

}  // namespace
}  // namespace zadeve::core
