#include "workspace/process_library.h"

namespace zadeve::workspace {
namespace {
automation::Ref<core::ZuzuzudLibrary>& theProcessLibrary() {
  static automation::Ref<core::ZuzuzudLibrary> library;
  return library;
}
}  // namespace

automation::Ref<core::ZuzuzudLibrary> processLibrary() {
  auto& library = theProcessLibrary();
  if (!library) library = automation::makeObject<core::ZuzuzudLibrary>();
  return library;
}

}  // namespace zadeve::workspace
