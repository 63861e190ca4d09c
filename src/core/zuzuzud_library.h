#pragma once
// ZuzuzudLibrary: the library object. Public members stand in interface slot order;
// the private operations that other subsystems call by name stand beside them. Each
// subsystem defines its members in its own folder (build/ the bar builder, bars/ the
// bar sets and docking, ...); this declaration is the only one.

#include <cstdint>
#include <string>
#include <vector>

#include "automation/member_table.h"
#include "core/zuzuzud_workspace.h"

namespace zadeve::palette {
class FrmToolPalette;
}

namespace zadeve::core {

class Toolbar;

// The per-build list of icon-set numbers already added to a control: each number
// (0 to 255) is kept as the character of that code.
using LoadedIconSets = std::string;

class ZuzuzudLibrary : public automation::Dispatchable<ZuzuzudLibrary> {
 public:
  static const automation::MemberTable<ZuzuzudLibrary>& memberTable();

  ZuzuzudLibrary();
  ~ZuzuzudLibrary() override;

  // The dispatch face: each call through it is one call of the library (config_access.cpp).
  Variant invoke(std::string_view name, automation::InvokeKind kind, std::span<automation::Arg> args) override;

  // 1, 2
  std::string BarsConfigFile() const;
  void BarsConfigFile(std::string value);
  std::string BarsBitmapsDir() const;
  void BarsBitmapsDir(std::string value);
  // 3, 4
  void InitialiseZADEVE(ObjectRef TBM, std::string BarsCfgFile, std::string BarsBmpsDir,
                        const std::string& lngfile = {});
  void ShellApplicationObject(ObjectRef ShellApp);
  // 5 .. 19
  std::string KaTBarName(const ObjectRef& aBar);
  void KaTBeginScan(const ObjectRef& f);
  void KaTBeginScanFunction(const ObjectRef& f, const std::string& fn);
  void KaTBuildBar(const ObjectRef& tb, const std::string& barName, bool isPalette = false);
  void KaTRebuildBar(const ObjectRef& tb);
  void KaTCopyBarState(const ObjectRef& fromBar, const ObjectRef& toBar);
  void KaTFloat(const ObjectRef& theForm, const ObjectRef& theToolBar);
  Variant KaTGetFunctionState(const ObjectRef& frm, const std::string& fn, int16_t& Value);
  Variant KaTGetProp(const ObjectRef& tb, const std::string& Key, const Variant& dv);
  void KaTLayout(const ObjectRef& frm, int16_t& vl, int16_t& vt, int16_t& vr, int16_t& VB);
  Variant KATNextScan();
  bool KaTNextScanFunction();
  void KaTSetProp(const ObjectRef& tb, const std::string& Key, const Variant& v);
  void KaTSetup(const ObjectRef& frm, const std::string& barSet, const std::string& excludeBars = {});
  void KaTSetVisible(const ObjectRef& f, const ObjectRef& tb, int16_t v);
  // 20 .. 22
  bool GetIconSetNumber(const std::string& iconSetName, int16_t& iconSetNumber);
  Variant SetConfigValue(const std::string& section, const std::string& Key, const std::string& Value);
  Variant ClearConfigSection(const std::string& section);
  // 23 .. 40
  void KaTUnloadBars(const ObjectRef& f);
  void KaSetButtonEnable(const ObjectRef& frm, const std::string& fn, int16_t Value);
  void StatusMsg(const ObjectRef& f, const std::string& pan, const std::string& msg, bool UpdateNow = false);
  void StatusProg(const ObjectRef& f, const std::string& pan, int16_t Percent);
  int16_t KaGetFunctionState(const ObjectRef& frm, const std::string& fn);
  Variant KaGetFunctionEnabled(const ObjectRef& frm, const std::string& fn, int16_t& Value);
  Variant GetConfigValue(const std::string& section, const std::string& item, const std::string& def);
  void KaSetFunctionEnabled(const ObjectRef& frm, const std::string& fn, int16_t Value);
  void KaSetFunctionState(const ObjectRef& frm, const std::string& fn, int16_t Value);
  void KaSetFunctionVisible(const ObjectRef& frm, const std::string& fn, int16_t Value);
  void KaAddFunctionListItem(const ObjectRef& frm, const std::string& fn, const std::string& item, int32_t Data);
  void KaSetItemIndexByText(const ObjectRef& frm, const std::string& fn, const std::string& item);
  void KaGetFunctionListItem(const ObjectRef& frm, const std::string& fn, std::string& item, int32_t& Data);
  void KaSetButtonTip(const ObjectRef& frm, const std::string& fn, const std::string& Tip);
  void KaSetItemIndexByData(const ObjectRef& frm, const std::string& fn, int32_t Data);
  void KaSetItemIndex(const ObjectRef& frm, const std::string& fn, int32_t Index);
  std::string GetStatusMsg(const ObjectRef& f, const std::string& pan);
  int16_t KaTIsVisible(const ObjectRef& tb);
  // 41 .. 46
  ObjectRef aBar() const;
  void aBar(ObjectRef value);
  float aSpinDown() const;
  void aSpinDown(float value);
  float aSpinUp() const;
  void aSpinUp(float value);
  void KaTDisableFloatingMenu();
  void KaTEnableFloatingMenu();
  void KaTReleaseBars(const ObjectRef& frm);

  // Process-wide: palettes of every library object and workspace see it.
  static int16_t FloatingMenuDisabled();

  // The workspace every operation uses; exposed for the workspace proxies and tests.
  const Ref<ZuzuzudWorkspace>& CurrentWorkspace() const { return CurrentWorkspace_; }
  const Ref<ZuzuzudWorkspace>& DefaultWorkspace() const { return DefaultWorkspace_; }
  int32_t WorkspaceDepth() const { return static_cast<int32_t>(WorkspaceStack_.size()); }
  int32_t TwipsPerPixelX() const { return TwipsPerPixelX_; }
  int32_t TwipsPerPixelY() const { return TwipsPerPixelY_; }

 private:
  friend class ZuzuzudWorkspace;
  friend class palette::FrmToolPalette;  // palettes route commands through the accessors
  friend struct LibraryInternals;        // tests of the private operations

  void PushWorkspace(Ref<ZuzuzudWorkspace> ws);
  void PopWorkspace();

  // Bar construction.
  void FillBar(const ObjectRef& tb, bool floating);
  void ResolveButtonImage(const std::string& name, const std::string& section, const ObjectRef& tb,
                          std::string& imageField, int16_t& iconSetNumber, int16_t& imageIndex,
                          LoadedIconSets& loaded);
  void LoadSymbolPalette(const ObjectRef& tb, const std::string& section, std::string& entry,
                         const std::string& name, LoadedIconSets& loaded, int16_t numberRead,
                         int16_t& imageIndex, int16_t& iconSetNumber);
  void RegisterBar(const ObjectRef& bar);

  // Palettes.
  void SetPaletteOwner(const ObjectRef& form, const ObjectRef& owner);
  // The command parameters in the host application object, one late-bound call each.
  Variant ShellValue() const;
  void ShellValue(const Variant& value) const;
  std::string ShellString() const;
  void ShellString(const std::string& value) const;
  int16_t ShellCmdFlag() const;
  void ShellCmdFlag(int16_t value) const;

  // Formats a message template and hands it to the host's MsgBoxSub.
  void ReportToHost(const std::string& messageTemplate, std::initializer_list<Variant> args);

  Ref<ZuzuzudWorkspace> DefaultWorkspace_;
  Ref<ZuzuzudWorkspace> CurrentWorkspace_;
  std::vector<Ref<ZuzuzudWorkspace>> WorkspaceStack_;
  int32_t TwipsPerPixelX_ = 15;
  int32_t TwipsPerPixelY_ = 15;
};

// The library's application title, the source of its own automation errors.
inline constexpr const char* ApplicationTitle = "ZADEVE";

}  // namespace zadeve::core
