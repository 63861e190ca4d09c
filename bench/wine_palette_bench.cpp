// Under Wine on a virtual display (wine_palette_bench.sh): one step of a user's drag of a
// 40-item palette's right edge with contents shown, through the registered DLL and a real
// window. A step is what the system's sizing loop does for one mouse move: WM_SIZING to the
// window (the hook snaps the proposal in place), the window takes the rectangle, and what
// changed is painted. Same 100-step drag as palette_bench's headless figure. Then one full
// repaint of the palette's toolbar window.
//   wine_palette_bench FOLDER\   (BARS.INI and std16.bmp are written/expected there)

#include <cstdio>
#include <fstream>
#include <string>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "big_bar_ini.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include "com/bridge.h"

#include <windows.h>

using namespace zadeve;
using automation::ObjectRef;
using automation::Variant;

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  std::ofstream(folder + "BARS.INI") << bench::bigBarIni();
  CoInitialize(nullptr);
  host::registerReferenceControls();
  SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  try {
    CLSID clsid{};
    IDispatch* library = nullptr;
    if (FAILED(CLSIDFromProgID(L"ZADEVE.ZuzuzudLibrary", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&library)))) {
      std::printf("wine palette bench: the library cannot be created\n");
      return 1;
    }
    ObjectRef lib = com::fromDispatch(library);
    library->Release();
    auto app = automation::makeObject<host::ShellApplication>();
    auto tbm = automation::makeObject<host::ToolbarManager>();
    auto form = automation::makeObject<host::HeadlessForm>("frmMain", 1000, 700);
    form->setLibrary(lib);
    automation::callMethod(*lib, "InitialiseZADEVE", {Variant(ObjectRef(tbm)), folder + "BARS.INI", folder});
    automation::setProperty(*lib, "ShellApplicationObject", app);
    automation::callMethod(*lib, "KaTSetup", {Variant(ObjectRef(form)), "View"});
    automation::callMethod(*lib, "KaTFloat", {Variant(ObjectRef(form)), Variant(ObjectRef(form->bar(0)))});
    const ObjectRef palette = automation::toObject(automation::getProperty(*tbm->bars().back(), "parent"));
    HWND h = reinterpret_cast<HWND>(static_cast<intptr_t>(automation::toLong(automation::getProperty(*palette, "hWnd"))));
    RECT start{};
    GetWindowRect(h, &start);
    const int32_t buttons = automation::toLong(automation::getProperty(*tbm->bars().back(), "ButtonCount"));
    if (buttons == 0) {
      std::printf("wine palette bench: the palette's bar is empty\n");
      return 1;
    }

    constexpr int Steps = 100, Passes = 5;
    const int span = (start.right - start.left) - 60;
    int corrected = 0;
    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t0);
    for (int pass = 0; pass < Passes; ++pass) {
      for (int i = 0; i < Steps; ++i) {
        const int width = 60 + (i < Steps / 2 ? span - 2 * span * i / Steps : 2 * span * i / Steps - span);
        RECT r{start.left, start.top, start.left + width, start.bottom};
        const RECT proposed = r;
        SendMessageA(h, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&r));
        corrected += !EqualRect(&r, &proposed);
        SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(h);
      }
    }
    QueryPerformanceCounter(&t1);
    const double seconds = double(t1.QuadPart - t0.QuadPart) / double(frequency.QuadPart);
    std::printf("wine palette drag step (40 items, real window, contents shown): %.3f ms per step over %d steps "
                "(%d proposals snapped by the hook)\n",
                1000 * seconds / (Steps * Passes), Steps * Passes, corrected);

    // One full repaint of the palette's toolbar: its window painted anew (canvas and blit).
    if (HWND toolbar = GetWindow(h, GW_CHILD)) {
      constexpr int Repaints = 200;
      QueryPerformanceCounter(&t0);
      for (int i = 0; i < Repaints; ++i) {
        InvalidateRect(toolbar, nullptr, FALSE);
        UpdateWindow(toolbar);
      }
      QueryPerformanceCounter(&t1);
      RECT area{};
      GetClientRect(toolbar, &area);
      std::printf("wine palette repaint (40 items, the toolbar's window, %ldx%ld px): %.3f ms per repaint over %d\n",
                  area.right, area.bottom,
                  1000 * double(t1.QuadPart - t0.QuadPart) / double(frequency.QuadPart) / Repaints, Repaints);
    } else {
      std::printf("wine palette repaint: the palette has no toolbar window\n");
    }
    form->unload();
  } catch (const automation::AutomationError& e) {
    std::printf("wine palette bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
