// The automation face of ZuzuzudLibrary: one row per member, in interface slot order.
// Parameters are by reference unless the interface marks them by value.

#include <algorithm>

#include "automation/conversions.h"
#include "core/library_rows.h"
#include "platform/profile_cache.h"

namespace zadeve::core {

using namespace rows;

std::vector<LibraryRow> coreLibraryRows() {
  return {
      {{"BarsConfigFile", 1, Get, {}, VarType::String}, [](L& l, CallArgs&) { return Variant(l.BarsConfigFile()); }},
      {{"BarsConfigFile", 1, Let, {byRef("value", VarType::String)}},
       [](L& l, CallArgs& a) { return l.BarsConfigFile(a.string(0)), none(); }},
      {{"BarsBitmapsDir", 2, Get, {}, VarType::String}, [](L& l, CallArgs&) { return Variant(l.BarsBitmapsDir()); }},
      {{"BarsBitmapsDir", 2, Let, {byRef("value", VarType::String)}},
       [](L& l, CallArgs& a) { return l.BarsBitmapsDir(a.string(0)), none(); }},
      {{"InitialiseZADEVE", 3, Method,
        {byRef("TBM", VarType::Object), byRef("BarsCfgFile", VarType::String), byRef("BarsBmpsDir", VarType::String),
         optionalParam(byRef("lngfile", VarType::String), Variant(""))}},
       [](L& l, CallArgs& a) { return l.InitialiseZADEVE(a.object(0), a.string(1), a.string(2), a.string(3)), none(); }},
      {{"ShellApplicationObject", 4, Set, {byRef("ShellApp", VarType::Object)}},
       [](L& l, CallArgs& a) { return l.ShellApplicationObject(a.object(0)), none(); }},
      {{"GetIconSetNumber", 20, Method,
        {byVal("iconSetName", VarType::String), byRef("iconSetNumber", VarType::Integer)},
        VarType::Boolean},
       [](L& l, CallArgs& a) {
         int16_t number = a.integer(1);
         bool found = l.GetIconSetNumber(a.string(0), number);
         a[1] = Variant(number);
         return Variant(found);
       }},
      {{"SetConfigValue", 21, Method,
        {byVal("section", VarType::String), byVal("Key", VarType::String), byVal("Value", VarType::String)},
        VarType::Variant},
       [](L& l, CallArgs& a) { return l.SetConfigValue(a.string(0), a.string(1), a.string(2)); }},
      {{"ClearConfigSection", 22, Method, {byRef("section", VarType::String)}, VarType::Variant},
       [](L& l, CallArgs& a) { return l.ClearConfigSection(a.string(0)); }},
      {{"GetConfigValue", 29, Method,
        {byRef("section", VarType::String), byRef("item", VarType::String), byRef("def", VarType::String)},
        VarType::Variant},
       [](L& l, CallArgs& a) { return l.GetConfigValue(a.string(0), a.string(1), a.string(2)); }},
      {{"aBar", 41, Get, {}, VarType::Object}, [](L& l, CallArgs&) { return Variant(l.aBar()); }},
      {{"aBar", 41, Set, {byRef("value", VarType::Object)}}, [](L& l, CallArgs& a) { return l.aBar(a.object(0)), none(); }},
      {{"aSpinDown", 42, Get, {}, VarType::Single}, [](L& l, CallArgs&) { return Variant(l.aSpinDown()); }},
      {{"aSpinDown", 42, Let, {byRef("value", VarType::Single)}},
       [](L& l, CallArgs& a) { return l.aSpinDown(a.single(0)), none(); }},
      {{"aSpinUp", 43, Get, {}, VarType::Single}, [](L& l, CallArgs&) { return Variant(l.aSpinUp()); }},
      {{"aSpinUp", 43, Let, {byRef("value", VarType::Single)}},
       [](L& l, CallArgs& a) { return l.aSpinUp(a.single(0)), none(); }},
      {{"KaTDisableFloatingMenu", 44, Method, {}}, [](L& l, CallArgs&) { return l.KaTDisableFloatingMenu(), none(); }},
      {{"KaTEnableFloatingMenu", 45, Method, {}}, [](L& l, CallArgs&) { return l.KaTEnableFloatingMenu(), none(); }},
  };
}

// Every member a host reaches by name enters here, so one scope covers them all.
Variant ZuzuzudLibrary::invoke(std::string_view name, automation::InvokeKind kind, std::span<automation::Arg> args) {
  platform::ProfileCallScope oneCall;
  return Dispatchable::invoke(name, kind, args);
}

const automation::MemberTable<ZuzuzudLibrary>& ZuzuzudLibrary::memberTable() {
  static const automation::MemberTable<ZuzuzudLibrary> table("ZuzuzudLibrary", [] {
    std::vector<LibraryRow> rows;
    for (auto part : {coreLibraryRows, buildLibraryRows, barsLibraryRows, paletteLibraryRows, functionsLibraryRows})
      for (auto& row : part()) rows.push_back(std::move(row));
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.slot < b.slot; });
    return rows;
  }());
  return table;
}

}  // namespace zadeve::core
