#include "palette/tool_palette.h"

#include <algorithm>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "core/host_contracts.h"

namespace zadeve::palette {

using namespace automation;
using core::HostForm;
using core::Toolbar;
namespace events = core::toolbar_events;

namespace {

// Where a palette opens when its bar has no saved position, in pixels; the first show
// fits it around its toolbar.
constexpr platform::PixelRect InitialRect{96, 96, 96 + 240, 96 + 64};

// The runtime's Forms collection, for palettes: it keeps a loaded palette alive.
std::vector<Ref<FrmToolPalette>>& forms() {
  static std::vector<Ref<FrmToolPalette>> loaded;
  return loaded;
}

int32_t toPixels(double twips, double twipsPerPixel) { return roundToLong(twips / twipsPerPixel); }

}  // namespace

FrmToolPalette::FrmToolPalette()
    : mnuState_(makeObject<PaletteMenu>("mnuState", "State")),
      mnuFloat_(makeObject<PaletteMenu>("mnuFloat", "Float")),
      mnuDock_(makeObject<PaletteMenu>("mnuDock", "Dock")) {}

FrmToolPalette::~FrmToolPalette() {
  // Only a palette that was never unloaded gets here with its window: the process ends.
  if (bar_.detach) bar_.detach();
  if (msg_) msg_->detach();
}

std::vector<Ref<FrmToolPalette>> FrmToolPalette::loadedPalettes() { return forms(); }

core::ZuzuzudLibrary& FrmToolPalette::library() const {
  if (!theLibrary) raise(err::ObjectNotSet, "The palette has no library");
  return *theLibrary;
}

double FrmToolPalette::twipsPerPixelX() const { return platform::windowing().twipsPerPixelX(); }
double FrmToolPalette::twipsPerPixelY() const { return platform::windowing().twipsPerPixelY(); }

// --- Load, show, unload --------------------------------------------------------------------

void FrmToolPalette::load() {
  if (loaded()) return;
  auto& screen = platform::windowing();
  hWnd_ = screen.createWindow(*this, InitialRect);
  try {
    bar_ = platform::createControl(ToolbarProgId, *this, *this);
    msg_ = makeObject<platform::Msghook>(this);
  } catch (...) {
    screen.destroyWindow(std::exchange(hWnd_, 0));
    throw;
  }
  forms().push_back(Ref<FrmToolPalette>(this));
  onLoad();
}

void FrmToolPalette::onLoad() {
  int32_t dragFullWindows = 0;
  platform::windowing().systemParametersInfo(platform::SPI_GETDRAGFULLWINDOWS, 0, &dragFullWindows, 0);
  sourceBar_ = library().aBar();
  letProperty(*msg_, "hwnd", Variant(int32_t{hWnd_}));
  if (dragFullWindows != 0) {
    std::vector<Arg> args{Variant(platform::WM_SIZING), Variant(true)};
    msg_->invoke("Message", InvokeKind::PropertyLet, args);
  }
}

void FrmToolPalette::show() {
  if (!loaded()) load();
  platform::windowing().showWindow(hWnd_);
}

void FrmToolPalette::unload() {
  if (!loaded() || unloading_) return;
  auto keepAlive = automation::keepAlive(*this);
  unloading_ = true;
  struct Release {
    FrmToolPalette& form;
    ~Release() {
      if (form.bar_.detach) form.bar_.detach();
      form.bar_ = {};
      form.msg_->detach();
      platform::windowing().destroyWindow(std::exchange(form.hWnd_, 0));
      auto& loaded = forms();
      loaded.erase(std::remove(loaded.begin(), loaded.end(), &form), loaded.end());
      form.unloading_ = false;
    }
  } release{*this};
  onUnload();
}

void FrmToolPalette::onUnload() {
  core::ZuzuzudLibrary& lib = library();
  lib.KaTCopyBarState(bar(), sourceBar_);
  Toolbar source(sourceBar_);
  if (tag_ != DontDock) {
    source.Visible(true);
    lib.KaTSetProp(sourceBar_, "State", Variant("Docked"));
    HostForm(source.parent()).Signal("REFORMAT");
  }
  const std::string floatPos = toString(Variant(Left())) + "," + toString(Variant(Top())) + "," +
                               toString(Variant(Width())) + "," + toString(Variant(Height()));
  lib.KaTSetProp(sourceBar_, "FloatPos", Variant(floatPos));
  lib.KaTUnloadBars(ObjectRef(this));
  if (targetForm) {
    auto& screen = platform::windowing();
    const int32_t owner = screen.getWindowLong(HostForm(targetForm).hWnd(), platform::GWL_HWNDPARENT);
    screen.setWindowLong(hWnd_, platform::GWL_HWNDPARENT, owner);
  }
  targetForm.reset();
  sourceBar_.reset();
  theLibrary.reset();
}

// --- Geometry ------------------------------------------------------------------------------

std::string FrmToolPalette::Caption() const { return loaded() ? platform::windowing().caption(hWnd_) : ""; }

void FrmToolPalette::Caption(const std::string& caption) {
  load();
  platform::windowing().setCaption(hWnd_, caption);
}

bool FrmToolPalette::Visible() const { return loaded() && platform::windowing().isVisible(hWnd_); }

float FrmToolPalette::Left() const {
  return loaded() ? float(platform::windowing().windowRect(hWnd_).left * twipsPerPixelX()) : 0;
}
float FrmToolPalette::Top() const {
  return loaded() ? float(platform::windowing().windowRect(hWnd_).top * twipsPerPixelY()) : 0;
}
float FrmToolPalette::Width() const {
  return loaded() ? float(platform::windowing().windowRect(hWnd_).width() * twipsPerPixelX()) : 0;
}
float FrmToolPalette::Height() const {
  return loaded() ? float(platform::windowing().windowRect(hWnd_).height() * twipsPerPixelY()) : 0;
}
float FrmToolPalette::ScaleWidth() const {
  return loaded() ? float(platform::windowing().clientRect(hWnd_).width() * twipsPerPixelX()) : 0;
}
float FrmToolPalette::ScaleHeight() const {
  return loaded() ? float(platform::windowing().clientRect(hWnd_).height() * twipsPerPixelY()) : 0;
}

void FrmToolPalette::Move(double left, double top, double width, double height) {
  load();
  const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
  const int32_t l = toPixels(left, tx), t = toPixels(top, ty);
  // The system takes a negative size as none.
  const int32_t w = std::max(0, toPixels(width, tx)), h = std::max(0, toPixels(height, ty));
  platform::windowing().moveWindow(hWnd_, {l, t, addLong(l, w), addLong(t, h)});
}

void FrmToolPalette::windowResized() {
  auto keepAlive = automation::keepAlive(*this);
  if (loaded()) onResize();
}

void FrmToolPalette::onResize() {
  int32_t w = roundToLong(Width()), h = roundToLong(Height());
  LayoutPalette(w, h);
}

// --- Signal and menu -----------------------------------------------------------------------

void FrmToolPalette::Signal(const std::string& text) {
  if (text == signal_) return;
  auto keepAlive = automation::keepAlive(*this);
  signal_ = text;
  onSignalChange();
}

void FrmToolPalette::onSignalChange() {
  const std::string word = toUpper(signal_);
  if (word == "REFORMAT" || word == "REBUILTBAR") onResize();
  Signal("");
}

void FrmToolPalette::onBarContextMenu() {
  if (core::ZuzuzudLibrary::FloatingMenuDisabled()) return;
  const std::vector<std::string> items{mnuFloat_->caption(), mnuDock_->caption()};
  // "Float" has no action; "Dock" only asks: the palette unloads once the menu has closed.
  if (platform::windowing().popupMenu(hWnd_, items) == 1) dockRequested_ = True;
  if (dockRequested_) unload();
}

void FrmToolPalette::controlEvent(Object& source, std::string_view event, std::span<Arg> args) {
  // The host may unload this palette from inside a handler (its command closes the form,
  // "Dock", a message while a menu or a sizing loop runs): the palette and the control
  // live until the event is done, whatever the handler does after that.
  auto keepAlive = automation::keepAlive(*this);
  auto keepSource = automation::keepAlive(source);
  if (msg_ && &source == msg_.get()) {
    if (event == platform::Msghook::MessageEvent && args.size() == 4)
      onSizing(toLong(args[0].value()), toLong(args[1].value()), toLong(args[2].value()));
    return;
  }
  if (&source != bar().get()) return;
  auto value = [&] { return args.empty() ? 0.0f : toSingle(args[0].value()); };
  if (event == events::BarContextMenu)
    onBarContextMenu();
  else if (event == events::ButtonClick)
    onButtonClick();
  else if (event == events::ButtonChange)
    onButtonChange(value(), "_Change");
  else if (event == events::ButtonValue)
    onButtonChange(value(), "");
  else if (event == events::ButtonSpinUp)
    onButtonSpin(value(), true);
  else if (event == events::ButtonSpinDown)
    onButtonSpin(value(), false);
}

// --- Automation face -----------------------------------------------------------------------

const MemberTable<PaletteMenu>& PaletteMenu::memberTable() {
  using T = PaletteMenu;
  static const MemberTable<T> table(
      "Menu", {
                  {{"Name", 1, InvokeKind::PropertyGet, {}, VarType::String},
                   [](T& t, CallArgs&) { return Variant(t.name_); }},
                  {{"Caption", 2, InvokeKind::PropertyGet, {}, VarType::String},
                   [](T& t, CallArgs&) { return Variant(t.caption_); }},
                  {{"Caption", 2, InvokeKind::PropertyLet, {byVal("value", VarType::String)}},
                   [](T& t, CallArgs& a) { return t.caption_ = a.string(0), Variant(); }},
              });
  return table;
}

}  // namespace zadeve::palette
