// Painting a 40-item bar: what a host pays on every repaint of a full toolbar.

#include <benchmark/benchmark.h>

#include <string>

#include "forty_item_bar.h"
#include "vizevore/paint.h"

namespace {

using namespace zadeve::vizevore;

void BM_PaintFortyItemBar(benchmark::State& state) {
  auto bar = fortyItemBar(std::string(ZADEVE_TEST_DATA) + "/pictures", static_cast<int>(state.range(0)));
  paintToolbar(*bar);  // glyphs rendered once, as after the first paint of a session
  for (auto _ : state) {
    Canvas canvas = paintToolbar(*bar);
    benchmark::DoNotOptimize(canvas.pixels().data());
  }
  const Box size = paintedSize(*bar);
  state.counters["pixels"] = size.w * size.h;
}
// One long row, and a narrow bar that wraps into several rows.
BENCHMARK(BM_PaintFortyItemBar)->Arg(1600)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_PaintAndEncodePng(benchmark::State& state) {
  auto bar = fortyItemBar(std::string(ZADEVE_TEST_DATA) + "/pictures", 1600);
  for (auto _ : state) {
    auto png = paintToolbar(*bar).encodePng();
    benchmark::DoNotOptimize(png.data());
  }
}
BENCHMARK(BM_PaintAndEncodePng)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
