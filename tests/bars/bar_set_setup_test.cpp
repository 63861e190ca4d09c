#include <gtest/gtest.h>

#include <filesystem>

#include "automation/error.h"
#include "bars/bars_fixture.h"
#include "support/automation_assert.h"
#include "support/library_internals.h"
#include "support/temp_dir.h"

namespace zadeve::core {
namespace {

using automation::Arg;
using support::FakeObject;

// Bars of the tests' views name sections that do not exist: each is filled empty.
class BarSetSetup : public BarsTest {
 protected:
  BarSetSetup() { lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), dir.path().string() + "/"); }

  // Writes the view "Main" with the given lines after its header.
  void view(const std::string& lines) { dir.write("BARS.INI", "[Main.Toolbars]\n" + lines); }

  void setup(const std::string& exclude = "") { lib->KaTSetup(form, "Main", exclude); }

  std::vector<std::string> tags() const {
    std::vector<std::string> out;
    for (int16_t i = 0; i < form->bars().size(); ++i)
      out.push_back(form->bar(i) ? automation::toString(form->bar(i)->property("Tag")) : "<gap>");
    return out;
  }
  std::vector<std::string> ownMessages() const {
    std::vector<std::string> out;
    for (const auto& m : screen->messages()) out.push_back(m.text);
    return out;
  }
  bool laidOut() const { return form->count("ScaleWidth") > 0; }

  CurrentDirectoryGuard cwd;
  support::TempDir dir;
  Ref<FakeForm> form = makeObject<FakeForm>();
};

TEST_F(BarSetSetup, TheBarCountDecidesWhatIsBuilt) {
  struct Case {
    const char* title;
    std::string lines;
    std::vector<std::string> tags;  // of the bar array's elements afterwards
    std::vector<std::string> reports;
    std::vector<std::string> ownMessages;
    bool laidOut;
  } cases[] = {
      {"no count", "Bar0=Name=A\n", {""}, {}, {}, true},
      {"count 0", "BarCount=0\nBar0=Name=A\n", {""}, {}, {}, true},
      {"count 20, entries at and beyond it unread",
       "BarCount=20\nBar0=Name=A\nBar7=Name=B\nBar19=Name=C\nBar20=Name=D\n", {"Name=A", "Name=B", "Name=C"}, {}, {},
       true},
      {"count 21", "BarCount=21\nBar0=Name=A\n", {""}, {"Toolbar configuration error. BarCount=21"}, {}, false},
      {"count -1", "BarCount=-1\nBar0=Name=A\n", {""}, {"Toolbar configuration error. BarCount=-1"}, {}, false},
      {"count not a number", "BarCount=x\nBar0=Name=A\n", {""}, {}, {"Error In KatSetup Line= Type mismatch"}, false},
      {"count empty", "BarCount=\nBar0=Name=A\n", {""}, {}, {"Error In KatSetup Line= Type mismatch"}, false},
      {"count out of 16 bits", "BarCount=70000\n", {""}, {}, {"Error In KatSetup Line= Overflow"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    form = makeObject<FakeForm>();
    app->messages.clear();
    screen->clearMessages();
    tbm->items.clear();
    view(c.lines);
    setup();
    EXPECT_EQ(tags(), c.tags);
    EXPECT_EQ(app->messages, c.reports);
    EXPECT_EQ(ownMessages(), c.ownMessages);
    EXPECT_EQ(laidOut(), c.laidOut);
    EXPECT_EQ(tbm->items.size(), c.tags[0].empty() ? 0u : c.tags.size());
    // Element 0 is hidden first of all, whatever follows.
    ASSERT_FALSE(form->bar(0)->log().empty());
    EXPECT_EQ(form->bar(0)->log()[0], "Visible =(False:Boolean)");
  }
}

TEST_F(BarSetSetup, BarsTakeConsecutiveElementsRegisteredTaggedAndFilled) {
  view("BarCount=5\nBar0=Name=A;Home=TOP;Visible=Yes\nBar1=\nBar3=Name=B;Home=LEFT;Visible=Yes\n"
       "Bar4=Name=C;Visible=No\n");
  setup();
  ASSERT_EQ(tags(), (std::vector<std::string>{"Name=A;Home=TOP;Visible=Yes", "Name=B;Home=LEFT;Visible=Yes",
                                              "Name=C;Visible=No"}));
  EXPECT_EQ(form->bars().log("Load"), (std::vector<std::string>{"Load(1:Integer)", "Load(2:Integer)"}));
  EXPECT_EQ(tbm->log("Add"), (std::vector<std::string>{"Add(&<ReVivezav>)", "Add(&<ReVivezav>)", "Add(&<ReVivezav>)"}));
  EXPECT_EQ(tbm->items, (std::vector<ObjectRef>{form->bar(0), form->bar(1), form->bar(2)}));

  // Registered before its Tag is set, then filled as a bar on a host form.
  auto log = form->bar(1)->log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0], "Tag =(\"Name=B;Home=LEFT;Visible=Yes\")");
  EXPECT_EQ(log[1], "Reset()");
  EXPECT_EQ(form->bar(1)->property("Visible"), Variant(true));
  EXPECT_EQ(form->bar(2)->property("Visible"), Variant(false));

  // The layout ran last: the left bar stands below the top bar.
  EXPECT_EQ(automation::toDouble(form->bar(1)->property("Top")), 330);
  EXPECT_TRUE(screen->messages().empty());
  EXPECT_TRUE(app->messages.empty());
}

TEST_F(BarSetSetup, ExclusionMatchesBracketedNamesWithCase) {
  struct Case {
    const char* exclude;
    std::vector<std::string> built;
  } cases[] = {
      {"", {"Name=A", "Home=TOP", "Name=Bb;Home=TOP", "Home=LEFT;Name=Draw"}},
      {"[Bb]", {"Name=A", "Home=TOP", "Home=LEFT;Name=Draw"}},
      {"[bb][A]", {"Home=TOP", "Name=Bb;Home=TOP", "Home=LEFT;Name=Draw"}},
      {"[Draw][]", {"Name=A", "Home=TOP", "Name=Bb;Home=TOP"}},  // no Name=: never excluded
      {"Bb Draw", {"Name=A", "Home=TOP", "Name=Bb;Home=TOP", "Home=LEFT;Name=Draw"}},
  };
  view("BarCount=4\nBar0=Name=A\nBar1=Home=TOP\nBar2=Name=Bb;Home=TOP\nBar3=Home=LEFT;Name=Draw\n");
  for (const auto& c : cases) {
    form = makeObject<FakeForm>();
    setup(c.exclude);
    EXPECT_EQ(tags(), c.built) << c.exclude;
  }
}

TEST_F(BarSetSetup, AFailureEndsSetupWithItsOwnMessageAndKeepsTheBarsMade) {
  view("BarCount=3\nBar0=Name=A\nBar1=Name=B\nBar2=Name=C\n");
  loadElement(*form, 1);  // the array is not as setup expects it
  setup();
  EXPECT_EQ(ownMessages(), (std::vector<std::string>{"Error In KatSetup Line= Object already loaded"}));
  EXPECT_EQ(form->bar(0)->property("Tag"), Variant("Name=A"));
  EXPECT_EQ(form->bar(1)->property("Tag"), Variant(""));
  EXPECT_EQ(tbm->items, (std::vector<ObjectRef>{form->bar(0)}));
  EXPECT_FALSE(laidOut());

  // A bar whose section cannot be read stops setup after it was registered and tagged.
  screen->clearMessages();
  form = makeObject<FakeForm>();
  dir.write("BARS.INI", "[Main.Toolbars]\nBarCount=2\nBar0=Name=A\nBar1=Name=B\n[Toolbar.A]\nButtonSize=big\n");
  setup();
  EXPECT_EQ(ownMessages(), (std::vector<std::string>{"Error In KatSetup Line= Type mismatch"}));
  EXPECT_EQ(tags(), (std::vector<std::string>{"Name=A"}));
  EXPECT_FALSE(laidOut());
}

TEST_F(BarSetSetup, ARefusedRegistrationIsShownAndSetupGoesOn) {
  view("BarCount=3\nBar0=Name=A\nBar1=Name=B\nBar2=Name=C\n");
  int adds = 0;
  tbm->on("Add", [&](FakeObject& self, std::span<Arg> args) -> Variant {
    if (++adds == 2) automation::raise(automation::err::DuplicateKey);
    static_cast<FakeToolbarManager&>(self).items.push_back(automation::toObject(args[0].value()));
    return Variant();
  });
  setup();
  EXPECT_EQ(ownMessages(),
            (std::vector<std::string>{"ZADEVE: Error in AddBar line 2 This key is already associated with an "
                                      "element of this collection"}));
  EXPECT_EQ(tags(), (std::vector<std::string>{"Name=A", "Name=B", "Name=C"}));
  EXPECT_EQ(tbm->items, (std::vector<ObjectRef>{form->bar(0), form->bar(2)}));
  EXPECT_EQ(form->bar(1)->count("Reset"), 1);
  EXPECT_TRUE(laidOut());
}

TEST_F(BarSetSetup, RegisterBarNamesTheStepThatFailed) {
  LibraryInternals::RegisterBar(*lib, nullptr);
  auto noManager = makeObject<ZuzuzudLibrary>();
  LibraryInternals::RegisterBar(*noManager, form->bar(0));
  EXPECT_EQ(ownMessages(),
            (std::vector<std::string>{"ZADEVE: Error in AddBar line 1 Object variable or With block variable not set",
                                      "ZADEVE: Error in AddBar line 2 Object variable or With block variable not set"}));
  LibraryInternals::RegisterBar(*lib, form->bar(0));
  EXPECT_EQ(tbm->items, (std::vector<ObjectRef>{form->bar(0)}));
}

TEST_F(BarSetSetup, SetupWorksInTheBitmapFolder) {
  view("BarCount=0\n");
  setup();
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.path()));

  // No folder configured: the current directory stays.
  support::TempDir elsewhere;
  std::filesystem::current_path(elsewhere.path());
  lib->BarsBitmapsDir("");
  setup();
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), elsewhere.path()));
  EXPECT_TRUE(screen->messages().empty());

  // A folder that is not there ends setup before anything is touched.
  std::string missing = dir.file("no-such-folder") + "/";
  lib->BarsBitmapsDir(missing);
  form = makeObject<FakeForm>();
  setup();
  EXPECT_EQ(ownMessages(), (std::vector<std::string>{"Error In KatSetup Line= Path not found: " + missing}));
  EXPECT_TRUE(form->bar(0)->calls().empty());
  std::filesystem::current_path(dir.path());  // before `elsewhere` is removed
}

TEST_F(BarSetSetup, TheAutomationFaceTakesExcludeBarsAsOptional) {
  view("BarCount=2\nBar0=Name=A\nBar1=Name=B\n");
  Variant viewName("Main"), exclude("[A]");
  automation::callMethod(*lib, "KaTSetup", {Variant(ObjectRef(form)), byRef(viewName)});
  EXPECT_EQ(tags(), (std::vector<std::string>{"Name=A", "Name=B"}));
  form = makeObject<FakeForm>();
  automation::callMethod(*lib, "KaTSetup", {Variant(ObjectRef(form)), byRef(viewName), byRef(exclude)});
  EXPECT_EQ(tags(), (std::vector<std::string>{"Name=B"}));
}

}  // namespace
}  // namespace zadeve::core
