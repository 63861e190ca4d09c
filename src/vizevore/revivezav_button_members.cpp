// The bar's automation face: keyed lookup, the current button and the state copy.

#include "automation/conversions.h"
#include "vizevore/button_object.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

using namespace automation;

namespace {

using R = ReVivezav;
using V = VarType;

}  // namespace

ReVivezav::Rows ReVivezav::buttonMembers() {
  return {
      {{"Item", 0, InvokeKind::PropertyGet, {byRef("Key", V::String)}, V::Object, true},
       [](R& r, CallArgs& a) {
         int32_t at = r.find(a.string(0));
         if (at < 0) return Variant::nothing();
         return Variant(makeObject<ReVivezavButton>(Ref<R>(&r), r.item(at).id));
       }},
      {{"buttonIndex", 50, InvokeKind::PropertyGet, {}, V::Integer},
       [](R& r, CallArgs&) { return Variant(r.currentButton()); }},
      {{"buttonIndex", 50, InvokeKind::PropertyLet, {byVal("Value", V::Integer)}},
       [](R& r, CallArgs& a) {
         r.setButtonIndex(a.integer(0));
         return Variant();
       }},
      {{"ButtonCount", 51, InvokeKind::PropertyGet, {}, V::Integer},
       [](R& r, CallArgs&) { return Variant(r.itemCount()); }},
      {{"ButtonType", 52, InvokeKind::PropertyGet, {}, V::Long},
       [](R& r, CallArgs&) { return Variant(r.currentItem().buttonType()); }},
      {{"PushButtonFlags", 53, InvokeKind::PropertyGet, {}, V::Integer},
       [](R& r, CallArgs&) { return Variant(r.currentItem().flags); }},
      {{"PushButtonFlags", 53, InvokeKind::PropertyLet, {byVal("Value", V::Integer)}},
       [](R& r, CallArgs& a) {
         r.currentItem();
         r.setFlags(r.currentButton(), a.integer(0));
         return Variant();
       }},
      {{"ButtonEnabled", 54, InvokeKind::PropertyGet, {}, V::Boolean},
       [](R& r, CallArgs&) { return Variant(r.currentItem().enabled()); }},
      {{"ButtonEnabled", 54, InvokeKind::PropertyLet, {byVal("Value", V::Boolean)}},
       [](R& r, CallArgs& a) {
         r.currentItem();
         r.setEnabled(r.currentButton(), a.boolean(0));
         return Variant();
       }},
      {{"ButtonTag", 55, InvokeKind::PropertyGet, {}, V::String},
       [](R& r, CallArgs&) { return Variant(r.currentItem().tag); }},
      {{"ButtonTooltip", 56, InvokeKind::PropertyGet, {}, V::String},
       [](R& r, CallArgs&) { return Variant(r.currentItem().tooltip); }},
      {{"ButtonTooltip", 56, InvokeKind::PropertyLet, {byVal("Value", V::String)}},
       [](R& r, CallArgs& a) {
         r.currentItem();
         r.setTooltip(r.currentButton(), a.string(0));
         return Variant();
       }},
      {{"ButtonListIndex", 57, InvokeKind::PropertyGet, {}, V::Long},
       [](R& r, CallArgs&) {
         const Item& item = r.currentItem();
         return Variant(item.kind == ItemKind::Combo ? item.combo.listIndex : int32_t{-1});
       }},
      {{"CopyStateFromReVivezavAsObject", 58, InvokeKind::Method, {byRef("Source", V::Object)}},
       [](R& r, CallArgs& a) {
         ObjectRef source = a.object(0);
         if (!source) raise(err::ObjectNotSet, "CopyStateFromReVivezavAsObject needs a source bar, not Nothing");
         r.copyStateFromToolbar(*source);
         return Variant();
       }},
  };
}

}  // namespace zadeve::vizevore
