#pragma once
// ZuzuzudWorkspace: one context's settings and working state. Every library operation
// reads and writes the fields of the library's current workspace. The first five
// fields are public members of the automation interface; the rest are reached only
// from inside the library through the plain accessors below. The proxy members that
// follow the fields on the interface, through which hosts call the library with a
// workspace current, are defined in workspace/.

#include <cstdint>
#include <string>
#include <vector>

#include "automation/member_table.h"

namespace zadeve::core {

using automation::ObjectRef;
using automation::Ref;
using automation::Variant;

class ZuzuzudWorkspace : public automation::Dispatchable<ZuzuzudWorkspace> {
 public:
  static const automation::MemberTable<ZuzuzudWorkspace>& memberTable();
  // The public fields take the interface's first slots; the proxies follow them.
  static constexpr int32_t PublicFieldCount = 5;

  // Public fields.
  int16_t aBarIndex = 0;
  ObjectRef aBar;
  float aSpinUp = 0;
  float aSpinDown = 0;
  int16_t IsFloating = 0;

  // Internal accessors: each does nothing but read or store its field.
  const ObjectRef& TBM() const { return TBM_; }
  void TBM(ObjectRef v) { TBM_ = std::move(v); }
  const std::string& BarsConfigFile() const { return BarsConfigFile_; }
  void BarsConfigFile(std::string v) { BarsConfigFile_ = std::move(v); }
  const std::string& BarsBitmapsDir() const { return BarsBitmapsDir_; }
  void BarsBitmapsDir(std::string v) { BarsBitmapsDir_ = std::move(v); }
  const ObjectRef& ShellApp() const { return ShellApp_; }
  void ShellApp(ObjectRef v) { ShellApp_ = std::move(v); }
  const ObjectRef& LanguageCatalog() const { return LanguageCatalog_; }
  void LanguageCatalog(ObjectRef v) { LanguageCatalog_ = std::move(v); }
  int16_t ScanIndex() const { return ScanIndex_; }
  void ScanIndex(int16_t v) { ScanIndex_ = v; }
  const std::string& ScanFunction() const { return ScanFunction_; }
  void ScanFunction(std::string v) { ScanFunction_ = std::move(v); }
  const ObjectRef& ScanForm() const { return ScanForm_; }
  void ScanForm(ObjectRef v) { ScanForm_ = std::move(v); }

  // The proxy of the library member that `args` were bound for: runs it on the
  // process-wide library object with this workspace current (workspace/).
  Variant RunProxy(automation::CallArgs& args);

 private:
  ObjectRef TBM_;
  std::string BarsConfigFile_;
  std::string BarsBitmapsDir_;
  ObjectRef LanguageCatalog_;
  ObjectRef ShellApp_;
  int16_t ScanIndex_ = 0;
  std::string ScanFunction_;
  ObjectRef ScanForm_;
};

// The proxy rows of the interface, after the public fields (workspace/).
std::vector<automation::Member<ZuzuzudWorkspace>> workspaceProxyRows();

}  // namespace zadeve::core
