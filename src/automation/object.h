#pragma once
// Automation objects: intrusively reference-counted, reached only through `invoke` by name.
// The reference count maps one-to-one onto COM's AddRef/Release.

#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>

namespace zadeve::automation {

class Variant;
class Arg;

enum class InvokeKind : uint8_t { Method, PropertyGet, PropertyLet, PropertySet };

class Object {
 public:
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // The one entry point. The empty name is the default member; names match
  // case-insensitively. For PropertyLet/PropertySet the new value is the last argument.
  // Throws AutomationError (438 for an unknown member).
  virtual Variant invoke(std::string_view name, InvokeKind kind, std::span<Arg> args) = 0;

  // The class name, for messages and for hosts that ask `TypeName`.
  virtual std::string_view typeName() const = 0;

  void addRef() noexcept { ++refCount_; }
  void release() noexcept {
    if (--refCount_ == 0) delete this;
  }
  uint32_t refCount() const noexcept { return refCount_; }

 protected:
  virtual ~Object() = default;

 private:
  uint32_t refCount_ = 0;
};

// Owning pointer to an automation object. Copying adds a reference, destruction releases
// one. Rule for new objects: they start with a count of 0, so wrapping a freshly created
// object in a Ref (or using makeObject) leaves it with exactly one reference.
template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  Ref(T* p) noexcept : p_(p) {
    if (p_) p_->addRef();
  }
  Ref(T& o) noexcept : Ref(&o) {}
  Ref(const Ref& o) noexcept : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U>
    requires std::is_convertible_v<U*, T*>
  Ref(const Ref<U>& o) noexcept : Ref(o.get()) {}
  template <class U>
    requires std::is_convertible_v<U*, T*>
  Ref(Ref<U>&& o) noexcept : p_(o.detach()) {}
  ~Ref() { reset(); }

  Ref& operator=(Ref o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  void reset() noexcept {
    if (auto* p = std::exchange(p_, nullptr)) p->release();
  }
  // Adopts a pointer whose reference the caller already owns (no addRef).
  void attach(T* p) noexcept {
    reset();
    p_ = p;
  }
  // Gives up ownership without releasing; the caller now owns the reference.
  [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  // Identity is pointer identity (the runtime's `Is`).
  template <class U>
  friend bool operator==(const Ref& a, const Ref<U>& b) noexcept {
    return static_cast<const Object*>(a.p_) == static_cast<const Object*>(b.get());
  }
  friend bool operator==(const Ref& a, const Object* b) noexcept {
    return static_cast<const Object*>(a.p_) == b;
  }

 private:
  T* p_ = nullptr;
};

using ObjectRef = Ref<Object>;

template <class T, class... A>
Ref<T> makeObject(A&&... a) {
  return Ref<T>(new T(std::forward<A>(a)...));
}

// A reference held for the length of a call that may drop every other one (an event
// handler that unloads the form it runs on). An object that nobody holds yet (still being
// made, or not reference-counted at all) is not counted: releasing would delete it.
template <class T>
Ref<T> keepAlive(T& object) noexcept {
  return object.refCount() > 0 ? Ref<T>(&object) : Ref<T>();
}

// The object as T, or an empty Ref when it is another class (or nothing).
template <class T>
Ref<T> objectAs(const ObjectRef& o) noexcept {
  return Ref<T>(dynamic_cast<T*>(o.get()));
}

}  // namespace zadeve::automation
