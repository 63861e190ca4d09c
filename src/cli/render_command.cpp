// zadeve render: a view as the user would see it, drawn into a PNG: the form with its
// docked bars and the free rectangle, and the palettes of the bars floated, after the
// function states and status panels were set as a host sets them.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "cli/cli.h"
#include "cli/view_options.h"
#include "host/headless_form.h"
#include "platform/headless_windowing.h"
#include "vizevore/canvas.h"

namespace zadeve::cli {
namespace {

using automation::ObjectRef;
using automation::Variant;

struct RenderOptions : ViewOptions {
  std::vector<std::string> states;
  std::vector<std::string> panels;
  std::string png;
  bool screen = false;
};

// The form's client area as the screen shows it, palettes over it included: a picture of
// exactly the size asked for.
vizevore::Canvas clientArea(const vizevore::Canvas& screen, const platform::HeadlessWindowing& windows,
                            const host::HeadlessForm& form) {
  const auto client = platform::HeadlessWindowing::clientOnScreen(windows.windowRect(form.hWnd()));
  vizevore::Canvas picture(client.width(), client.height());
  picture.draw(screen, -client.left, -client.top);
  return picture;
}

// "FUNCTION=VALUE" split at the first "="; a usage error without one.
std::pair<std::string, std::string> assignment(const std::string& text, const char* option) {
  const auto eq = text.find('=');
  if (eq == std::string::npos || eq == 0)
    throw CLI::ValidationError(option, "want NAME=VALUE, not " + text);
  return {text.substr(0, eq), text.substr(eq + 1)};
}

// "Bold=on": the function and its state word, upper-cased; a usage error for other words.
std::pair<std::string, std::string> functionState(const std::string& text) {
  auto [fn, state] = assignment(text, "--set");
  const std::string word = automation::toUpper(state);
  if (word != "ON" && word != "OFF" && word != "DISABLED" && word != "HIDDEN")
    throw CLI::ValidationError("--set", "want on, off, disabled or hidden, not " + state);
  return {fn, word};
}

// on/off press and release, disabled disables, hidden hides: the host's own calls.
void applyState(core::ZuzuzudLibrary& lib, host::HeadlessForm& form, const std::string& text) {
  const auto [fn, word] = functionState(text);
  const Variant frm{ObjectRef(&form)};
  if (word == "ON" || word == "OFF")
    automation::callMethod(lib, "KaSetFunctionState", {frm, fn, Variant(int16_t(word == "ON" ? -1 : 0))});
  else if (word == "DISABLED")
    automation::callMethod(lib, "KaSetFunctionEnabled", {frm, fn, Variant(automation::False)});
  else
    automation::callMethod(lib, "KaSetFunctionVisible", {frm, fn, Variant(automation::False)});
}

}  // namespace

void addRenderCommand(CLI::App& app, Console& console) {
  auto options = std::make_shared<RenderOptions>();
  auto* render = app.add_subcommand("render", "Draw a view's form, its bars and palettes into a PNG");
  addViewOptions(*render, *options);
  render->add_option("--set", options->states, "FUNCTION=on|off|disabled|hidden: a function's buttons (repeatable)");
  render->add_option("--status", options->panels, "PANEL=TEXT: a status panel's text, as StatusMsg writes it (repeatable)");
  render->add_option("-o,--output", options->png, "The PNG to write")->required();
  render->add_flag("--screen", options->screen, "Draw the whole screen: the form in its frame, every palette wherever it is");
  render->footer("The picture is the form's client area, as large as --size, with the palettes over it.\n"
                 "Example: zadeve render examples/BARS.INI --view MainView --float Draw --set Bold=on -o main.png");
  render->callback([options, &console] {
    // Malformed states are usage errors, found before anything is built.
    for (const auto& s : options->states) functionState(s);
    for (const auto& s : options->panels) assignment(s, "--status");
    // Setup makes the bitmap folder current: the picture goes where the user meant it.
    const std::string png = std::filesystem::absolute(options->png).string();
    HostSession session(configurationPath(options->file), bitmapFolder(options->bitmaps));
    auto& form = buildView(session, *options, console);
    auto& lib = session.library();
    for (const auto& s : options->states) applyState(lib, form, s);
    for (const auto& s : options->panels) {
      const auto [panel, text] = assignment(s, "--status");
      automation::callMethod(lib, "StatusMsg", {Variant(ObjectRef(&form)), panel, text});
    }
    const auto picture = options->screen ? session.picture() : clientArea(session.picture(), session.screen(), form);
    picture.writePng(png);
    console.out << options->png << ": " << picture.width() << " x " << picture.height() << " px, " << options->view
                << " on a " << form.pixelWidth() << " x " << form.pixelHeight() << " px form\n";
  });
}

}  // namespace zadeve::cli
