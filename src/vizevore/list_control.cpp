#include "vizevore/list_control.h"

#include "vizevore/member_errors.h"

namespace zadeve::vizevore {

using namespace automation;

ReVivezavList::ReVivezavList(Ref<ReVivezav> bar, uint32_t comboId) : bar_(std::move(bar)), comboId_(comboId) {}

Variant ReVivezavList::invoke(std::string_view name, InvokeKind kind, std::span<Arg> args) {
  return namingMember(memberTable().className(), name,
                      [&] { return Dispatchable::invoke(name, kind, args); });
}

int32_t ReVivezavList::position() const {
  int32_t at = bar_->indexOfId(comboId_);
  if (at < 0) raise(err::InvalidCall, "The combo is no longer on its bar");
  return at;
}

const ComboData& ReVivezavList::data() const { return bar_->item(position()).combo; }

namespace {

const ComboEntry& entryAt(const ComboData& list, int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(list.entries.size()))
    raise(err::Subscript, "List index " + std::to_string(index) + " is out of range (the list has " +
                              std::to_string(list.entries.size()) + " entries)");
  return list.entries[static_cast<size_t>(index)];
}

}  // namespace

const MemberTable<ReVivezavList>& ReVivezavList::memberTable() {
  using V = VarType;
  using L = ReVivezavList;
  static const MemberTable<L> table(
      "ReVivezavList",
      {
          {{"AddItem", 1, InvokeKind::Method,
            {byRef("Item", V::String), optionalParam(byVal("Index", V::Long), Variant(int32_t{-1}))}},
           [](L& l, CallArgs& a) {
             if (a.long_(1) < -1) raise(err::Subscript, "AddItem position " + std::to_string(a.long_(1)) + " is out of range");
             l.bar().addListItem(l.position(), a.string(0), a.long_(1));
             return Variant();
           }},
          {{"RemoveItem", 2, InvokeKind::Method, {byVal("Index", V::Long)}},
           [](L& l, CallArgs& a) {
             l.bar().removeListItem(l.position(), a.long_(0));
             return Variant();
           }},
          {{"Clear", 3, InvokeKind::Method, {}},
           [](L& l, CallArgs&) {
             l.bar().clearList(l.position());
             return Variant();
           }},
          {{"List", 4, InvokeKind::PropertyGet, {byVal("Index", V::Long)}, V::String},
           [](L& l, CallArgs& a) { return Variant(entryAt(l.data(), a.long_(0)).text); }},
          {{"List", 4, InvokeKind::PropertyLet, {byVal("Index", V::Long), byVal("Value", V::String)}},
           [](L& l, CallArgs& a) {
             l.bar().setListText(l.position(), a.long_(0), a.string(1));
             return Variant();
           }},
          {{"ItemData", 5, InvokeKind::PropertyGet, {byVal("Index", V::Long)}, V::Long},
           [](L& l, CallArgs& a) { return Variant(entryAt(l.data(), a.long_(0)).data); }},
          {{"ItemData", 5, InvokeKind::PropertyLet, {byVal("Index", V::Long), byVal("Value", V::Long)}},
           [](L& l, CallArgs& a) {
             l.bar().setListData(l.position(), a.long_(0), a.long_(1));
             return Variant();
           }},
          {{"ListCount", 6, InvokeKind::PropertyGet, {}, V::Long},
           [](L& l, CallArgs&) { return Variant(static_cast<int32_t>(l.data().entries.size())); }},
          {{"ListIndex", 7, InvokeKind::PropertyGet, {}, V::Long},
           [](L& l, CallArgs&) { return Variant(l.data().listIndex); }},
          {{"ListIndex", 7, InvokeKind::PropertyLet, {byVal("Value", V::Long)}},
           [](L& l, CallArgs& a) {
             l.bar().setListIndex(l.position(), a.long_(0));
             return Variant();
           }},
          {{"NewIndex", 8, InvokeKind::PropertyGet, {}, V::Long},
           [](L& l, CallArgs&) { return Variant(l.data().newIndex); }},
          {{"Text", 0, InvokeKind::PropertyGet, {}, V::String, true},
           [](L& l, CallArgs&) { return Variant(l.data().selectedText()); }},
      });
  return table;
}

}  // namespace zadeve::vizevore
