#pragma once
// The part of building a bar that FillBar and KaTBuildBar share: the section's sizes and
// the walk over its Button<n> entries with their special entries, function definitions
// and reports. The two builders read the same grammar but hand some fields to the
// control differently; BuildStyle names which way.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::build {

using automation::Variant;

// The builders' report templates.
inline constexpr const char* MissingButtonReport = "Toolbar setup error - Missing button: Button^1.";
inline constexpr const char* UnknownFunctionReport = "Toolbar setup error - unknown^nfunction: ^1.";
inline constexpr const char* MissingFunctionReport = "Toolbar setup error - missing^nfunction: ^1.";
inline constexpr const char* WhileProcessingReport = "^1^nwhile processing: ^2";

enum class BuildStyle {
  // FillBar: texts translated, spin values Single, a failing item reported and skipped.
  FilledBar,
  // KaTBuildBar: texts untranslated, the rest of a definition passed on, spin values
  // Double, every failure raised to the host.
  HostBar,
};

// ButtonCount, ButtonSize and the image size of a toolbar section; texts that are not
// numbers raise 13.
struct BarSizes {
  int16_t buttonCount = 0;
  int16_t buttonSize = 16;
  int16_t bitmapWidth = 16;
  int16_t bitmapHeight = 16;
};

bool readReportMissing(core::ZuzuzudLibrary& lib);
BarSizes readBarSizes(core::ZuzuzudLibrary& lib, const std::string& section);
// SetImageSize with the image size cut to the button size, then SetBarHeight.
void applyBarSizes(const core::Toolbar& tb, const BarSizes& sizes);

// The library's private operations the walk needs, bound by the member that builds.
struct BuildOperations {
  // ResolveButtonImage for this build's control, section and loaded icon-set list.
  std::function<void(const std::string& name, std::string& imageField, int16_t& iconSet, int16_t& index)> resolveImage;
  // ReportToHost.
  std::function<void(const std::string& messageTemplate, std::initializer_list<Variant> args)> report;
};

class BarBuilder {
 public:
  BarBuilder(core::ZuzuzudLibrary& lib, core::Toolbar tb, std::string section, BarSizes sizes, bool reportMissing,
             BuildStyle style, BuildOperations ops);

  // Adds one item per Button<n> entry, in order.
  void addEntries();

 private:
  void addEntry(int16_t n);
  void addFunction(const std::string& name, std::string definition);
  void addCombo(const std::string& name, std::string rest);
  void addSpin(const std::string& name, std::string rest);
  void addPushOrMenuItem(const std::string& type, const std::string& name, std::string rest);
  void addToggle(const std::string& name, std::string rest);
  void addPanel(const std::string& name, std::string rest);

  struct ImageReference {
    std::string reference;  // "set.index"
    std::string remainder;
  };
  ImageReference resolve(const std::string& name, std::string imageField);
  std::string translate(const std::string& text) const;
  void readSpinFields(std::string fields);
  bool hostBar() const { return style_ == BuildStyle::HostBar; }

  core::ZuzuzudLibrary& lib_;
  core::Toolbar tb_;
  std::string section_;
  BarSizes sizes_;
  bool reportMissing_;
  BuildStyle style_;
  BuildOperations ops_;
  // Spin fields left empty keep the value of the previous spin of the same build.
  Variant spin_[5];
};

}  // namespace zadeve::build
