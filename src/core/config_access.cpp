// Configuration file access: the library reads BARS.INI value by value on every use
// and keeps no copy of its own (the profile service validates its cache per read).

#include "automation/conversions.h"
#include "core/zuzuzud_library.h"
#include "platform/profile.h"

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
