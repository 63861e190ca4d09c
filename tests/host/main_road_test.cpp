// The library's main road with the real toolbar control on a headless host whose objects
// come from the public headers (include/zadeve/): setup of the shipped example view, its
// reports, the bars' places along the edges, a resize, the picture of the form, a user's
// click and the form's unload. The installed package is built and run by ./run test.

#include <gtest/gtest.h>

#include <array>

#include "core/host_contracts.h"
#include "host/example_view.h"
#include "host/form_picture.h"
#include "support/automation_assert.h"

namespace zadeve::host {
namespace {

class MainRoad : public ExampleView {
 protected:
  int depth(Bar b) const { return bar(b)->idealDepth(); }
  using Place = std::array<int, 4>;  // left, top, width, height
  Place place(Bar b) const { return {bar(b)->left(), bar(b)->top(), bar(b)->width(), bar(b)->height()}; }

  // Where every docked bar must be on a client area of w x h twips, from the bars' own
  // depths: two top bars, a left and a right bar below them, then at the bottom the
  // sketch bar on the form's edge with the status bar on top of it, both between the
  // side bars.
  void expectLayout(int w, int h) {
    const int top = depth(File) + depth(Format);
    const int left = depth(Draw), right = depth(View);
    EXPECT_EQ(place(File), (Place{0, 0, w, depth(File)}));
    EXPECT_EQ(place(Format), (Place{0, depth(File), w, depth(Format)}));
    EXPECT_EQ(place(Draw), (Place{0, top, left, h - top}));
    EXPECT_EQ(place(View), (Place{w - right, top, right, h - top}));
    EXPECT_EQ(place(Sketch), (Place{left, h - depth(Sketch), w - left - right, depth(Sketch)}));
    EXPECT_EQ(place(Status), (Place{left, h - depth(Sketch) - depth(Status), w - left - right, depth(Status)}));
    EXPECT_EQ(form->freeRectangle(),
              (FreeRectangle{int16_t(left), int16_t(top), int16_t(w - right - Pixel),
                             int16_t(h - depth(Sketch) - depth(Status))}));
  }
};

TEST_F(MainRoad, SetupReportsTheDeliberateProblemsAndRegistersEveryBar) {
  ASSERT_EQ(reference::reportCount(app), 2);
  EXPECT_EQ(app->reports()[0].text + "|" + app->reports()[1].text,
            "Toolbar setup error - missing\r\nfunction: Export.|Toolbar setup error - unknown\r\nfunction: !WRAP.");
  EXPECT_EQ(echoed.str(), "Toolbar setup error - missing\nfunction: Export.\nToolbar setup error - unknown\n"
                          "function: !WRAP.\n") << "one line break each";
  EXPECT_TRUE(screen->messages().empty());

  ASSERT_EQ(form->bars().count(), 7);
  std::vector<ObjectRef> elements;
  for (int i = File; i <= Tools; ++i) elements.push_back(ObjectRef(form->bar(i)));
  EXPECT_EQ(tbm->bars(), elements);
  EXPECT_EQ(lib->KaTBarName(elements[Draw]), "Draw");
  EXPECT_FALSE(bar(Tools)->visible()) << "a floating bar stays hidden on its form";
  EXPECT_EQ(bar(Tools)->width(), 0);

  // The Draw bar's shapes came from the application's symbol palette.
  int symbols = 0;
  for (const auto& set : bar(Draw)->imageSets()) symbols += set.name == "Symbols" ? 1 : 0;
  EXPECT_EQ(symbols, 4);
  EXPECT_EQ(app->lastSymbol(), "Diamond");
}

TEST_F(MainRoad, BarsDockAlongTheEdgesAndFollowAResize) {
  // One row of 22-pixel buttons: 3 pixels around each image and the 2-pixel top edge.
  EXPECT_EQ(depth(File), (22 + 2 * 3 + 2) * Pixel);
  EXPECT_FALSE(form->freeRectangle()) << "setup discards the free rectangle";
  form->layout();
  expectLayout(800 * Pixel, 600 * Pixel);
  EXPECT_EQ(bar(File)->edgeFlags1(), 2);
  EXPECT_EQ(bar(Sketch)->edgeFlags1(), 1 + 4);
  EXPECT_EQ(bar(Status)->edgeFlags1(), 1 + 4 + 8);

  // Both words the library sends for a new layout make the host lay its bars out again.
  struct Step {
    std::string_view word;
    int w, h;
  };
  for (Step s : {Step{host_contract::signal::Reformat, 640, 420}, Step{host_contract::signal::RebuiltBar, 720, 480}}) {
    SCOPED_TRACE(s.word);
    form->resize(s.w, s.h);
    automation::letProperty(*form, "Signal", Variant(std::string(s.word)));
    expectLayout(s.w * Pixel, s.h * Pixel);
  }
}

TEST_F(MainRoad, ThePictureShowsTheBarsAroundTheDocument) {
  form->layout();
  auto canvas = renderForm(*form);
  ASSERT_EQ(canvas.width(), 800);
  ASSERT_EQ(canvas.height(), 600);

  // Every docked bar draws something besides its face; the document is white.
  for (Bar b : {File, Format, Draw, View, Sketch, Status}) {
    SCOPED_TRACE(b);
    const auto& r = *bar(b);
    int drawn = 0;
    for (int y = r.top() / Pixel; y < (r.top() + r.height()) / Pixel; ++y)
      for (int x = r.left() / Pixel; x < (r.left() + r.width()) / Pixel; ++x)
        drawn += canvas.pixel(x, y) == vizevore::colors::Face ? 0 : 1;
    EXPECT_GT(drawn, 20);
  }
  const auto free = freeBox(*form, *form->freeRectangle());
  EXPECT_EQ(canvas.pixel(free.x + 10, free.y + 10), vizevore::colors::Window);

  // Hiding a bar and laying out again gives its room to the document.
  bar(Draw)->setVisible(false);
  form->signal("REFORMAT");
  EXPECT_EQ(renderForm(*form).pixel(10, free.y + 10), vizevore::colors::Window);
}

TEST_F(MainRoad, AUsersClickReachesTheFormAndUnloadLetsTheBarsGo) {
  const int bold = bar(Format)->find("Bold");
  ASSERT_GE(bold, 0);
  EXPECT_TRUE(bar(Format)->click(bold));
  ASSERT_EQ(form->events().size(), 1u);
  EXPECT_EQ(describe(form->events()[0]), "bar(1) ButtonClick Bold");

  Ref<ReVivezav> file = bar(File);
  automation::callMethod(*form, "Unload");
  EXPECT_EQ(tbm->count(), 0) << "the form's bars left the toolbar manager";
  EXPECT_EQ(file->parentForm(), nullptr);
  EXPECT_EQ(file->refCount(), 1u);
}

// A host form is an Object of the host's own; the reference form needs the reference
// application object to run commands through.
TEST(PublicHost, ReferenceFormRefusesAForeignApplicationObject) {
  ObjectRef lib = createLibrary();
  EXPECT_AUTOMATION_ERROR(reference::newForm("frmMain", 100, 100, lib, reference::newToolbarManager()), 13,
                          "ToolbarManager");
  EXPECT_AUTOMATION_ERROR(reference::reportCount(lib), 13, "reference application");
  EXPECT_EQ(createWorkspaceCreation()->typeName(), "WorkspaceCreation");
  // The words a host answers are the ones the library and its toolbars use.
  namespace ours = core::toolbar_events;
  namespace theirs = host_contract::events;
  for (auto [a, b] : {std::pair{theirs::ButtonClick, ours::ButtonClick}, {theirs::ButtonChange, ours::ButtonChange},
                      {theirs::ButtonSpinUp, ours::ButtonSpinUp}, {theirs::ButtonSpinDown, ours::ButtonSpinDown},
                      {theirs::BarContextMenu, ours::BarContextMenu}})
    EXPECT_EQ(std::string_view(a), std::string_view(b));
}

}  // namespace
}  // namespace zadeve::host
