// zadeve demo: a tour of the tool and the library on the example application. It checks
// the example's BARS.INI, lays a view out and renders it with a floating bar, the way a
// person would run those commands, then walks the main road by hand as a host does:
// KaTSetup, a click, a bar floated into a palette and worked on, its edge dragged, the
// screen drawn into a PNG, the bar docked through the palette's menu, the form unloaded.
// Last, a call script keeps the buttons of functions in step.
//
// The calls on the library are late-bound, by name, as a host makes them.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <memory>
#include <ostream>
#include <sstream>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "cli/check_ini_index.h"
#include "cli/check_views.h"
#include "cli/cli.h"
#include "cli/host_session.h"
#include "cli/input_file.h"
#include "core/zuzuzud_library.h"
#include "host/form_picture.h"
#include "host/headless_form.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "palette/tool_palette.h"
#include "platform/headless_windowing.h"
#include "vizevore/button_types.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;
using automation::ObjectRef;
using automation::Variant;

struct DemoOptions {
  std::string examples = "examples/diagram";
  std::string view;  // the file's first view when not given
  int width = 800;
  int height = 600;
  std::string png = "demo.png";
  std::string script = "examples/calls/diagram.zcall";
};

// A report as one console line: its line breaks become blanks.
std::string oneLine(std::string text) {
  for (size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, " ");
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

std::string pixels(int x, int y, int w, int h) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ") " + std::to_string(w) + " x " + std::to_string(h) +
         " px";
}

void printReports(std::ostream& out, const host::ShellApplication& app, const platform::HeadlessWindowing& screen) {
  const auto& reports = app.reports();
  out << "\nReports through MsgBoxSub: " << reports.size() << "\n";
  for (size_t i = 0; i < reports.size(); ++i) out << "  " << i + 1 << ". " << oneLine(reports[i].text) << "\n";
  if (!screen.messages().empty()) {
    out << "Message boxes of the library: " << screen.messagesShown() << "\n";
    for (const auto& m : screen.messages()) out << "  " << oneLine(m.text) << "\n";
  }
}

void printBars(std::ostream& out, core::ZuzuzudLibrary& lib, const host::HeadlessForm& form,
               const host::ToolbarManager& tbm) {
  struct Line {
    std::string index, name, edge;
    automation::Ref<vizevore::ReVivezav> bar;
  };
  std::vector<Line> lines;
  size_t nameWidth = 4;
  for (int16_t i = 0; i <= form.bars().upperBound(); ++i) {
    auto bar = form.bar(i);
    if (!bar) continue;
    std::string name = lib.KaTBarName(ObjectRef(bar));
    std::string edge = automation::toUpper(automation::toString(lib.KaTGetProp(ObjectRef(bar), "Home", "Top")));
    nameWidth = std::max(nameWidth, name.size());
    lines.push_back({"bar(" + std::to_string(i) + ")", name.empty() ? "-" : name, edge, bar});
  }
  out << "\nBars on " << form.name() << ": " << form.bars().count() << ", " << tbm.count()
      << " registered in TBM\n";
  const int tx = form.twipsPerPixelX(), ty = form.twipsPerPixelY();
  for (const auto& l : lines) {
    out << "  " << std::left << std::setw(8) << l.index << std::setw(static_cast<int>(nameWidth) + 2) << l.name
        << std::setw(8) << l.edge;
    const auto& b = *l.bar;
    if (!b.visible()) {
      out << "hidden\n";
      continue;
    }
    out << "left " << b.left() << " top " << b.top() << " width " << b.width() << " height " << b.height()
        << " twips = " << pixels(b.left() / tx, b.top() / ty, b.width() / tx, b.height() / ty) << "\n";
  }
}

void printFree(std::ostream& out, const host::HeadlessForm& form) {
  const auto& free = form.freeRectangle();
  if (!free) return;
  auto box = host::freeBox(form, *free);
  out << "\nFree rectangle: left " << free->left << " top " << free->top << " right " << free->right
      << " bottom " << free->bottom << " twips = " << pixels(box.x, box.y, box.w, box.h) << "\n";
}

// Where the buttons of a function stand, found as a host finds them: with its own function
// scan over the form, palettes included. "bar(1) on, palette off".
std::string functionButtons(core::ZuzuzudLibrary& lib, host::HeadlessForm& form, const std::string& fn) {
  std::string s;
  automation::callMethod(lib, "KaTBeginScanFunction", {Variant(ObjectRef(&form)), fn});
  while (automation::toBoolean(automation::callMethod(lib, "KaTNextScanFunction"))) {
    ObjectRef bar = automation::getProperty(lib, "aBar").object();
    const bool on = automation::toInteger(automation::getProperty(*bar, "PushButtonFlags")) & BF_ON;
    const int32_t element = form.bars().indexOf(dynamic_cast<vizevore::ReVivezav&>(*bar));
    s += std::string(s.empty() ? "" : ", ") + (element >= 0 ? "bar(" + std::to_string(element) + ")" : "palette") +
         (on ? " on" : " off");
  }
  return s;
}

void printRan(std::ostream& out, const host::HeadlessForm& form, size_t before) {
  for (size_t i = before; i < form.commands().size(); ++i)
    out << "  " << form.name() << " ran " << host::describe(form.commands()[i]) << "\n";
}

// What a user does first: press the first toggle button on a visible bar.
void clickAToggle(std::ostream& out, core::ZuzuzudLibrary& lib, host::HeadlessForm& form) {
  for (int16_t i = 0; i <= form.bars().upperBound(); ++i) {
    auto bar = form.bar(i);
    if (!bar || !bar->visible()) continue;
    for (int32_t k = 0; k < bar->itemCount(); ++k) {
      const auto& item = bar->item(k);
      if (item.kind != vizevore::ItemKind::ToggleButton || !item.enabled()) continue;
      const size_t before = form.events().size(), ran = form.commands().size();
      const std::string fn = item.tag, caption = item.caption;
      bar->click(k);
      out << "\nUser clicks \"" << caption << "\" on bar(" << i << "): ";
      if (form.events().size() > before)
        out << form.name() << " received " << host::describe(form.events().back()) << "\n";
      else
        out << "no event reached " << form.name() << "\n";
      printRan(out, form, ran);
      out << "  KaSetFunctionState put every " << fn << " button in step: " << functionButtons(lib, form, fn) << "\n";
      return;
    }
  }
}

std::string pixels(const platform::PixelRect& r) { return pixels(r.left, r.top, r.width(), r.height()); }

// The bar a palette shows best: the first visible bar with a spin button, else the first
// visible one.
int16_t barToFloat(const host::HeadlessForm& form) {
  int16_t first = -1;
  for (int16_t i = 0; i <= form.bars().upperBound(); ++i) {
    auto bar = form.bar(i);
    if (!bar || !bar->visible()) continue;
    if (first < 0) first = i;
    for (const auto& item : bar->items())
      if (item.kind == vizevore::ItemKind::Spin) return i;
  }
  return first;
}

// The user's side of a palette: a click and a spin on its toolbar, a drag of its right edge
// to half its width. Each command the host form runs is printed as it arrives.
void workOnPalette(std::ostream& out, platform::HeadlessWindowing& screen, core::ZuzuzudLibrary& lib,
                   host::HeadlessForm& form, palette::FrmToolPalette& palette) {
  auto bar = automation::objectAs<vizevore::ReVivezav>(palette.bar());
  if (!bar) return;
  for (const auto& item : bar->items()) {
    const bool toggle = item.kind == vizevore::ItemKind::ToggleButton, spin = item.kind == vizevore::ItemKind::Spin;
    if (!toggle && !spin) continue;
    const size_t before = form.commands().size();
    const std::string fn = item.tag;
    const int32_t k = bar->find(fn);
    out << "User " << (toggle ? "clicks \"" : "spins up \"") << fn << "\" on the palette\n";
    const auto panel = [&] {
      return automation::toString(automation::callMethod(lib, "GetStatusMsg", {Variant(ObjectRef(&form)), "StatusText"}));
    };
    const std::string panelBefore = panel();
    toggle ? bar->click(k) : bar->spinUp(k);
    printRan(out, form, before);
    if (toggle)
      out << "  " << fn << " buttons of " << form.name() << ": " << functionButtons(lib, form, fn) << "\n";
    else if (const std::string text = panel(); text != panelBefore)
      out << "  StatusText panel reads \"" << text << "\"\n";
  }
  const auto r = screen.windowRect(palette.hWnd());
  screen.dragEdge(palette.hWnd(), platform::wmsz::Right, {{r.left, r.top, r.left + r.width() / 2, r.bottom}});
  out << "User drags the palette's right edge to half its width: the palette snaps to "
      << pixels(screen.windowRect(palette.hWnd())) << ", its toolbar in " << bar->idealDepth() / bar->twipsPerPixel()
      << " px of rows\n";
}

// The host fills the font names of every FontName combo of the form, the hidden docked
// one and the palette's alike, and selects one by its text.
void fillACombo(std::ostream& out, core::ZuzuzudLibrary& lib, host::HeadlessForm& form) {
  const Variant self{ObjectRef(&form)};
  int32_t data = 0;
  for (const char* name : {"Serif", "Sans", "Mono"})
    automation::callMethod(lib, "KaAddFunctionListItem", {self, "FontName", name, Variant(++data)});
  automation::callMethod(lib, "KaSetItemIndexByText", {self, "FontName", "sans"});
  Variant item(""), itemData(int32_t{0});
  automation::callMethod(lib, "KaGetFunctionListItem",
                         {self, "FontName", automation::byRef(item), automation::byRef(itemData)});
  int combos = 0;
  automation::callMethod(lib, "KaTBeginScanFunction", {self, "FontName"});
  while (automation::toBoolean(automation::callMethod(lib, "KaTNextScanFunction"))) ++combos;
  out << "Host fills FontName with KaAddFunctionListItem (Serif, Sans, Mono) on " << combos
      << " combos; KaSetItemIndexByText \"sans\" selects " << automation::toString(item) << " (data "
      << automation::toString(itemData) << ")\n";
}

void floatAndDock(std::ostream& out, HostSession& session, core::ZuzuzudLibrary& lib, host::HeadlessForm& form,
                  const host::ShellApplication& app, const fs::path& png) {
  const int16_t index = barToFloat(form);
  if (index < 0) return;
  auto hostBar = form.bar(index);
  auto& screen = session.screen();
  automation::callMethod(lib, "KaTFloat", {Variant(ObjectRef(&form)), Variant(ObjectRef(hostBar))});
  auto palette = palette::FrmToolPalette::loadedPalettes().back();
  // The user moves it over the document by its caption.
  const auto at = screen.windowRect(palette->hWnd());
  screen.moveWindow(palette->hWnd(), {form.pixelWidth() / 2, form.pixelHeight() / 2,
                                      form.pixelWidth() / 2 + at.width(), form.pixelHeight() / 2 + at.height()});
  out << "\nFloated " << palette->Caption() << " (bar(" << index << ")): palette "
      << pixels(screen.windowRect(palette->hWnd())) << ", owned by " << form.name() << ", host bar "
      << (hostBar->visible() ? "visible" : "hidden") << ", State=" << automation::toString(lib.KaTGetProp(ObjectRef(hostBar), "State", ""))
      << ", application heard " << (app.broadcasts().empty() ? "nothing" : app.broadcasts().back()) << "\n";
  workOnPalette(out, screen, lib, form, *palette);
  fillACombo(out, lib, form);

  auto picture = session.picture();
  picture.writePng(png.string());
  out << "\nPicture of the screen: " << png.string() << " (" << picture.width() << " x " << picture.height()
      << " px): " << form.name() << " and its palette\n";

  // Right-click on the palette's toolbar, "Dock".
  screen.pickInNextMenu("Dock");
  if (auto bar = automation::objectAs<vizevore::ReVivezav>(palette->bar())) bar->contextMenu(0, 0);
  out << "User docks it through the palette's menu: host bar " << (hostBar->visible() ? "visible" : "hidden")
      << ", State=" << automation::toString(lib.KaTGetProp(ObjectRef(hostBar), "State", ""))
      << ", FloatPos=" << automation::toString(lib.KaTGetProp(ObjectRef(hostBar), "FloatPos", "")) << "\n";
}

// The first view of the file, as check finds the views.
std::string firstView(const fs::path& ini) {
  check::ProblemList ignored;
  const auto views = check::viewNames(check::IniIndex(readInputFile(ini.string()), ignored));
  return views.empty() ? std::string() : views.front();
}

// What the render step shows: the bar the main road floats, the first toggle and the first
// panel on the form's visible bars, found on a form of its own.
struct RenderPlan {
  std::string floatBar, toggle, panel;
};

RenderPlan planRender(const fs::path& ini, const std::string& view, PixelSize size) {
  HostSession session(ini.string());
  auto& form = session.addForm("frmPlan", size);
  session.initialise();
  session.setup(form, view);
  RenderPlan plan;
  if (const int16_t index = barToFloat(form); index >= 0)
    plan.floatBar = session.library().KaTBarName(ObjectRef(form.bar(index)));
  for (int16_t i = 0; i <= form.bars().upperBound(); ++i)
    if (auto bar = form.bar(i); bar && bar->visible())
      for (const auto& item : bar->items()) {
        if (plan.toggle.empty() && item.kind == vizevore::ItemKind::ToggleButton && item.enabled()) plan.toggle = item.tag;
        if (plan.panel.empty() && item.kind == vizevore::ItemKind::Panel) plan.panel = item.tag;
      }
  form.unload();
  return plan;
}

// One step of the tour: the command as a person types it, then what it printed.
void runStep(Console& console, const std::string& title, const std::vector<std::string>& args) {
  auto& out = console.out;
  out << "\n== " << title << "\n$ zadeve";
  for (const auto& a : args) out << " " << (a.find(' ') == std::string::npos ? a : "\"" + a + "\"");
  out << "\n";
  std::ostringstream stepOut, stepErr;
  std::vector<std::string> argv{"zadeve"};
  argv.insert(argv.end(), args.begin(), args.end());
  const int status = run(argv, stepOut, stepErr);
  out << (stepOut.str().empty() ? "(nothing to report)\n" : stepOut.str()) << stepErr.str();
  if (status != ExitOk) out << "(exit status " << status << ")\n";
}

void mainRoad(const DemoOptions& o, const std::string& view, const fs::path& ini, const fs::path& png,
              Console& console) {
  auto& out = console.out;
  HostSession session(ini.string());
  auto& form = session.addForm("frmMain", {o.width, o.height});
  form.setCaption("ZADEVE demo - " + view);

  out << "\n== The main road by hand, as a host drives the library: view " << view << " of " << ini.string() << "\n"
      << "  bitmaps " << session.bitmaps() << "\n"
      << "  form    " << form.name() << ", " << form.pixelWidth() << " x " << form.pixelHeight() << " px = "
      << form.scaleWidth() << " x " << form.scaleHeight() << " twips\n";

  session.initialise();
  automation::callMethod(session.library(), "KaTSetup", {Variant(ObjectRef(&form)), view});
  // As a host's Form_Resize after loading: lay out and keep the free rectangle.
  form.layout();

  auto& lib = session.library();
  printReports(out, session.application(), session.screen());
  printBars(out, lib, form, session.tbm());
  printFree(out, form);
  clickAToggle(out, lib, form);
  floatAndDock(out, session, lib, form, session.application(), png);

  form.unload();
  out << "Unloaded " << form.name() << ": TBM holds " << session.tbm().count() << " bars\n";
}

void runDemo(const DemoOptions& o, Console& console) {
  auto& out = console.out;
  const fs::path folder = fs::path(o.examples).lexically_normal();
  const fs::path ini = folder / "BARS.INI";
  const fs::path png = fs::absolute(o.png);
  if (!fs::is_regular_file(ini)) {
    console.err << "zadeve: no configuration at " << fs::absolute(ini).string() << "\n";
    console.status = ExitFailed;
    return;
  }
  const std::string view = o.view.empty() ? firstView(ini) : o.view;
  const std::string size = std::to_string(o.width) + "x" + std::to_string(o.height);
  fs::path rendered = png;
  rendered.replace_filename(png.stem().string() + "-render.png");

  out << "zadeve demo: a tour of " << ini.string() << ", view " << view << "\n";
  std::vector<std::string> check{"check", ini.string()};
  if (fs::is_regular_file(folder / "de.po")) check.insert(check.end(), {"--lang", (folder / "de.po").string()});
  runStep(console, "Check the configuration: every view built, every problem tied to its line", check);
  runStep(console, "Lay the view out: the bars and the free rectangle as the library computed them",
          {"layout", ini.string(), "--view", view, "--size", size});
  const RenderPlan plan = planRender(ini, view, {o.width, o.height});
  std::vector<std::string> render{"render", ini.string(), "--view", view, "--size", size};
  if (!plan.floatBar.empty()) render.insert(render.end(), {"--float", plan.floatBar});
  if (!plan.toggle.empty()) render.insert(render.end(), {"--set", plan.toggle + "=on"});
  if (!plan.panel.empty()) render.insert(render.end(), {"--status", plan.panel + "=Rendered by zadeve"});
  render.insert(render.end(), {"-o", rendered.string()});
  runStep(console, "Render it, a bar floating, a function pressed, a status panel written", render);

  mainRoad(o, view, ini, png, console);

  if (fs::is_regular_file(o.script))
    runStep(console, "Script the library: keep the buttons of functions in step", {"call", ini.string(), o.script});

  out << "\nPictures: " << png.string() << " (the main road, palette over the form), " << rendered.string()
      << " (the render step)\n";
}

}  // namespace

void addDemoCommand(CLI::App& app, Console& console) {
  auto options = std::make_shared<DemoOptions>();
  auto* demo = app.add_subcommand("demo", "A tour: check, lay out and render the example, float and dock a bar, script the library");
  demo->add_option("--examples", options->examples, "Folder holding BARS.INI and its bitmaps")->capture_default_str();
  demo->add_option("--view", options->view, "The view whose bar set is built (default: the file's first)");
  demo->add_option("--width", options->width, "Client width of the form in pixels")
      ->check(CLI::Range(64, 2000))
      ->capture_default_str();
  demo->add_option("--height", options->height, "Client height of the form in pixels")
      ->check(CLI::Range(64, 2000))
      ->capture_default_str();
  demo->add_option("--png", options->png, "Where the picture of the form goes; the render step's beside it, -render.png")
      ->capture_default_str();
  demo->add_option("--script", options->script, "A call script run last, when the file exists")->capture_default_str();
  demo->callback([options, &console] { runDemo(*options, console); });
}

}  // namespace zadeve::cli
