#include "automation/dispatch.h"

#include <vector>

#include "automation/conversions.h"
#include "automation/error.h"

namespace zadeve::automation {
namespace {

Variant invokeWith(Object& target, std::string_view name, InvokeKind kind,
                   std::initializer_list<Arg> args) {
  std::vector<Arg> list(args);
  return target.invoke(name, kind, list);
}

}  // namespace

Variant callMethod(Object& target, std::string_view name, std::initializer_list<Arg> args) {
  return invokeWith(target, name, InvokeKind::Method, args);
}

Variant getProperty(Object& target, std::string_view name, std::initializer_list<Arg> args) {
  return invokeWith(target, name, InvokeKind::PropertyGet, args);
}

void letProperty(Object& target, std::string_view name, Variant value) {
  std::vector<Arg> args;
  args.emplace_back(std::move(value));
  target.invoke(name, InvokeKind::PropertyLet, args);
}

void setProperty(Object& target, std::string_view name, ObjectRef value) {
  std::vector<Arg> args;
  args.emplace_back(Variant(std::move(value)));
  target.invoke(name, InvokeKind::PropertySet, args);
}

Object& requireObject(const ObjectRef& ref) {
  if (!ref) raise(err::ObjectNotSet);
  return *ref;
}

Object& requireObject(const Variant& v) { return requireObject(toObject(v)); }

}  // namespace zadeve::automation
