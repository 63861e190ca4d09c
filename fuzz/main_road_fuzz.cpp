// The main road: an arbitrary BARS.INI through KaTSetup and KaTLayout on the reference
// host with our own toolbar control, then a resize, the picture of the form and its unload.
// The input is the whole file; the bitmaps of examples/ lie beside it.
//
// Configuration problems are reported through the host and the work goes on; automation
// errors of the road's own calls are outcomes. Crashes, sanitizer reports, hangs and leaks
// are not, and neither is a KaTSetup that raises (it ends every failure with a message box)
// or a bar that unload leaves in the toolbar manager.

#include <filesystem>

#include "automation/dispatch.h"
#include "automation/error.h"
#include "core/zuzuzud_library.h"
#include "fuzz_support.h"
#include "host/form_picture.h"
#include "host/headless_form.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "platform/current_directory.h"
#include "platform/headless_windowing.h"

using namespace zadeve;
using automation::makeObject;
using automation::Variant;

namespace {

namespace fs = std::filesystem;

// The folder the configuration and the example bitmaps live in, with its trailing "/".
const std::string& roadFolder() {
  static const std::string folder = [] {
    const fs::path road = fuzz::ScratchFolder::instance().path() / "road";
    fs::create_directories(road);
    for (const char* bitmap : {"std16.bmp", "big24.bmp"})
      fs::copy_file(fs::path(ZADEVE_EXAMPLES) / bitmap, road / bitmap, fs::copy_options::overwrite_existing);
    return (road / "").string();
  }();
  return folder;
}

// A fresh screen per input, so message boxes do not pile up; the directory KaTSetup moves
// into is left again, so artifacts land where libFuzzer was started.
class Session {
 public:
  Session()
      : previous_(platform::installWindowing(std::make_shared<platform::HeadlessWindowing>())),
        directory_(platform::currentDirectory()) {}
  ~Session() {
    platform::installWindowing(previous_);
    try {
      platform::changeDirectory(directory_);
    } catch (const automation::AutomationError&) {
    }
  }

 private:
  std::shared_ptr<platform::Windowing> previous_;
  std::string directory_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = roadFolder();
  const std::string ini = folder + "BARS.INI";
  {
    std::ofstream out(ini, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  Session session;
  auto lib = makeObject<core::ZuzuzudLibrary>();
  auto tbm = makeObject<host::ToolbarManager>();
  auto app = makeObject<host::ShellApplication>();
  auto form = makeObject<host::HeadlessForm>("frmMain", 800, 600);
  form->setLibrary(lib);

  automation::callMethod(*lib, "InitialiseZADEVE", {Variant(tbm), ini, folder});
  automation::setProperty(*lib, "ShellApplicationObject", app);
  try {
    automation::callMethod(*lib, "KaTSetup", {Variant(form), "MainView"});
  } catch (const automation::AutomationError& e) {
    std::fprintf(stderr, "KaTSetup raised %d: %s\n", e.number(), e.description().c_str());
    FUZZ_CHECK(false, "KaTSetup raised instead of reporting");
  }
  // Every bar made is registered once, in the order of the form's elements; element 0
  // exists from the start and stays unregistered when the view has no bars.
  const auto& registered = tbm->bars();
  FUZZ_CHECK(registered.size() <= 20, "more bars than a bar set may have");
  FUZZ_CHECK(registered.size() == size_t(form->bars().count()) || (registered.empty() && form->bars().count() == 1),
             "a bar of the form is not in the toolbar manager, or twice");
  for (size_t i = 0; i < registered.size(); ++i)
    FUZZ_CHECK(registered[i] == automation::ObjectRef(form->bar(static_cast<int32_t>(i))),
               "the toolbar manager holds other than the form's bars in order");

  try {
    form->layout();
    form->resize(240, 160);
    form->layout();
    host::renderForm(*form);
  } catch (const automation::AutomationError&) {
    // A host's own call may fail on what the file asks for; the form stays usable.
  }

  form->unload();
  FUZZ_CHECK(tbm->count() == 0, "unload left bars in the toolbar manager");
  return 0;
}
