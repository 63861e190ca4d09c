// The toolbar control through its automation face, as the library drives it: items and
// their argument forms, members, state copy, bad arguments, events, layout, pointer looks.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "automation/collection.h"
#include "automation/dispatch.h"
#include "platform/picture.h"
#include "support/automation_assert.h"
#include "vizevore/paint.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore::testing {
namespace {

using namespace automation;

Ref<ReVivezav> newBar() { return makeObject<ReVivezav>(); }
void addPush(ReVivezav& bar, std::string name, std::string image = "-1.-1", std::string text = "", double flags = 0,
             double leastWidth = 0) {
  callMethod(bar, "AddPushButton", {Variant(name), Variant(image), Variant(""), Variant(text), Variant(flags),
                                    Variant(leastWidth), Variant(int16_t{16}), Variant(int16_t{16})});
}
void addToggle(ReVivezav& bar, std::string name) {
  callMethod(bar, "AddToggleButton",
             {Variant(name), Variant("-1.-1"), Variant(""), Variant(""), Variant(int16_t{16}), Variant(int16_t{16})});
}
void addCombo(ReVivezav& bar, std::string name, std::string entries) {
  callMethod(bar, "AddCombo", {Variant(name), Variant(entries)});
}
void addSpin(ReVivezav& bar, std::string name, float value, float min, float max, float step) {
  callMethod(bar, "AddSpin", {Variant(name), Variant(value), Variant(min), Variant(max), Variant(step), Variant(0.0f),
                              Variant("")});
}
void addPanel(ReVivezav& bar, std::string name, std::string width, Variant spring = Variant::missing()) {
  callMethod(bar, "AddPanel", {Variant(name), Variant(width), Arg(spring), Variant("")});
}
Ref<platform::Picture> strip(int width, int height) {
  return platform::Picture::fromPixels(width, height, std::vector<uint8_t>(size_t(width) * height * 4, 255));
}
Variant get(Object& o, std::string_view name, std::initializer_list<Arg> args = {}) {
  return getProperty(o, name, args);
}
int32_t getLong(Object& o, std::string_view name) { return toLong(get(o, name)); }
// The keyed lookup's result (Nothing gives an empty Ref).
ObjectRef button(ReVivezav& bar, std::string name) { return toObject(get(bar, "", {Variant(name)})); }
void select(ReVivezav& bar, int16_t index) { letProperty(bar, "buttonIndex", index); }
Box boxOf(const ReVivezav& bar, int item) {
  const Rect& r = bar.item(item).pixelRect;
  return {r.left, r.top, r.width, r.height};
}

// Records each event with the current button's tag, flags and list index as a handler
// reads them, then runs the handler a form would.
struct RecordingSink : EventSink {
  struct Seen {
    std::string name, state;
    std::vector<Variant> args;
  };
  std::vector<Seen> events;
  std::function<void(ReVivezav&, std::span<Arg>)> handler;

  void controlEvent(Object& object, std::string_view event, std::span<Arg> args) override {
    auto& source = dynamic_cast<ReVivezav&>(object);
    Seen seen{std::string(event), "", {}};
    if (source.currentButton() >= 0)
      seen.state = toString(get(source, "ButtonTag")) + " " + std::to_string(getLong(source, "PushButtonFlags")) + " " +
                   std::to_string(getLong(source, "ButtonListIndex"));
    for (Arg& a : args) seen.args.push_back(a.value());
    events.push_back(std::move(seen));
    if (handler) handler(source, args);
  }
};

// The argument forms of the Add… members, image sets and Reset.

TEST(ReVivezavItems, ArgumentFormsOfCombosSpinsPanelsAndImageSetsAndReset) {
  auto bar = newBar();
  callMethod(*bar, "AddCombo", {Variant("Size"), Variant("120"), Variant("Font size")});
  callMethod(*bar, "AddCombo", {Variant("Fonts"), Variant("Fonts"), Variant("")});  // not a width
  addCombo(*bar, "Face", "Arial;Courier");
  EXPECT_EQ(bar->item(0).combo.width, 120);
  EXPECT_EQ(bar->item(0).tooltip, "Font size");
  EXPECT_EQ(bar->item(1).combo.width, metrics::DefaultComboWidth);
  ASSERT_EQ(bar->item(2).combo.entries.size(), 2u);
  EXPECT_EQ(bar->item(2).combo.entries[1].text, "Courier");

  addSpin(*bar, "Zoom", 250, 10, 200, 0);
  EXPECT_EQ(bar->item(3).spin.value, 200);  // kept within the range
  EXPECT_EQ(bar->item(3).spin.step, 1);     // a step of 0 means 1
  // Fields left empty by the single-bar builder arrive as Empty variants, by reference.
  Variant empty;
  auto e = byRef(empty);
  callMethod(*bar, "AddSpin", {Variant("Free"), e, e, e, e, e, Variant("")});
  EXPECT_FALSE(bar->item(4).spin.limited());
  EXPECT_EQ(bar->item(4).spin.width, metrics::DefaultSpinWidth);
  EXPECT_TRUE(empty.isEmpty());

  addPanel(*bar, "Coords", "140");
  addPanel(*bar, "Msg", "wide", Variant(int16_t{-1}));
  EXPECT_EQ(bar->item(5).panel.width, 140);
  EXPECT_FALSE(bar->item(5).panel.spring);
  EXPECT_EQ(bar->item(6).panel.width, metrics::DefaultPanelWidth);
  EXPECT_TRUE(bar->item(6).panel.spring);

  // Image sets: their forms and numbers; then Reset.
  bar = newBar();
  callMethod(*bar, "SetImageSize", {Variant(int16_t{20}), Variant(int16_t{18})});
  callMethod(*bar, "AddImageSet", {Variant(strip(40, 18))});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 256);
  callMethod(*bar, "AddImageSet", {Variant(strip(32, 16)), Variant("3")});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 3);
  callMethod(*bar, "AddImageSet",
             {Variant(strip(64, 15)), Variant("2"), Variant(""), Variant(int16_t{16}), Variant(int16_t{15})});
  // The symbol palette's form: named, no number, height first.
  callMethod(*bar, "AddImageSet",
             {Variant(strip(24, 30)), Variant(""), Variant("Symbols"), Variant(int16_t{30}), Variant(int16_t{24})});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 257);
  callMethod(*bar, "AddImageSet",  // replaces set 3
             {Variant(strip(8, 8)), Variant("3"), Variant(""), Variant(int16_t{8}), Variant(int16_t{8})});

  struct Expected { int32_t number, width, height; };
  for (Expected e : {Expected{256, 20, 18}, Expected{3, 8, 8}, Expected{2, 16, 15}, Expected{257, 24, 30}}) {
    const ImageSet* set = bar->imageSet(e.number);
    ASSERT_NE(set, nullptr) << e.number;
    EXPECT_EQ(set->imageWidth, e.width) << e.number;
    EXPECT_EQ(set->imageHeight, e.height) << e.number;
  }
  EXPECT_EQ(bar->imageSets().size(), 4u);

  // Reset empties the bar and outdates its button objects.
  addPush(*bar, "a");
  auto old = button(*bar, "a");
  callMethod(*bar, "Reset");
  EXPECT_EQ(getLong(*bar, "ButtonCount"), 0);
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), -1);
  EXPECT_FALSE(button(*bar, "a"));
  EXPECT_AUTOMATION_ERROR(get(*bar, "ButtonType"), 9, "No current button");
  EXPECT_AUTOMATION_ERROR(get(*old, "Caption"), 5, "no longer on its bar");
}

// One bar of every kind serves the members, bad arguments and events.
Ref<ReVivezav> everyKind() {
  auto bar = newBar();
  addPush(*bar, "Open");                          // 0
  addToggle(*bar, "Bold");                        // 1
  addCombo(*bar, "Font", "Arial;Courier;Times");  // 2
  addSpin(*bar, "Zoom", 110, 10, 120, 15);        // 3
  addPanel(*bar, "Status", "");                   // 4
  callMethod(*bar, "AddGap");                     // 5
  callMethod(*bar, "AddMenu", {Variant("File")});  // 6
  callMethod(*bar, "AddMenuItem", {Variant("Save"), Variant(""), Variant(""), Variant("Save")});  // 7
  callMethod(*bar, "AddSeparator");               // 8
  addPush(*bar, "bold");                          // 9: the same name again
  return bar;
}

class ReVivezavEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    bar->attach(nullptr, &sink);
    select(*bar, 0);
  }
  std::vector<std::string> names(bool withState = false) const {  // with the state a handler reads
    std::vector<std::string> n;
    for (const auto& e : sink.events) n.push_back(withState ? e.name + " " + e.state : e.name);
    return n;
  }
  Ref<ReVivezav> bar = everyKind();
  RecordingSink sink;
};
class ReVivezavMembers : public ReVivezavEvents {};

// The members the library relies on, driven by name as the library drives them.
TEST_F(ReVivezavMembers, ButtonTypeOfEachKindAKeyedLookupThatMakesTheFirstOfANameCurrentAndButtonObjects) {
  const int32_t expected[] = {10, 10, 40, 30, 20, 1, 10, 10, 1, 10};
  ASSERT_EQ(getLong(*bar, "ButtonCount"), 10);
  for (int16_t i = 0; i < 10; ++i) {
    select(*bar, i);
    EXPECT_EQ(getLong(*bar, "ButtonType"), expected[i]) << "button " << i;
  }
  auto bold = button(*bar, "BOLD");
  ASSERT_TRUE(bold);
  EXPECT_EQ(getLong(*bold, "Index"), 1);
  letProperty(*bar, "buttonIndex", get(*bold, "Index"));
  EXPECT_EQ(toString(get(*bar, "ButtonTag")), "Bold");
  EXPECT_FALSE(button(*bar, "NoSuchFunction"));
  EXPECT_FALSE(button(*bar, ""));  // gaps and separators carry no name and are never found
  // A button object carries caption, progress (kept as written) and visibility.
  auto panel = button(*bar, "Status");
  letProperty(*panel, "Caption", "Ready");
  EXPECT_EQ(toString(get(*panel, "Caption")), "Ready");
  letProperty(*panel, "Progress", int16_t{150});
  EXPECT_EQ(bar->item(4).panel.progress, 150);
  letProperty(*button(*bar, "Open"), "Visible", int16_t{0});
  EXPECT_FALSE(bar->item(0).visible);
  EXPECT_TRUE(get(*button(*bar, "Open"), "PlaceholderFor").isNothing());
}

TEST_F(ReVivezavMembers, FlagsKeepEveryBitBumpIsTheDisabledMarkOfButtonsOnlyAndListsKeepEntriesAndSelection) {
  addPush(*bar, "a", "-1.-1", "Open a file", BF_TOGGLE | BF_CAPABOVE);
  select(*bar, 10);
  letProperty(*bar, "PushButtonFlags", int16_t(-32768 | BF_ON | BF_TOGGLE));
  letProperty(*bar, "ButtonEnabled", int16_t{0});
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), -32768 | BF_ON | BF_TOGGLE | BF_BUMP);
  letProperty(*bar, "PushButtonFlags", int16_t{BF_ON});
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(true));
  EXPECT_EQ(toString(get(*bar, "ButtonTooltip")), "Open a file");

  // A panel's BF_BUMP is its raised look; its enabled state is kept apart.
  select(*bar, 4);
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), BF_DIP);
  letProperty(*bar, "PushButtonFlags", int16_t{BF_BUMP});
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(true));
  letProperty(*bar, "ButtonEnabled", false);
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), BF_BUMP);
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(false));

  // The list control keeps entries, data and the selected entry.
  auto list = toObject(get(*button(*bar, "Font"), "PlaceholderFor"));
  ASSERT_TRUE(list);
  callMethod(*list, "AddItem", {Variant("Mono")});
  EXPECT_EQ(getLong(*list, "NewIndex"), 3);
  std::vector<Arg> data{Arg(int32_t{3}), Arg(int32_t{102})};
  list->invoke("ItemData", InvokeKind::PropertyLet, data);
  letProperty(*list, "ListIndex", int32_t{3});

  // A second lookup reaches the same list; the selection follows insertions and removals.
  auto again = toObject(get(*button(*bar, "font"), "PlaceholderFor"));
  callMethod(*again, "AddItem", {Variant("first"), Variant(int32_t{0})});
  EXPECT_EQ(getLong(*again, "NewIndex"), 0);
  EXPECT_EQ(toLong(get(*again, "ItemData", {int32_t{4}})), 102);
  EXPECT_EQ(toString(get(*again, "")), "Mono");
  callMethod(*again, "AddItem", {Variant("Arial"), Variant(int32_t{4})});  // in the selected entry's place
  EXPECT_EQ(toString(get(*again, "")), "Mono");
  callMethod(*again, "RemoveItem", {Variant(int32_t{0})});
  EXPECT_EQ(getLong(*again, "ListIndex"), 4);
  callMethod(*again, "RemoveItem", {Variant(int32_t{4})});
  EXPECT_EQ(getLong(*again, "ListIndex"), -1);
  callMethod(*again, "Clear");
  EXPECT_EQ(getLong(*again, "ListCount"), 0);
  EXPECT_EQ(getLong(*again, "NewIndex"), -1);
}

// CopyStateFromReVivezavAsObject: how a palette's bar and its host bar stay in step.

// The same bar, as the builder makes it from one section.
Ref<ReVivezav> filledBar() {
  auto bar = newBar();
  addToggle(*bar, "Bold");
  addPush(*bar, "Save", "-1.-1", "", BF_CAPRIGHT);
  callMethod(*bar, "AddGap");
  addCombo(*bar, "Font", "");
  addSpin(*bar, "Zoom", 100, 10, 400, 10);
  addPanel(*bar, "Status", "");
  return bar;
}

void copy(ReVivezav& to, ReVivezav& from) {
  Variant source{Ref<ReVivezav>(&from)};
  callMethod(to, "CopyStateFromReVivezavAsObject", {byRef(source)});
}

TEST(ReVivezavStateCopy, TheTargetTakesOverEveryStateButNotTheLookAndAMissingOrDifferentButtonIsATypeMismatch) {
  auto host = filledBar();
  host->click(0);  // Bold on
  host->setFlags(1, BF_BUMP | BF_MAXWIDTH);  // Save disabled, and a look the palette lacks
  host->addListItem(3, "Arial");
  host->addListItem(3, "Courier");
  host->setListData(3, 1, 7);
  host->setListIndex(3, 1);
  host->setSpinValue(4, 250);
  host->setCaption(5, "Ready");
  host->setProgress(5, 40);
  host->setEnabled(5, false);
  host->setItemVisible(1, false);

  auto palette = filledBar();
  copy(*palette, *host);
  EXPECT_EQ(palette->item(0).flags, BF_TOGGLE | BF_ON);
  EXPECT_EQ(palette->item(1).flags, BF_CAPRIGHT | BF_BUMP);
  EXPECT_FALSE(palette->item(1).visible);
  ASSERT_EQ(palette->item(3).combo.entries.size(), 2u);
  EXPECT_EQ(palette->item(3).combo.entries[1].data, 7);
  EXPECT_EQ(palette->item(3).combo.listIndex, 1);
  EXPECT_EQ(palette->item(4).spin.value, 250);
  EXPECT_EQ(palette->item(5).caption, "Ready");
  EXPECT_EQ(palette->item(5).panel.progress, 40);
  EXPECT_FALSE(palette->item(5).enabled());

  // And back: what changed on the palette returns to the host.
  palette->click(0);
  copy(*host, *palette);
  EXPECT_FALSE(host->item(0).on());
  copy(*host, *host);  // itself: nothing to do

  // A missing or different button is a type mismatch, after the rest is copied.
  for (bool lacking : {true, false}) {
    SCOPED_TRACE(lacking ? "lacking" : "of another type");
    auto from = newBar();
    addToggle(*from, "Bold");
    if (!lacking) addPush(*from, "Font");
    from->click(0);
    auto to = newBar();
    addCombo(*to, "Font", "");
    addToggle(*to, "Bold");
    EXPECT_AUTOMATION_ERROR(copy(*to, *from), 13, "no matching button for \"Font\"");
    EXPECT_TRUE(to->item(1).on());
  }
}

// Bad arguments raise 13, 5 or 9 (91 for a missing source bar, which the library tells
// apart from 13) with a description that names the problem and, through automation, the
// member; none of them changes the bar.

using B = ReVivezav&;

struct BadCall { const char* what; void (*call)(B); int32_t number; const char* text; };

ObjectRef listOf(B b) { return toObject(get(*button(b, "Font"), "PlaceholderFor")); }

void copyFrom(B b, Variant source) { callMethod(b, "CopyStateFromReVivezavAsObject", {byRef(source)}); }

const BadCall badCalls[] = {
    {"image reference not numbers", [](B b) { addPush(b, "x", "two.five"); }, err::TypeMismatch,
     "Image reference \"two.five\" is not an icon-set number and an image index (ReVivezav.AddPushButton)"},
    {"negative image size", [](B b) { callMethod(b, "SetImageSize", {Variant(int16_t{-1}), Variant(int16_t{16})}); },
     err::InvalidCall, "The image width must lie between 0 and 4096 pixels, not -1"},
    {"image set numbered by a word",
     [](B b) { callMethod(b, "AddImageSet", {Variant(strip(16, 16)), Variant("two")}); }, err::TypeMismatch,
     "Image set number \"two\""},
    {"current button out of range", [](B b) { select(b, 10); }, err::Subscript,
     "Button index 10 is out of range (the bar has 10 buttons)"},
    {"negative width", [](B b) { letProperty(b, "Width", -5.0f); }, err::InvalidCall, "negative"},
    {"z-order position 2", [](B b) { callMethod(b, "ZOrder", {Variant(int16_t{2})}); }, err::InvalidCall,
     "ZOrder position"},
    {"copy from Nothing", [](B b) { copyFrom(b, Variant::nothing()); }, err::ObjectNotSet, "not Nothing"},
    // A collection is no toolbar: its default member refuses a function name.
    {"copy from another object", [](B b) { copyFrom(b, Variant(makeObject<Collection>())); },
     err::InvalidCall, "Invalid procedure call or argument (ReVivezav.CopyStateFromReVivezavAsObject)"},
    {"list entry out of range", [](B b) { get(*listOf(b), "List", {int32_t{3}}); }, err::Subscript,
     "List index 3 is out of range (the list has 3 entries) (ReVivezavList.List)"},
    {"removing past the end", [](B b) { callMethod(*listOf(b), "RemoveItem", {Variant(int32_t{3})}); },
     err::Subscript, "List index 3"},
    {"inserting past the end", [](B b) { callMethod(*listOf(b), "AddItem", {Variant("z"), Variant(int32_t{4})}); },
     err::Subscript, "List index 4"},
    // The user actions, typed.
    {"click past the end", [](B b) { b.click(10); }, err::Subscript, "Button index 10"},
    {"picking from a button", [](B b) { b.pick(0, 0); }, err::InvalidCall, "Button 0 (Open) is not a combo"},
    {"picking past the list", [](B b) { b.pick(2, 3); }, err::Subscript, "List index 3"},
    {"spinning a combo", [](B b) { b.spinUp(2); }, err::InvalidCall, "Button 2 (Font) is not a spin"},
};

TEST(ReVivezavErrors, RaiseTheRuntimesErrorAndLeaveTheBarAsItWas) {
  for (const BadCall& c : badCalls) {
    SCOPED_TRACE(c.what);
    auto bar = everyKind();
    letProperty(*bar, "Width", 3000.0f);
    const int32_t layouts = bar->layoutCount();
    EXPECT_AUTOMATION_ERROR(c.call(*bar), c.number, c.text);
    EXPECT_EQ(bar->itemCount(), 10);
    EXPECT_EQ(bar->width(), 3000);
    EXPECT_EQ(bar->item(2).combo.entries.size(), 3u);
    EXPECT_EQ(bar->item(2).combo.listIndex, -1);
    EXPECT_EQ(bar->layoutCount(), layouts);
  }
}

// User actions and the events they raise to the form: order, current button, and the
// state a handler sees when it runs.

TEST_F(ReVivezavEvents, EachActionMakesItsButtonCurrentAndSetsItsStateBeforeTheEventSpinsCarryTheValueByReference) {
  bar->setFlags(4, BF_BUMP);  // a raised panel still acts
  for (int32_t i : {4, 0, 1, 1, 7}) EXPECT_TRUE(bar->click(i)) << i;
  EXPECT_TRUE(bar->pick(2, 2));
  EXPECT_TRUE(bar->contextMenu(150, 75));  // leaves the current button
  EXPECT_EQ(names(true), (std::vector<std::string>{"ButtonClick Status 4 -1", "ButtonClick Open 0 -1",
                                            "ButtonClick Bold 130 -1", "ButtonClick Bold 2 -1", "ButtonClick Save 0 -1",
                                            "ButtonClick Font 0 2", "BarContextMenu Font 0 2"}));
  EXPECT_TRUE(sink.events[1].args.empty());
  EXPECT_EQ(sink.events[6].args,
            (std::vector<Variant>{Variant(int16_t{2}), Variant(int16_t{0}), Variant(150.0f), Variant(75.0f)}));

  // Spin and edit events carry the new value by reference.
  sink.events.clear();
  bar->spinUp(3);    // 110 + 15, held at 120
  bar->spinDown(3);  // 105
  bar->typeValue(3, 42.5f);
  bar->commitValue(3);
  ASSERT_EQ(names(), (std::vector<std::string>{"ButtonSpinUp", "ButtonSpinDown", "ButtonChange", "ButtonValue"}));
  const float expected[] = {120, 105, 42.5f, 42.5f};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(sink.events[i].args, std::vector<Variant>{Variant(expected[i])}) << sink.events[i].name;
    EXPECT_EQ(sink.events[i].state.substr(0, 5), "Zoom ");
  }
  // A handler may correct the value; the range still holds.
  sink.handler = [](ReVivezav&, std::span<Arg> args) { args[0].value() = Variant(500.0); };
  bar->typeValue(3, 60);
  EXPECT_EQ(bar->item(3).spin.value, 120);
}

TEST_F(ReVivezavEvents, NothingHappensOnItemsThatCannotAct) {
  for (int32_t i : {1, 2, 3, 4}) bar->setEnabled(i, false);
  bar->setItemVisible(0, false);
  bar->setItemVisible(6, false);
  for (int32_t i : {0, 1, 4, 5, 6, 7}) EXPECT_FALSE(bar->click(i)) << i;  // 6 opens, 7 sits in a hidden menu
  EXPECT_FALSE(bar->pick(2, 0));
  EXPECT_FALSE(bar->spinUp(3));
  EXPECT_EQ(bar->item(1).flags & BF_ON, 0);
  EXPECT_EQ(bar->item(2).combo.listIndex, -1);
  EXPECT_EQ(bar->item(3).spin.value, 110);

  bar->setEnabled(4, true);
  letProperty(*bar, "Visible", false);  // the whole bar hidden
  EXPECT_FALSE(bar->click(4));
  EXPECT_FALSE(bar->contextMenu(0, 0));
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(ReVivezavEvents, HandlerErrorsReachWhoeverActedAndAHandlerMayEmptyOrReleaseTheBar) {
  sink.handler = [](ReVivezav&, std::span<Arg>) { raise(438); };
  EXPECT_AUTOMATION_ERROR(bar->click(0), 438, "doesn't support");
  bar->detach();  // no sink is no error
  EXPECT_TRUE(bar->click(1));
  EXPECT_TRUE(bar->item(1).on());
  bar->attach(nullptr, &sink);
  sink.handler = [](ReVivezav& source, std::span<Arg>) { callMethod(source, "Reset"); };
  EXPECT_TRUE(bar->spinUp(3));
  EXPECT_EQ(bar->itemCount(), 0);

  // The form lets go of its only reference while the event runs.
  auto* raw = bar.get();
  addPush(*raw, "Close");
  sink.handler = [this](ReVivezav&, std::span<Arg>) { bar.reset(); };
  EXPECT_TRUE(raw->click(0));
  EXPECT_FALSE(bar);
}

// Layout in twips. By default a 16-pixel button with 3 pixels around it is 22 pixels
// square; 15 twips per pixel.

constexpr int32_t T = 15;       // twips per pixel
constexpr int32_t Button = 22;  // pixels

// Captions measured at 6 pixels a character, so that sizes do not depend on the font.
Ref<ReVivezav> measuredBar() {
  auto bar = newBar();
  bar->setTextMeasure([](std::string_view text) { return static_cast<int32_t>(text.size()) * 6; });
  return bar;
}

// "|" adds a separator, "_" a gap, any other name a push button.
Ref<ReVivezav> barOf(std::initializer_list<std::string> items) {
  auto bar = measuredBar();
  for (const std::string& i : items) {
    if (i == "|")
      callMethod(*bar, "AddSeparator");
    else if (i == "_")
      callMethod(*bar, "AddGap");
    else
      addPush(*bar, i);
  }
  return bar;
}

struct Lengths {
  int32_t min, ideal, depth;  // pixels
  friend bool operator==(const Lengths&, const Lengths&) = default;
  friend void PrintTo(const Lengths& l, std::ostream* os) { *os << l.min << "/" << l.ideal << "/" << l.depth; }
};

Lengths lengthsOf(ReVivezav& bar) {
  return {getLong(bar, "MinLength") / T, getLong(bar, "IdealLength") / T, getLong(bar, "IdealDepth") / T};
}

TEST(ReVivezavLayout, ItemsWrapIntoRowsOrColumnsWhenTheLengthIsTooShortAndDrawnEdgesAddToEveryLength) {
  auto bar = barOf({"a", "b", "c", "d", "e"});
  struct Case { int32_t widthPx; Lengths expected; };
  for (Case c : {Case{110, {22, 110, 22}}, Case{0, {22, 22, 110}}, Case{60, {22, 44, 66}}}) {
    letProperty(*bar, "Width", c.widthPx * T);
    EXPECT_EQ(lengthsOf(*bar), c.expected) << "width " << c.widthPx;
  }
  EXPECT_EQ(bar->item(2).rect, (Rect{0, Button * T, Button * T, Button * T}));

  callMethod(*bar, "Move", {Variant(0.0f), Variant(0.0f), Variant(110.0f * T), Variant(60.0f * T)});
  letProperty(*bar, "Vertical", true);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 44, 66}));
  EXPECT_EQ(bar->item(2).rect, (Rect{Button * T, 0, Button * T, Button * T}));
  letProperty(*bar, "Vertical", false);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 110, 22}));

  // Drawn edges add to every length.
  bar = measuredBar();
  letProperty(*bar, "BorderFlags1", int16_t{6});
  letProperty(*bar, "EdgeFlags1", int16_t{2});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{0, 0, 2}));  // an empty bar needs only its edges
  bar = barOf({"a", "b", "c"});
  letProperty(*bar, "Width", 1000 * T);
  letProperty(*bar, "EdgeFlags1", int16_t{1 | 2 | 4});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 66, 22}));  // no border kind: nothing drawn
  letProperty(*bar, "BorderFlags1", int16_t{6});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{26, 70, 24}));
  EXPECT_EQ(bar->item(0).pixelRect, (Rect{2, 2, Button, Button}));
}

TEST(ReVivezavLayout, MinLengthIsTheLongestItemAndSizesFollowButtonImageAndTwipsPerPixel) {
  auto bar = measuredBar();
  addPush(*bar, "a");
  callMethod(*bar, "AddCombo", {Variant("c"), Variant("120"), Variant("")});
  addSpin(*bar, "s", 0, 0, 0, 0);
  callMethod(*bar, "Move", {Variant(0.0f), Variant(0.0f), Variant(1000.0f * T), Variant(1000.0f * T)});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{120, 22 + 120 + 64, 22}));
  letProperty(*bar, "Vertical", true);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 66, 120}));

  // Sizes follow the button size, the image size and twips per pixel.
  bar = measuredBar();
  bar->addPushButton("own", "", "", "", 0, 0, 0, 0);  // no size of its own: the bar's
  callMethod(*bar, "SetBarHeight", {Variant(int16_t{24})});
  callMethod(*bar, "SetImageSize", {Variant(int16_t{32}), Variant(int16_t{20})});
  EXPECT_EQ(bar->item(0).pixelRect, (Rect{0, 0, 38, 30}));
  bar->setTwipsPerPixel(12);
  EXPECT_EQ(bar->item(0).rect, (Rect{0, 0, 38 * 12, 30 * 12}));
  EXPECT_EQ(getLong(*bar, "IdealDepth"), 30 * 12);
}

TEST(ReVivezavLayout, HiddenItemsMenuEntriesAndSpacingAtAWrapTakeNoRoom) {
  auto bar = measuredBar();
  callMethod(*bar, "AddMenuItem", {Variant("loose"), Variant(""), Variant(""), Variant("x")});  // no menu yet
  callMethod(*bar, "AddMenu", {Variant("File")});  // captioned with its name
  callMethod(*bar, "AddMenuItem", {Variant("Copy"), Variant(""), Variant(""), Variant("Copy")});
  addPush(*bar, "b");
  letProperty(*bar, "Width", 1000 * T);
  EXPECT_EQ(bar->menuEntries(1), std::vector<int32_t>{2});
  EXPECT_EQ(bar->item(0).pixelRect.width, 22);
  EXPECT_TRUE(bar->item(2).rect.empty());
  EXPECT_EQ(lengthsOf(*bar).ideal, 22 + 22 + 40);
  letProperty(*button(*bar, "File"), "Visible", int16_t{0});
  EXPECT_TRUE(bar->item(1).rect.empty());
  EXPECT_EQ(bar->item(3).pixelRect.left, 22);

  // Spacing at a wrap point takes no room either.
  bar = barOf({"_", "a", "b", "|", "c"});
  letProperty(*bar, "Width", 55 * T);  // the gap and two buttons fit (52), the separator not
  EXPECT_EQ(bar->item(1).pixelRect.left, metrics::GapLength);
  EXPECT_TRUE(bar->item(3).rect.empty());
  EXPECT_EQ(bar->item(4).pixelRect, (Rect{0, Button, Button, Button}));
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 52, 44}));
}

TEST(ReVivezavLayout, CaptionsFlagsAndLeastWidthSizeButtonsAndSpringPanelsShareTheSpareRoom) {
  auto bar = measuredBar();
  callMethod(*bar, "AddImageSet", {Variant(strip(32, 16)), Variant("1")});
  addPush(*bar, "text", "-1.-1", "Open");              // 24 px of text + 2 x 4
  addPush(*bar, "right", "1.0", "Open", BF_CAPRIGHT);  // 3 + 16 + 3 + 24 + 4
  addPush(*bar, "above", "1.0", "Open", BF_CAPABOVE);  // text line above
  addPush(*bar, "least", "1.0", "", 0, 40);
  addPush(*bar, "widest", "1.0", "", BF_MAXWIDTH);
  callMethod(*bar, "AddMenu", {Variant("Edit")});      // 4 + 24 + 8 + 4
  addPush(*bar, "unloaded", "2.0", "Open");             // its set is not loaded: a caption
  // A set whose bitmap did not load arrives as Nothing: numbered, but its buttons caption.
  callMethod(*bar, "AddImageSet", {Variant::nothing(), Variant("3"), Variant(""), Variant(int16_t{16}),
                                   Variant(int16_t{16})});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 3);
  addPush(*bar, "failed", "3.0", "Open");
  letProperty(*bar, "Width", 1000 * T);
  const int32_t widths[] = {32, 50, 32, 40, 50, 40, 32, 32};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(bar->item(i).pixelRect.width, widths[i]) << i;
  EXPECT_EQ(lengthsOf(*bar).depth, Button + metrics::LineHeight);
  callMethod(*bar, "AddImageSet", {Variant(strip(32, 16)), Variant("2")});
  EXPECT_EQ(bar->item(6).pixelRect.width, Button);
  EXPECT_EQ(bar->item(7).pixelRect.width, 32);

  // Spring panels share the spare room, the first taking the odd pixels.
  bar = measuredBar();
  addPush(*bar, "a");
  for (const char* name : {"s1", "s2", "s3"}) addPanel(*bar, name, "10", Variant(true));
  addPush(*bar, "b");
  struct Case {
    int32_t widthPx;
    int32_t springs[3];
  };
  for (Case c : {Case{74, {10, 10, 10}}, Case{81, {13, 12, 12}}, Case{83, {13, 13, 13}}}) {
    letProperty(*bar, "Width", c.widthPx * T);
    EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 74, 22})) << "width " << c.widthPx;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bar->item(1 + i).rect.width, c.springs[i] * T) << "width " << c.widthPx;
    const Rect last = bar->item(4).rect;
    EXPECT_EQ(last.left + last.width, c.widthPx * T) << "the row ends flush with the bar";
  }
}

TEST(ReVivezavLayout, SuppressedLayoutIsDoneOnceWhenSwitchedBackOn) {
  auto bar = measuredBar();
  callMethod(*bar, "SuppressLayout", {Variant(true)});
  const int32_t before = bar->layoutCount();
  for (int i = 0; i < 50; ++i) addPush(*bar, "b" + std::to_string(i));
  letProperty(*bar, "Width", 110 * T);
  EXPECT_EQ(bar->layoutCount(), before);
  EXPECT_EQ(getLong(*bar, "IdealDepth"), 0);

  callMethod(*bar, "SuppressLayout", {Variant(false)});
  EXPECT_EQ(bar->layoutCount(), before + 1);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 110, 220}));
  callMethod(*bar, "SuppressLayout", {Variant(false)});
  EXPECT_EQ(bar->layoutCount(), before + 1);  // nothing changed since
  addPush(*bar, "more");
  EXPECT_EQ(bar->layoutCount(), before + 2);
  callMethod(*bar, "UpdateLayout");
  EXPECT_EQ(bar->layoutCount(), before + 3);
}

// What a window around the bar relies on: hit tests that agree with the painting, pointer
// looks, and a word to the window whenever the bar looks different or moves.

struct Counting final : BarObserver {
  int changed = 0, placed = 0;
  void barChanged() override { ++changed; }
  void barPlaced() override { ++placed; }
};

// Open | Bold | gap | Font combo | Size spin
Ref<ReVivezav> sampleBar() {
  auto bar = newBar();
  addPush(*bar, "Open", "-1.-1", "Open");
  addToggle(*bar, "Bold");
  callMethod(*bar, "AddGap", {});
  addCombo(*bar, "Font", "Arial;Times");
  addSpin(*bar, "Size", 10, 6, 72, 2);
  bar->move(0, 0, bar->idealLength(), bar->idealDepth());
  return bar;
}

int differing(const Canvas& a, const Canvas& b, const Box& inside, bool countInside) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const bool in = x >= inside.x && y >= inside.y && x < inside.right() && y < inside.bottom();
      if (in == countInside && !(a.pixel(x, y) == b.pixel(x, y))) ++n;
    }
  return n;
}

TEST(PointerLook, HitTestFindsItemsAndTheirPartsAsPainted) {
  auto bar = sampleBar();
  const Box open = boxOf(*bar, 0), gap = boxOf(*bar, 2), combo = boxOf(*bar, 3), spin = boxOf(*bar, 4);
  struct Case {
    int x, y;
    PointerLook expected;
  } cases[] = {
      {open.x + 1, open.y + 1, {0, ItemPart::Face}},
      {gap.x + gap.w / 2, gap.y + gap.h / 2, {}},  // gaps are the bar's own room
      {combo.x + 4, combo.y + combo.h / 2, {3, ItemPart::Face}},
      {combo.right() - 6, combo.y + combo.h / 2, {3, ItemPart::DropButton}},
      {spin.x + 4, spin.y + spin.h / 2, {4, ItemPart::Face}},
      {spin.right() - 4, spin.y + 3, {4, ItemPart::SpinUp}},
      {spin.right() - 4, spin.bottom() - 3, {4, ItemPart::SpinDown}},
      {spin.right() + 50, spin.y, {}},
      {-1, -1, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(hitTest(*bar, c.x, c.y), c.expected) << c.x << "," << c.y;
  bar->setItemVisible(0, false);
  EXPECT_NE(hitTest(*bar, open.x + 1, open.y + 1).item, 0);
}

TEST(PointerLook, HoverAndPressChangeOnlyThePointedItemAndNotWhenDisabled) {
  auto bar = sampleBar();
  const Canvas plain = paintToolbar(*bar);
  const Box open = boxOf(*bar, 0), spin = boxOf(*bar, 4);
  const Canvas hot = paintToolbar(*bar, {0, ItemPart::Face, false}), pressed = paintToolbar(*bar, {0, ItemPart::Face, 1}),
               arrow = paintToolbar(*bar, {4, ItemPart::SpinUp, 1}), field = paintToolbar(*bar, {4, ItemPart::Face, 1});
  // Pressed differs from hot too; a spin's field is not a button: the mouse over it changes nothing.
  const struct { const Canvas &from, &to; Box box; bool changes; } looks[] = {
      {plain, hot, open, true}, {hot, pressed, open, true}, {plain, arrow, spin, true}, {plain, field, spin, false}};
  for (const auto& l : looks) {
    EXPECT_EQ(differing(l.from, l.to, l.box, true) > 0, l.changes);
    EXPECT_EQ(differing(plain, l.to, l.box, false), 0);
  }

  bar->setEnabled(0, false);
  const Canvas disabled = paintToolbar(*bar);
  EXPECT_EQ(differing(disabled, paintToolbar(*bar, {0, ItemPart::Face, true}), open, true), 0);
}

TEST(PointerLook, TheObserverHearsOfEveryChangeAWindowMustShow) {
  auto bar = sampleBar();
  Counting seen;
  bar->setObserver(&seen);
  struct Step {
    const char* what;
    std::function<void()> act;
    bool look, place;
  } steps[] = {
      {"a pressed state", [&] { bar->setFlags(1, BF_TOGGLE | BF_ON); }, true, false},
      {"disabling", [&] { bar->setEnabled(0, false); }, true, false},
      {"a caption", [&] { bar->setCaption(0, "Load"); }, true, false},
      {"a spin value", [&] { bar->setSpinValue(4, 20); }, true, false},
      {"a list entry", [&] { bar->addListItem(3, "Mono"); }, true, false},
      {"a selection", [&] { bar->setListIndex(3, 1); }, true, false},
      {"a click on a toggle", [&] { bar->click(1); }, true, false},
      {"a new item", [&] { callMethod(*bar, "AddSeparator", {}); }, true, false},
      {"Refresh", [&] { bar->refresh(); }, true, false},
      {"Left", [&] { bar->setLeft(300); }, false, true},
      {"Visible", [&] { bar->setVisible(false); }, false, true},
      {"move", [&] { bar->move(0, 0, 3000, 400); }, true, true},
  };
  for (const Step& step : steps) {
    seen = {};
    step.act();
    EXPECT_EQ(seen.changed > 0, step.look) << step.what;
    EXPECT_EQ(seen.placed > 0, step.place) << step.what;
  }
  bar->setObserver(nullptr);
  seen = {};
  bar->refresh();
  EXPECT_EQ(seen.changed, 0);
}

}  // namespace
}  // namespace zadeve::vizevore::testing
