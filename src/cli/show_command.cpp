// zadeve show: a view on a form in a window of the desktop, live: its buttons run their
// commands, its docked bars float and hide through their context menu, and with --watch
// it is rebuilt whenever its file or its bitmaps change.

#include <CLI/CLI.hpp>

#include <memory>

#include "cli/cli.h"
#include "cli/show_window.h"
#include "cli/view_options.h"

namespace zadeve::cli {

void addShowCommand(CLI::App& app, Console& console) {
  auto options = std::make_shared<ShowOptions>();
  auto* show = app.add_subcommand("show", "Show a view's form in a window (the Windows build), live");
  addViewSource(*show, options->file, options->bitmaps, options->view, options->size);
  show->add_flag("--watch", options->watch,
                 "Rebuild the view in place whenever the file or a bitmap it names changes (polled 4 times a second)");
  show->footer(
      "The window's client area is what zadeve render draws. A click on a button runs its command; a right "
      "click on a docked bar offers Float, Hide and Show for each hidden bar, on a palette Dock. The library's reports show in a "
      "status area at the foot of the free rectangle, not in message boxes. With --watch, bars that floated "
      "float again where they stood, and a file that no longer builds leaves the window up with its reports.\n"
      "Standard output: \"shown HWND\" once the window is painted (the handle in decimal), then \"rebuilt\" "
      "after each rebuild. Closing the window unloads the bars; exit status 0. Without a display: exit "
      "status 1.\n"
      "Example: zadeve.exe show examples/diagram/BARS.INI --view DiagramView --watch");
  show->callback([options, &console] { console.status = showOnDesktop(*options, console); });
}

}  // namespace zadeve::cli
