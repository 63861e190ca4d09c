#pragma once
// `zadeve show`'s part that needs no window system: one view on one form that stays up
// while the view is rebuilt in place from its file, the docked bars' context menu, and the
// library's reports kept as lines for the window's status area instead of modal boxes.
//
// Rebuilding in place (rebuild):
//   note which bars float, by name
//   KaTUnloadBars frm             each palette closes with "DONTDOCK"; its place stays
//                                 in its bar's "FloatPos"
//   unload the bar elements Load made; element 0 forgets its entry
//   KaTSetup frm, view; layout
//   each noted bar the file still shows: "FloatPos" as it was (KaTSetProp), KaTFloat
// A bar noted while the file did not build is floated again once it builds.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/host_session.h"
#include "cli/show_watch.h"
#include "platform/forwarding_windowing.h"

namespace zadeve::cli {

struct ShowOptions {
  std::string file;     // empty: BARS.INI here
  std::string bitmaps;  // empty: the file's folder
  std::string view;
  std::string size = "800x600";
  bool watch = false;
};

// "DiagramView - BARS.INI - zadeve show": the view and the file's name without its folder.
std::string showCaption(const ShowOptions& options);

// A desktop whose message boxes are told to `report` and answered with the first button;
// it knows whether one of its pop-up menus is open.
class ReportingWindowing final : public platform::ForwardingWindowing {
 public:
  ReportingWindowing(std::shared_ptr<platform::Windowing> desktop, std::function<void(const std::string&)> report)
      : ForwardingWindowing(std::move(desktop)), report_(std::move(report)) {}

  platform::MessageBoxResult messageBox(const std::string& text, platform::MessageBoxButtons buttons,
                                        const std::string& title) override;
  int32_t popupMenu(platform::WindowHandle owner, const std::vector<std::string>& items) override;
  bool menuOpen() const { return menusOpen_ > 0; }

 private:
  std::function<void(const std::string&)> report_;
  int menusOpen_ = 0;
};

class ShowSession {
 public:
  // The form stands on `desktop` (the system's windows, or a headless screen in tests).
  ShowSession(const ShowOptions& options, std::shared_ptr<platform::Windowing> desktop);
  ~ShowSession();
  ShowSession(const ShowSession&) = delete;
  ShowSession& operator=(const ShowSession&) = delete;

  HostSession& host() { return host_; }
  host::HeadlessForm& form() const { return *form_; }

  // The first build; CommandError for a view the file does not have.
  void build();
  // Builds the view again on the same form; what fails is reported, nothing is thrown.
  void rebuild();

  // The reports since the last (re)build began, one line each, each once.
  const std::vector<std::string>& reports() const { return reports_; }
  // Hears every change of the reports.
  void onReportsChanged(std::function<void()> listener) { reportsChanged_ = std::move(listener); }

  // Whether a file the view is built from changed since the last look.
  bool filesChanged() { return watch_.changed(); }
  // While the user is in a menu (a bar's or a palette's) the view must not be rebuilt
  // under it.
  bool busy() const { return windows_->menuOpen(); }

 private:
  void report(const std::string& text);
  void failed(const std::exception_ptr& error);
  void setUp();
  // The context menu of the docked bar at `index`: "Float", "Hide", and "Show NAME" for each
  // bar of the form that is not shown.
  void barMenu(int16_t index);

  ShowOptions options_;
  std::vector<std::string> reports_;
  std::function<void()> reportsChanged_;
  std::shared_ptr<ReportingWindowing> windows_;
  HostSession host_;
  host::HeadlessForm* form_ = nullptr;
  // Bars that floated, by upper-cased name, and their palettes' places ("FloatPos").
  std::map<std::string, std::string> floating_;
  FileWatch watch_;
};

}  // namespace zadeve::cli
