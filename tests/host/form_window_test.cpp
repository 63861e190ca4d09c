// The example view's form as the user meets its window: sizing it lays the bars out, its
// client area shows the form's picture, its close box unloads it; and a form that wraps a
// window the host made and keeps.

#include <gtest/gtest.h>

#include "host/example_view.h"
#include "host/form_picture.h"

namespace zadeve::host {
namespace {

using platform::HeadlessWindowing;
using platform::PixelRect;

PixelRect outerForClient(int w, int h) { return HeadlessWindowing::outerAround({0, 0, w, h}); }

// A window of the host's own, which hears its resizes as the host's window procedure would.
struct HostWindow final : platform::WindowClient {
  int resized = 0;
  void windowResized() override { ++resized; }
  void windowCloseRequested() override {}
};

class FormWindow : public ExampleView {
 protected:
  int unloaded = 0;
  void listen(HeadlessForm& f) {
    f.onUnloaded([this] { ++unloaded; });
  }
  int barsOf(const HeadlessForm& f) const {
    int n = 0;
    for (const auto& b : tbm->bars()) n += automation::objectAs<ReVivezav>(b)->parentForm() == &f ? 1 : 0;
    return n;
  }
};

TEST_F(FormWindow, TheUsersSizingLaysOutTheFormsOwnResizeDoesNot) {
  const auto window = form->hWnd();
  listen(*form);
  form->resize(640, 420);
  EXPECT_FALSE(form->freeRectangle()) << "the form's own resize lays nothing out";
  EXPECT_EQ(screen->clientRect(window), (PixelRect{0, 0, 640, 420}));

  screen->dragEdge(window, platform::wmsz::BottomRight, {outerForClient(700, 450), outerForClient(720, 500)});
  EXPECT_EQ(form->scaleWidth(), 720 * Pixel);
  EXPECT_EQ(form->scaleHeight(), 500 * Pixel);
  ASSERT_TRUE(form->freeRectangle());
  EXPECT_EQ(bar(File)->width(), 720 * Pixel);
  EXPECT_EQ(bar(View)->left() + bar(View)->width(), 720 * Pixel);
  EXPECT_EQ(bar(Sketch)->top() + bar(Sketch)->height(), 500 * Pixel);
  EXPECT_GT(screen->window(window).paintsAsked, 0) << "the new layout is painted";

  // What the window shows is the form's picture.
  platform::WindowPixels shown;
  form->paintWindow(shown);
  EXPECT_EQ(shown.width, 720);
  EXPECT_EQ(shown.height, 500);
  EXPECT_EQ(shown.pixels, windowPixels(renderForm(*form)));

  // Minimised, the client area is empty: the bars keep their places.
  screen->moveWindow(window, outerForClient(0, 0));
  EXPECT_EQ(form->scaleWidth(), 720 * Pixel);
  EXPECT_EQ(bar(File)->width(), 720 * Pixel);

  screen->pressCloseBox(window);
  EXPECT_FALSE(form->loaded());
  EXPECT_FALSE(screen->isWindow(window));
  EXPECT_EQ(tbm->count(), 0);
  EXPECT_EQ(unloaded, 1);
  form->unload();
  EXPECT_EQ(unloaded, 1) << "told once";
}

TEST_F(FormWindow, AFormWrapsTheHostsWindowWithoutOwningIt) {
  HostWindow host;
  const auto window = screen->createWindow(host, outerForClient(500, 400));
  screen->setCaption(window, "Diagram");

  auto wrap = [&] {
    auto f = makeObject<HeadlessForm>("frmHost", window);
    f->setLibrary(lib);
    f->setApplication(app);
    listen(*f);
    automation::callMethod(*lib, "KaTSetup", {Variant(f), "MainView"});
    return f;
  };
  auto first = wrap();
  EXPECT_EQ(first->hWnd(), window);
  EXPECT_EQ(first->caption(), "Diagram");
  EXPECT_EQ(first->scaleWidth(), 500 * Pixel);
  EXPECT_EQ(first->bar(File)->width(), 500 * Pixel) << "setup laid the bars out on the host's client area";
  platform::WindowPixels shown;
  first->paintWindow(shown);
  EXPECT_TRUE(shown.pixels.empty()) << "the host paints its own window";

  screen->dragEdge(window, platform::wmsz::Right, {outerForClient(600, 400)});
  EXPECT_EQ(host.resized, 1);
  EXPECT_EQ(first->bar(File)->width(), 600 * Pixel);

  first->unload();
  EXPECT_TRUE(screen->isWindow(window)) << "the host's window stays the host's";
  EXPECT_EQ(unloaded, 1);
  EXPECT_EQ(barsOf(*first), 0);
  screen->dragEdge(window, platform::wmsz::Right, {outerForClient(650, 400)});
  EXPECT_EQ(first->scaleWidth(), 600 * Pixel) << "an unloaded form no longer listens";

  // The host's window goes: the form wrapping it unloads with it.
  auto second = wrap();
  EXPECT_EQ(second->scaleWidth(), 650 * Pixel);
  EXPECT_GT(barsOf(*second), 0);
  screen->destroyWindow(window);
  EXPECT_FALSE(second->loaded());
  EXPECT_EQ(second->hWnd(), 0);
  EXPECT_EQ(barsOf(*second), 0);
  EXPECT_EQ(unloaded, 2);
}

}  // namespace
}  // namespace zadeve::host
