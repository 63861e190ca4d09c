// A host keeps its buttons in step by function name, with our real control: one form with
// four bars, two of them floating in palettes of their own, and a second form carrying a
// bar of the same section. Every call goes through the library's dispatch face.

#include <functional>

#include "host/example_view.h"
#include "support/temp_dir.h"

namespace zadeve::host {
namespace {

using automation::byRef;
using palette::FrmToolPalette;

constexpr const char* Ini =
    "[Functions]\nBold=TOGGLE,,Bold|\nCut=PUSH,,Cut|~0~0\nFont=COMBO,100,Font|\nSize=SPIN,8/6/72/1/0,Size|\n"
    "Msg=DIP,/100,Ready|\n"
    "[Main.Toolbars]\nBarCount=4\nBar0=Name=Edit;Home=TOP;Visible=Yes;State=Docked\n"
    "Bar1=Name=Format;Home=TOP;Visible=Yes;State=Docked\nBar2=Name=Tools;Home=LEFT;Visible=Yes;State=Docked\n"
    "Bar3=Name=Extra;Home=BOTTOM;Visible=Yes;State=Docked\n"
    "[Other.Toolbars]\nBarCount=1\nBar0=Name=Edit;Home=TOP;Visible=Yes;State=Docked\n"
    "[Toolbar.Edit]\nButtonCount=4\nButton0=Bold\nButton1=Cut\nButton2=Font\nButton3=Msg\n"
    "[Toolbar.Format]\nButtonCount=3\nButton0=Font\nButton1=Bold\nButton2=Size\n"
    "[Toolbar.Tools]\nButtonCount=3\nButton0=Bold\nButton1=Msg\nButton2=Size\n"
    "[Toolbar.Extra]\nButtonCount=4\nButton0=Cut\nButton1=Bold\nButton2=Font\nButton3=Msg\n";

enum MainBar { Edit, Format, Tools, Extra };

class FunctionStateStories : public ::testing::Test {
 protected:
  FunctionStateStories() {
    reference::registerControls();
    dir.write("BARS.INI", Ini);
    for (auto& f : {form, other}) f->setLibrary(lib);
    call("InitialiseZADEVE", {Variant(tbm), dir.file("BARS.INI"), dir.path().string() + "/"});
    automation::setProperty(*lib, "ShellApplicationObject", app);
    call("KaTSetup", {F, "Main"});
    call("KaTSetup", {Variant(other), "Other"});
    for (MainBar b : {Tools, Extra}) {
      call("KaTFloat", {F, Variant(form->bar(b))});
      palettes.push_back(FrmToolPalette::loadedPalettes().back());
    }
  }
  ~FunctionStateStories() override {
    // The forms let the library go: it holds the last scan's form.
    for (auto& f : {form, other}) closeWithoutDocking(*f);
    try {
      platform::changeDirectory(cwd);
    } catch (...) {
    }
  }

  Variant call(std::string_view member, std::initializer_list<automation::Arg> args) {
    return automation::callMethod(*lib, member, args);
  }
  bool next(const char* member) { return automation::toBoolean(call(member, {})); }
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
  // Per bar of the main form: what `show` says of its button `fn`, "-" where it has none.
  std::string each(const char* fn, const std::function<std::string(const vizevore::Item&)>& show) const {
    std::string s;
    for (auto* bar : mainBars()) s += bar->find(fn) < 0 ? "-" : show(button(*bar, fn));
    return s;
  }
  std::string pressed(const char* fn) const {
    return each(fn, [](const vizevore::Item& i) { return i.on() ? "1" : "0"; });
  }

  support::HeadlessScreen screen;
  support::TempDir dir;
  std::string cwd = platform::currentDirectory();
  Ref<core::ZuzuzudLibrary> lib = makeObject<core::ZuzuzudLibrary>();
  Ref<ToolbarManager> tbm = makeObject<ToolbarManager>();
  Ref<ShellApplication> app = makeObject<ShellApplication>();
  Ref<HeadlessForm> form = makeObject<HeadlessForm>("frmMain", 800, 600);
  Ref<HeadlessForm> other = makeObject<HeadlessForm>("frmOther", 400, 300);
  const Variant F{ObjectRef(form)};
  std::vector<Ref<FrmToolPalette>> palettes;
};

TEST_F(FunctionStateStories, ScansVisitTheFormsBarsAndItsPalettesInTheManagersOrder) {
  ASSERT_EQ(tbm->count(), 7);
  std::vector<ObjectRef> seen, expected;
  std::string floating;
  call("KaTBeginScan", {F});
  while (next("KATNextScan")) {
    seen.push_back(lib->aBar());
    floating += lib->CurrentWorkspace()->IsFloating ? 'F' : '.';
  }
  for (auto* bar : mainBars()) expected.push_back(ObjectRef(bar));
  EXPECT_EQ(seen, expected) << "frmOther's bar is skipped";
  EXPECT_EQ(floating, "....FF");
  EXPECT_TRUE(call("KATNextScan", {}).isEmpty()) << "exhausted stays exhausted";
  EXPECT_EQ(lib->aBar(), nullptr);

  int all = 0;
  call("KaTBeginScan", {Variant(ObjectRef())});
  while (next("KATNextScan")) ++all;
  EXPECT_EQ(all, 7);

  std::vector<int16_t> sizeAt;
  call("KaTBeginScanFunction", {F, "Size"});
  while (next("KaTNextScanFunction")) {
    auto& bar = dynamic_cast<ReVivezav&>(*lib->aBar());
    sizeAt.push_back(static_cast<int16_t>(bar.currentButton()));
    EXPECT_EQ(bar.item(bar.currentButton()).tag, "Size");
  }
  EXPECT_EQ(sizeAt, (std::vector<int16_t>{2, 2, 2})) << "Format, the hidden Tools and its palette";
}

TEST_F(FunctionStateStories, StateAndEnablementReachEveryPushButtonOfTheFormAndNoOtherForm) {
  auto enabled = [](const vizevore::Item& i) { return i.enabled() ? "1" : "0"; };
  call("KaSetFunctionState", {F, "Bold", i2(5)});
  EXPECT_EQ(pressed("Bold"), "111111");
  EXPECT_FALSE(button(otherBar(), "Bold").on());

  call("KaSetFunctionEnabled", {F, "Cut", i2(0)});
  call("KaSetFunctionEnabled", {F, "Font", i2(0)});  // a combo: left alone
  EXPECT_EQ(each("Cut", enabled), "0--0-0");
  EXPECT_EQ(each("Font", enabled), "11-1-1");
  EXPECT_TRUE(button(otherBar(), "Cut").enabled());
  call("KaSetButtonEnable", {F, "Cut", i2(-1)});
  EXPECT_TRUE(button(*mainBars()[5], "Cut").enabled());

  call("KaSetFunctionVisible", {F, "Cut", i2(0)});
  EXPECT_FALSE(button(*form->bar(Edit), "Cut").visible);
  EXPECT_TRUE(button(otherBar(), "Cut").visible);

  // Tips reach buttons of any kind.
  call("KaSetButtonTip", {F, "Msg", "Where we are"});
  call("KaSetButtonTip", {F, "Font", "Typeface"});
  EXPECT_EQ(button(*mainBars()[4], "Msg").tooltip, "Where we are");
  EXPECT_EQ(button(*mainBars()[5], "Font").tooltip, "Typeface");
  EXPECT_EQ(button(otherBar(), "Font").tooltip, "Font");

  call("KaSetFunctionState", {F, "Bold", i2(0)});
  EXPECT_EQ(pressed("Bold"), "000000");
}

TEST_F(FunctionStateStories, GetOperationsAnswerFromTheFirstOrTheLastPushButton) {
  call("KaSetFunctionState", {F, "Bold", i2(-1)});
  auto& first = *form->bar(Edit);
  first.setFlags(first.find("Bold"), static_cast<int16_t>(button(first, "Bold").flags & ~zadeve::BF_ON));

  Variant value = i2(7);
  EXPECT_EQ(automation::toInteger(call("KaGetFunctionState", {F, "Bold"})), 0) << "the first is off";
  EXPECT_EQ(call("KaTGetFunctionState", {F, "Bold", byRef(value)}), Variant(true));
  EXPECT_EQ(value, i2(-1)) << "the last, on the Extra palette, is on";

  auto& last = *mainBars()[5];
  last.setEnabled(last.find("Bold"), false);
  EXPECT_EQ(call("KaGetFunctionEnabled", {F, "Bold", byRef(value)}), Variant(true));
  EXPECT_EQ(value, i2(0));

  // Functions no push button carries: false or 0, and the out-value as the caller passed it.
  for (const char* fn : {"Font", "Msg", "Nowhere"}) {
    SCOPED_TRACE(fn);
    Variant untouched = i2(7);
    EXPECT_EQ(call("KaTGetFunctionState", {F, fn, byRef(untouched)}), Variant(false));
    EXPECT_EQ(call("KaGetFunctionEnabled", {F, fn, byRef(untouched)}), Variant(false));
    EXPECT_EQ(untouched, i2(7));
    EXPECT_EQ(automation::toInteger(call("KaGetFunctionState", {F, fn})), 0);
  }
}

TEST_F(FunctionStateStories, CombosAreFilledSearchedAndReadOnEveryBar) {
  for (auto [text, data] : {std::pair{"Serif", 11}, {"sans", 12}, {"Sans", 13}})
    call("KaAddFunctionListItem", {F, "Font", text, i4(data)});
  // Edit, Format, the hidden Extra and its palette.
  EXPECT_EQ(each("Font",
                 [](const vizevore::Item& i) {
                   const auto& e = i.combo.entries;
                   return std::to_string(e.size()) + (e.size() == 3 ? e[2].text + std::to_string(e[2].data) : "") +
                          " ";
                 }),
            "3Sans13 3Sans13 -3Sans13 -3Sans13 ");
  EXPECT_TRUE(button(otherBar(), "Font").combo.entries.empty());

  auto selected = [&] {
    return each("Font", [](const vizevore::Item& i) { return std::to_string(i.combo.listIndex); });
  };
  call("KaSetItemIndexByText", {F, "Font", "SANS"});
  EXPECT_EQ(selected(), "11-1-1") << "the first equal ignoring case";
  for (const char* missing : {"Mono", ""}) call("KaSetItemIndexByText", {F, "Font", missing});
  call("KaSetItemIndexByData", {F, "Font", i4(99)});
  for (int index : {-1, 3}) call("KaSetItemIndex", {F, "Font", i4(index)});
  EXPECT_EQ(selected(), "11-1-1") << "what is not there leaves the selection alone";
  call("KaSetItemIndexByData", {F, "Font", i4(13)});
  EXPECT_EQ(selected(), "22-2-2");
  call("KaSetItemIndex", {F, "Font", i4(0)});
  EXPECT_EQ(selected(), "00-0-0");

  auto& last = *mainBars()[5];
  last.pick(last.find("Font"), 1);
  ASSERT_EQ(button(last, "Font").combo.listIndex, 1);
  Variant item("as passed"), data = i4(-5);
  call("KaGetFunctionListItem", {F, "Font", byRef(item), byRef(data)});
  EXPECT_EQ(item, Variant("sans")) << "the last combo visited answers";
  EXPECT_EQ(data, i4(12));
  item = Variant("as passed");
  call("KaGetFunctionListItem", {Variant(other), "Font", byRef(item), byRef(data)});
  EXPECT_EQ(item, Variant("as passed")) << "nothing selected on the other form";
}

TEST_F(FunctionStateStories, StatusPanelsShowMessagesAndProgressOnEveryBar) {
  call("StatusMsg", {F, "Msg", "Saved", Variant(true)});
  EXPECT_EQ(each("Msg", [](const vizevore::Item& i) { return i.caption + ";"; }), "Saved;-Saved;Saved;Saved;Saved;");
  EXPECT_EQ(button(otherBar(), "Msg").caption, "");
  EXPECT_EQ(call("GetStatusMsg", {F, "Msg"}), Variant("Saved"));
  EXPECT_EQ(call("GetStatusMsg", {F, "Nowhere"}), Variant(""));

  // The name finds any button, a push button too.
  call("StatusMsg", {F, "Cut", "Snip"});
  EXPECT_EQ(button(*form->bar(Edit), "Cut").caption, "Snip");

  for (int16_t percent : {150, -5}) {
    call("StatusProg", {F, "Msg", i2(percent)});
    EXPECT_EQ(button(*mainBars()[5], "Msg").panel.progress, percent);
  }
}

}  // namespace
}  // namespace zadeve::host
