#pragma once
// The automation runtime's VARIANT and the argument that carries one into a call,
// by value or by reference.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "automation/object.h"

namespace zadeve::automation {

enum class VarType : uint8_t {
  Empty, Null, Integer, Long, Single, Double, String, Boolean, Object, Missing,
  // Only in member tables: a parameter or result that takes any Variant unchanged.
  Variant,
};

std::string_view varTypeName(VarType t);

// 16-bit boolean of the runtime: true is -1, false is 0.
inline constexpr int16_t True = -1;
inline constexpr int16_t False = 0;
inline constexpr int16_t toVbBool(bool b) { return b ? True : False; }

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(int16_t v) : value_(v) {}
  Variant(int32_t v) : value_(v) {}  // a plain int literal is a Long
  Variant(float v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(std::string_view v) : value_(std::string(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(bool v) : value_(BooleanValue{v}) {}
  Variant(ObjectRef v) : value_(std::move(v)) {}
  template <class T>
    requires std::is_base_of_v<Object, T>
  Variant(Ref<T> v) : value_(ObjectRef(std::move(v))) {}

  static Variant null() { return Variant(NullValue{}); }
  static Variant missing() { return Variant(MissingValue{}); }
  static Variant nothing() { return Variant(ObjectRef()); }

  VarType type() const { return static_cast<VarType>(value_.index()); }
  bool isEmpty() const { return type() == VarType::Empty; }
  bool isNull() const { return type() == VarType::Null; }
  bool isMissing() const { return type() == VarType::Missing; }
  bool isObject() const { return type() == VarType::Object; }
  bool isString() const { return type() == VarType::String; }
  // Object type holding no object: the runtime's Nothing.
  bool isNothing() const { return isObject() && !std::get<ObjectRef>(value_); }

  // Raw access; the type must match (use the conversions for anything else).
  int16_t integer() const { return std::get<int16_t>(value_); }
  int32_t long_() const { return std::get<int32_t>(value_); }
  float single() const { return std::get<float>(value_); }
  double double_() const { return std::get<double>(value_); }
  const std::string& string() const { return std::get<std::string>(value_); }
  bool boolean() const { return std::get<BooleanValue>(value_).value; }
  const ObjectRef& object() const { return std::get<ObjectRef>(value_); }

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  struct NullValue { bool operator==(const NullValue&) const = default; };
  struct MissingValue { bool operator==(const MissingValue&) const = default; };
  struct BooleanValue {
    bool value;
    bool operator==(const BooleanValue&) const = default;
  };
  explicit Variant(NullValue v) : value_(v) {}
  explicit Variant(MissingValue v) : value_(v) {}

  // Order follows VarType.
  std::variant<std::monostate, NullValue, int16_t, int32_t, float, double, std::string,
               BooleanValue, ObjectRef, MissingValue>
      value_;
};

// One argument of a call: its own value, or a reference to the caller's Variant, through
// which whatever the callee writes reaches the caller.
class Arg {
 public:
  Arg(Variant v) : own_(std::move(v)) {}
  template <class T>
    requires std::is_constructible_v<Variant, T>
  Arg(T v) : own_(Variant(std::move(v))) {}
  static Arg ref(Variant& v) {
    Arg a{Variant()};
    a.ref_ = &v;
    return a;
  }
  static Arg missing() { return Arg(Variant::missing()); }

  bool byRef() const { return ref_ != nullptr; }
  Variant& value() { return ref_ ? *ref_ : own_; }
  const Variant& value() const { return ref_ ? *ref_ : own_; }

 private:
  Variant own_;
  Variant* ref_ = nullptr;
};

inline Arg byRef(Variant& v) { return Arg::ref(v); }

}  // namespace zadeve::automation
