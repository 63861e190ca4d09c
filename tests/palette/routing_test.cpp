// Button events on a palette become commands for the host: what the host finds in its
// application object and the library when "ExecuteCommand" reaches it.

#include "automation/conversions.h"
#include "support/automation_assert.h"
#include "support/palette_fixture.h"

namespace zadeve::support {
namespace {

using automation::toString;
using automation::varTypeName;

class Routing : public PaletteTest {
 protected:
  Routing() {
    palette = floatBar();
    app->set("aString", Variant("none"));
    app->set("aCmdFlag", Variant(int16_t{-5}));
    app->set("aValue", Variant("old"));
    lib->aSpinUp(-1);
    lib->aSpinDown(-2);
    lib->aBar(nullptr);
    form->onSignal([this](const std::string& word) {
      if (word == "ExecuteCommand") seen.push_back(state());
    });
  }

  // What the host can read: the command, its parameters and the library's hand-overs.
  std::string state() const {
    const Variant& v = app->property("aValue");
    return toString(app->property("aString")) + " flag " + toString(app->property("aCmdFlag")) + " value " +
           toString(v) + ":" + std::string(varTypeName(v.type())) + " up " + toString(Variant(lib->aSpinUp())) +
           " down " + toString(Variant(lib->aSpinDown())) + (lib->aBar() == palette->bar() ? " aBar=palette" : "");
  }

  void raise(const char* event, std::optional<float> value = {}) {
    Variant v = value ? Variant(*value) : Variant();
    std::vector<Arg> args;
    if (value) args.push_back(automation::byRef(v));
    palette->controlEvent(*palette->bar(), event, args);
  }

  Ref<FrmToolPalette> palette;
  std::vector<std::string> seen;
};

TEST_F(Routing, EachEventPutsItsCommandInPlaceBeforeSignallingTheHost) {
  struct Case {
    const char* event;
    std::optional<float> value;
    int16_t type, flags, listIndex;
    const char* expected;
  };
  const Case cases[] = {
      {"ButtonClick", {}, 10, 128 | 2, -1, "Bold flag 1 value old:String up -1 down -2 aBar=palette"},
      {"ButtonClick", {}, 10, 2, -1, "Bold flag 0 value old:String up -1 down -2 aBar=palette"},
      {"ButtonClick", {}, 40, 128, 3, "Bold flag 3 value old:String up -1 down -2 aBar=palette"},
      {"ButtonClick", {}, 20, 128, 3, "Bold flag 0 value old:String up -1 down -2 aBar=palette"},
      {"ButtonChange", 12.5f, 30, 0, -1, "Bold_Change flag -5 value 12.5:Single up -1 down -2 aBar=palette"},
      {"ButtonValue", 7.0f, 30, 0, -1, "Bold flag -5 value 7:Single up -1 down -2 aBar=palette"},
      {"ButtonSpinUp", 9.0f, 30, 0, -1, "Bold_SpinUp flag -5 value old:String up 9 down -2 aBar=palette"},
      {"ButtonSpinDown", 3.0f, 30, 0, -1, "Bold_SpinDown flag -5 value old:String up -1 down 3 aBar=palette"},
  };
  auto& bar = barOf(*palette);
  bar.set("ButtonTag", Variant("Bold"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.event);
    app->set("aCmdFlag", Variant(int16_t{-5}));
    app->set("aValue", Variant("old"));
    lib->aSpinUp(-1);
    lib->aSpinDown(-2);
    lib->aBar(nullptr);
    bar.set("ButtonType", Variant(c.type));
    bar.set("PushButtonFlags", Variant(c.flags));
    bar.set("ButtonListIndex", Variant(c.listIndex));
    seen.clear();
    raise(c.event, c.value);
    EXPECT_EQ(seen, std::vector<std::string>{c.expected});
  }
}

TEST_F(Routing, WithoutAHostFormClicksAndChangesBeepAndSpinsFail) {
  palette->targetForm.reset();
  raise("ButtonClick");
  raise("ButtonChange", 4.0f);
  raise("ButtonValue", 4.0f);
  EXPECT_EQ(screen->beeps(), 3);
  EXPECT_EQ(toString(app->property("aString")), "none");
  EXPECT_AUTOMATION_ERROR(raise("ButtonSpinUp", 8.0f), 91, "");
  EXPECT_EQ(lib->aSpinUp(), 8.0f) << "the steps before the signal stay done";
}

TEST_F(Routing, OnlyAClickIgnoresAFailingHostCommand) {
  form->onSignal([](const std::string&) { automation::raise(5, "the host's command failed"); });
  raise("ButtonClick");
  EXPECT_AUTOMATION_ERROR(raise("ButtonChange", 1.0f), 5, "the host's command failed");
}

TEST_F(Routing, AToolbarWithoutButtonTagStopsTheEventAfterItsValue) {
  barOf(*palette).on("ButtonTag", [](FakeObject&, std::span<Arg>) -> Variant { automation::raise(438); });
  EXPECT_AUTOMATION_ERROR(raise("ButtonChange", 2.5f), 438, "");
  EXPECT_EQ(app->property("aValue"), Variant(2.5f));
  EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace zadeve::support
