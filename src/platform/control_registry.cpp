#include "platform/control_registry.h"

#include <map>

#include "automation/conversions.h"
#include "automation/error.h"

namespace zadeve::platform {
namespace {

std::map<std::string, ControlFactory>& registry() {
  static std::map<std::string, ControlFactory> factories;
  return factories;
}

}  // namespace

ControlFactory registerControl(std::string_view progId, ControlFactory factory) {
  auto& factories = registry();
  const std::string key = automation::toUpper(progId);
  ControlFactory previous;
  if (auto it = factories.find(key); it != factories.end()) {
    previous = std::move(it->second);
    factories.erase(it);
  }
  if (factory) factories[key] = std::move(factory);
  return previous;
}

PlacedControl createControl(std::string_view progId, automation::Object& form, automation::EventSink& sink) {
  auto it = registry().find(automation::toUpper(progId));
  if (it == registry().end())
    automation::raise(automation::err::CannotCreateObject,
                      "Can't create object: no control is registered as '" + std::string(progId) + "'");
  PlacedControl placed = it->second(form, sink);
  if (!placed.control)
    automation::raise(automation::err::CannotCreateObject,
                      "Can't create object: the factory of '" + std::string(progId) + "' made nothing");
  return placed;
}

}  // namespace zadeve::platform
