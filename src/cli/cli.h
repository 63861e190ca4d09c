#pragma once
// The zadeve command-line tool: it plays host to the library on a machine without a host
// application. Each command registers itself on the CLI11 application.

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace zadeve::cli {

// Exit statuses shared by every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;  // the command ran and reported failure
inline constexpr int ExitUsage = 2;   // the command line was wrong

// Where commands write; the exit status a command sets when it runs.
struct Console {
  std::ostream& out;
  std::ostream& err;
  int status = ExitOk;
};

void addIniCommand(CLI::App& app, Console& console);
void addDemoCommand(CLI::App& app, Console& console);
void addCheckCommand(CLI::App& app, Console& console);
void addRenderCommand(CLI::App& app, Console& console);
void addLayoutCommand(CLI::App& app, Console& console);
void addCallCommand(CLI::App& app, Console& console);
void addShowCommand(CLI::App& app, Console& console);

// Runs the tool on argv (argv[0] is the program name) and returns the exit status.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zadeve::cli
