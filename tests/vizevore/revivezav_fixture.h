#pragma once
// Shared helpers for the ReVivezav tests: building a bar through its automation face, as
// the library does, and a sink that records events together with what a handler would
// read from the bar at that moment.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "automation/collection.h"
#include "automation/dispatch.h"
#include "platform/picture.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore::testing {

using automation::Arg;
using automation::Object;
using automation::Ref;
using automation::Variant;

inline Ref<ReVivezav> newBar() { return automation::makeObject<ReVivezav>(); }

inline void addPush(ReVivezav& bar, std::string name, std::string image = "-1.-1", std::string text = "",
                    double flags = 0, double leastWidth = 0, int16_t size = 16) {
  automation::callMethod(bar, "AddPushButton",
                         {Variant(name), Variant(image), Variant(""), Variant(text), Variant(flags),
                          Variant(leastWidth), Variant(size), Variant(size)});
}

inline void addToggle(ReVivezav& bar, std::string name, std::string image = "-1.-1") {
  automation::callMethod(bar, "AddToggleButton",
                         {Variant(name), Variant(image), Variant(""), Variant(""), Variant(int16_t{16}),
                          Variant(int16_t{16})});
}

inline void addCombo(ReVivezav& bar, std::string name, std::string entries) {
  automation::callMethod(bar, "AddCombo", {Variant(name), Variant(entries)});
}

inline void addSpin(ReVivezav& bar, std::string name, float value, float min, float max, float step,
                    float width = 0) {
  automation::callMethod(bar, "AddSpin",
                         {Variant(name), Variant(value), Variant(min), Variant(max), Variant(step),
                          Variant(width), Variant("")});
}

inline void addPanel(ReVivezav& bar, std::string name, std::string width, Variant spring = Variant::missing()) {
  automation::callMethod(bar, "AddPanel", {Variant(name), Variant(width), Arg(spring), Variant("")});
}

inline Ref<platform::Picture> strip(int width, int height) {
  return platform::Picture::fromPixels(width, height, std::vector<uint8_t>(size_t(width) * height * 4, 255));
}

// The keyed lookup's result as an object (Nothing gives an empty Ref).
inline automation::ObjectRef button(ReVivezav& bar, std::string name) {
  return automation::toObject(automation::getProperty(bar, "", {Variant(name)}));
}

inline Variant get(Object& o, std::string_view name, std::initializer_list<Arg> args = {}) {
  return automation::getProperty(o, name, args);
}

inline int32_t getLong(Object& o, std::string_view name) { return automation::toLong(get(o, name)); }

struct SeenEvent {
  std::string name;
  int32_t current = -1;
  std::string tag;        // ButtonTag as a handler reads it
  int32_t flags = 0;      // PushButtonFlags as a handler reads it
  int32_t listIndex = -1; // ButtonListIndex as a handler reads it
  std::vector<Variant> args;
};

class RecordingSink : public EventSink {
 public:
  std::vector<SeenEvent> events;
  // Runs after recording, as a form's handler would.
  std::function<void(ReVivezav&, std::span<Arg>)> handler;

  void controlEvent(ReVivezav& source, std::string_view event, std::span<Arg> args) override {
    SeenEvent seen;
    seen.name = event;
    seen.current = source.currentButton();
    if (seen.current >= 0) {
      seen.tag = automation::toString(get(source, "ButtonTag"));
      seen.flags = automation::toLong(get(source, "PushButtonFlags"));
      seen.listIndex = automation::toLong(get(source, "ButtonListIndex"));
    }
    for (Arg& a : args) seen.args.push_back(a.value());
    events.push_back(std::move(seen));
    if (handler) handler(source, args);
  }

  std::vector<std::string> names() const {
    std::vector<std::string> n;
    for (const auto& e : events) n.push_back(e.name);
    return n;
  }
};

}  // namespace zadeve::vizevore::testing
