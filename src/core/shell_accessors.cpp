// The command parameters a palette leaves in the host application object before it asks
// the host form to run the command: one late-bound call on ShellApp each.

#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {

Variant ZuzuzudLibrary::ShellValue() const { return ShellApp(CurrentWorkspace_->ShellApp()).aValue(); }
void ZuzuzudLibrary::ShellValue(const Variant& value) const { ShellApp(CurrentWorkspace_->ShellApp()).aValue(value); }
std::string ZuzuzudLibrary::ShellString() const { return ShellApp(CurrentWorkspace_->ShellApp()).aString(); }
void ZuzuzudLibrary::ShellString(const std::string& value) const {
  ShellApp(CurrentWorkspace_->ShellApp()).aString(value);
}
int16_t ZuzuzudLibrary::ShellCmdFlag() const { return ShellApp(CurrentWorkspace_->ShellApp()).aCmdFlag(); }
void ZuzuzudLibrary::ShellCmdFlag(int16_t value) const { ShellApp(CurrentWorkspace_->ShellApp()).aCmdFlag(value); }

}  // namespace zadeve::core
