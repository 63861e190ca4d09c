// A host keeps its buttons in step by function name, with our real control: one form with
// four bars, two of them floating in palettes of their own, and a second form carrying a
// bar of the same section. Every call goes through the library's dispatch face.

#include <gtest/gtest.h>

#include <map>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "palette/tool_palette.h"
#include "platform/current_directory.h"
#include "support/headless_screen.h"
#include "support/temp_dir.h"

namespace zadeve::host {
namespace {

using automation::byRef;
using automation::callMethod;
using automation::makeObject;
using automation::ObjectRef;
using automation::Ref;
using automation::Variant;
using palette::FrmToolPalette;
using vizevore::ReVivezav;

constexpr const char* Ini = R"([Functions]
Bold=TOGGLE,,Bold|
Cut=PUSH,,Cut|~0~0
Font=COMBO,100,Font|
Size=SPIN,8/6/72/1/0,Size|
Msg=DIP,/100,Ready|
[Main.Toolbars]
BarCount=4
Bar0=Name=Edit;Home=TOP;Visible=Yes;State=Docked
Bar1=Name=Format;Home=TOP;Visible=Yes;State=Docked
Bar2=Name=Tools;Home=LEFT;Visible=Yes;State=Docked
Bar3=Name=Extra;Home=BOTTOM;Visible=Yes;State=Docked
[Other.Toolbars]
BarCount=1
Bar0=Name=Edit;Home=TOP;Visible=Yes;State=Docked
[Toolbar.Edit]
ButtonCount=4
Button0=Bold
Button1=Cut
Button2=Font
Button3=Msg
[Toolbar.Format]
ButtonCount=3
Button0=Font
Button1=Bold
Button2=Size
[Toolbar.Tools]
ButtonCount=3
Button0=Bold
Button1=Msg
Button2=Size
[Toolbar.Extra]
ButtonCount=4
Button0=Cut
Button1=Bold
Button2=Font
Button3=Msg
)";

enum Bar { Edit, Format, Tools, Extra };

class FunctionStateStories : public ::testing::Test {
 protected:
  FunctionStateStories() {
    registerReferenceControls();
    dir.write("BARS.INI", Ini);
    for (auto& f : {form, other}) f->setLibrary(lib);
    call("InitialiseZADEVE", {Variant(tbm), dir.file("BARS.INI"), dir.path().string() + "/"});
    automation::setProperty(*lib, "ShellApplicationObject", app);
    call("KaTSetup", {Variant(form), "Main"});
    call("KaTSetup", {Variant(other), "Other"});
    for (Bar b : {Tools, Extra}) {
      call("KaTFloat", {Variant(form), Variant(form->bar(b))});
      palettes.push_back(FrmToolPalette::loadedPalettes().back());
    }
  }
  ~FunctionStateStories() override {
    for (auto& p : FrmToolPalette::loadedPalettes()) p->unload();
    // The forms let the library go: it holds the last scan's form.
    for (auto& f : {form, other}) f->unload();
    platform::changeDirectory(cwd);
  }

  Variant call(std::string_view member, std::initializer_list<automation::Arg> args) {
    return callMethod(*lib, member, args);
  }
  // Every bar of the main form in TBM order: its four bars (two hidden while they float),
  // then the two palettes' bars.
  std::vector<ReVivezav*> mainBars() const {
    std::vector<ReVivezav*> out;
    for (int b = Edit; b <= Extra; ++b) out.push_back(form->bar(b).get());
    for (const auto& p : palettes) out.push_back(&dynamic_cast<ReVivezav&>(*p->bar()));
    return out;
  }
  ReVivezav& otherBar() const { return *other->bar(0); }
  static const vizevore::Item& button(const ReVivezav& bar, const char* fn) { return bar.item(bar.find(fn)); }
  // "1" / "0" per bar that carries the function, "-" for one that does not.
  std::string pressed(const char* fn) const {
    std::string s;
    for (auto* bar : mainBars()) s += bar->find(fn) < 0 ? '-' : button(*bar, fn).on() ? '1' : '0';
    return s;
  }

  support::HeadlessScreen screen;
  support::TempDir dir;
  std::string cwd = platform::currentDirectory();
  Ref<core::ZuzuzudLibrary> lib = makeObject<core::ZuzuzudLibrary>();
  Ref<ToolbarManager> tbm = makeObject<ToolbarManager>();
  Ref<ShellApplication> app = makeObject<ShellApplication>();
  Ref<HeadlessForm> form = makeObject<HeadlessForm>("frmMain", 800, 600);
  Ref<HeadlessForm> other = makeObject<HeadlessForm>("frmOther", 400, 300);
  std::vector<Ref<FrmToolPalette>> palettes;
};

TEST_F(FunctionStateStories, ScansVisitTheFormsBarsAndItsPalettesInTheManagersOrder) {
  ASSERT_EQ(tbm->count(), 7);
  std::vector<ObjectRef> seen;
  std::string floating;
  call("KaTBeginScan", {Variant(form)});
  while (automation::toBoolean(call("KATNextScan", {}))) {
    seen.push_back(lib->aBar());
    floating += lib->CurrentWorkspace()->IsFloating ? 'F' : '.';
  }
  std::vector<ObjectRef> expected;
  for (auto* bar : mainBars()) expected.push_back(ObjectRef(bar));
  EXPECT_EQ(seen, expected) << "frmOther's bar is skipped";
  EXPECT_EQ(floating, "....FF");
  EXPECT_TRUE(call("KATNextScan", {}).isEmpty()) << "exhausted stays exhausted";
  EXPECT_EQ(lib->aBar(), nullptr);

  int all = 0;
  call("KaTBeginScan", {Variant(ObjectRef())});
  while (automation::toBoolean(call("KATNextScan", {}))) ++all;
  EXPECT_EQ(all, 7);

  std::vector<int16_t> sizeAt;
  call("KaTBeginScanFunction", {Variant(form), "Size"});
  while (automation::toBoolean(call("KaTNextScanFunction", {}))) {
    auto& bar = dynamic_cast<ReVivezav&>(*lib->aBar());
    sizeAt.push_back(static_cast<int16_t>(bar.currentButton()));
    EXPECT_EQ(bar.item(bar.currentButton()).tag, "Size");
  }
  EXPECT_EQ(sizeAt, (std::vector<int16_t>{2, 2, 2})) << "Format, the hidden Tools and its palette";
}

TEST_F(FunctionStateStories, StateAndEnablementReachEveryPushButtonOfTheFormAndNoOtherForm) {
  call("KaSetFunctionState", {Variant(form), "Bold", Variant(int16_t{5})});
  EXPECT_EQ(pressed("Bold"), "111111");
  EXPECT_FALSE(button(otherBar(), "Bold").on());

  call("KaSetFunctionEnabled", {Variant(form), "Cut", Variant(int16_t{0})});
  call("KaSetFunctionEnabled", {Variant(form), "Font", Variant(int16_t{0})});  // a combo: left alone
  for (auto* bar : mainBars()) {
    if (bar->find("Cut") >= 0) {
      EXPECT_FALSE(button(*bar, "Cut").enabled());
    }
    if (bar->find("Font") >= 0) {
      EXPECT_TRUE(button(*bar, "Font").enabled());
    }
  }
  EXPECT_TRUE(button(otherBar(), "Cut").enabled());
  call("KaSetButtonEnable", {Variant(form), "Cut", Variant(int16_t{-1})});
  EXPECT_TRUE(button(*mainBars()[5], "Cut").enabled());

  call("KaSetFunctionVisible", {Variant(form), "Cut", Variant(int16_t{0})});
  EXPECT_FALSE(button(*form->bar(Edit), "Cut").visible);
  EXPECT_TRUE(button(otherBar(), "Cut").visible);

  // Tips reach buttons of any kind.
  call("KaSetButtonTip", {Variant(form), "Msg", "Where we are"});
  call("KaSetButtonTip", {Variant(form), "Font", "Typeface"});
  EXPECT_EQ(button(*mainBars()[4], "Msg").tooltip, "Where we are");
  EXPECT_EQ(button(*mainBars()[5], "Font").tooltip, "Typeface");
  EXPECT_EQ(button(otherBar(), "Font").tooltip, "Font");

  call("KaSetFunctionState", {Variant(form), "Bold", Variant(int16_t{0})});
  EXPECT_EQ(pressed("Bold"), "000000");
}

TEST_F(FunctionStateStories, GetOperationsAnswerFromTheFirstOrTheLastPushButton) {
  call("KaSetFunctionState", {Variant(form), "Bold", Variant(int16_t{-1})});
  auto& first = *form->bar(Edit);
  first.setFlags(first.find("Bold"), static_cast<int16_t>(button(first, "Bold").flags & ~zadeve::BF_ON));

  Variant value(int16_t{7});
  EXPECT_EQ(automation::toInteger(call("KaGetFunctionState", {Variant(form), "Bold"})), 0) << "the first is off";
  EXPECT_EQ(call("KaTGetFunctionState", {Variant(form), "Bold", byRef(value)}), Variant(true));
  EXPECT_EQ(value, Variant(int16_t{-1})) << "the last, on the Extra palette, is on";

  auto& last = *mainBars()[5];
  last.setEnabled(last.find("Bold"), false);
  EXPECT_EQ(call("KaGetFunctionEnabled", {Variant(form), "Bold", byRef(value)}), Variant(true));
  EXPECT_EQ(value, Variant(int16_t{0}));

  // Functions no push button carries: false or 0, and the out-value as the caller passed it.
  for (const char* fn : {"Font", "Msg", "Nowhere"}) {
    SCOPED_TRACE(fn);
    Variant untouched(int16_t{7});
    EXPECT_EQ(call("KaTGetFunctionState", {Variant(form), fn, byRef(untouched)}), Variant(false));
    EXPECT_EQ(call("KaGetFunctionEnabled", {Variant(form), fn, byRef(untouched)}), Variant(false));
    EXPECT_EQ(untouched, Variant(int16_t{7}));
    EXPECT_EQ(automation::toInteger(call("KaGetFunctionState", {Variant(form), fn})), 0);
  }
}

TEST_F(FunctionStateStories, AFunctionStateCallRestartsTheHostsOwnScan) {
  call("KaTBeginScanFunction", {Variant(form), "Bold"});
  ASSERT_TRUE(automation::toBoolean(call("KaTNextScanFunction", {})));
  EXPECT_EQ(lib->aBar(), ObjectRef(form->bar(Edit)));
  call("KaSetFunctionState", {Variant(form), "Cut", Variant(int16_t{-1})});
  EXPECT_EQ(lib->aBar(), nullptr);
  EXPECT_FALSE(automation::toBoolean(call("KaTNextScanFunction", {}))) << "the host's scan is gone";

  // KaGetFunctionState leaves the scan on the bar that answered; with no push button
  // (the spin "Size") it runs out.
  call("KaGetFunctionState", {Variant(form), "Bold"});
  EXPECT_EQ(lib->aBar(), ObjectRef(form->bar(Edit)));
  call("KaGetFunctionState", {Variant(form), "Size"});
  EXPECT_EQ(lib->aBar(), nullptr) << "no push button: the scan ran out";
}

TEST_F(FunctionStateStories, CombosAreFilledSearchedAndReadOnEveryBar) {
  const std::vector<std::pair<const char*, int32_t>> entries{{"Serif", 11}, {"sans", 12}, {"Sans", 13}};
  for (auto [text, data] : entries)
    call("KaAddFunctionListItem", {Variant(form), "Font", text, Variant(data)});
  std::vector<ReVivezav*> combos;
  for (auto* bar : mainBars())
    if (bar->find("Font") >= 0) combos.push_back(bar);
  ASSERT_EQ(combos.size(), 4u) << "Edit, Format, the hidden Extra and its palette";
  for (auto* bar : combos) {
    const auto& list = button(*bar, "Font").combo;
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[2].text, "Sans");
    EXPECT_EQ(list.entries[2].data, 13);
  }
  EXPECT_TRUE(button(otherBar(), "Font").combo.entries.empty());

  auto selected = [&] {
    std::string s;
    for (auto* bar : combos) s += std::to_string(button(*bar, "Font").combo.listIndex) + " ";
    return s;
  };
  call("KaSetItemIndexByText", {Variant(form), "Font", "SANS"});
  EXPECT_EQ(selected(), "1 1 1 1 ") << "the first equal ignoring case";
  for (const char* missing : {"Mono", ""}) call("KaSetItemIndexByText", {Variant(form), "Font", missing});
  call("KaSetItemIndexByData", {Variant(form), "Font", Variant(int32_t{99})});
  for (int32_t index : {-1, 3}) call("KaSetItemIndex", {Variant(form), "Font", Variant(index)});
  EXPECT_EQ(selected(), "1 1 1 1 ") << "what is not there leaves the selection alone";
  call("KaSetItemIndexByData", {Variant(form), "Font", Variant(int32_t{13})});
  EXPECT_EQ(selected(), "2 2 2 2 ");
  call("KaSetItemIndex", {Variant(form), "Font", Variant(int32_t{0})});
  EXPECT_EQ(selected(), "0 0 0 0 ");

  auto& lastList = button(*combos.back(), "Font");
  dynamic_cast<ReVivezav&>(*combos.back()).pick(combos.back()->find("Font"), 1);
  ASSERT_EQ(lastList.combo.listIndex, 1);
  Variant item("as passed"), data(int32_t{-5});
  call("KaGetFunctionListItem", {Variant(form), "Font", byRef(item), byRef(data)});
  EXPECT_EQ(item, Variant("sans")) << "the last combo visited answers";
  EXPECT_EQ(data, Variant(int32_t{12}));

  item = Variant("as passed");
  call("KaGetFunctionListItem", {Variant(other), "Font", byRef(item), byRef(data)});
  EXPECT_EQ(item, Variant("as passed")) << "nothing selected on the other form";
}

TEST_F(FunctionStateStories, StatusPanelsShowMessagesAndProgressOnEveryBar) {
  call("StatusMsg", {Variant(form), "Msg", "Saved", Variant(true)});
  std::string captions;
  for (auto* bar : mainBars())
    if (bar->find("Msg") >= 0) captions += button(*bar, "Msg").caption + ";";
  EXPECT_EQ(captions, "Saved;Saved;Saved;Saved;Saved;");
  EXPECT_EQ(button(otherBar(), "Msg").caption, "");
  EXPECT_EQ(call("GetStatusMsg", {Variant(form), "Msg"}), Variant("Saved"));
  EXPECT_EQ(call("GetStatusMsg", {Variant(form), "Nowhere"}), Variant(""));

  // The name finds any button, a push button too.
  call("StatusMsg", {Variant(form), "Cut", "Snip"});
  EXPECT_EQ(button(*form->bar(Edit), "Cut").caption, "Snip");

  for (int16_t percent : {150, -5}) {
    call("StatusProg", {Variant(form), "Msg", Variant(percent)});
    EXPECT_EQ(button(*mainBars()[5], "Msg").panel.progress, percent);
  }
}

}  // namespace
}  // namespace zadeve::host
