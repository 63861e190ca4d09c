#include "cli/view_options.h"

#include <CLI/CLI.hpp>

#include <filesystem>

#include "cli/check_context.h"
#include "cli/check_output.h"
#include "cli/check_views.h"
#include "cli/input_file.h"

namespace zadeve::cli {

namespace fs = std::filesystem;

void addViewSource(CLI::App& command, std::string& file, std::string& bitmaps, std::string& view, std::string& size) {
  command.add_option("BARS.INI", file, "The configuration (default: BARS.INI here)");
  command.add_option("--bitmaps", bitmaps, "Folder of the icon bitmaps (default: the file's folder)");
  command.add_option("--view", view, "The view whose bar set is built, e.g. MainView")->required();
  command
      .add_option("--size", size, "Client size of the form in pixels, each side from 1 to " + std::to_string(largestSide()))
      ->check(CLI::Validator([](std::string& text) { return sizeProblem(text); }, "WxH"))
      ->capture_default_str();
}

void addViewOptions(CLI::App& command, ViewOptions& options) {
  addViewSource(command, options.file, options.bitmaps, options.view, options.size);
  command.add_option("--float", options.floats, "Float this bar into a palette (repeatable)");
  command.add_flag("--strict", options.strict, "Fail (exit status 1) when the library reports a problem");
}

namespace {

// Lets the session's reports go when the build ends, by an error too.
struct Listening {
  HostSession& session;
  ~Listening() { session.onReport(nullptr); }
};

}  // namespace

host::HeadlessForm& buildView(HostSession& session, const ViewOptions& options, Console& console) {
  session.initialise();
  auto& form = session.addForm("frmMain", *parseSize(options.size));
  form.setCaption(options.view);

  const std::string text = readInputFile(session.ini());
  check::ProblemList unused, reports;
  const check::IniIndex ini(text, unused);
  const std::string shownFile = options.file.empty() ? "BARS.INI" : options.file;
  const std::string shownBitmaps =
      withSeparator(options.bitmaps.empty() ? fs::path(shownFile).parent_path().string() : options.bitmaps);
  check::CheckContext ctx(ini, session.library(), session.bitmaps(), shownBitmaps, reports);
  {
    check::ViewReports heard(ctx, session.tbm(), options.view);
    Listening listening{session};
    session.onReport([&heard](const std::string& report) { heard.heard(report); });
    const size_t boxes = session.screen().messages().size();
    session.setup(form, options.view);
    std::vector<std::string> shown;
    for (size_t i = boxes; i < session.screen().messages().size(); ++i)
      shown.push_back(session.screen().messages()[i].text);
    heard.shown(shown, session.tbm().count());
    for (const auto& name : options.floats) {
      try {
        heard.refilling(static_cast<size_t>(session.barIndex(form, name)));
        session.floatBar(form, name);
      } catch (const CommandError& e) {
        throw CommandError(session.ini() + ": " + options.view + ": " + e.what());
      }
    }
  }
  check::writeText(console.err, shownFile, reports.inFileOrder());
  if (options.strict && !reports.empty()) console.status = ExitFailed;
  return form;
}

}  // namespace zadeve::cli
