#include <gtest/gtest.h>

#include <new>
#include <utility>

#include "support/counting_file_system.h"
#include "support/library_internals.h"
#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::makeObject;
using support::FakeForm;

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
    setup(c.lines);
    EXPECT_EQ(tags(), c.tags) << c.lines;
    EXPECT_EQ(app->messages, c.reports) << c.lines;
    EXPECT_EQ(ownMessages(), c.ownMessages) << c.lines;
    EXPECT_EQ(laidOut(), c.reports.empty() && c.ownMessages.empty()) << c.lines;
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

TEST_F(BarSetSetup, FailuresEndInTheLibrarysOwnMessageBoxes) {
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
}

// Memory running out is a failure like any other: it ends in the library's own message
// box and reaches neither the host nor the user as an exception.
TEST_F(BarSetSetup, RunningOutOfMemoryEndsInTheOwnMessageBoxesToo) {
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
  support::CountingFileSystem counting(dir.file("BARS.INI"));
  const std::string sections = toolbarSection("A", {"!GAP", "!SEPARATOR"}) + toolbarSection("B", {"!GAP"});
  setup("BarCount=3\nBar0=Name=A\nBar1=Name=B\nBar2=Name=C\n" + sections);
  EXPECT_EQ(tags(), (Lines{"Name=A", "Name=B", "Name=C"}));
  EXPECT_EQ(counting.checks, 1);

  writeIni("[Main.Toolbars]\nBarCount=3\nBar0=Name=A\nBar1=Name=D\nBar2=Name=C\n" + sections);
  form = makeObject<FakeForm>();
  Variant view("Main");
  automation::callMethod(*lib, "KaTSetup", {Variant(ObjectRef(form)), automation::byRef(view)});
  EXPECT_EQ(tags(), (Lines{"Name=A", "Name=D", "Name=C"}));
  EXPECT_EQ(counting.checks, 2);
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

}  // namespace
}  // namespace zadeve::core
