// zadeve layout: where the library put each bar of a view, and the free rectangle its
// KaTLayout returned, as JSON or as a table. Every number is read from the bars and the
// form after the library's own layout; the tool computes none of them.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iomanip>
#include <memory>
#include <ostream>

#include "automation/conversions.h"
#include "cli/cli.h"
#include "cli/json_text.h"
#include "cli/view_options.h"
#include "host/form_picture.h"

namespace zadeve::cli {
namespace {

using automation::ObjectRef;

struct LayoutOptions : ViewOptions {
  bool json = false;
};

struct BarRow {
  int32_t index;
  std::string name, edge;
  automation::Ref<vizevore::ReVivezav> bar;
  automation::Ref<palette::FrmToolPalette> palette;
};

std::vector<BarRow> barRows(HostSession& session, const host::HeadlessForm& form) {
  std::vector<BarRow> rows;
  for (int32_t i = 0; i <= form.bars().upperBound(); ++i) {
    auto bar = form.bar(i);
    if (!bar) continue;
    auto& lib = session.library();
    rows.push_back({i, lib.KaTBarName(ObjectRef(bar)),
                    automation::toUpper(automation::toString(lib.KaTGetProp(ObjectRef(bar), "Home", "Top"))), bar,
                    HostSession::paletteOf(*bar)});
  }
  return rows;
}

std::string box(int32_t left, int32_t top, int32_t width, int32_t height) {
  return "{\"left\": " + std::to_string(left) + ", \"top\": " + std::to_string(top) + ", \"width\": " +
         std::to_string(width) + ", \"height\": " + std::to_string(height) + "}";
}

void printJson(std::ostream& out, HostSession& session, const host::HeadlessForm& form, const std::string& view) {
  const int32_t tx = form.twipsPerPixelX(), ty = form.twipsPerPixelY();
  out << "{\n  \"view\": " << jsonString(view) << ",\n  \"form\": {\"name\": " << jsonString(form.name())
      << ", \"pixels\": {\"width\": " << form.pixelWidth() << ", \"height\": " << form.pixelHeight()
      << "}, \"twips\": {\"width\": " << form.scaleWidth() << ", \"height\": " << form.scaleHeight() << "}},\n"
      << "  \"bars\": [";
  const auto rows = barRows(session, form);
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    const auto& b = *r.bar;
    out << (i ? ",\n" : "\n") << "    {\"index\": " << r.index << ", \"name\": " << jsonString(r.name)
        << ", \"edge\": " << jsonString(r.edge) << ", \"visible\": " << (b.visible() ? "true" : "false")
        << ", \"floating\": " << (r.palette ? "true" : "false") << ", \"vertical\": " << (b.vertical() ? "true" : "false")
        << ", \"twips\": " << box(b.left(), b.top(), b.width(), b.height())
        << ", \"pixels\": " << box(b.left() / tx, b.top() / ty, b.width() / tx, b.height() / ty)
        << ", \"borderFlags1\": " << b.borderFlags1() << ", \"edgeFlags1\": " << b.edgeFlags1()
        << ", \"borderFlags2\": " << b.borderFlags2() << ", \"edgeFlags2\": " << b.edgeFlags2();
    if (r.palette) {
      const auto w = session.screen().windowRect(r.palette->hWnd());
      out << ", \"palette\": {\"pixels\": " << box(w.left, w.top, w.width(), w.height()) << "}";
    }
    out << "}";
  }
  out << (rows.empty() ? "],\n" : "\n  ],\n") << "  \"free\": ";
  if (const auto& free = form.freeRectangle()) {
    const auto px = host::freeBox(form, *free);
    out << "{\"twips\": {\"left\": " << free->left << ", \"top\": " << free->top << ", \"right\": " << free->right
        << ", \"bottom\": " << free->bottom << "}, \"pixels\": " << box(px.x, px.y, px.w, px.h) << "}";
  } else {
    out << "null";
  }
  out << "\n}\n";
}

// Columns padded to their widest cell; numbers to the right.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> width;
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size(); ++c) {
      width.resize(std::max(width.size(), row.size()));
      width[c] = std::max(width[c], row[c].size());
    }
  for (const auto& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      const bool number = !row[c].empty() && (std::isdigit(static_cast<unsigned char>(row[c].back())) != 0);
      const std::string pad(width[c] - row[c].size(), ' ');
      line += (c ? "  " : "") + (number ? pad + row[c] : row[c] + pad);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << "\n";
  }
}

void printText(std::ostream& out, HostSession& session, const host::HeadlessForm& form, const std::string& view) {
  const int32_t tx = form.twipsPerPixelX(), ty = form.twipsPerPixelY();
  out << view << " on " << form.name() << ", " << form.pixelWidth() << " x " << form.pixelHeight() << " px = "
      << form.scaleWidth() << " x " << form.scaleHeight() << " twips\n";
  std::vector<std::vector<std::string>> rows{{"bar", "name", "edge", "shown", "left", "top", "width", "height",
                                              "px left", "px top", "px width", "px height", "edges", "border"}};
  auto n = [](int32_t v) { return std::to_string(v); };
  for (const auto& r : barRows(session, form)) {
    const auto& b = *r.bar;
    rows.push_back({n(r.index), r.name.empty() ? "-" : r.name, r.edge,
                    r.palette ? "floating" : (b.visible() ? "docked" : "hidden"), n(b.left()), n(b.top()),
                    n(b.width()), n(b.height()), n(b.left() / tx), n(b.top() / ty), n(b.width() / tx),
                    n(b.height() / ty), n(b.edgeFlags1()), n(b.borderFlags1())});
  }
  printTable(out, rows);
  if (const auto& free = form.freeRectangle()) {
    const auto px = host::freeBox(form, *free);
    out << "free rectangle: left " << free->left << " top " << free->top << " right " << free->right << " bottom "
        << free->bottom << " twips = (" << px.x << ", " << px.y << ") " << px.w << " x " << px.h << " px\n";
  }
}

}  // namespace

void addLayoutCommand(CLI::App& app, Console& console) {
  auto options = std::make_shared<LayoutOptions>();
  auto* layout = app.add_subcommand("layout", "Print where the library docked each bar of a view, and the free rectangle");
  addViewOptions(*layout, *options);
  layout->add_flag("--json", options->json, "Print JSON instead of a table");
  layout->footer("Twips are the library's units; pixels divide them by the screen's twips per pixel.\n"
                 "Example: zadeve layout examples/BARS.INI --view MainView --float Draw --json");
  layout->callback([options, &console] {
    HostSession session(configurationPath(options->file), bitmapFolder(options->bitmaps));
    auto& form = buildView(session, *options, console);
    if (options->json)
      printJson(console.out, session, form, options->view);
    else
      printText(console.out, session, form, options->view);
  });
}

}  // namespace zadeve::cli
