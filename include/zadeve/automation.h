#pragma once
// The automation runtime as a host sees it: reference-counted objects reached by member
// name (Object, Ref, ObjectRef, makeObject), the values that cross every call (Variant,
// Arg, byRef), the one error type (AutomationError with its number), late-bound calls
// (callMethod, getProperty, letProperty, setProperty) and the conversions between values.
// A host object is an Object that answers `invoke`; Dispatchable with a MemberTable builds
// one from a table of members.
//
// These are the runtime's own declarations, installed under zadeve/detail/ with the
// library: one set of types, never a copy that could drift.

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "automation/member_table.h"
#include "automation/object.h"
#include "automation/variant.h"
