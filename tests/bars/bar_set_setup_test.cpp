#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <utility>

#include "support/profile_seam.h"
#include "support/library_internals.h"
#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::makeObject;
using support::FakeForm;
using automation::byRef;
using SetupEndToEnd = support::ToolbarTest;

// Bars of the tests' views name sections that do not exist: each is filled empty.
class BarSetSetup : public support::ToolbarTest {
 protected:
  // Sets up a fresh form from the view "Main" with the given lines after its header.
  void setup(const std::string& lines, const std::string& exclude = "") {
    writeIni("[Main.Toolbars]\n" + lines);
    form = makeObject<FakeForm>();
    app->messages.clear();
    screen->clearMessages();
    tbm->items.clear();
    lib->KaTSetup(form, "Main", exclude);
  }

  Lines tags() const {
    Lines out;
    for (int16_t i = 0; i < form->bars().size(); ++i)
      out.push_back(form->bar(i) ? automation::toString(form->bar(i)->property("Tag")) : "<gap>");
    return out;
  }
  Lines ownMessages() const {
    Lines out;
    for (const auto& m : screen->messages()) out.push_back(m.text);
    return out;
  }
  bool laidOut() const { return form->count("ScaleWidth") > 0; }

  Ref<FakeForm> form;
};

TEST_F(BarSetSetup, TheBarCountDecidesWhatIsBuilt) {
  struct Case {
    std::string lines;
    Lines tags;  // of the bar array's elements afterwards
    Lines reports, ownMessages;
  } cases[] = {
      {"Bar0=Name=A\n", {""}, {}, {}},  // no count: none
      {"BarCount=20\nBar0=Name=A\nBar19=Name=C\nBar20=Name=D\n", {"Name=A", "Name=C"}, {}, {}},
      {"BarCount=21\nBar0=Name=A\n", {""}, {"Toolbar configuration error. BarCount=21"}, {}},
      {"BarCount=-1\nBar0=Name=A\n", {""}, {"Toolbar configuration error. BarCount=-1"}, {}},
      {"BarCount=x\nBar0=Name=A\n", {""}, {}, {"Error In KatSetup Line= Type mismatch"}},
      {"BarCount=70000\n", {""}, {}, {"Error In KatSetup Line= Overflow"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    setup(c.lines);
    EXPECT_EQ(tags(), c.tags);
    EXPECT_EQ(app->messages, c.reports);
    EXPECT_EQ(ownMessages(), c.ownMessages);
    EXPECT_EQ(laidOut(), c.reports.empty() && c.ownMessages.empty());
    EXPECT_EQ(tbm->items.size(), c.tags[0].empty() ? 0u : c.tags.size());
    // Element 0 is hidden first of all, whatever follows.
    EXPECT_EQ(form->bar(0)->log().at(0), "Visible =(False:Boolean)");
  }
}

TEST_F(BarSetSetup, ExclusionMatchesBracketedNamesWithCase) {
  const std::pair<const char*, Lines> cases[] = {
      {"[Bb]", {"Name=A", "Home=TOP", "Home=LEFT;Name=Draw"}},
      {"[bb][A]", {"Home=TOP", "Name=Bb;Home=TOP", "Home=LEFT;Name=Draw"}},
      {"[Draw][]", {"Name=A", "Home=TOP", "Name=Bb;Home=TOP"}},  // no Name=: never excluded
      {"Bb Draw", {"Name=A", "Home=TOP", "Name=Bb;Home=TOP", "Home=LEFT;Name=Draw"}},
  };
  for (const auto& [exclude, built] : cases) {
    setup("BarCount=4\nBar0=Name=A\nBar1=Home=TOP\nBar2=Name=Bb;Home=TOP\nBar3=Home=LEFT;Name=Draw\n", exclude);
    EXPECT_EQ(tags(), built) << exclude;
  }
}

TEST_F(BarSetSetup, FailuresAndRunningOutOfMemoryEndInTheLibrarysOwnMessageBoxes) {
  // A bar whose section cannot be read ends setup after it was registered and tagged.
  setup("BarCount=2\nBar0=Name=A\nBar1=Name=B\n[Toolbar.A]\nButtonSize=big\n");
  EXPECT_EQ(ownMessages(), Lines{"Error In KatSetup Line= Type mismatch"});
  EXPECT_EQ(tags(), Lines{"Name=A"});
  EXPECT_EQ(tbm->items.size(), 1u);
  EXPECT_FALSE(laidOut());

  // A refused registration is shown by step, and setup goes on.
  int adds = 0;
  tbm->on("Add", [&](support::FakeObject&, std::span<automation::Arg> args) -> Variant {
    if (++adds == 2) automation::raise(automation::err::DuplicateKey);
    tbm->items.push_back(automation::toObject(args[0].value()));
    return Variant();
  });
  setup("BarCount=3\nBar0=Name=A\nBar1=Name=B\nBar2=Name=C\n");
  LibraryInternals::RegisterBar(*lib, nullptr);
  EXPECT_EQ(ownMessages(), (Lines{"ZADEVE: Error in AddBar line 2 This key is already associated with an element "
                                  "of this collection",
                                  "ZADEVE: Error in AddBar line 1 Object variable or With block variable not set"}));
  EXPECT_EQ(tags(), (Lines{"Name=A", "Name=B", "Name=C"}));
  EXPECT_EQ(tbm->items, (std::vector<ObjectRef>{form->bar(0), form->bar(2)}));
  EXPECT_TRUE(laidOut());

  // Memory running out is a failure like any other, reaching neither host nor user as an exception.
  screen->clearMessages();
  auto outOfMemory = [](support::FakeObject&, std::span<automation::Arg>) -> Variant { throw std::bad_alloc(); };
  tbm->on("Add", outOfMemory);
  writeIni("[Main.Toolbars]\nBarCount=1\nBar0=Name=A\n");
  form = makeObject<FakeForm>();
  form->on("ScaleWidth", outOfMemory);
  EXPECT_NO_THROW(lib->KaTSetup(form, "Main", ""));
  EXPECT_EQ(ownMessages(), (Lines{"ZADEVE: Error in AddBar line 2 Out of memory",
                                  "Error In KatSetup Line= Out of memory"}));
}

// One check of BARS.INI per call, through either face; an edit made between two calls
// (here of the same size, within the same tick of the file's clock) is seen by the second.
TEST_F(BarSetSetup, EachCallChecksTheFileOnceAndSeesEditsMadeBeforeIt) {
  platform::SeamFileSystem counting;
  counting.statPath = dir.file("BARS.INI");
  const std::string sections = toolbarSection("A", {"!GAP", "!SEPARATOR"}) + toolbarSection("B", {"!GAP"});
  setup("BarCount=3\nBar0=Name=A\nBar1=Name=B\nBar2=Name=C\n" + sections);
  EXPECT_EQ(tags(), (Lines{"Name=A", "Name=B", "Name=C"}));
  EXPECT_EQ(counting.stats, 1);

  writeIni("[Main.Toolbars]\nBarCount=3\nBar0=Name=A\nBar1=Name=D\nBar2=Name=C\n" + sections);
  form = makeObject<FakeForm>();
  Variant view("Main");
  automation::callMethod(*lib, "KaTSetup", {Variant(ObjectRef(form)), byRef(view)});
  EXPECT_EQ(tags(), (Lines{"Name=A", "Name=D", "Name=C"}));
  EXPECT_EQ(counting.stats, 2);
}

// A host handler running inside KaTSetup (here the toolbar manager's Add) writes through
// the library: the rest of the call reads what it wrote. An edit it makes to the file
// directly waits for the next call.
TEST_F(BarSetSetup, AHostsWriteThroughTheLibraryIsSeenLaterInTheSameCall) {
  bool first = true;
  tbm->on("Add", [&](support::FakeObject&, std::span<automation::Arg> args) -> Variant {
    tbm->items.push_back(automation::toObject(args[0].value()));
    if (std::exchange(first, false)) {
      EXPECT_EQ(lib->SetConfigValue("Main.Toolbars", "Bar1", "Name=Late"), Variant(int16_t(1)));
      std::string text = support::TempDir::read(dir.file("BARS.INI"));
      writeIni(text.replace(text.find("Name=C"), 6, "Name=E"));
    }
    return Variant();
  });
  setup("BarCount=3\nBar0=Name=A\nBar1=Name=B\nBar2=Name=C\n");
  EXPECT_EQ(tags(), (Lines{"Name=A", "Name=Late", "Name=C"}));
  form = makeObject<FakeForm>();
  lib->KaTSetup(form, "Main");
  EXPECT_EQ(tags(), (Lines{"Name=A", "Name=Late", "Name=E"}));
}

const char* const ViewAndFunctions = R"([Drawing.Toolbars]
BarCount=7
Bar0=Name=File;Home=TOP;Visible=Yes;State=Docked;IconSets=0
Bar1=Name=Format;Home=TOP;Visible=Yes;State=Docked
Bar2=Name=Draw;Home=LEFT;Visible=Yes;State=Docked;IconSets=1
Bar3=
Bar4=Name=View;Home=RIGHT;Visible=Yes;State=Docked
Bar5=Name=Sketch;Home=BOTTOM;Visible=Yes;State=Docked
Bar6=Name=Status;Home=BOTTOM;Visible=Yes;State=Docked

[Functions]
IconSet0=std16.bmp,16,15
IconSet1=big24.bmp,24,24
New=PUSH,0/0,New drawing|~0~0
Open=PUSH,0/1,Open drawing|
Bold=TOGGLE,0/4,Bold|
FontName=COMBO,1400,Font name, size|
FontSize=SPIN,8/6/72/1/0,Font size|
Line=PUSH,1/0,Line|~0~0
Zoom=PUSH,0/6,Zoom in|
Layers=MENU,Layers
StatusText=DIP,/!3000,Ready|
Progress=BUMP,/1500,Progress|
SketchPad=PUSH,,Sketch pad|
)";

// One realistic view from a BARS.INI with the real icon strips: every kind of item, the
// reports a user would see, and the free rectangle left for the document.
TEST_F(SetupEndToEnd, BuildsTheViewReportsItsFlawsAndLeavesTheFreeRectangle) {
  writeIni(std::string(ViewAndFunctions) +
           toolbarSection("File", {"New", "!SEPARATOR", "Open", "Export"}, "ButtonSize=22\n") +
           toolbarSection("Format", {"FontName", "FontSize", "!GAP", "Bold", "!WRAP"}, "ButtonSize=22\n") +
           toolbarSection("Draw", {"Line"}, "ButtonSize=28\nBitmapWidth=24\nBitmapHeight=24\n") +
           toolbarSection("View", {"Zoom", "!SEPARATOR", "Layers"}) + toolbarSection("Sketch", {"SketchPad"}) +
           toolbarSection("Status", {"StatusText", "!BREAK", "Progress"}));
  dir.write("de.po", "msgid \"Bold\"\nmsgstr \"Fett\"\n");
  lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), dir.path().string() + "/", dir.file("de.po"));
  auto form = makeObject<FakeForm>("frmDrawing", 12000, 8000);
  Variant view("Drawing");
  automation::callMethod(*lib, "KaTSetup", {Variant(ObjectRef(form)), byRef(view)});

  // Bar3 is empty: six bars in six consecutive elements, all registered in order.
  ASSERT_EQ(form->bars().size(), 6);
  EXPECT_EQ(tbm->items, (std::vector<ObjectRef>{form->bar(0), form->bar(1), form->bar(2), form->bar(3), form->bar(4),
                                                form->bar(5)}));
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.path()));  // the bitmap folder
  EXPECT_TRUE(screen->messages().empty());
  EXPECT_EQ(app->messages, (Lines{"Toolbar setup error - missing\r\nfunction: Export.",
                                  "Toolbar setup error - unknown\r\nfunction: !WRAP."}));

  // Texts pass through the workspace's language file.
  EXPECT_EQ(form->bar(1)->log("AddToggleButton"),
            Lines{"AddToggleButton(&\"Bold\", \"0.4\", &\"\", &\"Fett\", &22:Integer, &22:Integer)"});

  // By hand (pixels 15 x 12 twips): File and Format take the top 660, Draw and View the
  // sides below them; Sketch sits on the bottom edge (7670), Status above it sharing a pixel
  // (7340); the free bottom gives that pixel back, the free right stops one pixel short.
  Variant vl, vt, vr, vb;
  automation::callMethod(*lib, "KaTLayout", {Variant(ObjectRef(form)), byRef(vl), byRef(vt), byRef(vr), byRef(vb)});
  EXPECT_EQ((std::vector{vl, vt, vr, vb}), (std::vector{Variant(int16_t(420)), Variant(int16_t(660)),
                                                        Variant(int16_t(11565)), Variant(int16_t(7340))}));

  const std::pair<Lines, const char*> expected[] = {
      {{"AddImageSet", "AddPushButton", "AddSeparator", "AddPushButton"}, "0,0 12000x330 e2 H z"},
      {{"AddCombo", "AddSpin", "AddGap", "AddImageSet", "AddToggleButton"}, "0,330 12000x330 e2 H z"},
      {{"AddImageSet", "AddPushButton"}, "0,660 420x7340 e2 V"},
      {{"AddImageSet", "AddPushButton", "AddSeparator", "AddMenu"}, "11580,660 420x7340 e2 V"},
      {{"AddPushButton"}, "420,7670 11160x330 e5 H"},
      {{"AddPanel", "AddGap", "AddPanel"}, "420,7340 11160x330 e13 H"},
  };
  for (int16_t i = 0; i < 6; ++i) {
    const auto& [items, placed] = expected[i];
    Lines names;
    for (const auto& c : form->bar(i)->calls())
      if (c.name.starts_with("Add")) names.push_back(c.name);
    EXPECT_EQ(names, items) << "bar " << i;
    EXPECT_EQ(placement(*form->bar(i)), placed) << "bar " << i;
    // Setup had already laid them out the same way: each bar was placed twice.
    EXPECT_EQ(form->bar(i)->count("EdgeFlags1"), 2) << "bar " << i;
  }
}

}  // namespace
}  // namespace zadeve::core
