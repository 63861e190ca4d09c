// zadeve demo: a short tour of a configuration through the library's own calls.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>

#include "automation/conversions.h"
#include "cli/cli.h"
#include "core/zuzuzud_library.h"

namespace zadeve::cli {
namespace {

struct DemoOptions {
  std::string examples = "examples";
  std::string view = "MainView";
};

void tour(const DemoOptions& o, Console& console) {
  auto file = (std::filesystem::path(o.examples) / "BARS.INI").string();
  if (!std::filesystem::is_regular_file(file)) {
    console.err << "zadeve: no configuration at " << file << "\n";
    console.status = ExitFailed;
    return;
  }
  auto lib = automation::makeObject<core::ZuzuzudLibrary>();
  lib->BarsConfigFile(file);
  auto get = [&](const std::string& s, const std::string& k, const std::string& d) {
    return automation::toString(lib->GetConfigValue(s, k, d));
  };

  auto& out = console.out;
  out << "Configuration " << file << "\n";
  std::string section = o.view + ".Toolbars";
  int16_t count = automation::toInteger(lib->GetConfigValue(section, "BarCount", "0"));
  out << "View " << o.view << ": " << count << " bars\n";
  for (int16_t n = 0; n < count; ++n) {
    std::string entry = get(section, "Bar" + std::to_string(n), "");
    if (entry.empty()) continue;
    std::string name = entry.substr(0, entry.find(';'));
    if (name.rfind("Name=", 0) == 0) name = name.substr(5);
    std::string toolbar = "Toolbar." + name;
    out << "  Bar" << n << "  " << entry << "\n"
        << "        " << get(toolbar, "ButtonCount", "0") << " buttons of " << get(toolbar, "ButtonSize", "16")
        << " pixels\n";
  }
  int16_t sets = automation::toInteger(lib->GetConfigValue("Functions", "IconSetCount", "-1"));
  out << "Icon sets: " << (sets < 0 ? 0 : sets) << "\n";
  for (int16_t i = 0; i < sets; ++i) {
    std::string entry = get("Functions", "IconSet" + std::to_string(i), "");
    int16_t number = 0;
    bool found = lib->GetIconSetNumber(entry, number);
    out << "  IconSet" << i << " = " << entry << (found ? "  (found as number " + std::to_string(number) + ")" : "")
        << "\n";
  }
}

}  // namespace

void addDemoCommand(CLI::App& app, Console& console) {
  auto options = std::make_shared<DemoOptions>();
  auto* demo = app.add_subcommand("demo", "Walk through the shipped example configuration");
  demo->add_option("--examples", options->examples, "Folder holding BARS.INI and its bitmaps");
  demo->add_option("--view", options->view, "The view whose bar set is shown");
  demo->callback([options, &console] { tour(*options, console); });
}

}  // namespace zadeve::cli
