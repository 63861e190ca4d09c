// KaTSetup gives a host form the bars of one view's bar set; RegisterBar hands a new
// bar to the workspace's toolbar manager. Both end every failure with a message box of
// the library's own and return normally, so that a host form opens even when its bars
// cannot all be built.
//
// Call flow:
//   KaTSetup(frm, view)
//     current drive and directory := BarsBitmapsDir
//     frm.bar(0).Visible = False
//     for each entry "Bar<n>" of "<view>.Toolbars" that is neither empty nor excluded:
//       frm.bar.Load(next)  (element 0 is reused)  ->  RegisterBar  ->  Tag = entry
//       FillBar(bar, not floating)
//     KaTLayout(frm)

#include <exception>
#include <new>

#include "automation/conversions.h"
#include "automation/error.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"
#include "platform/current_directory.h"
#include "platform/profile_cache.h"
#include "platform/windowing.h"

namespace zadeve::core {
namespace {

constexpr int16_t MaxBarCount = 20;

void showOwnMessage(const std::string& text) {
  platform::windowing().messageBox(text, platform::MessageBoxButtons::Ok, "");
}

// An entry is excluded when it names a bar (the text after its first "Name=", up to
// the next ";") that excludeBars lists in brackets; the comparison keeps case.
bool isExcluded(const std::string& entry, const std::string& excludeBars) {
  if (excludeBars.empty()) return false;
  size_t p = entry.find("Name=");
  if (p == std::string::npos) return false;
  size_t start = p + 5;
  size_t end = entry.find(';', start);
  std::string name = entry.substr(start, end == std::string::npos ? std::string::npos : end - start);
  return excludeBars.find("[" + name + "]") != std::string::npos;
}

// The runtime's description of the failure being handled, running out of memory and any
// other exception included, so that nothing but the message box reaches the host.
std::string describeFailure() {
  try {
    throw;
  } catch (const automation::AutomationError& e) {
    return e.description();
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unexpected error";
  }
}

}  // namespace

void ZuzuzudLibrary::KaTSetup(const ObjectRef& frm, const std::string& barSet, const std::string& excludeBars) {
  platform::ProfileCallScope oneCall;
  try {
    const std::string folder = CurrentWorkspace_->BarsBitmapsDir();
    platform::changeDrive(folder);
    platform::changeDirectory(folder);

    HostForm form(frm);
    form.bar(0).Visible(false);

    const std::string section = barSet + ".Toolbars";
    int16_t count = automation::toInteger(GetConfigValue(section, "BarCount", "0"));
    if (count < 0 || count > MaxBarCount) {
      ReportToHost("Toolbar configuration error. BarCount=^1", {Variant(count)});
      return;
    }

    int16_t made = 0;
    for (int16_t n = 0; n < count; ++n) {
      std::string entry = automation::toString(GetConfigValue(section, "Bar" + std::to_string(n), ""));
      if (entry.empty() || isExcluded(entry, excludeBars)) continue;
      if (made > 0) form.loadBar(made);
      Toolbar bar = form.bar(made);
      RegisterBar(bar.object());
      bar.Tag(entry);
      FillBar(bar.object(), false);
      ++made;
    }

    int16_t vl = 0, vt = 0, vr = 0, VB = 0;
    KaTLayout(frm, vl, vt, vr, VB);
  } catch (...) {
    showOwnMessage("Error In KatSetup Line= " + describeFailure());
  }
}

void ZuzuzudLibrary::RegisterBar(const ObjectRef& bar) {
  const char* step = "1";
  try {
    automation::Object& held = automation::requireObject(bar);
    step = "2";
    ToolbarManager(CurrentWorkspace_->TBM()).Add(ObjectRef(&held));
  } catch (...) {
    showOwnMessage(std::string("ZADEVE: Error in AddBar line ") + step + " " + describeFailure());
  }
}

}  // namespace zadeve::core
