#pragma once
// Late-bound calls by name on any automation object: the way the library reaches host
// objects, forms and toolbar controls.

#include <initializer_list>
#include <string_view>

#include "automation/object.h"
#include "automation/variant.h"

namespace zadeve::automation {

Variant callMethod(Object& target, std::string_view name, std::initializer_list<Arg> args = {});
Variant getProperty(Object& target, std::string_view name, std::initializer_list<Arg> args = {});
void letProperty(Object& target, std::string_view name, Variant value);
void setProperty(Object& target, std::string_view name, ObjectRef value);

// The object a reference holds; Nothing raises 91.
Object& requireObject(const ObjectRef& ref);
Object& requireObject(const Variant& v);

}  // namespace zadeve::automation
