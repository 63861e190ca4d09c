#include "vizevore/button_object.h"

#include "vizevore/list_control.h"
#include "vizevore/member_errors.h"

namespace zadeve::vizevore {

using namespace automation;

ReVivezavButton::ReVivezavButton(Ref<ReVivezav> bar, uint32_t itemId) : bar_(std::move(bar)), itemId_(itemId) {}

Variant ReVivezavButton::invoke(std::string_view name, InvokeKind kind, std::span<Arg> args) {
  return namingMember(memberTable().className(), name,
                      [&] { return Dispatchable::invoke(name, kind, args); });
}

int32_t ReVivezavButton::position() const {
  int32_t at = bar_->indexOfId(itemId_);
  if (at < 0) raise(err::InvalidCall, "The button is no longer on its bar");
  return at;
}

const MemberTable<ReVivezavButton>& ReVivezavButton::memberTable() {
  using V = VarType;
  using B = ReVivezavButton;
  static const MemberTable<B> table(
      "ReVivezavButton",
      {
          {{"Index", 1, InvokeKind::PropertyGet, {}, V::Integer},
           [](B& b, CallArgs&) { return Variant(b.position()); }},
          {{"Caption", 2, InvokeKind::PropertyGet, {}, V::String},
           [](B& b, CallArgs&) { return Variant(b.bar().item(b.position()).caption); }},
          {{"Caption", 2, InvokeKind::PropertyLet, {byVal("Value", V::String)}},
           [](B& b, CallArgs& a) {
             b.bar().setCaption(b.position(), a.string(0));
             return Variant();
           }},
          {{"Progress", 3, InvokeKind::PropertyGet, {}, V::Integer},
           [](B& b, CallArgs&) { return Variant(b.bar().item(b.position()).panel.progress); }},
          {{"Progress", 3, InvokeKind::PropertyLet, {byVal("Value", V::Integer)}},
           [](B& b, CallArgs& a) {
             b.bar().setProgress(b.position(), a.integer(0));
             return Variant();
           }},
          {{"Visible", 4, InvokeKind::PropertyGet, {}, V::Boolean},
           [](B& b, CallArgs&) { return Variant(b.bar().item(b.position()).visible); }},
          {{"Visible", 4, InvokeKind::PropertyLet, {byVal("Value", V::Boolean)}},
           [](B& b, CallArgs& a) {
             b.bar().setItemVisible(b.position(), a.boolean(0));
             return Variant();
           }},
          {{"PlaceholderFor", 5, InvokeKind::PropertyGet, {}, V::Object},
           [](B& b, CallArgs&) {
             const Item& item = b.bar().item(b.position());
             if (item.kind != ItemKind::Combo) return Variant::nothing();
             return Variant(makeObject<ReVivezavList>(Ref<ReVivezav>(&b.bar()), item.id));
           }},
          {{"Tag", 6, InvokeKind::PropertyGet, {}, V::String},
           [](B& b, CallArgs&) { return Variant(b.bar().item(b.position()).tag); }},
      });
  return table;
}

}  // namespace zadeve::vizevore
