// KaTSetup of a view with N bars of 40 items each, icon sets included, against the
// recording host fakes; and KaTLayout of N docked bars. N runs 5, 10, 20 so that the
// growth shows next to the time for the full view.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "platform/current_directory.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace {

using zadeve::automation::makeObject;
using zadeve::automation::ObjectRef;
using zadeve::automation::Ref;
using zadeve::automation::Variant;
using zadeve::core::ZuzuzudLibrary;
using zadeve::support::FakeForm;
using zadeve::support::FakeShellApp;
using zadeve::support::FakeToolbarManager;

constexpr int MaxBars = 20;
constexpr int ItemsPerBar = 40;
const char* const Edges[] = {"TOP", "LEFT", "BOTTOM", "RIGHT"};

// The definitions the bars' items use: push buttons and toggles from both icon strips,
// a combo, a spin and panels.
std::string functionsSection() {
  std::string s = "[Functions]\nIconSetCount=2\nIconSet0=std16.bmp,16,15\nIconSet1=big24.bmp,24,24\n";
  for (int f = 0; f < 16; ++f)
    s += "Push" + std::to_string(f) + "=PUSH," + std::to_string(f % 2) + "/" + std::to_string(f) + ",Push " +
         std::to_string(f) + "|~0~0\n";
  for (int f = 0; f < 8; ++f)
    s += "Toggle" + std::to_string(f) + "=TOGGLE,0/" + std::to_string(f + 8) + ",Toggle " + std::to_string(f) + "|\n";
  s += "Font=COMBO,1400,Font name|\nSize=SPIN,8/6/72/1/0,Font size|\nState=DIP,/!2000,Ready|\n";
  return s;
}

// A bar's 40 entries: mostly buttons, with a combo, a spin, a panel, gaps and separators.
std::string toolbarSection(int bar) {
  std::string s = "[Toolbar.B" + std::to_string(bar) + "]\nButtonCount=" + std::to_string(ItemsPerBar) +
                  "\nButtonSize=22\n";
  for (int n = 0; n < ItemsPerBar; ++n) {
    std::string entry;
    switch (n % 10) {
      case 3: entry = "!SEPARATOR"; break;
      case 6: entry = "Toggle" + std::to_string(n % 8); break;
      case 7: entry = n % 20 == 7 ? "Font" : "Size"; break;
      case 8: entry = n % 20 == 8 ? "State" : "!GAP"; break;
      default: entry = "Push" + std::to_string(n % 16);
    }
    s += "Button" + std::to_string(n) + "=" + entry + "\n";
  }
  return s;
}

std::string barEntry(int bar) {
  return "Name=B" + std::to_string(bar) + ";Home=" + Edges[bar % 4] + ";Visible=Yes;State=Docked;IconSets=" +
         std::to_string(bar % 2);
}

// One BARS.INI with a view per bar count ("View5", "View10", ...) and the bitmap folder.
class Workspace {
 public:
  Workspace() {
    std::filesystem::path data(ZADEVE_TEST_DATA);
    std::filesystem::create_directory(dir_.path() / "bitmaps");
    for (const char* file : {"std16.bmp", "big24.bmp"})
      std::filesystem::copy_file(data / "pictures" / file, dir_.path() / "bitmaps" / file);
    std::string ini = functionsSection();
    for (int count : {5, 10, 20}) {
      ini += "[View" + std::to_string(count) + ".Toolbars]\nBarCount=" + std::to_string(count) + "\n";
      for (int b = 0; b < count; ++b) ini += "Bar" + std::to_string(b) + "=" + barEntry(b) + "\n";
    }
    for (int b = 0; b < MaxBars; ++b) ini += toolbarSection(b);
    iniPath_ = dir_.write("BARS.INI", ini);
    // The profile cache re-reads a file on every lookup while its time stamps are too
    // fresh to be trusted (two seconds); a user's BARS.INI is older than that.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    bitmaps_ = (dir_.path() / "bitmaps").string() + "/";
  }
  const std::string& ini() const { return iniPath_; }
  const std::string& bitmaps() const { return bitmaps_; }

 private:
  zadeve::support::TempDir dir_;
  std::string iniPath_;
  std::string bitmaps_;
};

const Workspace& workspace() {
  static Workspace w;
  return w;
}

void BM_KaTSetup(benchmark::State& state) {
  const int bars = static_cast<int>(state.range(0));
  std::string cwd = zadeve::platform::currentDirectory();
  auto tbm = makeObject<FakeToolbarManager>();
  auto app = makeObject<FakeShellApp>();
  auto lib = makeObject<ZuzuzudLibrary>();
  lib->InitialiseZADEVE(tbm, workspace().ini(), workspace().bitmaps());
  lib->ShellApplicationObject(app);
  const std::string view = "View" + std::to_string(bars);

  Ref<FakeForm> form;
  for (auto _ : state) {
    state.PauseTiming();
    form = makeObject<FakeForm>();
    tbm->items.clear();
    tbm->clearCalls();
    state.ResumeTiming();
    lib->KaTSetup(form, view);
  }
  if (form->bars().size() != bars || !app->messages.empty()) state.SkipWithError("setup did not build the view");
  state.SetComplexityN(bars);
  state.SetItemsProcessed(state.iterations() * bars * ItemsPerBar);
  zadeve::platform::changeDirectory(cwd);
}
BENCHMARK(BM_KaTSetup)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

void BM_KaTLayout(benchmark::State& state) {
  const int bars = static_cast<int>(state.range(0));
  auto lib = makeObject<ZuzuzudLibrary>();
  auto form = makeObject<FakeForm>("frmMain", 30000, 30000);
  for (int b = 0; b < bars; ++b) {
    if (b > 0) zadeve::automation::callMethod(form->bars(), "Load", {Variant(int16_t(b))});
    form->bar(int16_t(b))->set("Tag", Variant(barEntry(b)));
  }
  int16_t vl = 0, vt = 0, vr = 0, VB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int b = 0; b < bars; ++b) form->bar(int16_t(b))->clearCalls();
    state.ResumeTiming();
    lib->KaTLayout(form, vl, vt, vr, VB);
    benchmark::DoNotOptimize(vl);
  }
  if (form->bar(int16_t(bars - 1))->count("EdgeFlags1") != 1) state.SkipWithError("the last bar was not placed");
  state.SetComplexityN(bars);
}
BENCHMARK(BM_KaTLayout)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
