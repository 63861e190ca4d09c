// A host whose toolbar is its own (a script's class, a control of another maker) floats a
// bar: the palette, our control, opens with the host bar's states, read through the
// members every toolbar answers.

#include <map>

#include "automation/conversions.h"
#include "host/reference_controls.h"
#include "support/palette_fixture.h"
#include "vizevore/revivezav.h"

namespace zadeve::support {
namespace {

using automation::makeObject;
using automation::toInteger;
using automation::toLong;
using automation::toString;

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
