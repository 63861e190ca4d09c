#pragma once
// The reference host that `zadeve check` builds every view on: a headless screen, the
// library initialised with the file, and an application object whose MsgBoxSub is heard
// the moment the library reports, while the bar it concerns is being filled.
//
// The screen and the current directory that KaTSetup moves are put back when the host
// goes, so the tool leaves its process as it found it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/object.h"
#include "core/zuzuzud_library.h"
#include "host/toolbar_manager.h"
#include "platform/headless_windowing.h"

namespace zadeve::cli::check {

using ReportListener = std::function<void(const std::string& text)>;

// The application object with an ear on MsgBoxSub: `listener`, when set, hears each
// report before the call goes on to `application`, as every other call does.
automation::ObjectRef tapReports(automation::ObjectRef application, std::shared_ptr<ReportListener> listener);

class CheckHost {
 public:

  // bitmapsDir ends in a separator: the library joins it and a file name as they are.
  CheckHost(const std::string& iniPath, const std::string& bitmapsDir, const std::string& languageFile);
  ~CheckHost();
  CheckHost(const CheckHost&) = delete;
  CheckHost& operator=(const CheckHost&) = delete;

  core::ZuzuzudLibrary& library() const { return *library_; }
  const host::ToolbarManager& toolbarManager() const { return *tbm_; }

  struct Outcome {
    std::vector<std::string> messages;  // the library's own message boxes
    int barsMade = 0;
  };
  // KaTSetup of the view on a fresh form, which is unloaded again afterwards. `listener`
  // hears each report as it arrives.
  Outcome setUp(const std::string& view, const ReportListener& listener);

 private:
  std::shared_ptr<platform::HeadlessWindowing> screen_;
  std::shared_ptr<platform::Windowing> previousScreen_;
  std::string previousDirectory_;
  automation::Ref<core::ZuzuzudLibrary> library_;
  automation::Ref<host::ToolbarManager> tbm_;
  // Shared with the application object, which the library may outlive the host in.
  std::shared_ptr<ReportListener> listener_ = std::make_shared<ReportListener>();
};

}  // namespace zadeve::cli::check
