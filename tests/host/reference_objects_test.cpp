// The reference host's own objects through the faces the library sees them by: the
// headless form and its `bar` control array, the shell application, the toolbar manager;
// and a host's own toolbar, whose states a palette copies through the members every
// toolbar answers.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "automation/collection.h"
#include "automation/dispatch.h"
#include "core/host_contracts.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "support/automation_assert.h"
#include "support/headless_screen.h"
#include "support/palette_fixture.h"

namespace zadeve::host {
namespace {

using automation::makeObject;
using automation::ObjectRef;
using automation::Passing;
using automation::Ref;
using automation::Variant;
using platform::Picture;
using vizevore::ReVivezav;

class HeadlessFormTest : public ::testing::Test {
 protected:
  support::HeadlessScreen screen{15};
  Ref<HeadlessForm> form = makeObject<HeadlessForm>("frmMain", 400, 300);
  core::HostForm face{ObjectRef(form)};
};

TEST_F(HeadlessFormTest, ElementZeroExistsAndLoadPlacesNewControlsOnTheForm) {
  EXPECT_AUTOMATION_ERROR(face.bar(1), 340, "Control array element '1' doesn't exist");
  face.loadBar(1);
  face.loadBar(3);  // a gap is allowed, as the runtime allows it
  for (int16_t i : {0, 1, 3}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(face.bar(i).parent(), ObjectRef(form));
    EXPECT_EQ(form->bar(i)->eventSink(), form.get());
    EXPECT_EQ(form->bar(i)->twipsPerPixel(), 15);
  }
  EXPECT_AUTOMATION_ERROR(face.bar(2), 340, "'2'");
  EXPECT_AUTOMATION_ERROR(face.loadBar(1), 360, "already loaded");
  EXPECT_AUTOMATION_ERROR(face.loadBar(-1), 5, "-1");
  EXPECT_EQ(form->bars().count(), 3);
  face.loadBar(INT16_MAX);  // the last element a 16-bit index reaches
  EXPECT_EQ(form->bars().upperBound(), INT16_MAX);
}

TEST_F(HeadlessFormTest, ClientAreaIsInTwipsOfTheScreen) {
  EXPECT_EQ(face.ScaleHeight(), Variant(4500.0f));
  automation::letProperty(*form, "ScaleWidth", Variant(3000.4));
  EXPECT_EQ(form->pixelWidth(), 200);
  EXPECT_AUTOMATION_ERROR(automation::letProperty(*form, "ScaleHeight", Variant(-15)), 5, "negative");
  EXPECT_AUTOMATION_ERROR(form->resize(20000, 10), 5, "20000 x 10");

  screen->setTwipsPerPixel(12, 10);
  auto other = makeObject<HeadlessForm>("frmOther", 100, 50);
  EXPECT_EQ(other->scaleWidth(), 1200);
  EXPECT_EQ(other->scaleHeight(), 500);
  EXPECT_EQ(other->bar(0)->twipsPerPixel(), 12);
}

TEST_F(HeadlessFormTest, SignalRunsItsHandlerInsideTheWriteAndWithoutALibraryOnlyRecords) {
  face.Signal("REFORMAT");  // the default handler: no library to lay out with
  EXPECT_EQ(form->signals(), std::vector<std::string>{"REFORMAT"});
  EXPECT_FALSE(form->freeRectangle());
  EXPECT_AUTOMATION_ERROR(form->layout(), 91, "");

  std::vector<std::string> seen;
  form->onSignal([&](HeadlessForm& f, const std::string& word) {
    seen.push_back(word + "/" + automation::toString(automation::getProperty(f, "Signal")));
  });
  face.Signal("ExecuteCommand");
  EXPECT_EQ(seen, std::vector<std::string>{"ExecuteCommand/ExecuteCommand"});
  EXPECT_EQ(form->signals().size(), 2u);
}

// A click reaching the form is on the main road; here, the events that carry more or less.
TEST_F(HeadlessFormTest, ControlEventsCarryTheirValue) {
  vizevore::SpinData spin;
  spin.value = 8;
  spin.maximum = 72;
  form->bar(0)->addSpin("FontSize", spin, "Font size");
  std::vector<std::string> heard;
  form->onControlEvent([&](const ControlEvent& e) { heard.push_back(describe(e)); });
  form->bar(0)->spinUp(0);
  form->bar(0)->contextMenu(30, 40);
  EXPECT_EQ(heard, (std::vector<std::string>{"bar(0) ButtonSpinUp FontSize = 9", "bar(0) BarContextMenu"}));
  ASSERT_EQ(form->events().size(), 2u);
  EXPECT_EQ(form->events()[0].value, 9.0f);
  EXPECT_FALSE(form->events()[1].value);
}

TEST_F(HeadlessFormTest, UnloadAndDestructionLeaveNoControlWithAParentOrASink) {
  Ref<ReVivezav> kept = form->bar(0);  // as the toolbar manager would keep it
  face.Unload();
  EXPECT_EQ(kept->eventSink(), nullptr);
  EXPECT_EQ(form->bars().count(), 0);
  EXPECT_FALSE(form->loaded());

  auto other = makeObject<HeadlessForm>("frmOther", 100, 100);
  Ref<ReVivezav> survivor = other->bar(0);
  other = nullptr;
  EXPECT_EQ(survivor->parentForm(), nullptr);
  survivor->addPushButton("Open", "", "", "Open", 0, 0, 0, 0);
  EXPECT_TRUE(survivor->click(0));  // raised to no one: the form that is gone is not called
}

class ShellApplicationTest : public ::testing::Test {
 protected:
  Ref<Picture> shapePicture() {
    return automation::objectAs<Picture>(core::HostView{face.locView()}.ShapePicture());
  }

  Ref<ShellApplication> app = makeObject<ShellApplication>();
  core::ShellApp face{ObjectRef(app)};
};

// The main road sees reports echoed; here, their style, and only those after the echo began.
TEST_F(ShellApplicationTest, KeepsReportsAndPreparedValuesAndHearsBroadcasts) {
  std::ostringstream echo;
  face.MsgBoxSub("before the echo");
  app->echoReportsTo(&echo);
  face.MsgBoxSub("a\r\nb");
  automation::callMethod(*app, "MsgBoxSub", {Variant("no style")});
  ASSERT_EQ(app->reports().size(), 3u);
  EXPECT_EQ(app->reports()[1].style, 1);
  EXPECT_EQ(app->reports()[2].style, 0);
  EXPECT_EQ(echo.str(), "a\nb\nno style\n");

  face.aValue(Variant(9.5f));
  face.aCmdFlag(-1);
  face.Broadcast("REFRESHTOOLBAR");
  EXPECT_EQ(automation::getProperty(*app, "aValue"), Variant(9.5f));  // kept as Single
  EXPECT_EQ(automation::getProperty(*app, "aCmdFlag"), Variant(int16_t{-1}));
  EXPECT_EQ(app->broadcasts(), std::vector<std::string>{"REFRESHTOOLBAR"});
}

TEST_F(ShellApplicationTest, MainViewDrawsTheSymbolThatLocViewHandsOut) {
  core::HostView main{face.MainView()};
  EXPECT_AUTOMATION_ERROR(shapePicture(), 91, "SetShapePictureInfo");
  main.SetShapePictureInfo(24, 20, 0, 16711935, "Valve", 1);  // height first
  auto picture = shapePicture();
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width(), 20);
  EXPECT_EQ(picture->height(), 24);
  // The corners are the key colour the toolbar leaves out; the symbol lies in the middle.
  EXPECT_EQ(picture->pixel(19, 23), (platform::Rgba{255, 0, 255, 255}));
  EXPECT_NE(picture->pixel(10, 12), (platform::Rgba{255, 0, 255, 255}));

  main.SetShapePictureInfo(16, 16, 0, 0x00FF0000, "Pump", 1);  // 0x00BBGGRR
  EXPECT_EQ(shapePicture()->pixel(0, 0), (platform::Rgba{0, 0, 255, 255}));
  EXPECT_AUTOMATION_ERROR(main.SetShapePictureInfo(0, 16, 0, 0, "Valve", 1), 5, "height");
  EXPECT_AUTOMATION_ERROR(main.SetShapePictureInfo(16, 300, 0, 0, "Valve", 1), 5, "width");
}

TEST_F(ShellApplicationTest, NamedShapesAreDrawnAsNamed) {
  const platform::Rgba key{255, 0, 255, 255};
  // Near a corner a square is filled, an ellipse or a diamond is not; a triangle points up.
  const struct { const char* name; int x, y; bool filled; } cases[] = {
      {"Big Rectangle", 2, 2, true}, {"Ellipse", 2, 2, false}, {"diamond", 2, 2, false},
      {"Triangle", 2, 2, false},     {"Triangle", 3, 12, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(drawSymbol(c.name, 15, 15, key)->pixel(c.x, c.y) != key, c.filled) << c.name << " " << c.x << "," << c.y;
  // Names without a shape word still get the same picture every time.
  auto a = drawSymbol("Valve", 15, 15, key), b = drawSymbol("VALVE", 15, 15, key);
  EXPECT_TRUE(std::equal(a->rgba().begin(), a->rgba().end(), b->rgba().begin()));

  auto bitmap = automation::objectAs<Picture>(face.GetBitmap());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width(), 64);
  EXPECT_EQ(bitmap->height(), 15);
}

// Any automation object will do as a bar: the manager only holds them. Adding in order and
// removing on unload are driven by the main road test; here, the middle and the edges.
TEST(ToolbarManager, RemovesFromTheMiddleAndRefusesPositionsOutsideTheList) {
  auto tbm = makeObject<ToolbarManager>();
  core::ToolbarManager face{ObjectRef(tbm)};
  ObjectRef a = makeObject<automation::Collection>(), b = makeObject<automation::Collection>(),
            c = makeObject<automation::Collection>();
  for (const auto& bar : {a, b, c}) face.Add(bar);
  EXPECT_EQ(face.ItemAsObject(3, Passing::ByRef), c);
  face.Remove(2);
  EXPECT_EQ(tbm->bars(), (std::vector<ObjectRef>{a, c}));
  EXPECT_EQ(b->refCount(), 1u) << "a removed bar is let go";

  for (int16_t position : {0, 3, -1}) {
    SCOPED_TRACE(position);
    EXPECT_AUTOMATION_ERROR(face.ItemAsObject(position), 9, "position " + std::to_string(position));
    EXPECT_AUTOMATION_ERROR(face.Remove(position), 9, "holds 2");
  }
  EXPECT_AUTOMATION_ERROR(face.Add(nullptr), 91, "Nothing");
  EXPECT_EQ(tbm->count(), 2);
}

}  // namespace
}  // namespace zadeve::host

namespace zadeve::support {
namespace {

using automation::makeObject;
using automation::toInteger;
using automation::toLong;
using automation::toString;

// A host whose toolbar is its own (a script's class, a control of another maker) floats a
// bar: the palette, our control, opens with the host bar's states.
class ForeignToolbarCopy : public PaletteTest {
 protected:
  struct HostButton {
    int16_t flags;
    bool enabled;
    std::vector<std::pair<std::string, int32_t>> list;
    int32_t listIndex = -1;
  };

  ForeignToolbarCopy() {
    host::registerReferenceControls();
    dir.write("BARS.INI",
              "[Functions]\nBold=TOGGLE,,Bold|\nItalic=TOGGLE,,Italic|\nSave=PUSH,,Save|\n"
              "FontName=COMBO,140,Font name|\n"
              "[Toolbar.Draw]\nButtonCount=4\nButton0=Bold\nButton1=Italic\nButton2=Save\nButton3=FontName\n");
    // Italic is missing on the host bar.
    addButton("Bold", {int16_t(BF_TOGGLE | BF_ON), true, {}});
    addButton("Save", {0, false, {}});
    addButton("FontName", {0, true, {{"Arial", 7}, {"Courier", 9}}, 1});
    hostBar->on("", [this](FakeObject&, std::span<Arg> a) {
      const std::string fn = toString(a[0].value());
      reads.push_back("bar(" + fn + ")");
      auto it = objects_.find(fn);
      return it == objects_.end() ? Variant::nothing() : Variant(it->second);
    });
    hostBar->on("buttonIndex", [this](FakeObject&, std::span<Arg> a) {
      current_ = toInteger(a.back().value());
      reads.push_back("buttonIndex=" + std::to_string(current_));
      return Variant();
    });
    auto field = [this](const char* name, auto get) {
      hostBar->on(name, [this, name, get](FakeObject&, std::span<Arg>) {
        reads.push_back(name);
        return Variant(get(buttons_.at(size_t(current_))));
      });
    };
    field("PushButtonFlags", [](const HostButton& b) { return b.flags; });
    field("ButtonEnabled", [](const HostButton& b) { return b.enabled; });
    field("ButtonListIndex", [](const HostButton& b) { return b.listIndex; });
  }

  // A button object of the host bar, and for a combo its list, both recording every read.
  void addButton(const std::string& fn, HostButton b) {
    const auto index = int16_t(buttons_.size());
    const bool combo = !b.list.empty();
    buttons_.push_back(std::move(b));
    auto button = makeObject<FakeObject>("Button");
    auto read = [this, fn](const char* member, Variant v) {
      return [this, fn, member, v](FakeObject&, std::span<Arg>) {
        reads.push_back(fn + "." + member);
        return v;
      };
    };
    button->on("Index", read("Index", Variant(index)));
    button->on("Caption", read("Caption", Variant("")));
    if (combo) {
      auto list = makeObject<FakeObject>("List");
      const auto& entries = buttons_.back().list;
      list->on("ListCount", read("ListCount", Variant(int32_t(entries.size()))));
      auto at = [this](std::string member, auto value) {
        return [this, member, value](FakeObject&, std::span<Arg> a) {
          const auto i = size_t(toLong(a[0].value()));
          reads.push_back(member + "(" + std::to_string(i) + ")");
          return Variant(value(i));
        };
      };
      list->on("List", at("List", [entries](size_t i) { return entries.at(i).first; }));
      list->on("ItemData", at("ItemData", [entries](size_t i) { return entries.at(i).second; }));
      button->on("PlaceholderFor", read("PlaceholderFor", Variant(ObjectRef(list))));
    }
    objects_[fn] = button;
  }

  std::vector<std::string> reads;

 private:
  std::vector<HostButton> buttons_;
  std::map<std::string, ObjectRef> objects_;
  int16_t current_ = -1;
};

TEST_F(ForeignToolbarCopy, AFloatedBarOpensWithThePressedDisabledAndSelectedStatesOfTheHostBar) {
  auto palette = floatBar();
  auto& floating = dynamic_cast<vizevore::ReVivezav&>(*palette->bar());
  auto item = [&](const char* fn) { return floating.item(floating.find(fn)); };

  EXPECT_TRUE(item("Bold").on());
  EXPECT_FALSE(item("Italic").on()) << "not on the host bar: left as built";
  EXPECT_FALSE(item("Save").enabled());
  EXPECT_TRUE(item("Bold").enabled());
  const auto& combo = item("FontName").combo;
  ASSERT_EQ(combo.entries.size(), 2u);
  EXPECT_EQ(combo.entries[1].text, "Courier");
  EXPECT_EQ(combo.entries[1].data, 9);
  EXPECT_EQ(combo.listIndex, 1);
  EXPECT_EQ(combo.selectedText(), "Courier");
  EXPECT_TRUE(app->messages.empty()) << "the missing Italic is a type mismatch, which the copy ignores";

  // The host sees each button found by name, made current, then read.
  std::string seen;
  for (const auto& r : reads) seen += r + " ";
  EXPECT_EQ(seen,
            "bar(Bold) Bold.Index buttonIndex=0 PushButtonFlags ButtonEnabled Bold.Caption bar(Italic) "
            "bar(Save) Save.Index buttonIndex=1 PushButtonFlags ButtonEnabled Save.Caption "
            "bar(FontName) FontName.Index buttonIndex=2 PushButtonFlags ButtonEnabled ButtonListIndex FontName.Caption "
            "FontName.PlaceholderFor FontName.ListCount List(0) ItemData(0) List(1) ItemData(1) ");
}

}  // namespace
}  // namespace zadeve::support
