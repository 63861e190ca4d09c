#include "core/host_contracts.h"

#include "automation/conversions.h"

namespace zadeve::core {

using automation::Arg;
using automation::byRef;
using automation::ObjectRef;
using automation::toBoolean;
using automation::toInteger;
using automation::toLong;
using automation::toObject;
using automation::toString;

namespace {
Variant str(const std::string& s) { return Variant(s); }
Variant i16(int16_t v) { return Variant(v); }
}  // namespace

// --- ListControl -----------------------------------------------------------------------

void ListControl::AddItem(const std::string& item) const {
  Variant v = str(item);
  call("AddItem", {byRef(v)});
}
int32_t ListControl::NewIndex() const { return toLong(get("NewIndex")); }
int32_t ListControl::ItemData(int32_t index) const { return toLong(get("ItemData", {Variant(index)})); }
void ListControl::ItemData(int32_t index, int32_t data) const {
  std::vector<Arg> args{Variant(index), Variant(data)};
  target().invoke("ItemData", automation::InvokeKind::PropertyLet, args);
}
std::string ListControl::List(int32_t index) const { return toString(get("List", {Variant(index)})); }
int32_t ListControl::ListCount() const { return toLong(get("ListCount")); }
int32_t ListControl::ListIndex() const { return toLong(get("ListIndex")); }
void ListControl::ListIndex(int32_t index) const { let("ListIndex", Variant(index)); }
void ListControl::ListIndex(int16_t index) const { let("ListIndex", i16(index)); }

// --- Button ----------------------------------------------------------------------------

int16_t Button::Index() const { return toInteger(get("Index")); }
std::string Button::Caption() const { return toString(get("Caption")); }
void Button::Caption(const std::string& text) const { let("Caption", str(text)); }
void Button::Progress(int16_t percent) const { let("Progress", i16(percent)); }
void Button::Visible(int16_t visible) const { let("Visible", i16(visible)); }
ListControl Button::PlaceholderFor() const { return ListControl(toObject(get("PlaceholderFor"))); }

// --- Toolbar ---------------------------------------------------------------------------

void Toolbar::Reset() const { call("Reset"); }
void Toolbar::SuppressLayout(bool suppress) const { call("SuppressLayout", {Variant(suppress)}); }
void Toolbar::SetImageSize(int16_t width, int16_t height) const {
  Variant w = i16(width), h = i16(height);
  call("SetImageSize", {byRef(w), byRef(h)});
}
void Toolbar::SetBarHeight(int16_t size) const {
  Variant v = i16(size);
  call("SetBarHeight", {byRef(v)});
}
void Toolbar::UpdateLayout() const { call("UpdateLayout"); }
void Toolbar::ZOrder() const { call("ZOrder"); }
void Toolbar::Refresh() const { call("Refresh"); }

std::string Toolbar::Tag() const { return toString(get("Tag")); }
void Toolbar::Tag(const std::string& tag) const { let("Tag", str(tag)); }
bool Toolbar::Visible() const { return toBoolean(get("Visible")); }
void Toolbar::Visible(bool visible) const { let("Visible", Variant(visible)); }
bool Toolbar::Vertical() const { return toBoolean(get("Vertical")); }
void Toolbar::Vertical(bool vertical) const { let("Vertical", Variant(vertical)); }
void Toolbar::Align(int32_t align) const { let("Align", Variant(align)); }
Variant Toolbar::Left() const { return get("Left"); }
void Toolbar::Left(const Variant& v) const { let("Left", v); }
Variant Toolbar::Top() const { return get("Top"); }
void Toolbar::Top(const Variant& v) const { let("Top", v); }
Variant Toolbar::Width() const { return get("Width"); }
void Toolbar::Width(const Variant& v) const { let("Width", v); }
Variant Toolbar::Height() const { return get("Height"); }
void Toolbar::Height(const Variant& v) const { let("Height", v); }
void Toolbar::Move(const Variant& left, const Variant& top, const Variant& width,
                   const Variant& height) const {
  call("Move", {left, top, width, height});
}
Variant Toolbar::IdealDepth() const { return get("IdealDepth"); }
Variant Toolbar::MinLength() const { return get("MinLength"); }
Variant Toolbar::IdealLength() const { return get("IdealLength"); }
void Toolbar::BorderFlags1(int16_t v) const { let("BorderFlags1", i16(v)); }
void Toolbar::EdgeFlags1(int16_t v) const { let("EdgeFlags1", i16(v)); }
void Toolbar::BorderFlags2(int16_t v) const { let("BorderFlags2", i16(v)); }
void Toolbar::EdgeFlags2(int16_t v) const { let("EdgeFlags2", i16(v)); }
ObjectRef Toolbar::parent() const { return toObject(get("parent")); }
void Toolbar::CopyStateFromReVivezavAsObject(const ObjectRef& source) const {
  Variant v(source);
  call("CopyStateFromReVivezavAsObject", {byRef(v)});
}

void Toolbar::buttonIndex(int16_t index) const { let("buttonIndex", i16(index)); }
Button Toolbar::ButtonFor(const std::string& fn) const { return Button(toObject(get("", {str(fn)}))); }
int32_t Toolbar::ButtonType() const { return toLong(get("ButtonType")); }
int16_t Toolbar::PushButtonFlags() const { return toInteger(get("PushButtonFlags")); }
void Toolbar::PushButtonFlags(int16_t flags) const { let("PushButtonFlags", i16(flags)); }
Variant Toolbar::ButtonEnabled() const { return get("ButtonEnabled"); }
void Toolbar::ButtonEnabled(int16_t enabled) const { let("ButtonEnabled", i16(enabled)); }
std::string Toolbar::ButtonTag() const { return toString(get("ButtonTag")); }
void Toolbar::ButtonTooltip(const std::string& tip) const { let("ButtonTooltip", str(tip)); }
int16_t Toolbar::ButtonListIndex() const { return toInteger(get("ButtonListIndex")); }
int16_t Toolbar::IconSetIndex() const { return toInteger(get("IconSetIndex")); }

void Toolbar::AddImageSet(const ObjectRef& picture) const { call("AddImageSet", {Variant(picture)}); }
void Toolbar::AddImageSet(const ObjectRef& picture, const std::string& number) const {
  call("AddImageSet", {Variant(picture), str(number)});
}
void Toolbar::AddImageSet(const ObjectRef& picture, const std::string& number,
                          const std::string& name, int16_t width, int16_t height) const {
  Variant w = i16(width), h = i16(height);
  call("AddImageSet", {Variant(picture), str(number), str(name), byRef(w), byRef(h)});
}
void Toolbar::AddGap() const { call("AddGap"); }
void Toolbar::AddSeparator() const { call("AddSeparator"); }
void Toolbar::AddMenu(const std::string& name) const {
  Variant n = str(name);
  call("AddMenu", {byRef(n)});
}
void Toolbar::AddMenu(const std::string& name, const std::string& rest) const {
  Variant n = str(name), r = str(rest);
  call("AddMenu", {byRef(n), byRef(r)});
}
void Toolbar::AddCombo(const std::string& name, const std::string& f2, const std::string& text) const {
  Variant n = str(name), f = str(f2), t = str(text);
  call("AddCombo", {byRef(n), byRef(f), byRef(t)});
}
void Toolbar::AddCombo(const std::string& name, const std::string& rest) const {
  Variant n = str(name), r = str(rest);
  call("AddCombo", {byRef(n), byRef(r)});
}
void Toolbar::AddSpin(const std::string& name, Variant (&values)[5], const std::string& text) const {
  Variant n = str(name), t = str(text);
  call("AddSpin", {byRef(n), byRef(values[0]), byRef(values[1]), byRef(values[2]), byRef(values[3]),
                   byRef(values[4]), byRef(t)});
}
void Toolbar::AddPushButton(const std::string& name, const std::string& imageRef,
                            const std::string& remainder, const std::string& text, double a, double b,
                            int16_t size) const {
  Variant n = str(name), r = str(remainder), t = str(text), s1 = i16(size), s2 = i16(size);
  call("AddPushButton",
       {byRef(n), str(imageRef), byRef(r), byRef(t), Variant(a), Variant(b), byRef(s1), byRef(s2)});
}
void Toolbar::AddMenuItem(const std::string& name, const std::string& imageRef,
                          const std::string& remainder, const std::string& text) const {
  Variant n = str(name), r = str(remainder), t = str(text);
  call("AddMenuItem", {byRef(n), str(imageRef), byRef(r), byRef(t)});
}
void Toolbar::AddToggleButton(const std::string& name, const std::string& imageRef,
                              const std::string& remainder, const std::string& text, int16_t size) const {
  Variant n = str(name), r = str(remainder), t = str(text), s1 = i16(size), s2 = i16(size);
  call("AddToggleButton", {byRef(n), str(imageRef), byRef(r), byRef(t), byRef(s1), byRef(s2)});
}
void Toolbar::AddPanel(const std::string& name, const std::string& p, const Variant& flag,
                       const std::string& text) const {
  Variant n = str(name), pv = str(p), f = flag, t = str(text);
  if (flag.isMissing())
    call("AddPanel", {byRef(n), byRef(pv), Arg::missing(), byRef(t)});
  else
    call("AddPanel", {byRef(n), byRef(pv), byRef(f), byRef(t)});
}

// --- HostForm --------------------------------------------------------------------------

bool HostForm::isForm(const automation::Object& object) {
  return object.typeName() == "Form" || object.typeName() == "frmToolPalette";
}

Toolbar HostForm::bar(int16_t index) const {
  auto array = toObject(get("bar"));
  return Toolbar(toObject(automation::getProperty(automation::requireObject(array), "", {i16(index)})));
}
void HostForm::loadBar(int16_t index) const {
  auto array = toObject(get("bar"));
  automation::callMethod(automation::requireObject(array), "Load", {i16(index)});
}
Variant HostForm::ScaleWidth() const { return get("ScaleWidth"); }
Variant HostForm::ScaleHeight() const { return get("ScaleHeight"); }
std::string HostForm::Name() const { return toString(get("Name")); }
std::string HostForm::Tag() const { return toString(get("Tag")); }
void HostForm::Tag(const std::string& tag) const { let("Tag", str(tag)); }
void HostForm::Signal(const std::string& word) const { let("Signal", str(word)); }
ObjectRef HostForm::targetForm() const { return toObject(get("targetForm")); }
int32_t HostForm::hWnd() const { return toLong(get("hWnd")); }
void HostForm::Unload() const { call("Unload"); }

// --- ToolbarManager --------------------------------------------------------------------

void ToolbarManager::Add(const ObjectRef& bar) const {
  Variant v(bar);
  call("Add", {byRef(v)});
}
int16_t ToolbarManager::Count() const { return toInteger(get("Count")); }
ObjectRef ToolbarManager::ItemAsObject(int16_t position, automation::Passing passing) const {
  Variant pos = i16(position);
  if (passing == automation::Passing::ByRef) return toObject(call("ItemAsObject", {byRef(pos)}));
  return toObject(call("ItemAsObject", {pos}));
}
void ToolbarManager::Remove(int16_t position) const {
  Variant pos = i16(position);
  call("Remove", {byRef(pos)});
}

// --- ShellApp --------------------------------------------------------------------------

void ShellApp::MsgBoxSub(const std::string& text) const { call("MsgBoxSub", {str(text), Variant(1)}); }
std::string ShellApp::aString() const { return toString(get("aString")); }
void ShellApp::aString(const std::string& command) const { let("aString", str(command)); }
Variant ShellApp::aValue() const { return get("aValue"); }
void ShellApp::aValue(const Variant& value) const { let("aValue", value); }
int16_t ShellApp::aCmdFlag() const { return toInteger(get("aCmdFlag")); }
void ShellApp::aCmdFlag(int16_t flag) const { let("aCmdFlag", i16(flag)); }
void ShellApp::Broadcast(const std::string& word) const { call("Broadcast", {str(word)}); }
ObjectRef ShellApp::GetBitmap() const { return toObject(get("GetBitmap")); }
ObjectRef ShellApp::MainView() const { return toObject(get("MainView")); }
ObjectRef ShellApp::locView() const { return toObject(get("locView")); }

// --- HostView --------------------------------------------------------------------------

void HostView::SetShapePictureInfo(int16_t height, int16_t width, int16_t a, int32_t colour,
                                   const std::string& symbol, int16_t b) const {
  Variant h = i16(height), w = i16(width), s = str(symbol);
  call("SetShapePictureInfo", {byRef(h), byRef(w), i16(a), Variant(colour), byRef(s), i16(b)});
}
ObjectRef HostView::ShapePicture() const { return toObject(get("ShapePicture")); }

}  // namespace zadeve::core
