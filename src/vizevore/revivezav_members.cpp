// The bar's automation face: whole-bar members. The Add… members are in
// revivezav_item_members.cpp, the current-button members in revivezav_button_members.cpp.

#include "automation/conversions.h"
#include "vizevore/member_errors.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

using namespace automation;

Variant ReVivezav::invoke(std::string_view name, InvokeKind kind, std::span<Arg> args) {
  return namingMember(memberTable().className(), name,
                      [&] { return Dispatchable::invoke(name, kind, args); });
}

const MemberTable<ReVivezav>& ReVivezav::memberTable() {
  static const MemberTable<ReVivezav> table("ReVivezav", [] {
    Rows rows = barMembers();
    for (auto* part : {&itemMembers, &buttonMembers})
      for (auto& row : part()) rows.push_back(std::move(row));
    return rows;
  }());
  return table;
}

namespace {

using R = ReVivezav;
using V = VarType;

int32_t twips(const CallArgs& a, size_t i) { return roundToLong(a.double_(i)); }

// A get/let pair over one value.
template <class Get, class Let>
void property(std::vector<Member<R>>& rows, std::string_view name, int32_t slot, V type, Get get, Let let) {
  rows.push_back({{name, slot, InvokeKind::PropertyGet, {}, type}, get});
  rows.push_back({{name, slot, InvokeKind::PropertyLet, {byVal("Value", type)}}, let});
}

}  // namespace

ReVivezav::Rows ReVivezav::barMembers() {
  Rows rows{
      {{"Reset", 1, InvokeKind::Method, {}},
       [](R& r, CallArgs&) {
         r.reset();
         return Variant();
       }},
      {{"SuppressLayout", 2, InvokeKind::Method, {byRef("Suppress", V::Boolean)}},
       [](R& r, CallArgs& a) {
         r.suppressLayout(a.boolean(0));
         return Variant();
       }},
      {{"SetImageSize", 3, InvokeKind::Method, {byRef("Width", V::Integer), byRef("Height", V::Integer)}},
       [](R& r, CallArgs& a) {
         r.setImageSize(a.integer(0), a.integer(1));
         return Variant();
       }},
      {{"SetBarHeight", 4, InvokeKind::Method, {byRef("Height", V::Integer)}},
       [](R& r, CallArgs& a) {
         r.setBarHeight(a.integer(0));
         return Variant();
       }},
      {{"UpdateLayout", 5, InvokeKind::Method, {}},
       [](R& r, CallArgs&) {
         r.updateLayout();
         return Variant();
       }},
      {{"ZOrder", 6, InvokeKind::Method, {optionalParam(byVal("Position", V::Integer), Variant(int16_t{0}))}},
       [](R& r, CallArgs& a) {
         int16_t position = a.integer(0);
         if (position != 0 && position != 1)
           raise(err::InvalidCall, "ZOrder position must be 0 (front) or 1 (back), not " + std::to_string(position));
         if (position == 0) r.zOrder();
         return Variant();
       }},
      {{"Refresh", 7, InvokeKind::Method, {}},
       [](R& r, CallArgs&) {
         r.refresh();
         return Variant();
       }},
      {{"Move", 8, InvokeKind::Method,
        {byVal("Left", V::Single), optionalParam(byVal("Top", V::Single)),
         optionalParam(byVal("Width", V::Single)), optionalParam(byVal("Height", V::Single))}},
       [](R& r, CallArgs& a) {
         r.move(twips(a, 0), a.isMissing(1) ? r.top() : twips(a, 1), a.isMissing(2) ? r.width() : twips(a, 2),
                a.isMissing(3) ? r.height() : twips(a, 3));
         return Variant();
       }},
      {{"IdealDepth", 9, InvokeKind::PropertyGet, {}, V::Long},
       [](R& r, CallArgs&) { return Variant(r.idealDepth()); }},
      {{"MinLength", 10, InvokeKind::PropertyGet, {}, V::Long},
       [](R& r, CallArgs&) { return Variant(r.minLength()); }},
      {{"IdealLength", 11, InvokeKind::PropertyGet, {}, V::Long},
       [](R& r, CallArgs&) { return Variant(r.idealLength()); }},
      {{"parent", 12, InvokeKind::PropertyGet, {}, V::Object},
       [](R& r, CallArgs&) { return Variant(ObjectRef(r.parentForm())); }},
  };
  property(rows, "Tag", 13, V::String, [](R& r, CallArgs&) { return Variant(r.tag()); },
           [](R& r, CallArgs& a) {
             r.setTag(a.string(0));
             return Variant();
           });
  property(rows, "Visible", 14, V::Boolean, [](R& r, CallArgs&) { return Variant(r.visible()); },
           [](R& r, CallArgs& a) {
             r.setVisible(a.boolean(0));
             return Variant();
           });
  property(rows, "Vertical", 15, V::Boolean, [](R& r, CallArgs&) { return Variant(r.vertical()); },
           [](R& r, CallArgs& a) {
             r.setVertical(a.boolean(0));
             return Variant();
           });
  property(rows, "Align", 16, V::Long, [](R& r, CallArgs&) { return Variant(r.align()); },
           [](R& r, CallArgs& a) {
             r.setAlign(a.long_(0));
             return Variant();
           });
  property(rows, "Left", 17, V::Single, [](R& r, CallArgs&) { return Variant(float(r.left())); },
           [](R& r, CallArgs& a) {
             r.setLeft(twips(a, 0));
             return Variant();
           });
  property(rows, "Top", 18, V::Single, [](R& r, CallArgs&) { return Variant(float(r.top())); },
           [](R& r, CallArgs& a) {
             r.setTop(twips(a, 0));
             return Variant();
           });
  property(rows, "Width", 19, V::Single, [](R& r, CallArgs&) { return Variant(float(r.width())); },
           [](R& r, CallArgs& a) {
             r.setWidth(twips(a, 0));
             return Variant();
           });
  property(rows, "Height", 20, V::Single, [](R& r, CallArgs&) { return Variant(float(r.height())); },
           [](R& r, CallArgs& a) {
             r.setHeight(twips(a, 0));
             return Variant();
           });
  // The four border settings, each a 16-bit value of its own.
  property(rows, "BorderFlags1", 21, V::Integer, [](R& r, CallArgs&) { return Variant(r.borderFlags1()); },
           [](R& r, CallArgs& a) {
             r.setBorderFlags(a.integer(0), r.edgeFlags1(), r.borderFlags2(), r.edgeFlags2());
             return Variant();
           });
  property(rows, "EdgeFlags1", 22, V::Integer, [](R& r, CallArgs&) { return Variant(r.edgeFlags1()); },
           [](R& r, CallArgs& a) {
             r.setBorderFlags(r.borderFlags1(), a.integer(0), r.borderFlags2(), r.edgeFlags2());
             return Variant();
           });
  property(rows, "BorderFlags2", 23, V::Integer, [](R& r, CallArgs&) { return Variant(r.borderFlags2()); },
           [](R& r, CallArgs& a) {
             r.setBorderFlags(r.borderFlags1(), r.edgeFlags1(), a.integer(0), r.edgeFlags2());
             return Variant();
           });
  property(rows, "EdgeFlags2", 24, V::Integer, [](R& r, CallArgs&) { return Variant(r.edgeFlags2()); },
           [](R& r, CallArgs& a) {
             r.setBorderFlags(r.borderFlags1(), r.edgeFlags1(), r.borderFlags2(), a.integer(0));
             return Variant();
           });
  return rows;
}

}  // namespace zadeve::vizevore
