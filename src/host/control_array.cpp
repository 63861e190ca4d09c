#include "host/control_array.h"

#include <iterator>
#include <string>

#include "host/headless_form.h"
#include "host/toolbar_window.h"

namespace zadeve::host {

using namespace automation;
using vizevore::ReVivezav;

namespace {

constexpr int32_t MaxIndex = INT16_MAX;

}  // namespace

ControlArray::Element ControlArray::placeOn(HeadlessForm& form) {
  auto control = makeObject<ReVivezav>(form.twipsPerPixelX());
  control->attach(&form, &form);
  auto closeWindow = openToolbarWindow(control, form.hWnd());
  return {control, std::move(closeWindow)};
}

ControlArray::ControlArray(HeadlessForm& form) : form_(&form) { elements_.push_back(placeOn(form)); }

ControlArray::~ControlArray() { orphan(); }

Ref<ReVivezav> ControlArray::element(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= elements_.size()) return nullptr;
  return elements_[static_cast<size_t>(index)].bar;
}

Ref<ReVivezav> ControlArray::item(int32_t index) const {
  auto e = element(index);
  if (!e) raise(err::ControlArrayElementMissing, "Control array element '" + std::to_string(index) + "' doesn't exist");
  return e;
}

Ref<ReVivezav> ControlArray::load(int32_t index) {
  if (index < 0 || index > MaxIndex)
    raise(err::InvalidCall, "Control array index " + std::to_string(index) + " is out of range (0 to 32767)");
  if (element(index)) raise(err::AlreadyLoaded, "Object already loaded");
  if (!form_) raise(err::ObjectNotSet, "The form of this control array is gone");
  if (static_cast<size_t>(index) >= elements_.size()) elements_.resize(static_cast<size_t>(index) + 1);
  return (elements_[static_cast<size_t>(index)] = placeOn(*form_)).bar;
}

int16_t ControlArray::count() const {
  int16_t n = 0;
  for (const auto& e : elements_) n += e.bar ? 1 : 0;
  return n;
}

int16_t ControlArray::upperBound() const {
  for (size_t i = elements_.size(); i-- > 0;)
    if (elements_[i].bar) return static_cast<int16_t>(i);
  return -1;
}

int16_t ControlArray::indexOf(const ReVivezav& control) const {
  for (size_t i = 0; i < elements_.size(); ++i)
    if (elements_[i].bar.get() == &control) return static_cast<int16_t>(i);
  return -1;
}

void ControlArray::unloadLoaded() { dropFrom(1); }

void ControlArray::clear() { dropFrom(0); }

void ControlArray::dropFrom(size_t first) {
  if (elements_.size() <= first) return;
  // Moved out first: a window's close may run code that looks at the array.
  std::vector<Element> dropped(std::make_move_iterator(elements_.begin() + static_cast<std::ptrdiff_t>(first)),
                               std::make_move_iterator(elements_.end()));
  elements_.resize(first);
  for (auto& e : dropped) {
    if (e.closeWindow) e.closeWindow();
    if (e.bar) e.bar->detach();
  }
}

void ControlArray::orphan() {
  clear();
  form_ = nullptr;
}

const MemberTable<ControlArray>& ControlArray::memberTable() {
  using V = VarType;
  using T = ControlArray;
  static const MemberTable<T> table(
      "ControlArray",
      {
          {{"Item", 0, InvokeKind::PropertyGet, {byVal("Index", V::Integer)}, V::Object, true},
           [](T& t, CallArgs& a) { return Variant(t.item(a.integer(0))); }},
          {{"Load", 1, InvokeKind::Method, {byVal("Index", V::Integer)}},
           [](T& t, CallArgs& a) {
             t.load(a.integer(0));
             return Variant();
           }},
          {{"Count", 2, InvokeKind::PropertyGet, {}, V::Integer},
           [](T& t, CallArgs&) { return Variant(t.count()); }},
          {{"UBound", 3, InvokeKind::PropertyGet, {}, V::Integer},
           [](T& t, CallArgs&) { return Variant(t.upperBound()); }},
      });
  return table;
}

}  // namespace zadeve::host
