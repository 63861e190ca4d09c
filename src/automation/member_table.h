#pragma once
// Member tables: one declarative table per automation class drives its `invoke`.
// Each row names a member, its slot in the interface, its kind, its parameters (by
// value or by reference, optional with a default) and its result type. The table is
// the single description of the class's automation face.
//
// Binding rules, applied before a row's handler runs:
//  - more arguments than parameters raises 450; a missing required one raises 449;
//  - an omitted optional parameter takes its default (Missing when it has none);
//  - a by-value parameter receives its own copy, converted to the declared type;
//  - a by-reference parameter whose caller passed a Variant of the declared type (or
//    any Variant for a Variant parameter) binds to the caller's Variant itself; any other
//    argument is converted into a temporary, and whatever the handler writes there is
//    copied back to a by-reference caller when the handler returns.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "automation/conversions.h"
#include "automation/error.h"
#include "automation/object.h"
#include "automation/variant.h"

namespace zadeve::automation {

enum class Passing : uint8_t { ByVal, ByRef };

struct Param {
  std::string_view name;
  VarType type = VarType::Variant;
  Passing passing = Passing::ByRef;
  bool optional = false;
  Variant defaultValue = Variant::missing();
};

// Shorthands for table rows.
inline Param byVal(std::string_view name, VarType type) { return {name, type, Passing::ByVal}; }
inline Param byRef(std::string_view name, VarType type) { return {name, type, Passing::ByRef}; }
inline Param optionalParam(Param p, Variant defaultValue = Variant::missing()) {
  p.optional = true;
  p.defaultValue = std::move(defaultValue);
  return p;
}

// The bound arguments a handler sees, one per declared parameter.
struct MemberInfo;

class CallArgs {
 public:
  // The row being run: lets one handler serve several rows (the workspace proxies).
  const MemberInfo& member() const { return *member_; }
  size_t size() const { return slots_.size(); }
  Variant& operator[](size_t i) { return *slots_.at(i); }
  const Variant& operator[](size_t i) const { return *slots_.at(i); }
  bool isMissing(size_t i) const { return (*this)[i].isMissing(); }

  std::string string(size_t i) const { return toString((*this)[i]); }
  int16_t integer(size_t i) const { return toInteger((*this)[i]); }
  int32_t long_(size_t i) const { return toLong((*this)[i]); }
  float single(size_t i) const { return toSingle((*this)[i]); }
  double double_(size_t i) const { return toDouble((*this)[i]); }
  bool boolean(size_t i) const { return toBoolean((*this)[i]); }
  ObjectRef object(size_t i) const { return toObject((*this)[i]); }

 private:
  friend class Binding;
  const MemberInfo* member_ = nullptr;
  std::vector<Variant*> slots_;
};

struct MemberInfo {
  std::string_view name;
  int32_t slot = 0;
  InvokeKind kind = InvokeKind::Method;
  std::vector<Param> params;
  VarType result = VarType::Empty;  // Empty: the member returns nothing
  bool isDefault = false;           // answers the empty name
};

// Finds the row for a call: names match case-insensitively; a method call may reach a
// property get and the other way round; a let may reach a set-only property and back.
// Raises 438 when there is none.
const MemberInfo& findMember(std::span<const MemberInfo* const> rows, std::string_view name,
                             InvokeKind kind);

// The rows of a table grouped by their name without case, so a call looks at the one or
// two rows of its name instead of comparing every name of the table.
class MemberIndex {
 public:
  explicit MemberIndex(std::span<const MemberInfo* const> rows);
  // As findMember over all the rows.
  const MemberInfo& find(std::string_view name, InvokeKind kind) const;

 private:
  std::unordered_map<uint64_t, std::vector<const MemberInfo*>> byName_;
  std::vector<const MemberInfo*> defaults_;
};

// Binds args to a row's parameters for the duration of one call (see the rules above).
class Binding {
 public:
  Binding(const MemberInfo& member, std::span<Arg> args);
  Binding(const Binding&) = delete;
  Binding& operator=(const Binding&) = delete;
  CallArgs& args() { return callArgs_; }
  // Copies converted temporaries back to by-reference callers; call after success only.
  void writeBack();
  Variant result(Variant value) const;

 private:
  const MemberInfo& member_;
  std::vector<Variant> temps_;
  struct Copy {
    size_t temp;
    Variant* caller;
    Variant original;
  };
  std::vector<Copy> copies_;
  CallArgs callArgs_;
};

template <class T>
struct Member : MemberInfo {
  Variant (*handler)(T& self, CallArgs& args) = nullptr;
};

template <class T>
class MemberTable {
 public:
  MemberTable(std::string_view className, std::vector<Member<T>> members)
      : className_(className), members_(std::move(members)) {
    for (const auto& m : members_) rows_.push_back(&m);
    index_ = std::make_unique<MemberIndex>(rows_);
  }

  std::string_view className() const { return className_; }
  const std::vector<Member<T>>& members() const { return members_; }

  Variant invoke(T& self, std::string_view name, InvokeKind kind, std::span<Arg> args) const {
    const auto& row = static_cast<const Member<T>&>(index_->find(name, kind));
    Binding binding(row, args);
    Variant value = row.handler(self, binding.args());
    binding.writeBack();
    return binding.result(std::move(value));
  }

 private:
  std::string_view className_;
  std::vector<Member<T>> members_;
  std::vector<const MemberInfo*> rows_;
  std::unique_ptr<MemberIndex> index_;
};

// Base for classes whose automation face is a member table: T provides
// `static const MemberTable<T>& memberTable();`.
template <class T>
class Dispatchable : public Object {
 public:
  Variant invoke(std::string_view name, InvokeKind kind, std::span<Arg> args) override {
    return T::memberTable().invoke(static_cast<T&>(*this), name, kind, args);
  }
  std::string_view typeName() const override { return T::memberTable().className(); }
};

}  // namespace zadeve::automation
