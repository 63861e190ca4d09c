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
  invokeWith(target, name, InvokeKind::PropertyLet, {Arg(std::move(value))});
}

void setProperty(Object& target, std::string_view name, ObjectRef value) {
  invokeWith(target, name, InvokeKind::PropertySet, {Arg(Variant(std::move(value)))});
}

Object& requireObject(const ObjectRef& ref) {
  if (!ref) raise(err::ObjectNotSet);
  return *ref;
}

Object& requireObject(const Variant& v) { return requireObject(toObject(v)); }

}  // namespace zadeve::automation
