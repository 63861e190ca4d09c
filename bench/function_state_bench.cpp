// Keeping buttons in step with our real control on the reference host: KaSetFunctionState
// and KaSetFunctionEnabled through the library's dispatch face on a function that every bar
// carries (20 docked bars of 40 buttons, 5 of them also floating in open palettes, so 25
// bars in TBM), and a full bar scan of the form. `per_bar` is the cost per bar visited (s).

#include <benchmark/benchmark.h>

#include <string>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "palette/tool_palette.h"
#include "platform/current_directory.h"
#include "support/headless_screen.h"
#include "support/temp_dir.h"

namespace {

using namespace zadeve;
using automation::makeObject;
using automation::ObjectRef;
using automation::Variant;

constexpr int Bars = 20;
constexpr int Items = 40;
constexpr int Palettes = 5;
constexpr int Visited = Bars + Palettes;

// Every bar: 39 push buttons of other functions, "Target" (a toggle) in the middle.
std::string barsIni() {
  std::string s = "[Functions]\nTarget=TOGGLE,,Target|\n";
  for (int f = 0; f < Items; ++f) s += "Push" + std::to_string(f) + "=PUSH,,P" + std::to_string(f) + "|~0~0\n";
  s += "[View.Toolbars]\nBarCount=" + std::to_string(Bars) + "\n";
  for (int b = 0; b < Bars; ++b) s += "Bar" + std::to_string(b) + "=Name=B" + std::to_string(b) + ";Home=TOP;Visible=Yes\n";
  for (int b = 0; b < Bars; ++b) {
    s += "[Toolbar.B" + std::to_string(b) + "]\nButtonCount=" + std::to_string(Items) + "\n";
    for (int n = 0; n < Items; ++n)
      s += "Button" + std::to_string(n) + "=" + (n == Items / 2 ? std::string("Target") : "Push" + std::to_string(n)) + "\n";
  }
  return s;
}

struct Host {
  support::HeadlessScreen screen;
  support::TempDir dir;
  std::string cwd = platform::currentDirectory();
  automation::Ref<core::ZuzuzudLibrary> lib = makeObject<core::ZuzuzudLibrary>();
  automation::Ref<host::ToolbarManager> tbm = makeObject<host::ToolbarManager>();
  automation::Ref<host::ShellApplication> app = makeObject<host::ShellApplication>();
  automation::Ref<host::HeadlessForm> form = makeObject<host::HeadlessForm>("frmMain", 1600, 1000);

  Host() {
    host::registerReferenceControls();
    dir.write("BARS.INI", barsIni());
    form->setLibrary(lib);
    lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), dir.path().string() + "/");
    lib->ShellApplicationObject(app);
    lib->KaTSetup(form, "View");
    for (int b = 0; b < Palettes; ++b) lib->KaTFloat(form, form->bar(static_cast<int16_t>(b * 4)));
  }
  ~Host() {
    form->unload();
    platform::changeDirectory(cwd);
  }
};

void perBar(benchmark::State& state) {
  state.counters["per_bar"] = benchmark::Counter(double(state.iterations()) * Visited,
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_KaSetFunctionState(benchmark::State& state) {
  Host host;
  const Variant form(ObjectRef(host.form)), fn("Target");
  int16_t value = -1;
  for (auto _ : state) {
    automation::callMethod(*host.lib, "KaSetFunctionState", {form, fn, Variant(value)});
    value = static_cast<int16_t>(~value);
  }
  perBar(state);
}
BENCHMARK(BM_KaSetFunctionState)->Unit(benchmark::kMicrosecond);

void BM_KaSetFunctionEnabled(benchmark::State& state) {
  Host host;
  const Variant form(ObjectRef(host.form)), fn("Target");
  int16_t value = 0;
  for (auto _ : state) {
    automation::callMethod(*host.lib, "KaSetFunctionEnabled", {form, fn, Variant(value)});
    value = static_cast<int16_t>(~value);
  }
  perBar(state);
}
BENCHMARK(BM_KaSetFunctionEnabled)->Unit(benchmark::kMicrosecond);

void BM_FullBarScan(benchmark::State& state) {
  Host host;
  const Variant form(ObjectRef(host.form));
  for (auto _ : state) {
    int found = 0;
    automation::callMethod(*host.lib, "KaTBeginScan", {form});
    while (automation::toBoolean(automation::callMethod(*host.lib, "KATNextScan"))) ++found;
    if (found != Visited) state.SkipWithError("the scan missed bars");
  }
  perBar(state);
}
BENCHMARK(BM_FullBarScan)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
