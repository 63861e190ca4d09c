#pragma once
// The options of the commands that build one view on a form (render, layout) and the
// setup they share: the view's bars on a form of the size asked, then the bars floated,
// with the library's reports on standard error as check prints them.

#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/host_session.h"

namespace CLI {
class App;
}

namespace zadeve::cli {

struct ViewOptions {
  std::string file;
  std::string bitmaps;  // empty: the file's folder
  std::string view;
  std::string size = "800x600";
  std::vector<std::string> floats;
  bool strict = false;
};

void addViewOptions(CLI::App& command, ViewOptions& options);
// The options that name a view and its form: BARS.INI, --bitmaps, --view, --size.
void addViewSource(CLI::App& command, std::string& file, std::string& bitmaps, std::string& view, std::string& size);

// The form the view was built on, "frmMain", with the named bars floated in that order.
// Every report the library made meanwhile goes to console.err, FILE:LINE: error: text;
// with --strict it fails the command (exit status 1), which goes on all the same.
host::HeadlessForm& buildView(HostSession& session, const ViewOptions& options, Console& console);

}  // namespace zadeve::cli
