// zadeve call: a script of library members called late-bound through the dispatch face,
// by name, as a host calls them, on named forms of the reference host.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "cli/call_script.h"
#include "cli/cli.h"
#include "cli/host_session.h"
#include "cli/input_file.h"
#include "host/form_picture.h"

namespace zadeve::cli {
namespace {

using automation::Arg;
using automation::ObjectRef;
using automation::Variant;

constexpr const char* Grammar = R"(Script lines (words split at blanks; "#" starts a comment):
  form NAME WxH              make a form of the reference host, WxH pixels of client area
  MEMBER ARG...              call a library member by name: KaTSetup Main MainView
  let MEMBER ARG... VALUE    assign a library property: let ShellApplicationObject Nothing
  print $VAR                 show a variable
  set $VAR VALUE             give a variable a value
  click FORM BAR FUNCTION    press a button as the user does (on the palette when the bar floats)
  float FORM BAR             float a bar with KaTFloat
  dock FORM BAR              dock a floating bar through its palette's menu
  resize FORM WxH            resize a form and lay it out, as its Form_Resize does
Arguments: a form's name is the form; FORM.BAR is that form's bar of that name; $VAR is a
variable passed by reference, so what the member writes is kept and printed; numbers,
"quoted text", True, False, Nothing, Empty, Null; any other word is text.
Every call prints its arguments, its result ("= value") and the variables it wrote. The
first failure stops the script: "SCRIPT:LINE: error N: text" with the automation error's
number and text, exit status 1.)";

struct CallOptions {
  std::string first, second;
};

class Interpreter {
 public:
  Interpreter(HostSession& session, std::ostream& out) : session_(session), out_(out) {}

  void line(const std::string& text) {
    auto words = splitWords(text);
    if (words.empty()) return;
    const std::string head = automation::toUpper(words[0].quoted ? "" : words[0].text);
    const size_t reports = session_.application().reports().size(), boxes = session_.screen().messagesShown();
    std::vector<Word> rest(words.begin() + 1, words.end());
    if (head == "FORM") makeForm(rest);
    else if (head == "PRINT") print(rest);
    else if (head == "SET") set(rest);
    else if (head == "CLICK") click(rest);
    else if (head == "FLOAT") floatBar(rest);
    else if (head == "DOCK") dock(rest);
    else if (head == "RESIZE") resize(rest);
    else if (head == "LET") call(rest, true);
    else call(words, false);
    const auto& r = session_.application().reports();
    for (size_t i = reports; i < r.size(); ++i) out_ << "  MsgBoxSub: " << oneLine(r[i].text) << "\n";
    for (const auto& m : session_.screen().messagesSince(boxes)) out_ << "  message box: " << oneLine(m.text) << "\n";
  }

 private:
  static std::string oneLine(std::string text) {
    for (auto& c : text)
      if (c == '\r' || c == '\n') c = ' ';
    return text;
  }

  static void expect(const std::vector<Word>& w, size_t n, const char* usage) {
    if (w.size() != n) throw ScriptError(std::string("want ") + usage);
  }

  host::HeadlessForm& formNamed(const Word& w) {
    auto* f = w.quoted ? nullptr : session_.form(w.text);
    if (!f) throw ScriptError("no form named " + w.text + " (make one with: form NAME WxH)");
    return *f;
  }

  static PixelSize size(const Word& w) {
    auto s = parseSize(w.text);
    if (!s) throw ScriptError("malformed size " + w.text + " (want WxH, e.g. 800x600)");
    return *s;
  }

  Variant& variable(const Word& w) {
    if (w.quoted || w.text.size() < 2 || w.text[0] != '$') throw ScriptError("want a $variable, not " + w.text);
    auto& slot = vars_[automation::toUpper(w.text)];
    if (slot.first.empty()) slot.first = w.text;
    return slot.second;
  }

  Variant value(const Word& w) {
    if (w.quoted) return Variant(w.text);
    if (w.text[0] == '$') return variable(w);
    Variant v;
    if (literalValue(w.text, v)) return v;
    if (auto* f = session_.form(w.text)) return Variant(ObjectRef(f));
    const auto dot = w.text.find('.');
    if (dot != std::string::npos)
      if (auto* f = session_.form(w.text.substr(0, dot))) return Variant(ObjectRef(session_.bar(*f, w.text.substr(dot + 1))));
    return Variant(w.text);
  }

  std::string show(const Variant& v) const {
    return showValue(v, [this](const automation::Object& o) { return objectName(o); });
  }

  std::string objectName(const automation::Object& o) const {
    for (const auto& f : session_.forms()) {
      if (f.get() == &o) return f->name();
      for (int32_t i = 0; i <= f->bars().upperBound(); ++i)
        if (auto b = f->bar(i); b.get() == &o) return f->name() + "." + session_.library().KaTBarName(ObjectRef(b));
    }
    for (const auto& p : palette::FrmToolPalette::loadedPalettes())
      if (p->bar().get() == &o) return "palette(" + p->Caption() + ").bar";
    return "<" + std::string(o.typeName()) + ">";
  }

  void makeForm(const std::vector<Word>& w) {
    expect(w, 2, "form NAME WxH");
    auto& f = session_.addForm(w[0].text, size(w[1]));
    out_ << "form " << f.name() << ": " << f.pixelWidth() << " x " << f.pixelHeight() << " px = " << f.scaleWidth()
         << " x " << f.scaleHeight() << " twips\n";
  }

  void print(const std::vector<Word>& w) {
    expect(w, 1, "print $VAR");
    const Variant& v = variable(w[0]);
    out_ << w[0].text << " = " << show(v) << "\n";
  }

  void set(const std::vector<Word>& w) {
    expect(w, 2, "set $VAR VALUE");
    Variant v = value(w[1]);
    variable(w[0]) = std::move(v);
  }

  // MEMBER ARG... as a method, or (let) MEMBER ARG... VALUE as a property assignment.
  void call(const std::vector<Word>& w, bool let) {
    if (w.empty() || w[0].quoted) throw ScriptError(let ? "want let MEMBER ARG... VALUE" : "want a member name");
    if (let && w.size() < 2) throw ScriptError("want let MEMBER ARG... VALUE");
    std::vector<Arg> args;
    std::vector<const Word*> outputs;
    std::string shown = (let ? "let " : "") + w[0].text + "(";
    for (size_t i = 1; i < w.size(); ++i) {
      if (!w[i].quoted && w[i].text[0] == '$') {
        args.push_back(automation::byRef(variable(w[i])));
        outputs.push_back(&w[i]);
        shown += (i > 1 ? ", " : "") + w[i].text;
      } else {
        args.emplace_back(value(w[i]));
        shown += (i > 1 ? ", " : "") + show(args.back().value());
      }
    }
    shown += ")";
    automation::InvokeKind kind = automation::InvokeKind::Method;
    if (let) kind = args.back().value().isObject() ? automation::InvokeKind::PropertySet : automation::InvokeKind::PropertyLet;
    const Variant result = session_.library().invoke(w[0].text, kind, args);
    out_ << shown;
    if (!result.isEmpty()) out_ << " = " << show(result);
    for (size_t i = 0; i < outputs.size(); ++i)
      out_ << (i ? ", " : ": ") << outputs[i]->text << " = " << show(variable(*outputs[i]));
    out_ << "\n";
  }

  void click(const std::vector<Word>& w) {
    expect(w, 3, "click FORM BAR FUNCTION");
    auto& form = formNamed(w[0]);
    auto bar = session_.bar(form, w[1].text);
    const auto palette = HostSession::paletteOf(*bar);
    if (palette) bar = automation::objectAs<vizevore::ReVivezav>(palette->bar());
    const int32_t k = bar->find(w[2].text);
    if (k < 0) throw ScriptError(w[1].text + " has no button " + w[2].text);
    const size_t events = form.events().size(), commands = form.commands().size();
    bar->click(k);
    out_ << "click " << form.name() << "." << w[1].text << "." << w[2].text << (palette ? " on its palette" : "") << ":";
    const char* sep = " ";
    for (size_t i = events; i < form.events().size(); ++i, sep = "; ")
      out_ << sep << form.name() << " received " << host::describe(form.events()[i]);
    for (size_t i = commands; i < form.commands().size(); ++i, sep = "; ")
      out_ << sep << form.name() << " ran " << host::describe(form.commands()[i]);
    if (*sep == ' ') out_ << " nothing reached " << form.name();
    out_ << "\n";
  }

  void floatBar(const std::vector<Word>& w) {
    expect(w, 2, "float FORM BAR");
    auto& form = formNamed(w[0]);
    auto& palette = session_.floatBar(form, w[1].text);
    const auto r = session_.screen().windowRect(palette.hWnd());
    out_ << "float " << form.name() << "." << w[1].text << ": palette (" << r.left << ", " << r.top << ") "
         << r.width() << " x " << r.height() << " px\n";
  }

  void dock(const std::vector<Word>& w) {
    expect(w, 2, "dock FORM BAR");
    auto& form = formNamed(w[0]);
    session_.dockBar(form, w[1].text);
    out_ << "dock " << form.name() << "." << w[1].text << ": docked\n";
  }

  void resize(const std::vector<Word>& w) {
    expect(w, 2, "resize FORM WxH");
    auto& form = formNamed(w[0]);
    const auto s = size(w[1]);
    form.resize(s.width, s.height);
    const auto free = form.layout();
    const auto px = host::freeBox(form, free);
    out_ << "resize " << form.name() << ": " << form.pixelWidth() << " x " << form.pixelHeight()
         << " px, free rectangle (" << px.x << ", " << px.y << ") " << px.w << " x " << px.h << " px\n";
  }

  HostSession& session_;
  std::ostream& out_;
  std::map<std::string, std::pair<std::string, Variant>> vars_;
};

void runScript(const CallOptions& o, Console& console) {
  std::string ini, script = "-";
  if (!o.second.empty()) {
    ini = o.first;
    script = o.second;
  } else if (!o.first.empty()) {
    const auto& f = o.first;
    const bool isIni = f.size() >= 4 && automation::equalsIgnoreCase(std::string_view(f).substr(f.size() - 4), ".ini");
    (isIni ? ini : script) = f;
  }
  ini = configurationPath(ini);
  std::ifstream file;
  if (script != "-") {
    // A script may come through a pipe, <(...); anything else must be a file to read.
    std::error_code ec;
    if (!std::filesystem::is_fifo(script, ec))
      if (auto problem = inputFileProblem(script, Emptiness::Allowed); !problem.empty())
        throw CommandError(script + ": " + problem);
    file.open(script, std::ios::binary);
    if (!file) throw CommandError(script + ": cannot be read");
  }
  std::istream& in = script == "-" ? std::cin : file;
  const std::string name = script == "-" ? "<stdin>" : script;

  HostSession session(ini);
  session.initialise();
  Interpreter interpreter(session, console.out);
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    try {
      interpreter.line(text);
    } catch (const automation::AutomationError& e) {
      console.err << name << ":" << number << ": error " << e.number() << ": " << e.description() << "\n";
      console.status = ExitFailed;
      return;
    } catch (const std::runtime_error& e) {  // ScriptError, CommandError
      console.err << name << ":" << number << ": error: " << e.what() << "\n";
      console.status = ExitFailed;
      return;
    }
  }
}

}  // namespace

void addCallCommand(CLI::App& app, Console& console) {
  auto options = std::make_shared<CallOptions>();
  auto* call = app.add_subcommand("call", "Run a script of library calls on headless forms");
  call->add_option("BARS.INI", options->first,
                   "The configuration (default: BARS.INI here); a lone argument not ending in .ini is the script");
  call->add_option("SCRIPT", options->second, "The script; - or none: standard input");
  call->footer(std::string(Grammar) + "\nExample: zadeve call examples/BARS.INI examples/calls/tour.zcall");
  call->callback([options, &console] { runScript(*options, console); });
}

}  // namespace zadeve::cli
