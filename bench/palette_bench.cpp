// Palettes with our real control on the reference host: one step of a user's drag of a
// palette's right edge with contents shown (a 100-step drag from wide to narrow and back,
// 40 items on the bar), and one float-and-dock cycle of that bar.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "palette/tool_palette.h"
#include "platform/current_directory.h"
#include "vizevore/revivezav.h"
#include "support/headless_screen.h"
#include "support/temp_dir.h"
#include "big_bar_ini.h"

namespace {

using namespace zadeve;
using automation::makeObject;
using automation::Variant;
using palette::FrmToolPalette;

constexpr int DragSteps = 100;

struct Host {
  support::HeadlessScreen screen;
  support::TempDir dir;
  std::string cwd = platform::currentDirectory();
  automation::Ref<core::ZuzuzudLibrary> lib = makeObject<core::ZuzuzudLibrary>();
  automation::Ref<host::ToolbarManager> tbm = makeObject<host::ToolbarManager>();
  automation::Ref<host::ShellApplication> app = makeObject<host::ShellApplication>();
  automation::Ref<host::HeadlessForm> form = makeObject<host::HeadlessForm>("frmMain", 1000, 700);

  Host() {
    host::registerReferenceControls();
    std::filesystem::copy_file(std::string(ZADEVE_TEST_DATA) + "/pictures/std16.bmp", dir.file("std16.bmp"));
    dir.write("BARS.INI", bench::bigBarIni());
    form->setLibrary(lib);
    lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), dir.path().string() + "/");
    lib->ShellApplicationObject(app);
    lib->KaTSetup(form, "View");
  }
  ~Host() {
    form->unload();
    platform::changeDirectory(cwd);
  }
  automation::Ref<FrmToolPalette> floatBar() {
    lib->KaTFloat(form, form->bar(0));
    return FrmToolPalette::loadedPalettes().back();
  }
};

void BM_PaletteDragStep(benchmark::State& state) {
  Host host;
  auto palette = host.floatBar();
  const auto start = host.screen->windowRect(palette->hWnd());
  std::vector<platform::PixelRect> drag;
  for (int i = 0; i < DragSteps; ++i) {
    const int span = start.width() - 60;
    const int width = 60 + (i < DragSteps / 2 ? span - 2 * span * i / DragSteps : 2 * span * i / DragSteps - span);
    drag.push_back({start.left, start.top, start.left + width, start.bottom});
  }
  auto bar = automation::objectAs<vizevore::ReVivezav>(palette->bar());
  const int layoutsBefore = bar->layoutCount();
  for (auto _ : state) host.screen->dragEdge(palette->hWnd(), platform::wmsz::Right, drag);
  state.SetItemsProcessed(state.iterations() * DragSteps);
  // Seconds per step, and how often the toolbar was laid out per step (the work that matters).
  state.counters["per_step"] =
      benchmark::Counter(double(state.iterations()) * DragSteps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["layouts_per_step"] = double(bar->layoutCount() - layoutsBefore) / (double(state.iterations()) * DragSteps);
  state.counters["items"] = bar->itemCount();
  palette->unload();
}
BENCHMARK(BM_PaletteDragStep)->Unit(benchmark::kMillisecond);

void BM_FloatDockCycle(benchmark::State& state) {
  Host host;
  for (auto _ : state) {
    auto palette = host.floatBar();
    host.screen->pressCloseBox(palette->hWnd());
  }
}
BENCHMARK(BM_FloatDockCycle)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
