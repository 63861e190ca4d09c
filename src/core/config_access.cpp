// Configuration file access: the library reads BARS.INI value by value on every use
// and keeps no copy of its own.
//
// One check of the file per library call. The profile service validates its cache against
// the file at the first lookup of a call (a ProfileCallScope) and reuses it for the rest of
// that call; the library's own writes update it at once. The dispatch face opens the scope
// for every member (ZuzuzudLibrary::invoke); a host calling the typed members finds it in
// the operations that make lookups in bulk: KaTSetup, FillBar (so rebuilding and floating
// have it), KaTBuildBar and GetIconSetNumber. A single GetConfigValue checks the file as
// it always did.
//
// What a host can observe stays "read on every use": an edit made before a call begins,
// by anyone, is seen by that call; one that lands during the call is concurrent with it,
// as if made just after it. The host's own writes inside a call (a handler calling
// SetConfigValue or ClearConfigSection) update the cache and are seen by the rest of the
// call. Only a handler that edits the file behind the library's back, while the library
// waits for it inside a call, is not seen until the next call.

#include "automation/conversions.h"
#include "core/zuzuzud_library.h"
#include "platform/profile.h"
#include "platform/profile_cache.h"

namespace zadeve::core {
namespace {
constexpr std::size_t ValueBufferSize = 256;
}  // namespace

Variant ZuzuzudLibrary::GetConfigValue(const std::string& section, const std::string& item,
                                       const std::string& def) {
  return Variant(platform::readProfileString(section, item, def, CurrentWorkspace_->BarsConfigFile(),
                                             ValueBufferSize));
}

Variant ZuzuzudLibrary::SetConfigValue(const std::string& section, const std::string& Key,
                                       const std::string& Value) {
  bool ok = platform::writeProfileString(section, Key, Value, CurrentWorkspace_->BarsConfigFile());
  return Variant(int16_t(ok ? 1 : 0));
}

Variant ZuzuzudLibrary::ClearConfigSection(const std::string& section) {
  bool ok = platform::writeProfileString(section, std::nullopt, std::nullopt, CurrentWorkspace_->BarsConfigFile());
  return Variant(int16_t(ok ? 1 : 0));
}

// When nothing matches, iconSetNumber is left at the next free icon-set number (the count,
// 0 when there is none), which is where a host would define a new set.
bool ZuzuzudLibrary::GetIconSetNumber(const std::string& iconSetName, int16_t& iconSetNumber) {
  platform::ProfileCallScope oneCall;
  int16_t count = automation::toInteger(GetConfigValue("Functions", "IconSetCount", "-1"));
  iconSetNumber = count < 0 ? int16_t(0) : count;
  for (int16_t i = 0; i < count; ++i) {
    if (automation::toString(GetConfigValue("Functions", "IconSet" + std::to_string(i), "!NONE")) == iconSetName) {
      iconSetNumber = i;
      return true;
    }
  }
  return false;
}

}  // namespace zadeve::core
