#pragma once
// Reaches the library's private operations from tests.

#include "core/zuzuzud_library.h"

namespace zadeve::core {

struct LibraryInternals {
  static void PushWorkspace(ZuzuzudLibrary& l, Ref<ZuzuzudWorkspace> ws) { l.PushWorkspace(std::move(ws)); }
  static void PopWorkspace(ZuzuzudLibrary& l) { l.PopWorkspace(); }
  static void ReportToHost(ZuzuzudLibrary& l, const std::string& t, std::initializer_list<Variant> args) {
    l.ReportToHost(t, args);
  }
  static void FillBar(ZuzuzudLibrary& l, const ObjectRef& tb, bool floating) { l.FillBar(tb, floating); }
  static void ResolveButtonImage(ZuzuzudLibrary& l, const std::string& name, const std::string& section,
                                 const ObjectRef& tb, std::string& field, int16_t& set, int16_t& index,
                                 LoadedIconSets& loaded) {
    l.ResolveButtonImage(name, section, tb, field, set, index, loaded);
  }
  static void RegisterBar(ZuzuzudLibrary& l, const ObjectRef& bar) { l.RegisterBar(bar); }
};

}  // namespace zadeve::core
