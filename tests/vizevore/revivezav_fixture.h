#pragma once
// Shared helpers for the ReVivezav tests: building a bar through its automation face, as
// the library does, and a sink that records events with what a handler reads at that moment.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "automation/collection.h"
#include "automation/dispatch.h"
#include "platform/picture.h"
#include "support/automation_assert.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore::testing {

using automation::Arg;
using automation::callMethod;
using automation::letProperty;
using automation::Object;
using automation::Ref;
using automation::Variant;

inline Ref<ReVivezav> newBar() { return automation::makeObject<ReVivezav>(); }

inline void addPush(ReVivezav& bar, std::string name, std::string image = "-1.-1", std::string text = "",
                    double flags = 0, double leastWidth = 0) {
  callMethod(bar, "AddPushButton", {Variant(name), Variant(image), Variant(""), Variant(text), Variant(flags),
                                    Variant(leastWidth), Variant(int16_t{16}), Variant(int16_t{16})});
}

inline void addToggle(ReVivezav& bar, std::string name) {
  callMethod(bar, "AddToggleButton",
             {Variant(name), Variant("-1.-1"), Variant(""), Variant(""), Variant(int16_t{16}), Variant(int16_t{16})});
}

inline void addCombo(ReVivezav& bar, std::string name, std::string entries) {
  callMethod(bar, "AddCombo", {Variant(name), Variant(entries)});
}

inline void addSpin(ReVivezav& bar, std::string name, float value, float min, float max, float step) {
  callMethod(bar, "AddSpin", {Variant(name), Variant(value), Variant(min), Variant(max), Variant(step),
                              Variant(0.0f), Variant("")});
}

inline void addPanel(ReVivezav& bar, std::string name, std::string width, Variant spring = Variant::missing()) {
  callMethod(bar, "AddPanel", {Variant(name), Variant(width), Arg(spring), Variant("")});
}

inline Ref<platform::Picture> strip(int width, int height) {
  return platform::Picture::fromPixels(width, height, std::vector<uint8_t>(size_t(width) * height * 4, 255));
}

inline Variant get(Object& o, std::string_view name, std::initializer_list<Arg> args = {}) {
  return automation::getProperty(o, name, args);
}

inline int32_t getLong(Object& o, std::string_view name) { return automation::toLong(get(o, name)); }

// The keyed lookup's result (Nothing gives an empty Ref).
inline automation::ObjectRef button(ReVivezav& bar, std::string name) {
  return automation::toObject(get(bar, "", {Variant(name)}));
}

inline void select(ReVivezav& bar, int16_t index) { letProperty(bar, "buttonIndex", index); }

struct SeenEvent {
  std::string name;
  std::string tag;         // ButtonTag as a handler reads it
  int32_t flags = 0;       // PushButtonFlags
  int32_t listIndex = -1;  // ButtonListIndex
  std::vector<Variant> args;
};

class RecordingSink : public EventSink {
 public:
  std::vector<SeenEvent> events;
  // Runs after recording, as a form's handler would.
  std::function<void(ReVivezav&, std::span<Arg>)> handler;

  void controlEvent(automation::Object& object, std::string_view event, std::span<Arg> args) override {
    auto& source = dynamic_cast<ReVivezav&>(object);
    SeenEvent seen;
    seen.name = event;
    if (source.currentButton() >= 0) {
      seen.tag = automation::toString(get(source, "ButtonTag"));
      seen.flags = getLong(source, "PushButtonFlags");
      seen.listIndex = getLong(source, "ButtonListIndex");
    }
    for (Arg& a : args) seen.args.push_back(a.value());
    events.push_back(std::move(seen));
    if (handler) handler(source, args);
  }
};

}  // namespace zadeve::vizevore::testing
