// diagram_host [FOLDER [VIEW]]: a host of its own, with the reference host's form, toolbar
// manager and application object. It builds a view of the diagram editor's BARS.INI in
// FOLDER (default examples/diagram) on an 800 x 600 form, lays the bars out and prints the
// free rectangle the library returned. Reports of the library go to standard error.

#include <zadeve/reference_host.h>
#include <zadeve/zadeve.h>

#include <filesystem>
#include <iostream>
#include <string>

using zadeve::automation::AutomationError;
using zadeve::automation::byRef;
using zadeve::automation::callMethod;
using zadeve::automation::ObjectRef;
using zadeve::automation::setProperty;
using zadeve::automation::toInteger;
using zadeve::automation::Variant;

int main(int argc, char** argv) {
  // Absolute, since KaTSetup makes the bitmap folder the current directory.
  const std::string folder = std::filesystem::absolute(argc > 1 ? argv[1] : "examples/diagram").string() + "/";
  const std::string view = argc > 2 ? argv[2] : "DiagramView";
  try {
    zadeve::reference::registerControls();
    ObjectRef lib = zadeve::createLibrary();
    ObjectRef tbm = zadeve::reference::newToolbarManager();
    ObjectRef app = zadeve::reference::newApplication(&std::cerr);
    ObjectRef form = zadeve::reference::newForm("frmMain", 800, 600, lib, app);

    callMethod(*lib, "InitialiseZADEVE", {Variant(tbm), folder + "BARS.INI", folder, ""});
    setProperty(*lib, "ShellApplicationObject", app);
    callMethod(*lib, "KaTSetup", {Variant(form), view});

    Variant left(int16_t{0}), top(int16_t{0}), right(int16_t{0}), bottom(int16_t{0});
    callMethod(*lib, "KaTLayout", {Variant(form), byRef(left), byRef(top), byRef(right), byRef(bottom)});
    std::cout << view << ": " << toInteger(callMethod(*tbm, "Count")) << " bars, free rectangle " << toInteger(left)
              << " " << toInteger(top) << " " << toInteger(right) << " " << toInteger(bottom) << " twips\n";

    const int32_t reports = zadeve::reference::reportCount(app);
    callMethod(*form, "Unload");
    return reports == 0 ? 0 : 1;
  } catch (const AutomationError& e) {
    std::cerr << "diagram_host: error " << e.number() << ": " << e.description() << "\n";
    return 1;
  }
}
