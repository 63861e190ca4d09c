// Laying out a 200-item bar at 50 lengths: what a palette pays while the user drags its
// edge, and a docked bar on every resize of its form.

#include <benchmark/benchmark.h>

#include <string>

#include "vizevore/revivezav.h"

namespace {

using namespace zadeve::vizevore;

constexpr int Lengths = 50;

// Mostly buttons, with captions, spacing and one of every field kind mixed in.
zadeve::automation::Ref<ReVivezav> twoHundredItemBar() {
  auto bar = zadeve::automation::makeObject<ReVivezav>();
  bar->suppressLayout(true);
  for (int i = 0; bar->itemCount() < 200; ++i) {
    const std::string name = "Cmd" + std::to_string(i);
    switch (i % 12) {
      case 3: bar->addSeparator(); break;
      case 6: bar->addGap(); break;
      case 7: bar->addComboWithEntries(name, "50%;100%;200%"); break;
      case 8: bar->addSpin(name, SpinData{10, 0, 72, 1, 0}, ""); break;
      case 9: bar->addPanel(name, 80, i % 24 == 9, ""); break;
      case 10: bar->addPushButton(name, "", "", "Report", zadeve::BF_CAPRIGHT, 0, 0, 0); break;
      default: bar->addPushButton(name, "2." + std::to_string(i % 16), "", "Tip", 0, 0, 16, 16);
    }
  }
  bar->suppressLayout(false);
  return bar;
}

// Lengths from a bar too short for its longest item up to one row.
void layoutAtFiftyLengths(benchmark::State& state, bool vertical) {
  auto bar = twoHundredItemBar();
  bar->setVertical(vertical);
  const int shortest = bar->minLength() / 2;
  bar->setWidth(1 << 30);
  bar->setHeight(1 << 30);
  const int longest = bar->idealLength();
  for (auto _ : state) {
    for (int i = 0; i < Lengths; ++i) {
      const int length = shortest + (longest - shortest) * i / (Lengths - 1);
      if (vertical)
        bar->setHeight(length);
      else
        bar->setWidth(length);
      benchmark::DoNotOptimize(bar->idealDepth());
    }
  }
  state.counters["layouts"] = benchmark::Counter(double(state.iterations()) * Lengths, benchmark::Counter::kIsRate);
}

void BM_Layout200ItemsAt50Lengths(benchmark::State& state) { layoutAtFiftyLengths(state, false); }
void BM_Layout200ItemsAt50LengthsVertical(benchmark::State& state) { layoutAtFiftyLengths(state, true); }

BENCHMARK(BM_Layout200ItemsAt50Lengths)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Layout200ItemsAt50LengthsVertical)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
