#include "host/shell_application.h"

#include <ostream>

namespace zadeve::host {

using namespace automation;

namespace {

constexpr platform::Rgba KeyColour{255, 0, 255};

// Four symbols side by side, one per shape, as the host's palette would show them.
Ref<platform::Picture> makePaletteBitmap() {
  constexpr int w = 16, h = 15;
  const char* const symbols[] = {"Disc", "Square", "Triangle", "Diamond"};
  std::vector<uint8_t> strip(static_cast<size_t>(w) * 4 * h * 4);
  for (int s = 0; s < 4; ++s) {
    auto one = drawSymbol(symbols[s], w, h, KeyColour);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        auto c = one->pixel(x, y);
        uint8_t* p = strip.data() + (static_cast<size_t>(y) * w * 4 + s * w + x) * 4;
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
      }
  }
  return platform::Picture::fromPixels(w * 4, h, std::move(strip));
}

}  // namespace

ShellApplication::ShellApplication()
    : shapes_(std::make_shared<ShapePictureSlot>()),
      mainView_(makeObject<ShapeView>(shapes_)),
      locView_(makeObject<ShapeView>(shapes_)),
      paletteBitmap_(makePaletteBitmap()) {}

void ShellApplication::msgBoxSub(std::string text, int32_t style) {
  if (echo_) {
    // Report texts break lines with CR LF; a console wants one line break.
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      shown += text[i];
    }
    *echo_ << shown << "\n";
  }
  reports_.push_back({std::move(text), style});
  // A copy: a modal box lets messages through, and with them more reports.
  if (show_) show_(Report(reports_.back()));
}

const MemberTable<ShellApplication>& ShellApplication::memberTable() {
  using V = VarType;
  using T = ShellApplication;
  static const MemberTable<T> table(
      "ShellApplication",
      {
          {{"MsgBoxSub", 1, InvokeKind::Method,
            {byVal("text", V::String), optionalParam(byVal("style", V::Long), Variant(0))}},
           [](T& t, CallArgs& a) {
             t.msgBoxSub(a.string(0), a.long_(1));
             return Variant();
           }},
          {{"aString", 2, InvokeKind::PropertyGet, {}, V::String},
           [](T& t, CallArgs&) { return Variant(t.aString_); }},
          {{"aString", 2, InvokeKind::PropertyLet, {byVal("value", V::String)}},
           [](T& t, CallArgs& a) {
             t.aString_ = a.string(0);
             return Variant();
           }},
          {{"aValue", 3, InvokeKind::PropertyGet, {}, V::Variant},
           [](T& t, CallArgs&) { return t.aValue_; }},
          {{"aValue", 3, InvokeKind::PropertyLet, {byVal("value", V::Variant)}},
           [](T& t, CallArgs& a) {
             t.aValue_ = a[0];
             return Variant();
           }},
          {{"aCmdFlag", 4, InvokeKind::PropertyGet, {}, V::Integer},
           [](T& t, CallArgs&) { return Variant(t.aCmdFlag_); }},
          {{"aCmdFlag", 4, InvokeKind::PropertyLet, {byVal("value", V::Integer)}},
           [](T& t, CallArgs& a) {
             t.aCmdFlag_ = a.integer(0);
             return Variant();
           }},
          {{"Broadcast", 5, InvokeKind::Method, {byVal("word", V::String)}},
           [](T& t, CallArgs& a) {
             t.broadcast(a.string(0));
             return Variant();
           }},
          {{"GetBitmap", 6, InvokeKind::PropertyGet, {}, V::Object},
           [](T& t, CallArgs&) { return Variant(t.paletteBitmap_); }},
          {{"MainView", 7, InvokeKind::PropertyGet, {}, V::Object},
           [](T& t, CallArgs&) { return Variant(t.mainView_); }},
          {{"locView", 8, InvokeKind::PropertyGet, {}, V::Object},
           [](T& t, CallArgs&) { return Variant(t.locView_); }},
      });
  return table;
}

}  // namespace zadeve::host
