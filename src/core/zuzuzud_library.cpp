#include "core/zuzuzud_library.h"

#include "automation/conversions.h"

#include "automation/error.h"
#include "components/text_catalog.h"
#include "platform/windowing.h"

namespace zadeve::core {
namespace {

// Process-wide, shared by every library object and workspace.
int16_t floatingMenuDisabled = automation::False;

int32_t roundedTwips(double twips) { return automation::roundToLong(twips); }

}  // namespace

ZuzuzudLibrary::ZuzuzudLibrary()
    : DefaultWorkspace_(automation::makeObject<ZuzuzudWorkspace>()), CurrentWorkspace_(DefaultWorkspace_) {
  const auto& screen = platform::windowing();
  TwipsPerPixelX_ = roundedTwips(screen.twipsPerPixelX());
  TwipsPerPixelY_ = roundedTwips(screen.twipsPerPixelY());
}

ZuzuzudLibrary::~ZuzuzudLibrary() {
  // Host references go first so that no cycle through the host outlives the library.
  auto& ws = *CurrentWorkspace_;
  ws.ShellApp(nullptr);
  ws.TBM(nullptr);
  ws.aBar.reset();
  ws.ScanForm(nullptr);
}

std::string ZuzuzudLibrary::BarsConfigFile() const { return CurrentWorkspace_->BarsConfigFile(); }
void ZuzuzudLibrary::BarsConfigFile(std::string value) { CurrentWorkspace_->BarsConfigFile(std::move(value)); }
std::string ZuzuzudLibrary::BarsBitmapsDir() const { return CurrentWorkspace_->BarsBitmapsDir(); }
void ZuzuzudLibrary::BarsBitmapsDir(std::string value) { CurrentWorkspace_->BarsBitmapsDir(std::move(value)); }

void ZuzuzudLibrary::InitialiseZADEVE(ObjectRef TBM, std::string BarsCfgFile, std::string BarsBmpsDir,
                                      const std::string& lngfile) {
  auto& ws = *CurrentWorkspace_;
  ws.TBM(std::move(TBM));
  ws.BarsConfigFile(std::move(BarsCfgFile));
  ws.BarsBitmapsDir(std::move(BarsBmpsDir));
  auto catalog = automation::makeObject<components::TextCatalog>();
  ws.LanguageCatalog(catalog);
  if (lngfile.empty()) return;
  // A language file that will not load must not stop the host from starting: the catalogue
  // stays as it is and texts are shown as written. The catalogue's own LoadLanguageFile
  // still raises, for a host or tool that wants to know what is wrong with the file.
  try {
    catalog->LoadLanguageFile(lngfile);
  } catch (const automation::AutomationError&) {
  }
}

void ZuzuzudLibrary::ShellApplicationObject(ObjectRef ShellApp) {
  if (!ShellApp)
    automation::raise(automation::err::InvalidApplicationObject, "Invalid application object", ApplicationTitle);
  CurrentWorkspace_->ShellApp(std::move(ShellApp));
}

ObjectRef ZuzuzudLibrary::aBar() const { return CurrentWorkspace_->aBar; }
void ZuzuzudLibrary::aBar(ObjectRef value) { CurrentWorkspace_->aBar = std::move(value); }
float ZuzuzudLibrary::aSpinDown() const { return CurrentWorkspace_->aSpinDown; }
void ZuzuzudLibrary::aSpinDown(float value) { CurrentWorkspace_->aSpinDown = value; }
float ZuzuzudLibrary::aSpinUp() const { return CurrentWorkspace_->aSpinUp; }
void ZuzuzudLibrary::aSpinUp(float value) { CurrentWorkspace_->aSpinUp = value; }

void ZuzuzudLibrary::KaTDisableFloatingMenu() { floatingMenuDisabled = automation::True; }
void ZuzuzudLibrary::KaTEnableFloatingMenu() { floatingMenuDisabled = automation::False; }
int16_t ZuzuzudLibrary::FloatingMenuDisabled() { return floatingMenuDisabled; }

void ZuzuzudLibrary::PushWorkspace(Ref<ZuzuzudWorkspace> ws) {
  WorkspaceStack_.push_back(CurrentWorkspace_);
  CurrentWorkspace_ = std::move(ws);
}

void ZuzuzudLibrary::PopWorkspace() {
  if (WorkspaceStack_.empty()) {
    platform::windowing().messageBox("Workspace stack underflow. Restoring default workspace.",
                                     platform::MessageBoxButtons::Ok, "");
    CurrentWorkspace_ = DefaultWorkspace_;
    return;
  }
  CurrentWorkspace_ = std::move(WorkspaceStack_.back());
  WorkspaceStack_.pop_back();
}

}  // namespace zadeve::core
