// The diagram editor example (examples/diagram) as a user meets it: every view comes
// through setup on the reference host without a single report, with all its bars, docked
// along all four edges, every image inside its strip, and every text German with de.po.

#include <fstream>
#include <map>
#include <set>

#include "automation/conversions.h"
#include "components/po_parser.h"
#include "host/example_view.h"
#include "platform/picture.h"

namespace zadeve::host {
namespace {

using automation::byRef;
using vizevore::ItemKind;

const std::filesystem::path diagram = examples() / "diagram";

// Every view of the file: the sections whose names end in ".Toolbars".
std::vector<std::string> views() {
  std::vector<std::string> found;
  std::ifstream in(diagram / "BARS.INI");
  const std::string suffix = ".Toolbars]";
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > suffix.size() + 1 && line.front() == '[' && line.ends_with(suffix))
      found.push_back(line.substr(1, line.size() - suffix.size() - 1));
  }
  return found;
}

// One view on a fresh reference host, as a host builds it: its bars, free rectangle and reports.
struct DiagramHost {
  DiagramHost(const std::string& view, const std::string& language = {}) {
    registerReferenceControls();
    form->setLibrary(lib);
    form->setApplication(app);
    automation::callMethod(*lib, "InitialiseZADEVE",
                           {Variant(tbm), (diagram / "BARS.INI").string(), (diagram / "").string(), language});
    automation::setProperty(*lib, "ShellApplicationObject", app);
    automation::callMethod(*lib, "KaTSetup", {Variant(form), view});
    Variant e[4] = {Variant(int16_t{0}), Variant(int16_t{0}), Variant(int16_t{0}), Variant(int16_t{0})};
    automation::callMethod(*lib, "KaTLayout", {Variant(form), byRef(e[0]), byRef(e[1]), byRef(e[2]), byRef(e[3])});
    for (int16_t i = 0; i < form->bars().count(); ++i) bars.push_back(form->bar(i));
    free = {automation::toInteger(e[0]), automation::toInteger(e[1]), automation::toInteger(e[2]),
            automation::toInteger(e[3])};
    for (const auto& report : app->reports()) reports.push_back(report.text);
    for (const auto& box : screen->messages()) reports.push_back(box.text);
  }
  ~DiagramHost() {
    try {
      form->unload();
      platform::changeDirectory(directory);
    } catch (...) {
    }
  }
  std::string config(const std::string& section, const std::string& key) {
    return automation::toString(lib->GetConfigValue(section, key, ""));
  }

  support::HeadlessScreen screen{15};
  std::string directory = platform::currentDirectory();
  Ref<core::ZuzuzudLibrary> lib = makeObject<core::ZuzuzudLibrary>();
  Ref<ToolbarManager> tbm = makeObject<ToolbarManager>();
  Ref<ShellApplication> app = makeObject<ShellApplication>();
  Ref<HeadlessForm> form = makeObject<HeadlessForm>("frmDiagram", 1024, 768);
  std::vector<Ref<ReVivezav>> bars;
  FreeRectangle free;
  std::vector<std::string> reports;
};

TEST(DiagramExample, EveryViewBuildsCleanlyAlongAllFourEdgesAndInGerman) {
  // A text de.po lacks would stay English and fail below.
  std::map<std::string, std::string> german;
  std::ifstream po(diagram / "de.po", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(po), {}};
  for (const auto& e : components::parsePo(text, "de.po"))
    if (!e.msgid.empty() && !e.msgstr.empty() && !e.msgstr[0].empty()) german[e.msgid] = e.msgstr[0];

  std::set<std::string> names;
  std::set<ItemKind> kinds;
  ASSERT_EQ(views(), (std::vector<std::string>{"DiagramView", "LibraryView", "PreviewView"}));
  for (const auto& view : views()) {
    SCOPED_TRACE(view);
    DiagramHost en(view), de(view, (diagram / "de.po").string());
    EXPECT_EQ(en.reports, std::vector<std::string>{});
    EXPECT_EQ(de.reports, std::vector<std::string>{});

    // One bar per entry, in entry order, each filled from its own section.
    ASSERT_EQ(static_cast<int>(en.bars.size()), std::stoi(en.config(view + ".Toolbars", "BarCount")));
    ASSERT_EQ(en.bars.size(), de.bars.size());
    for (size_t n = 0; n < en.bars.size(); ++n) {
      const auto& bar = *en.bars[n];
      const std::string entry = en.config(view + ".Toolbars", "Bar" + std::to_string(n));
      const std::string name = en.lib->KaTBarName(ObjectRef(en.bars[n]));
      EXPECT_NE(entry.find("Name=" + name + ";"), std::string::npos) << entry;
      EXPECT_GT(bar.itemCount(), 0) << entry;
      names.insert(name);
      const auto& items = bar.items();
      ASSERT_EQ(items.size(), de.bars[n]->items().size());
      for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        kinds.insert(item.kind);
        // Every button image lies inside its strip.
        if (item.image.given()) {
          const auto* set = bar.imageSet(item.image.set);
          ASSERT_NE(set, nullptr) << item.tag;
          auto picture = automation::objectAs<platform::Picture>(set->picture);
          ASSERT_TRUE(picture) << item.tag;
          EXPECT_LT(item.image.index, picture->width() / set->imageWidth) << item.tag;
          EXPECT_GE(picture->height(), set->imageHeight) << item.tag;
        }
        // The German build shows what the catalogue gives for the English text; a menu's
        // caption is its function name, which no catalogue translates.
        if (item.tooltip.empty() || item.kind == ItemKind::Menu) continue;
        const auto found = german.find(item.tooltip);
        ASSERT_NE(found, german.end()) << "untranslated: " << item.tooltip;
        EXPECT_EQ(de.bars[n]->items()[i].tooltip, found->second);
      }
    }

    // Docked bars on every edge leave a free rectangle inset from all four.
    EXPECT_GT(en.free.left, 0);
    EXPECT_GT(en.free.top, 0);
    EXPECT_LT(en.free.right, en.form->scaleWidth());
    EXPECT_LT(en.free.bottom, en.form->scaleHeight());
    EXPECT_LT(en.free.left, en.free.right);
    EXPECT_LT(en.free.top, en.free.bottom);
  }
  EXPECT_GE(names.size(), 12u);
  EXPECT_TRUE(names.count("SKETCH"));
  EXPECT_EQ(kinds.size(), 9u) << "every kind of item the builder makes";
}

}  // namespace
}  // namespace zadeve::host
