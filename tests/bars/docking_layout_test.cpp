#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

struct LayoutCase {
  const char* title;
  std::vector<std::string> tags;    // "-" before a tag hides the bar
  std::vector<std::string> placed;  // see placement(); "gap" for a missing element
  std::array<int16_t, 4> free;      // vl, vt, vr, VB
  std::function<void(support::FakeForm&)> arrange = nullptr;
};

// Fake bars are 330 twips deep lying and 420 standing; the form is 9000 x 6000, its
// pixels 15 x 12 twips.
class DockingLayout : public support::ToolbarTest {
 protected:
  void check(const LayoutCase& c) {
    SCOPED_TRACE(c.title);
    Lines tags;
    for (const auto& t : c.tags) tags.push_back(t.substr(t.starts_with("-")));
    auto form = formWithBars(tags);
    for (int16_t i = 0; i < int16_t(tags.size()); ++i)
      form->bar(i)->set("Visible", Variant(!c.tags[size_t(i)].starts_with("-")));
    if (c.arrange) c.arrange(*form);

    std::array<int16_t, 4> free{-1, -1, -1, -1};
    lib->KaTLayout(ObjectRef(form), free[0], free[1], free[2], free[3]);
    EXPECT_EQ(free, c.free);
    Lines placed;
    for (int16_t i = 0; i < int16_t(tags.size()); ++i)
      placed.push_back(form->bar(i) ? placement(*form->bar(i)) : "gap");
    EXPECT_EQ(placed, c.placed);
  }
};

TEST_F(DockingLayout, PlacesBarsAlongTheEdgesInIndexOrder) {
  const LayoutCase cases[] = {
      // The last bottom bar gives back its pixel (5340 + 12); the right edge stops a pixel short.
      {"all four edges: each bar fits inside those before it and flags the edges it meets",
       {"Home=LEFT", "Home=RIGHT", "Home=TOP", "Home=RIGHT", "Home=BOTTOM", "Home=BOTTOM"},
       {"0,0 420x6000 e2 V", "8580,0 420x6000 e2 V", "420,0 8160x330 e7 H z", "8160,330 420x5670 e6 V",
        "420,5682 7740x330 e5 H", "420,5352 7740x330 e13 H"},
       {420, 330, 8160 - PixelX, 5352}},
      {"left bars after a bottom bar stop above it; any case of Home docks",
       {"Home=BOTTOM", "Home=Left", "Home=left"},
       {"0,5682 9000x330 e0 H", "0,0 420x5670 e10 V", "420,0 420x5670 e11 V"},
       {840, 0, 9000 - PixelX, 5682}},
      {"a sketch bar, in any case, takes the form's bottom edge whatever lies there",
       {"Home=BOTTOM", "Name=sketch;Home=bottom"},
       {"0,5682 9000x330 e0 H", "0,5670 9000x330 e8 H"},
       {0, 0, 9000 - PixelX, 5670}},
      {"hidden bars and unknown edges are left where they are; no Home means top",
       {"-Home=TOP", "Home=Middle", "Name=NoHome", "-Home=BOTTOM"},
       {"-", "-", "0,0 9000x330 e2 H z", "-"},
       {0, 330, 9000 - PixelX, 6000}},
  };
  for (const auto& c : cases) check(c);
}

// The first failure ends the pass silently; the pixel adjustments still apply.
TEST_F(DockingLayout, TheEndOfTheBarArrayOrAnEdgeOutOf16BitsEndsThePass) {
  const LayoutCase cases[] = {
      {"a gap in the bar array",
       {"Home=TOP", "Home=TOP", "Home=TOP"},
       {"0,0 9000x330 e2 H z", "gap", "-"},
       {0, 330, 9000 - PixelX, 6000},
       [](support::FakeForm& f) { f.bars().drop(1); }},
      {"an edge leaving the 16-bit range",
       {"Home=BOTTOM", "Home=TOP", "Home=TOP", "Home=LEFT"},
       {"0,5682 9000x330 e0 H", "0,0 9000x20000 e2 H z", "0,20000 9000x20000 e2 H z", "-"},
       {0, 20000, 9000 - PixelX, 5682},
       [](support::FakeForm& f) { f.bar(1)->horizontalDepth = f.bar(2)->horizontalDepth = 20000; }},
  };
  for (const auto& c : cases) check(c);
}

}  // namespace
}  // namespace zadeve::core
