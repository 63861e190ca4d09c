#include "cli/cli.h"

#include <CLI/CLI.hpp>

#include <ostream>

#include "automation/error.h"

namespace zadeve::cli {

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Console console{out, err};
  CLI::App app{"zadeve: check, lay out, show and script BARS.INI toolbars without a host application", "zadeve"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("zadeve ") + ZADEVE_VERSION);
  addIniCommand(app, console);
  addDemoCommand(app, console);
  addCheckCommand(app, console);
  addRenderCommand(app, console);
  addLayoutCommand(app, console);
  addCallCommand(app, console);
  addShowCommand(app, console);

  std::vector<std::string> reversed(args.rbegin(), args.rend() - (args.empty() ? 0 : 1));
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return ExitOk;
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return ExitOk;
  } catch (const CLI::CallForVersion& e) {
    out << e.what() << "\n";
    return ExitOk;
  } catch (const CLI::ParseError& e) {
    // One line, so scripts can show it as it is.
    err << "zadeve: " << e.what() << " (try --help)\n";
    return ExitUsage;
  } catch (const automation::AutomationError& e) {
    err << "zadeve: error " << e.number() << ": " << e.description() << "\n";
    return ExitFailed;
  } catch (const std::exception& e) {
    // The tool's own failures ("FILE: no view ...") and whatever else went wrong: one line.
    err << "zadeve: " << e.what() << "\n";
    return ExitFailed;
  }
  return console.status;
}

}  // namespace zadeve::cli
