// KaTBuildBar: fills a toolbar control the host placed on one of its own forms, outside
// the bar sets. It reads the same section grammar as FillBar but leaves the control's
// visibility, alignment, orientation and layout switch alone, loads icon sets only on
// demand and catches nothing: a failure reaches the host.
//
// Call flow:
//   KaTBuildBar
//     -> entries (ResolveButtonImage reports image problems itself)
//     -> tb.UpdateLayout
//     -> KaTLayout(tb.parent)       lays out every docked bar of the form again
//     -> tb.parent.Signal = "RebuiltBar"   the form's handler runs inside this write

#include "build/bar_builder.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"
#include "platform/profile_cache.h"

namespace zadeve::core {

void ZuzuzudLibrary::KaTBuildBar(const ObjectRef& tb, const std::string& barName, bool /*isPalette*/) {
  platform::ProfileCallScope oneCall;
  bool reportMissing = build::readReportMissing(*this);
  Toolbar bar(tb);
  bar.Reset();

  std::string section = "Toolbar." + barName;
  build::BarSizes sizes = build::readBarSizes(*this, section);
  build::applyBarSizes(bar, sizes);

  LoadedIconSets loaded;
  build::BuildOperations ops{
      [&](const std::string& fn, std::string& field, int16_t& set, int16_t& index) {
        ResolveButtonImage(fn, section, tb, field, set, index, loaded);
      },
      [this](const std::string& messageTemplate, std::initializer_list<Variant> args) {
        ReportToHost(messageTemplate, args);
      },
  };
  build::BarBuilder(*this, bar, section, sizes, reportMissing, build::BuildStyle::HostBar, std::move(ops)).addEntries();

  bar.UpdateLayout();
  HostForm form(bar.parent());
  int16_t vl = 0, vt = 0, vr = 0, vb = 0;
  KaTLayout(form.object(), vl, vt, vr, vb);
  form.Signal("RebuiltBar");
}

}  // namespace zadeve::core
