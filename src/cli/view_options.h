#pragma once
// The options of the commands that build one view on a form (render, layout) and the
// setup they share: the view's bars on a form of the size asked, then the bars floated.

#include <string>
#include <vector>

#include "cli/host_session.h"

namespace CLI {
class App;
}

namespace zadeve::cli {

struct ViewOptions {
  std::string file;
  std::string view;
  std::string size = "800x600";
  std::vector<std::string> floats;
};

void addViewOptions(CLI::App& command, ViewOptions& options);

// The form the view was built on, "frmMain", with the named bars floated in that order.
host::HeadlessForm& buildView(HostSession& session, const ViewOptions& options);

}  // namespace zadeve::cli
