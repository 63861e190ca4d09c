// The diagram editor example (examples/diagram) as a user meets it: every view comes
// through setup on the reference host without a single report, with all its bars, docked
// along all four edges, every image inside its strip, and every text German with de.po.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "components/po_parser.h"
#include "core/zuzuzud_library.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "platform/current_directory.h"
#include "platform/picture.h"
#include "support/headless_screen.h"

namespace zadeve::host {
namespace {

namespace fs = std::filesystem;
using automation::byRef;
using automation::makeObject;
using automation::ObjectRef;
using automation::Ref;
using automation::Variant;
using vizevore::ItemKind;
using vizevore::ReVivezav;

const fs::path& diagram() {
  static const fs::path folder = fs::path(ZADEVE_TEST_DATA).parent_path().parent_path() / "examples" / "diagram";
  return folder;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every view of the file: the sections whose names end in ".Toolbars".
std::vector<std::string> views() {
  std::vector<std::string> found;
  std::ifstream in(diagram() / "BARS.INI");
  const std::string suffix = ".Toolbars]";
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > suffix.size() + 1 && line.front() == '[' && line.ends_with(suffix))
      found.push_back(line.substr(1, line.size() - suffix.size() - 1));
  }
  return found;
}

struct Built {
  std::vector<Ref<ReVivezav>> bars;
  FreeRectangle free;
  std::vector<std::string> reports;
};

// One view on a fresh reference host, as a host builds it.
class DiagramHost {
 public:
  explicit DiagramHost(const std::string& language = {}) {
    registerReferenceControls();
    form->setLibrary(lib);
    form->setApplication(app);
    automation::callMethod(*lib, "InitialiseZADEVE",
                           {Variant(tbm), (diagram() / "BARS.INI").string(), (diagram() / "").string(), language});
    automation::setProperty(*lib, "ShellApplicationObject", app);
  }
  ~DiagramHost() {
    try {
      form->unload();
      platform::changeDirectory(directory);
    } catch (...) {
    }
  }

  Built setup(const std::string& view) {
    automation::callMethod(*lib, "KaTSetup", {Variant(form), view});
    Variant l(int16_t{0}), t(int16_t{0}), r(int16_t{0}), b(int16_t{0});
    automation::callMethod(*lib, "KaTLayout", {Variant(form), byRef(l), byRef(t), byRef(r), byRef(b)});
    Built built;
    for (int16_t i = 0; i < form->bars().count(); ++i) built.bars.push_back(form->bar(i));
    built.free = {automation::toInteger(l), automation::toInteger(t), automation::toInteger(r),
                  automation::toInteger(b)};
    for (const auto& report : app->reports()) built.reports.push_back(report.text);
    for (const auto& box : screen->messages()) built.reports.push_back(box.text);
    return built;
  }

  std::string barName(const Ref<ReVivezav>& bar) { return lib->KaTBarName(ObjectRef(bar)); }
  int16_t barCount(const std::string& view) {
    return static_cast<int16_t>(
        automation::toInteger(lib->GetConfigValue(view + ".Toolbars", "BarCount", "0")));
  }
  std::string entry(const std::string& view, int n) {
    return automation::toString(lib->GetConfigValue(view + ".Toolbars", "Bar" + std::to_string(n), ""));
  }

  support::HeadlessScreen screen{15};
  std::string directory = platform::currentDirectory();
  Ref<core::ZuzuzudLibrary> lib = makeObject<core::ZuzuzudLibrary>();
  Ref<ToolbarManager> tbm = makeObject<ToolbarManager>();
  Ref<ShellApplication> app = makeObject<ShellApplication>();
  Ref<HeadlessForm> form = makeObject<HeadlessForm>("frmDiagram", 1024, 768);
};

TEST(DiagramExample, HasThreeViewsOverTwelveBarsWithASketchBar) {
  const auto all = views();
  EXPECT_EQ(all, (std::vector<std::string>{"DiagramView", "LibraryView", "PreviewView"}));
  std::set<std::string> names;
  std::set<ItemKind> kinds;
  for (const auto& view : all) {
    DiagramHost host;
    for (const auto& bar : host.setup(view).bars) {
      names.insert(host.barName(bar));
      for (const auto& item : bar->items()) kinds.insert(item.kind);
    }
  }
  EXPECT_GE(names.size(), 12u);
  EXPECT_TRUE(names.count("SKETCH"));
  EXPECT_EQ(kinds.size(), 9u) << "every kind of item the builder makes";
}

TEST(DiagramExample, EveryViewBuildsCleanlyAlongAllFourEdges) {
  for (const auto& view : views()) {
    SCOPED_TRACE(view);
    DiagramHost host;
    const Built built = host.setup(view);
    EXPECT_EQ(built.reports, std::vector<std::string>{});

    // One bar per entry, in entry order, each filled from its own section.
    const int16_t count = host.barCount(view);
    ASSERT_EQ(static_cast<int16_t>(built.bars.size()), count);
    for (int16_t n = 0; n < count; ++n) {
      const std::string entry = host.entry(view, n);
      EXPECT_NE(entry.find("Name=" + host.barName(built.bars[n]) + ";"), std::string::npos) << entry;
      EXPECT_GT(built.bars[n]->itemCount(), 0) << entry;
    }

    // Docked bars on every edge leave a free rectangle inset from all four.
    const auto& form = *host.form;
    EXPECT_GT(built.free.left, 0);
    EXPECT_GT(built.free.top, 0);
    EXPECT_LT(built.free.right, form.scaleWidth());
    EXPECT_LT(built.free.bottom, form.scaleHeight());
    EXPECT_LT(built.free.left, built.free.right);
    EXPECT_LT(built.free.top, built.free.bottom);
  }
}

TEST(DiagramExample, EveryButtonImageLiesInsideItsStrip) {
  for (const auto& view : views()) {
    SCOPED_TRACE(view);
    DiagramHost host;
    for (const auto& bar : host.setup(view).bars)
      for (const auto& item : bar->items()) {
        if (!item.image.given()) continue;
        const auto* set = bar->imageSet(item.image.set);
        ASSERT_NE(set, nullptr) << item.tag;
        auto picture = automation::objectAs<platform::Picture>(set->picture);
        ASSERT_TRUE(picture) << item.tag;
        EXPECT_LT(item.image.index, picture->width() / set->imageWidth) << item.tag;
        EXPECT_GE(picture->height(), set->imageHeight) << item.tag;
      }
  }
}

// The German build shows, item by item, what the catalogue gives for the English text:
// a text de.po lacks would stay English and fail here.
TEST(DiagramExample, GermanCatalogueTranslatesEveryTooltip) {
  std::map<std::string, std::string> german;
  for (const auto& e : components::parsePo(readFile(diagram() / "de.po"), "de.po"))
    if (!e.msgid.empty() && !e.msgstr.empty() && !e.msgstr[0].empty()) german[e.msgid] = e.msgstr[0];

  for (const auto& view : views()) {
    SCOPED_TRACE(view);
    DiagramHost english, translated((diagram() / "de.po").string());
    const Built en = english.setup(view), de = translated.setup(view);
    EXPECT_EQ(de.reports, std::vector<std::string>{});
    ASSERT_EQ(en.bars.size(), de.bars.size());
    for (size_t b = 0; b < en.bars.size(); ++b) {
      const auto& items = en.bars[b]->items();
      ASSERT_EQ(items.size(), de.bars[b]->items().size());
      for (size_t i = 0; i < items.size(); ++i) {
        // A menu's caption is its function name, which no catalogue translates.
        if (items[i].tooltip.empty() || items[i].kind == ItemKind::Menu) continue;
        const auto found = german.find(items[i].tooltip);
        ASSERT_NE(found, german.end()) << "untranslated: " << items[i].tooltip;
        EXPECT_EQ(de.bars[b]->items()[i].tooltip, found->second);
      }
    }
  }
}

}  // namespace
}  // namespace zadeve::host
