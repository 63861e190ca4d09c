// zadeve check over the examples, and over generated files of 10, 25 and 50 views of 20
// bars each (20 items a bar, every bar a toolbar section of its own), so that the time per
// view shows next to how it grows with the file.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "cli/cli.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int BarsPerView = 20;
constexpr int ItemsPerBar = 20;
const char* const Edges[] = {"TOP", "LEFT", "BOTTOM", "RIGHT"};

std::string functionsSection() {
  std::string s = "[Functions]\nIconSetCount=2\nIconSet0=std16.bmp,16,15\nIconSet1=big24.bmp,24,24\n";
  for (int f = 0; f < 16; ++f)
    s += "Push" + std::to_string(f) + "=PUSH," + std::to_string(f % 2) + "/" + std::to_string(f) + ",Push " +
         std::to_string(f) + "|~0~0\n";
  s += "Bold=TOGGLE,0/15,Bold|\nFont=COMBO,140,Font name|\nSize=SPIN,8/6/72/1/0,Font size|\nState=DIP,/!200,Ready|\n";
  return s;
}

std::string toolbarSection(const std::string& name) {
  std::string s = "[Toolbar." + name + "]\nButtonCount=" + std::to_string(ItemsPerBar) + "\nButtonSize=22\n";
  const char* const others[] = {"!SEPARATOR", "Bold", "Font", "Size", "State", "!GAP"};
  for (int n = 0; n < ItemsPerBar; ++n)
    s += "Button" + std::to_string(n) + "=" + (n % 4 == 3 ? others[n / 4 % 6] : "Push" + std::to_string(n % 16)) +
         "\n";
  return s;
}

std::string generatedIni(int views) {
  std::string ini = functionsSection();
  for (int v = 0; v < views; ++v) {
    ini += "[View" + std::to_string(v) + ".Toolbars]\nBarCount=" + std::to_string(BarsPerView) + "\n";
    for (int b = 0; b < BarsPerView; ++b)
      ini += "Bar" + std::to_string(b) + "=Name=V" + std::to_string(v) + "B" + std::to_string(b) +
             ";Home=" + Edges[b % 4] + ";Visible=Yes;State=Docked\n";
  }
  for (int v = 0; v < views; ++v)
    for (int b = 0; b < BarsPerView; ++b) ini += toolbarSection("V" + std::to_string(v) + "B" + std::to_string(b));
  return ini;
}

class Files {
 public:
  Files() {
    const fs::path pictures = fs::path(ZADEVE_TEST_DATA) / "pictures";
    for (const char* file : {"std16.bmp", "big24.bmp"}) fs::copy_file(pictures / file, dir_.path() / file);
    for (int views : {10, 25, 50}) dir_.write("views" + std::to_string(views) + ".ini", generatedIni(views));
    // The profile cache re-reads a file whose time stamps are too fresh to trust.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  }
  std::string generated(int views) const { return dir_.file("views" + std::to_string(views) + ".ini"); }

 private:
  zadeve::support::TempDir dir_;
};

const Files& files() {
  static Files f;
  return f;
}

void runCheck(benchmark::State& state, const std::string& ini, int views, int expectedStatus) {
  int status = -1;
  std::string out;
  for (auto _ : state) {
    std::ostringstream o, e;
    status = zadeve::cli::run({"zadeve", "check", ini}, o, e);
    out = o.str();
  }
  if (status != expectedStatus) state.SkipWithError(("unexpected result: " + out).c_str());
  state.counters["views"] = views;
  state.counters["per_view"] =
      benchmark::Counter(views, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetComplexityN(views);
}

// One view of seven bars, with its two deliberate problems.
void BM_CheckExamples(benchmark::State& state) {
  const fs::path examples = fs::path(ZADEVE_TEST_DATA).parent_path().parent_path() / "examples" / "BARS.INI";
  runCheck(state, examples.string(), 1, zadeve::cli::ExitFailed);
}
BENCHMARK(BM_CheckExamples)->Unit(benchmark::kMillisecond);

void BM_CheckGenerated(benchmark::State& state) {
  const int views = static_cast<int>(state.range(0));
  runCheck(state, files().generated(views), views, zadeve::cli::ExitOk);
}
BENCHMARK(BM_CheckGenerated)->Arg(10)->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
