// The lists behind a function's combo buttons on every bar of a form, its palettes
// included: filled, searched and read by function name. The lists live only in the list
// controls the combos stand for (their PlaceholderFor); other buttons of the function
// are passed over.

#include <cstdint>

#include "automation/conversions.h"
#include "automation/error.h"
#include "functions/function_scan.h"

namespace zadeve::core {

using functions::KAT_COMBO;
using functions::walkFunctionOfKind;

namespace {

ListControl listOf(const Toolbar& bar, const std::string& fn) { return bar.ButtonFor(fn).PlaceholderFor(); }

// Selects the first entry from position 0 that `matches`, counting in 16 bits as the
// searches always have: a list whose last position lies above 32767 overflows.
template <class Matches>
void selectFirst(const ListControl& list, Matches matches) {
  const int16_t last = automation::toInteger(Variant(list.ListCount() - 1));
  for (int16_t i = 0; i <= last; ++i) {
    if (matches(i)) return list.ListIndex(i);
    if (i == INT16_MAX) automation::raise(automation::err::Overflow, "The search passed position 32767");
  }
}

}  // namespace

void ZuzuzudLibrary::KaAddFunctionListItem(const ObjectRef& frm, const std::string& fn, const std::string& item,
                                           int32_t Data) {
  walkFunctionOfKind(*this, frm, fn, KAT_COMBO, [&](const Toolbar& bar) {
    ListControl list = listOf(bar, fn);
    list.AddItem(item);
    list.ItemData(list.NewIndex(), Data);
    return true;
  });
}

void ZuzuzudLibrary::KaSetItemIndexByText(const ObjectRef& frm, const std::string& fn, const std::string& item) {
  walkFunctionOfKind(*this, frm, fn, KAT_COMBO, [&](const Toolbar& bar) {
    ListControl list = listOf(bar, fn);
    selectFirst(list, [&](int16_t i) { return automation::equalsIgnoreCase(list.List(i), item); });
    return true;
  });
}

void ZuzuzudLibrary::KaSetItemIndexByData(const ObjectRef& frm, const std::string& fn, int32_t Data) {
  walkFunctionOfKind(*this, frm, fn, KAT_COMBO, [&](const Toolbar& bar) {
    ListControl list = listOf(bar, fn);
    selectFirst(list, [&](int16_t i) { return list.ItemData(i) == Data; });
    return true;
  });
}

void ZuzuzudLibrary::KaSetItemIndex(const ObjectRef& frm, const std::string& fn, int32_t Index) {
  walkFunctionOfKind(*this, frm, fn, KAT_COMBO, [&](const Toolbar& bar) {
    ListControl list = listOf(bar, fn);
    if (Index >= 0 && Index < list.ListCount()) list.ListIndex(Index);
    return true;
  });
}

void ZuzuzudLibrary::KaGetFunctionListItem(const ObjectRef& frm, const std::string& fn, std::string& item,
                                           int32_t& Data) {
  walkFunctionOfKind(*this, frm, fn, KAT_COMBO, [&](const Toolbar& bar) {
    ListControl list = listOf(bar, fn);
    const int32_t selected = list.ListIndex();
    if (selected > -1) {
      item = list.List(selected);
      Data = list.ItemData(selected);
    }
    return true;
  });
}

}  // namespace zadeve::core
