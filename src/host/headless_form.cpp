#include "host/headless_form.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <utility>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "host/form_picture.h"
#include "host/shell_application.h"
#include "platform/headless_windowing.h"
#include "platform/windowing.h"

namespace zadeve::host {

using namespace automation;

namespace {

int32_t screenTwips(double twipsPerPixel) { return std::max(1, static_cast<int32_t>(std::lround(twipsPerPixel))); }

// No screen is larger; it also keeps pixels times twips per pixel within 32 bits.
constexpr int32_t MaxPixels = 16384;

void requireSize(int32_t twips, const char* what) {
  if (twips < 0) raise(err::InvalidCall, std::string(what) + " must not be negative, not " + std::to_string(twips));
}

void defaultSignalHandler(HeadlessForm& form, const std::string& word) {
  if ((word == "REFORMAT" || word == "RebuiltBar") && form.library()) form.layout();
  if (word == "ExecuteCommand" && form.application()) form.runCommand();
}

}  // namespace

std::string describe(const ExecutedCommand& c) {
  std::string s = c.name + " (aCmdFlag " + std::to_string(c.flag);
  if (!c.value.isEmpty()) s += ", aValue " + toString(c.value);
  return s + ")";
}

std::string describe(const ControlEvent& e) {
  std::ostringstream s;
  s << "bar(" << e.barIndex << ") " << e.event;
  if (!e.function.empty()) s << " " << e.function;
  if (e.value) s << " = " << toString(Variant(*e.value));
  return s.str();
}

HeadlessForm::HeadlessForm(std::string name, int32_t widthPixels, int32_t heightPixels)
    : name_(std::move(name)),
      caption_(name_),
      twipsPerPixelX_(screenTwips(platform::windowing().twipsPerPixelX())),
      twipsPerPixelY_(screenTwips(platform::windowing().twipsPerPixelY())),
      signalHandler_(defaultSignalHandler) {
  resize(widthPixels, heightPixels);
  hWnd_ = platform::windowing().createFormWindow(*this, widthPixels, heightPixels);
  platform::windowing().setCaption(hWnd_, caption_);
  platform::windowing().showWindow(hWnd_);
  bars_ = makeObject<ControlArray>(*this);
}

HeadlessForm::HeadlessForm(std::string name, platform::WindowHandle hostWindow)
    : name_(std::move(name)),
      twipsPerPixelX_(screenTwips(platform::windowing().twipsPerPixelX())),
      twipsPerPixelY_(screenTwips(platform::windowing().twipsPerPixelY())),
      hWnd_(hostWindow),
      hostWindow_(true),
      signalHandler_(defaultSignalHandler) {
  auto& screen = platform::windowing();
  const platform::PixelRect client = screen.clientRect(hostWindow);  // raises 5 for no window
  caption_ = screen.caption(hostWindow);
  resize(client.width(), client.height());
  screen.watchWindow(hWnd_, this);
  bars_ = makeObject<ControlArray>(*this);
}

HeadlessForm::~HeadlessForm() {
  // Controls may outlive the form (the toolbar manager holds them): none keeps a parent.
  bars_->orphan();
  releaseWindow();
}

void HeadlessForm::releaseWindow() noexcept {
  const platform::WindowHandle window = std::exchange(hWnd_, 0);
  if (window == 0) return;
  if (!hostWindow_) {
    platform::windowing().destroyWindow(window);
    return;
  }
  try {
    platform::windowing().watchWindow(window, nullptr);
  } catch (const AutomationError&) {
    // The host's window is gone already, and with it the watch.
  }
}

void HeadlessForm::setCaption(std::string caption) {
  caption_ = std::move(caption);
  if (platform::windowing().isWindow(hWnd_)) platform::windowing().setCaption(hWnd_, caption_);
}

void HeadlessForm::setApplication(Ref<ShellApplication> app) { application_ = std::move(app); }

void HeadlessForm::setScaleWidth(int32_t twips) {
  requireSize(twips, "ScaleWidth");
  scaleWidth_ = twips;
}

void HeadlessForm::setScaleHeight(int32_t twips) {
  requireSize(twips, "ScaleHeight");
  scaleHeight_ = twips;
}

void HeadlessForm::resize(int32_t widthPixels, int32_t heightPixels) {
  if (widthPixels < 0 || heightPixels < 0 || widthPixels > MaxPixels || heightPixels > MaxPixels)
    raise(err::InvalidCall, "A form's client area must lie within 0 to " + std::to_string(MaxPixels) +
                                " pixels each way, not " + std::to_string(widthPixels) + " x " +
                                std::to_string(heightPixels));
  setScaleWidth(widthPixels * twipsPerPixelX_);
  setScaleHeight(heightPixels * twipsPerPixelY_);
  if (!hostWindow_ && hWnd_ != 0 && platform::windowing().isWindow(hWnd_))
    platform::windowing().setClientSize(hWnd_, widthPixels, heightPixels);
}

void HeadlessForm::windowResized() {
  if (!loaded_ || hWnd_ == 0) return;
  const platform::PixelRect client = platform::windowing().clientRect(hWnd_);
  // A minimised window has no client area; it comes back at the size it had.
  if (client.width() <= 0 || client.height() <= 0) return;
  const int32_t width = client.width() * twipsPerPixelX_, height = client.height() * twipsPerPixelY_;
  if (width == scaleWidth_ && height == scaleHeight_) return;
  setScaleWidth(width);
  setScaleHeight(height);
  if (library_) layout();
}

void HeadlessForm::windowDestroyed() {
  // The host's window took its child windows along; the form has no window from here on.
  hWnd_ = 0;
  unload();
}

void HeadlessForm::paintWindow(platform::WindowPixels& into) {
  if (!loaded_ || hostWindow_ || pixelWidth() <= 0 || pixelHeight() <= 0) return;
  const vizevore::Canvas picture = renderForm(*this);
  into.width = picture.width();
  into.height = picture.height();
  into.pixels = windowPixels(picture);
}

void HeadlessForm::signal(const std::string& word) {
  // The handler may unload the form and drop the last reference the caller had.
  auto keepAlive = automation::keepAlive(*this);
  signalText_ = word;
  signals_.push_back(word);
  if (signalHandler_) signalHandler_(*this, word);
}

FreeRectangle HeadlessForm::layout() {
  Object& lib = requireObject(library_);
  Variant edges[4] = {Variant(int16_t{0}), Variant(int16_t{0}), Variant(int16_t{0}), Variant(int16_t{0})};
  callMethod(lib, "KaTLayout",
             {Variant(ObjectRef(this)), byRef(edges[0]), byRef(edges[1]), byRef(edges[2]), byRef(edges[3])});
  FreeRectangle r{toInteger(edges[0]), toInteger(edges[1]), toInteger(edges[2]), toInteger(edges[3])};
  free_ = r;
  if (!hostWindow_ && platform::windowing().isWindow(hWnd_)) platform::windowing().invalidate(hWnd_);
  return r;
}

void HeadlessForm::unload() {
  if (!loaded_) return;
  auto keepAlive = automation::keepAlive(*this);
  loaded_ = false;
  // Whatever the library says, the controls go and the library is let go.
  struct Release {
    HeadlessForm& form;
    ~Release() {
      form.bars_->clear();
      form.library_.reset();
      form.application_.reset();
      form.releaseWindow();
      if (auto listener = std::move(form.unloadedListener_)) {
        try {
          listener();
        } catch (...) {
          // The host's listener has nothing above it to report to; the unload is done.
        }
      }
    }
  } release{*this};
  if (library_) callMethod(*library_, "KaTUnloadBars", {Variant(ObjectRef(this))});
}

void HeadlessForm::controlEvent(Object& control, std::string_view event, std::span<Arg> args) {
  auto& source = dynamic_cast<vizevore::ReVivezav&>(control);  // the array holds nothing else
  ControlEvent e;
  e.barIndex = bars_->indexOf(source);
  e.event = event;
  const int32_t current = source.currentButton();
  if (event != vizevore::events::BarContextMenu && current >= 0 && current < source.itemCount())
    e.function = source.item(current).tag;
  if (args.size() == 1 && isNumeric(args[0].value())) e.value = toSingle(args[0].value());
  events_.push_back(e);
  if (eventListener_) eventListener_(events_.back());
  if (application_ && !e.function.empty()) commandFromEvent(source, e);
}

const MemberTable<HeadlessForm>& HeadlessForm::memberTable() {
  using V = VarType;
  using T = HeadlessForm;
  static const MemberTable<T> table(
      "Form",
      {
          {{"Name", 1, InvokeKind::PropertyGet, {}, V::String},
           [](T& t, CallArgs&) { return Variant(t.name_); }},
          {{"Caption", 2, InvokeKind::PropertyGet, {}, V::String},
           [](T& t, CallArgs&) { return Variant(t.caption_); }},
          {{"Caption", 2, InvokeKind::PropertyLet, {byVal("value", V::String)}},
           [](T& t, CallArgs& a) {
             t.setCaption(a.string(0));
             return Variant();
           }},
          {{"Tag", 3, InvokeKind::PropertyGet, {}, V::String},
           [](T& t, CallArgs&) { return Variant(t.tag_); }},
          {{"Tag", 3, InvokeKind::PropertyLet, {byVal("value", V::String)}},
           [](T& t, CallArgs& a) {
             t.tag_ = a.string(0);
             return Variant();
           }},
          {{"ScaleWidth", 4, InvokeKind::PropertyGet, {}, V::Single},
           [](T& t, CallArgs&) { return Variant(float(t.scaleWidth_)); }},
          {{"ScaleWidth", 4, InvokeKind::PropertyLet, {byVal("value", V::Single)}},
           [](T& t, CallArgs& a) {
             t.setScaleWidth(roundToLong(a.double_(0)));
             return Variant();
           }},
          {{"ScaleHeight", 5, InvokeKind::PropertyGet, {}, V::Single},
           [](T& t, CallArgs&) { return Variant(float(t.scaleHeight_)); }},
          {{"ScaleHeight", 5, InvokeKind::PropertyLet, {byVal("value", V::Single)}},
           [](T& t, CallArgs& a) {
             t.setScaleHeight(roundToLong(a.double_(0)));
             return Variant();
           }},
          {{"Signal", 6, InvokeKind::PropertyGet, {}, V::String},
           [](T& t, CallArgs&) { return Variant(t.signalText_); }},
          {{"Signal", 6, InvokeKind::PropertyLet, {byVal("value", V::String)}},
           [](T& t, CallArgs& a) {
             t.signal(a.string(0));
             return Variant();
           }},
          // `bar` is the array; `bar(i)` reaches an element as the runtime allows.
          {{"bar", 7, InvokeKind::PropertyGet, {optionalParam(byVal("Index", V::Integer))}, V::Object},
           [](T& t, CallArgs& a) {
             if (a.isMissing(0)) return Variant(t.bars_);
             return Variant(t.bars_->item(a.integer(0)));
           }},
          {{"hWnd", 9, InvokeKind::PropertyGet, {}, V::Long}, [](T& t, CallArgs&) { return Variant(t.hWnd_); }},
          {{"Unload", 8, InvokeKind::Method, {}},
           [](T& t, CallArgs&) {
             t.unload();
             return Variant();
           }},
      });
  return table;
}

}  // namespace zadeve::host
