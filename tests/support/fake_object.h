#pragma once
// FakeObject: a recording stand-in for host objects, forms and toolbar controls. Every call
// is logged with its arguments and passing modes; lets/sets are stored and read back by gets;
// methods answer through scripted handlers; anything else raises 438 unless all is accepted.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "automation/conversions.h"
#include "automation/object.h"
#include "automation/variant.h"

namespace zadeve::support {

using automation::Arg;
using automation::InvokeKind;
using automation::ObjectRef;
using automation::Variant;

struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return automation::toUpper(a) < automation::toUpper(b);
  }
};

struct RecordedCall {
  std::string name;
  InvokeKind kind;
  std::vector<Variant> args;  // as they arrived (Missing for an omitted argument)
  std::vector<bool> byRef;

  // "Name(arg, arg)" with by-reference arguments marked "&" and strings quoted.
  std::string describe() const;
};

class FakeObject : public automation::Object {
 public:
  using Handler = std::function<Variant(FakeObject& self, std::span<Arg> args)>;

  explicit FakeObject(std::string typeName = "FakeObject") : typeName_(std::move(typeName)) {}

  Variant invoke(std::string_view name, InvokeKind kind, std::span<Arg> args) override;
  std::string_view typeName() const override { return typeName_; }

  // Scripts a member: it answers every kind of call by that name.
  void on(std::string name, Handler handler) { handlers_[std::move(name)] = std::move(handler); }
  // Stores a property value as a let would (without logging a call).
  void set(std::string name, Variant value) { properties_[std::move(name)] = std::move(value); }
  const Variant& property(const std::string& name) const;
  bool has(const std::string& name) const { return properties_.count(name) != 0; }
  // Accepts calls to unscripted members, returning Empty.
  void acceptAnyCall(bool accept = true) { acceptAny_ = accept; }

  const std::vector<RecordedCall>& calls() const { return calls_; }
  void clearCalls() { calls_.clear(); }
  // The described calls, optionally only those of the given name.
  std::vector<std::string> log(std::string_view onlyName = {}) const;
  int count(std::string_view name) const;

 private:
  std::string typeName_;
  std::map<std::string, Handler, CaseInsensitiveLess> handlers_;
  std::map<std::string, Variant, CaseInsensitiveLess> properties_;
  std::vector<RecordedCall> calls_;
  bool acceptAny_ = false;
};

}  // namespace zadeve::support
