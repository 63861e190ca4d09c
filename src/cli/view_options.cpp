#include "cli/view_options.h"

#include <CLI/CLI.hpp>

namespace zadeve::cli {

void addViewOptions(CLI::App& command, ViewOptions& options) {
  command.add_option("BARS.INI", options.file, "The configuration (default: BARS.INI here); its folder holds the bitmaps");
  command.add_option("--view", options.view, "The view whose bar set is built, e.g. MainView")->required();
  command
      .add_option("--size", options.size, "Client size of the form in pixels")
      ->check(CLI::Validator(
          [](std::string& text) {
            return parseSize(text) ? std::string() : "malformed size " + text + " (want WxH, e.g. 800x600)";
          },
          "WxH"))
      ->capture_default_str();
  command.add_option("--float", options.floats, "Float this bar into a palette (repeatable)");
}

host::HeadlessForm& buildView(HostSession& session, const ViewOptions& options) {
  session.initialise();
  auto& form = session.addForm("frmMain", *parseSize(options.size));
  form.setCaption(options.view);
  session.setup(form, options.view);
  for (const auto& name : options.floats) {
    try {
      session.floatBar(form, name);
    } catch (const CommandError& e) {
      throw CommandError(session.ini() + ": " + options.view + ": " + e.what());
    }
  }
  return form;
}

}  // namespace zadeve::cli
