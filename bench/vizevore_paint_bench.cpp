// Painting a 40-item bar: what a host pays on every repaint of a full toolbar.

#include <benchmark/benchmark.h>

#include <string>

#include "platform/picture.h"
#include "vizevore/paint.h"

namespace {

using namespace zadeve::vizevore;

constexpr int Tpp = metrics::DefaultTwipsPerPixel;

// A bar as a busy host shows it: mostly image buttons, some captions, and one of every
// field kind, some pressed and some disabled.
zadeve::automation::Ref<ReVivezav> fortyItemBar(int lengthPixels) {
  auto bar = zadeve::automation::makeObject<ReVivezav>();
  bar->addImageSet(zadeve::platform::loadPicture(std::string(ZADEVE_TEST_DATA) + "/pictures/std16.bmp"),
                   "2", "", 16, 15);
  for (int i = 0; bar->itemCount() < 40; ++i) {
    switch (i % 10) {
      case 4: bar->addSeparator(); break;
      case 7: {
        const int combo = bar->addComboWithEntries("Zoom" + std::to_string(i), "50%;100%;200%");
        bar->setListIndex(combo, 1);
        break;
      }
      case 8: bar->addSpin("Size" + std::to_string(i), SpinData{10, 0, 72, 1, 0}, ""); break;
      case 9: {
        const int panel = bar->addPanel("Status" + std::to_string(i), 80, false, "");
        bar->setCaption(panel, "Ready");
        bar->setProgress(panel, 60);
        break;
      }
      case 5: bar->addPushButton("Cmd" + std::to_string(i), "", "", "Report", 0, 0, 0, 0); break;
      default: {
        const int at = bar->addPushButton("Cmd" + std::to_string(i), "2." + std::to_string(i % 16),
                                          "", "Command", 0, 0, 0, 0);
        if (i % 6 == 0) bar->setFlags(at, zadeve::BF_ON);
        if (i % 11 == 0) bar->setEnabled(at, false);
      }
    }
  }
  bar->setBorderFlags(6, 2, 0, 0);
  bar->move(0, 0, lengthPixels * Tpp, 0);
  bar->setHeight(bar->idealDepth());
  return bar;
}

void BM_PaintFortyItemBar(benchmark::State& state) {
  auto bar = fortyItemBar(static_cast<int>(state.range(0)));
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
  auto bar = fortyItemBar(1600);
  for (auto _ : state) {
    auto png = paintToolbar(*bar).encodePng();
    benchmark::DoNotOptimize(png.data());
  }
}
BENCHMARK(BM_PaintAndEncodePng)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
