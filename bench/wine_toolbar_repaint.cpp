// One full repaint of a 40-item bar in its window (under Wine on a virtual display): the
// canvas painted and copied to the screen on WM_PAINT, beside the canvas painting alone.
// Arguments: the folder of std16.bmp (a Windows path) and the number of repaints.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "automation/error.h"
#include "automation/variant.h"
#include "forty_item_bar.h"
#include "host/reference_controls.h"
#include "platform/control_registry.h"
#include "vizevore/paint.h"

#include <windows.h>

using namespace zadeve;

namespace {

HWND form = nullptr;

class WindowForm final : public automation::Object {
 public:
  automation::Variant invoke(std::string_view name, automation::InvokeKind, std::span<automation::Arg>) override {
    if (name != "hWnd") automation::raise(automation::err::MemberMissing, std::string(name));
    return automation::Variant(static_cast<int32_t>(reinterpret_cast<intptr_t>(form)));
  }
  std::string_view typeName() const override { return "WindowForm"; }
};

struct NoEvents final : automation::EventSink {
  void controlEvent(automation::Object&, std::string_view, std::span<automation::Arg>) override {}
};

double seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string pictures = argc > 1 ? argv[1] : ".";
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 200;
  form = CreateWindowExA(0, "STATIC", "Repaint", WS_OVERLAPPEDWINDOW, 0, 0, 1680, 200, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
  if (!form) {
    std::printf("FAILED: no window (is there a display?)\n");
    return 1;
  }
  try {
    host::registerReferenceControls();
    NoEvents sink;
    auto owner = automation::makeObject<WindowForm>();
    platform::PlacedControl placed = platform::createControl("vizevore.ReVivezav", *owner, sink);
    auto bar = automation::objectAs<vizevore::ReVivezav>(placed.control);
    vizevore::fillFortyItems(*bar, pictures, 1600);
    ShowWindow(form, SW_SHOW);
    UpdateWindow(form);
    HWND child = FindWindowExA(form, nullptr, "ZadeveToolbarWindow", nullptr);
    if (!child) {
      std::printf("FAILED: the bar has no window\n");
      return 1;
    }
    const auto size = vizevore::paintedSize(*bar);
    vizevore::paintToolbar(*bar);  // glyphs rendered once, as after a session's first paint

    double start = seconds();
    for (int i = 0; i < rounds; ++i) vizevore::paintToolbar(*bar);
    const double paint = (seconds() - start) / rounds;

    start = seconds();
    for (int i = 0; i < rounds; ++i) {
      InvalidateRect(child, nullptr, FALSE);
      UpdateWindow(child);  // WM_PAINT, at once
    }
    GdiFlush();
    const double repaint = (seconds() - start) / rounds;
    std::printf("40-item bar %dx%d px under Wine: canvas paint %.0f us, full repaint (paint + blit) %.0f us\n", size.w,
                size.h, paint * 1e6, repaint * 1e6);
    placed.detach();
    DestroyWindow(form);
    return 0;
  } catch (const automation::AutomationError& e) {
    std::printf("FAILED: error %d: %s\n", e.number(), e.description().c_str());
    return 1;
  }
}
