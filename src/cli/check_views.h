#pragma once
// Every view of the file (every section whose name ends in ".Toolbars") built with
// KaTSetup on the reference host. What the library reports is tied to the line of the
// entry it concerns; what it passes over in a bar-set section (a Home that names no edge,
// Bar<n> keys beyond BarCount) is found beside it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/check_context.h"
#include "cli/check_host.h"

namespace zadeve::cli::check {

// Hears "view 3 of 50: Name" before each view is built.
using ViewProgress = std::function<void(size_t number, size_t count, const std::string& view)>;

void checkViews(CheckContext& ctx, CheckHost& host, const ViewProgress& progress);

class ViewCheck;

// The library's reports while one view is built (and its bars floated) for another
// purpose than checking, each tied to its line as check ties it; nothing else is found.
class ViewReports {
 public:
  ViewReports(CheckContext& ctx, const host::ToolbarManager& tbm, const std::string& view);
  ~ViewReports();
  ViewReports(const ViewReports&) = delete;
  ViewReports& operator=(const ViewReports&) = delete;

  // A MsgBoxSub report, the moment it is made.
  void heard(const std::string& text);
  // The library's own message boxes after KaTSetup, which made `barsMade` bars.
  void shown(const std::vector<std::string>& messages, int barsMade);
  // What is heard from now on comes from filling the bar of the `index`th bar entry again
  // (KaTFloat filling its palette).
  void refilling(size_t index);

 private:
  std::unique_ptr<ViewCheck> check_;
};

// The views of the file in file order: its "<view>.Toolbars" sections, any case.
std::vector<std::string> viewNames(const IniIndex& ini);

}  // namespace zadeve::cli::check
