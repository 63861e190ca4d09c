#include <gtest/gtest.h>

#include <functional>

#include "automation/error.h"
#include "bars/bars_fixture.h"
#include "support/automation_assert.h"

namespace zadeve::core {
namespace {

using automation::toDouble;

// Fake bars are 330 twips deep lying and 420 standing; the form is 9000 x 6000.
struct Placed {
  double left, top, width, height;
  int16_t edges;
  bool vertical;
};

struct Edges {
  int16_t vl, vt, vr, VB;
  friend bool operator==(const Edges&, const Edges&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Edges& e) {
    return os << "{" << e.vl << ", " << e.vt << ", " << e.vr << ", " << e.VB << "}";
  }
};

struct BarSetup {
  std::string tag;
  bool visible = true;
};

// What a bar looks like after the pass.
struct Outcome {
  enum Kind { Place, Untouched, Partly } kind;
  Placed at{};
};
Outcome place(double left, double top, double width, double height, int16_t edges, bool vertical) {
  return {Outcome::Place, {left, top, width, height, edges, vertical}};
}
const Outcome untouched{Outcome::Untouched};
const Outcome partly{Outcome::Partly};  // the pass ended inside this bar

struct LayoutCase {
  const char* title;
  std::vector<BarSetup> bars;
  std::vector<Outcome> expected;
  Edges free;
  std::function<void(FakeForm&)> arrange = nullptr;
};

class DockingLayout : public BarsTest {
 protected:
  Edges layout(FakeForm& form) {
    Edges e{-1, -1, -1, -1};
    lib->KaTLayout(ObjectRef(&form), e.vl, e.vt, e.vr, e.VB);
    return e;
  }

  void check(const LayoutCase& c) {
    SCOPED_TRACE(c.title);
    std::vector<std::string> tags;
    for (const auto& b : c.bars) tags.push_back(b.tag);
    auto form = formWithBars(tags);
    for (size_t i = 0; i < c.bars.size(); ++i) form->bar(int16_t(i))->set("Visible", Variant(c.bars[i].visible));
    if (c.arrange) c.arrange(*form);

    EXPECT_EQ(layout(*form), c.free);
    for (size_t i = 0; i < c.expected.size(); ++i) {
      SCOPED_TRACE("bar " + std::to_string(i));
      auto bar = form->bar(int16_t(i));
      if (!bar || c.expected[i].kind == Outcome::Partly) continue;
      if (c.expected[i].kind == Outcome::Untouched) {
        for (const auto& call : bar->calls()) EXPECT_NE(call.kind, automation::InvokeKind::PropertyLet) << call.describe();
        EXPECT_EQ(bar->count("ZOrder"), 0);
        continue;
      }
      const Placed& p = c.expected[i].at;
      EXPECT_EQ(toDouble(bar->property("Left")), p.left);
      EXPECT_EQ(toDouble(bar->property("Top")), p.top);
      EXPECT_EQ(toDouble(bar->property("Width")), p.width);
      EXPECT_EQ(toDouble(bar->property("Height")), p.height);
      EXPECT_EQ(bar->property("EdgeFlags1"), Variant(p.edges));
      EXPECT_EQ(bar->property("Vertical"), Variant(p.vertical));
      EXPECT_EQ(bar->property("BorderFlags1"), Variant(int16_t(6)));
      EXPECT_EQ(bar->property("BorderFlags2"), Variant(int16_t(0)));
      EXPECT_EQ(bar->property("EdgeFlags2"), Variant(int16_t(0)));
    }
  }
};

TEST_F(DockingLayout, PlacesBarsAlongTheEdgesInIndexOrder) {
  const LayoutCase cases[] = {
      {"two top bars stack",
       {{"Home=TOP"}, {"Name=B;Home=Top"}},
       {place(0, 0, 9000, 330, 2, false), place(0, 330, 9000, 330, 2, false)},
       {0, 660, 9000 - PixelX, 6000}},
      {"all four edges: the left bar runs full height, later bars fit inside",
       {{"Home=LEFT"}, {"Home=TOP"}, {"Home=RIGHT"}, {"Home=RIGHT"}, {"Home=BOTTOM"}, {"Home=BOTTOM"}},
       {place(0, 0, 420, 6000, 2, true), place(420, 0, 8580, 330, 2 + 1, false),
        place(8580, 330, 420, 5670, 2, true), place(8160, 330, 420, 5670, 2 + 4, true),
        place(420, 6000 - 330 + PixelY, 7740, 330, 4 + 1, false),
        place(420, 5670 - 330 + PixelY, 7740, 330, 4 + 1 + 8, false)},
       // The upper bottom bar's top is the free bottom edge once the pixel is given back.
       {420, 330, 8160 - PixelX, 5670 - 330 + PixelY}},
      {"left bars after a bottom bar stop above it; any case of Home docks",
       {{"Home=BOTTOM"}, {"Home=Left"}, {"Home=left"}},
       {place(0, 5682, 9000, 330, 0, false), place(0, 0, 420, 5670, 2 + 8, true),
        place(420, 0, 420, 5670, 2 + 1 + 8, true)},
       {840, 0, 9000 - PixelX, 5682}},
      {"a top bar after a right bar ends at it",
       {{"Home=RIGHT"}, {"Home=TOP"}},
       {place(8580, 0, 420, 6000, 2, true), place(0, 0, 8580, 330, 2 + 4, false)},
       {0, 330, 8580 - PixelX, 6000}},
      {"the sketch bar sits on the form's edge and the next bottom bar above it",
       {{"Home=TOP"}, {"Home=BOTTOM;Name=Sketch"}, {"Home=BOTTOM;Name=Status"}},
       {place(0, 0, 9000, 330, 2, false), place(0, 6000 - 330, 9000, 330, 0, false),
        place(0, 5670 - PixelY - 330 + PixelY, 9000, 330, 8, false)},
       {0, 330, 9000 - PixelX, 5340}},
      {"a sketch bar after a bottom bar still takes the form's edge",
       {{"Home=BOTTOM"}, {"Name=SKETCH;Home=bottom"}},
       {place(0, 5682, 9000, 330, 0, false), place(0, 5670, 9000, 330, 8, false)},
       {0, 0, 9000 - PixelX, 5670 - PixelY + PixelY}},
      {"hidden bars and unknown edges are left where they are; no Home means top",
       {{"Home=TOP", false}, {"Home=Middle"}, {"Name=NoHome"}, {"Home=BOTTOM", false}},
       {untouched, untouched, place(0, 0, 9000, 330, 2, false), untouched},
       {0, 330, 9000 - PixelX, 6000}},
      {"a form whose only bar is hidden keeps its whole client area",
       {{"Home=TOP", false}},
       {untouched},
       {0, 0, 9000 - PixelX, 6000}},
  };
  for (const auto& c : cases) check(c);
}

TEST_F(DockingLayout, TheFirstFailureEndsThePassAndThePixelAdjustmentsStillApply) {
  const LayoutCase cases[] = {
      {"a gap in the bar array ends the pass",
       {{"Home=TOP"}, {"Home=TOP"}, {"Home=TOP"}},
       {place(0, 0, 9000, 330, 2, false), untouched, untouched},
       {0, 330, 9000 - PixelX, 6000},
       [](FakeForm& f) { f.bars().drop(1); }},
      {"an edge leaving the 16-bit range ends the pass",
       {{"Home=BOTTOM"}, {"Home=TOP"}, {"Home=TOP"}, {"Home=LEFT"}},
       {place(0, 5682, 9000, 330, 0, false), place(0, 0, 9000, 20000, 2, false), partly, untouched},
       {0, 20000, 9000 - PixelX, 5682},
       [](FakeForm& f) { f.bar(1)->horizontalDepth = f.bar(2)->horizontalDepth = 20000; }},
  };
  for (const auto& c : cases) check(c);
}

// The bottom bar was counted before it failed, so the pixel is given back anyway.
TEST_F(DockingLayout, ABarWhoseDepthFailsKeepsWhatWasSetBeforeIt) {
  auto form = formWithBars({"Home=BOTTOM", "Home=TOP"});
  form->bar(0)->on("IdealDepth", [](support::FakeObject&, std::span<automation::Arg>) -> Variant {
    automation::raise(automation::err::MemberMissing);
  });
  EXPECT_EQ(layout(*form), (Edges{0, 0, 9000 - PixelX, 6000 + PixelY}));
  EXPECT_EQ(form->bar(0)->log(),
            (std::vector<std::string>{"Tag()", "Visible()", "Vertical =(False:Boolean)", "BorderFlags1 =(6:Integer)",
                                      "EdgeFlags1 =(0:Integer)", "BorderFlags2 =(0:Integer)",
                                      "EdgeFlags2 =(0:Integer)", "Width =(9000:Integer)", "IdealDepth()"}));
  EXPECT_TRUE(form->bar(1)->calls().empty());
}

TEST_F(DockingLayout, EachEdgeSetsItsMembersInItsOwnOrder) {
  auto form = formWithBars({"Home=TOP", "Home=BOTTOM;Name=Status", "Home=LEFT", "Home=RIGHT"});
  layout(*form);
  // Orientation is always set before the depth is read; only top bars come to the front.
  EXPECT_EQ(form->bar(0)->log(),
            (std::vector<std::string>{"Tag()", "Visible()", "Vertical =(False:Boolean)", "BorderFlags1 =(6:Integer)",
                                      "EdgeFlags1 =(2:Integer)", "BorderFlags2 =(0:Integer)",
                                      "EdgeFlags2 =(0:Integer)", "Width =(9000:Integer)", "IdealDepth()",
                                      "Height =(330:Integer)", "Top =(0:Integer)", "Left =(0:Integer)", "ZOrder()",
                                      "Height()"}));
  EXPECT_EQ(form->bar(1)->log(),
            (std::vector<std::string>{"Tag()", "Visible()", "Vertical =(False:Boolean)", "BorderFlags1 =(6:Integer)",
                                      "EdgeFlags1 =(0:Integer)", "BorderFlags2 =(0:Integer)",
                                      "EdgeFlags2 =(0:Integer)", "Width =(9000:Integer)", "IdealDepth()",
                                      "Height =(330:Integer)", "Tag()", "Height()", "Top =(5682:Double)",
                                      "Left =(0:Integer)", "Top()"}));
  EXPECT_EQ(form->bar(2)->log(),
            (std::vector<std::string>{"Tag()", "Visible()", "BorderFlags1 =(6:Integer)", "EdgeFlags1 =(10:Integer)",
                                      "BorderFlags2 =(0:Integer)", "EdgeFlags2 =(0:Integer)",
                                      "Vertical =(True:Boolean)", "Height =(5340:Integer)", "IdealDepth()",
                                      "Width =(420:Integer)", "Top =(330:Integer)", "Left =(0:Integer)", "Width()"}));
  EXPECT_EQ(form->bar(3)->log(),
            (std::vector<std::string>{"Tag()", "Visible()", "BorderFlags1 =(6:Integer)", "EdgeFlags1 =(10:Integer)",
                                      "BorderFlags2 =(0:Integer)", "EdgeFlags2 =(0:Integer)",
                                      "Vertical =(True:Boolean)", "Height =(5340:Integer)", "IdealDepth()",
                                      "Width =(420:Integer)", "Top =(330:Integer)", "Width()",
                                      "Left =(8580:Double)", "Width()"}));
}

TEST_F(DockingLayout, TheClientAreaMustBeReadable) {
  auto tooWide = formWithBars({"Home=TOP"}, 40000);
  Edges e{};
  EXPECT_AUTOMATION_ERROR(lib->KaTLayout(ObjectRef(tooWide), e.vl, e.vt, e.vr, e.VB), 6, "Overflow");
  EXPECT_TRUE(tooWide->bar(0)->calls().empty());

  auto noHeight = makeObject<support::FakeObject>("Form");
  noHeight->set("ScaleWidth", Variant(100));
  EXPECT_AUTOMATION_ERROR(lib->KaTLayout(ObjectRef(noHeight), e.vl, e.vt, e.vr, e.VB), 438, "support");
}

TEST_F(DockingLayout, TheAutomationFaceWritesTheFourEdgesBack) {
  auto form = formWithBars({"Home=TOP", "Home=LEFT"});
  Variant vl(int16_t(99)), vt(int16_t(99)), vr(int16_t(99)), vb(int16_t(99));
  automation::callMethod(*lib, "KaTLayout",
                         {Variant(ObjectRef(form)), byRef(vl), byRef(vt), byRef(vr), byRef(vb)});
  EXPECT_EQ(vl, Variant(int16_t(420)));
  EXPECT_EQ(vt, Variant(int16_t(330)));
  EXPECT_EQ(vr, Variant(int16_t(9000 - PixelX)));
  EXPECT_EQ(vb, Variant(int16_t(6000)));
}

}  // namespace
}  // namespace zadeve::core
