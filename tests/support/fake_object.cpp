#include "support/fake_object.h"

#include "automation/error.h"

namespace zadeve::support {

std::string RecordedCall::describe() const {
  std::string s = name;
  if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet) s += " =";
  s += "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i) s += ", ";
    if (byRef[i]) s += "&";
    const Variant& v = args[i];
    switch (v.type()) {
      case automation::VarType::String: s += "\"" + v.string() + "\""; break;
      case automation::VarType::Missing: s += "<missing>"; break;
      case automation::VarType::Object: s += v.isNothing() ? "Nothing" : "<" + std::string(v.object()->typeName()) + ">"; break;
      case automation::VarType::Null: s += "Null"; break;
      case automation::VarType::Empty: s += "Empty"; break;
      default:
        s += automation::toString(v) + ":" + std::string(automation::varTypeName(v.type()));
    }
  }
  return s + ")";
}

Variant FakeObject::invoke(std::string_view name, InvokeKind kind, std::span<Arg> args) {
  RecordedCall call{std::string(name), kind, {}, {}};
  for (auto& a : args) {
    call.args.push_back(a.value());
    call.byRef.push_back(a.byRef());
  }
  calls_.push_back(std::move(call));

  std::string key(name);
  if (auto h = handlers_.find(key); h != handlers_.end()) return h->second(*this, args);
  if ((kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet) && !args.empty()) {
    properties_[key] = args.back().value();
    return Variant();
  }
  if (auto p = properties_.find(key); p != properties_.end() && args.empty()) return p->second;
  if (acceptAny_) return Variant();
  automation::raise(automation::err::MemberMissing);
}

const Variant& FakeObject::property(const std::string& name) const {
  static const Variant empty;
  auto p = properties_.find(name);
  return p == properties_.end() ? empty : p->second;
}

std::vector<std::string> FakeObject::log(std::string_view onlyName) const {
  std::vector<std::string> out;
  for (const auto& c : calls_)
    if (onlyName.empty() || automation::equalsIgnoreCase(c.name, onlyName)) out.push_back(c.describe());
  return out;
}

int FakeObject::count(std::string_view name) const {
  int n = 0;
  for (const auto& c : calls_) n += automation::equalsIgnoreCase(c.name, name);
  return n;
}

}  // namespace zadeve::support
