// zadeve ini get|set|delete-section: the configuration calls of the library, on any file.

#include <CLI/CLI.hpp>

#include <cerrno>
#include <memory>
#include <ostream>

#include "automation/conversions.h"
#include "cli/cli.h"
#include "core/zuzuzud_library.h"
#include "platform/profile.h"
#include "platform/profile_lock.h"

namespace zadeve::cli {
namespace {

struct IniOptions {
  std::string file, section, key, value, defaultValue;
};

automation::Ref<core::ZuzuzudLibrary> libraryFor(const std::string& file) {
  auto lib = automation::makeObject<core::ZuzuzudLibrary>();
  lib->BarsConfigFile(file);
  return lib;
}

// One line naming the file and the system's reason.
void reportWrite(Console& console, const automation::Variant& result, const IniOptions& o) {
  if (automation::toInteger(result) != 0) return;
  const int error = platform::lastProfileWriteError();
  if (error == EWOULDBLOCK)
    console.err << "zadeve: could not write " << o.file << ": it is locked by another writer (waited "
                << platform::kLockWaitMs / 1000 << " s)\n";
  else
    console.err << "zadeve: could not write " << o.file << ": " << platform::fileErrorText(error) << "\n";
  console.status = ExitFailed;
}

}  // namespace

void addIniCommand(CLI::App& app, Console& console) {
  auto options = std::make_shared<IniOptions>();
  auto* ini = app.add_subcommand("ini", "Read and write configuration values as the library does");
  ini->require_subcommand(1);

  auto* get = ini->add_subcommand("get", "Print a value (or the default) as GetConfigValue returns it");
  get->add_option("FILE", options->file)->required();
  get->add_option("SECTION", options->section)->required();
  get->add_option("KEY", options->key)->required();
  get->add_option("--default", options->defaultValue, "Text returned when the value is missing");
  get->callback([options, &console] {
    auto lib = libraryFor(options->file);
    console.out << automation::toString(lib->GetConfigValue(options->section, options->key, options->defaultValue))
                << "\n";
  });

  auto* set = ini->add_subcommand("set", "Write a value as SetConfigValue does");
  set->add_option("FILE", options->file)->required();
  set->add_option("SECTION", options->section)->required();
  set->add_option("KEY", options->key)->required();
  set->add_option("VALUE", options->value)->required();
  set->callback([options, &console] {
    auto lib = libraryFor(options->file);
    reportWrite(console, lib->SetConfigValue(options->section, options->key, options->value), *options);
  });

  auto* del = ini->add_subcommand("delete-section", "Delete a section as ClearConfigSection does");
  del->add_option("FILE", options->file)->required();
  del->add_option("SECTION", options->section)->required();
  del->callback([options, &console] {
    auto lib = libraryFor(options->file);
    reportWrite(console, lib->ClearConfigSection(options->section), *options);
  });
}

}  // namespace zadeve::cli
