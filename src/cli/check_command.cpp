// zadeve check: every view of a BARS.INI built on the reference host, and every problem
// of the file, the library's reports and what it passes over, one line each in file order.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>

#include "automation/error.h"
#include "cli/check_context.h"
#include "cli/check_definitions.h"
#include "cli/check_host.h"
#include "cli/check_ini_index.h"
#include "cli/check_output.h"
#include "cli/check_views.h"
#include "cli/cli.h"
#include "cli/input_file.h"
#include "components/text_catalog.h"
#include "platform/terminal.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;

struct CheckOptions {
  std::string file = "BARS.INI";
  std::string bitmaps;  // default: the file's folder
  std::string language;
  std::string format = "text";
};

constexpr const char* Severities =
    "Errors (exit status 1): what the library reports through MsgBoxSub or its own message boxes, icon sets "
    "whose bitmap is missing or does not decode, image indices beyond their strip, unknown type words, Home "
    "values that name no edge, bar entries without a Name or naming no toolbar section (the bar comes out "
    "empty), bar entries longer than the 255 characters the library reads, and lines that are neither a "
    "section, a key nor a comment.\n"
    "Warnings (exit status 0 when alone): duplicate sections and keys (the first wins), Bar<n> and Button<n> "
    "keys beyond their counts, a bar a view lists twice, a file with no view, functions no toolbar uses, and "
    "with --lang every text the catalogue does not translate.\n"
    "Each problem is one line, FILE:LINE: severity: text [view/bar/entry], in file order. Exit status 2: the "
    "file, the bitmap folder or the language file cannot be read.";

// "checking view 3 of 50: Name", rewritten in place; only a person at a terminal sees it.
class Progress {
 public:
  explicit Progress(std::ostream& err) : err_(err), shown_(&err == &std::cerr && platform::errorIsLiveTerminal()) {}
  ~Progress() {
    if (shown_) err_ << "\r\x1b[K" << std::flush;
  }
  void operator()(size_t number, size_t count, const std::string& view) const {
    if (shown_) err_ << "\rchecking view " << number << " of " << count << ": " << view << "\x1b[K" << std::flush;
  }

 private:
  std::ostream& err_;
  bool shown_;
};

void runCheck(const CheckOptions& o, Console& console) {
  auto fail = [&](const std::string& message) {
    console.err << "zadeve: " << message << "\n";
    console.status = ExitUsage;
  };
  // Nothing is opened before it is known to be a file: a FIFO would hold the tool for ever.
  if (auto problem = configurationFileProblem(o.file); !problem.empty()) return fail(o.file + ": " + problem);
  const std::string bytes = readInputFile(o.file);
  const std::string shownBitmaps =
      withSeparator(o.bitmaps.empty() ? fs::path(o.file).parent_path().string() : o.bitmaps);
  const fs::path bitmaps = fs::absolute(shownBitmaps.empty() ? "." : shownBitmaps).lexically_normal();
  if (auto problem = inputFolderProblem(bitmaps.string()); !problem.empty())
    return fail("the bitmap folder " + (shownBitmaps.empty() ? "." : shownBitmaps) + ": " + problem);
  if (!o.language.empty())
    if (auto problem = inputFileProblem(o.language, Emptiness::Allowed); !problem.empty())
      return fail(o.language + ": " + problem);

  auto catalog = automation::makeObject<components::TextCatalog>();
  std::string language;
  if (!o.language.empty()) {
    language = fs::absolute(o.language).string();
    try {
      catalog->LoadLanguageFile(language);
    } catch (const automation::AutomationError& e) {
      return fail("cannot use the language file " + o.language + ": " + e.description());
    }
  }

  check::ProblemList problems;
  const check::IniIndex ini(bytes, problems);
  {
    check::CheckHost host(fs::absolute(o.file).lexically_normal().string(), withSeparator(bitmaps.string()), language);
    check::CheckContext ctx(ini, host.library(), withSeparator(bitmaps.string()), shownBitmaps, problems);
    Progress progress(console.err);
    check::checkViews(ctx, host, std::ref(progress));
    check::checkDefinitions(ctx, o.language.empty() ? nullptr : catalog.get(), o.language);
  }
  const auto found = problems.inFileOrder();
  if (o.format == "json")
    check::writeJson(console.out, o.file, found);
  else
    check::writeText(console.out, o.file, found);
  console.status = problems.hasErrors() ? ExitFailed : ExitOk;
}

}  // namespace

void addCheckCommand(CLI::App& app, Console& console) {
  auto options = std::make_shared<CheckOptions>();
  auto* check = app.add_subcommand("check", "Build every view of a BARS.INI and report every problem in it");
  check->footer(Severities);
  check->add_option("BARS.INI", options->file, "The configuration file")->capture_default_str();
  check->add_option("--bitmaps", options->bitmaps, "Folder of the icon bitmaps (default: the file's folder)");
  check->add_option("--lang", options->language, "A PO language file: report every text it does not translate");
  check->add_option("--format", options->format, "text: one line per problem; json: an array of objects")
      ->check(CLI::IsMember({"text", "json"}))
      ->capture_default_str();
  check->callback([options, &console] { runCheck(*options, console); });
}

}  // namespace zadeve::cli
