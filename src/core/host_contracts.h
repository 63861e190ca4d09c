#pragma once
// Typed faces over the objects the library drives but does not own: the host's
// application object, its toolbar manager, its forms, the toolbar control, its buttons
// and a combo's list. Each method is exactly one late-bound call by name, with the
// passing modes the library uses, so library code reads like its own prose while every
// call stays late-bound. A facade over Nothing raises 91 on its first call.
//
// Forms follow the runtime's form contract: `bar` is a control array object whose
// default member returns element i (340 when it does not exist) and whose `Load`
// creates element i (360 when it exists already); a form is closed with `Unload`.

#include <cstdint>
#include <string>

#include "automation/dispatch.h"
#include "automation/member_table.h"
#include "automation/variant.h"

namespace zadeve::core {

using automation::ObjectRef;
using automation::Variant;

// Common base: holds the reference and makes the named call.
class HostObject {
 public:
  HostObject() = default;
  explicit HostObject(ObjectRef object) : object_(std::move(object)) {}
  const ObjectRef& object() const { return object_; }
  bool isNothing() const { return !object_; }

 protected:
  automation::Object& target() const { return automation::requireObject(object_); }
  Variant call(std::string_view name, std::initializer_list<automation::Arg> args = {}) const {
    return automation::callMethod(target(), name, args);
  }
  Variant get(std::string_view name, std::initializer_list<automation::Arg> args = {}) const {
    return automation::getProperty(target(), name, args);
  }
  void let(std::string_view name, Variant value) const {
    automation::letProperty(target(), name, std::move(value));
  }

 private:
  ObjectRef object_;
};

class ListControl : public HostObject {
 public:
  using HostObject::HostObject;
  void AddItem(const std::string& item) const;
  int32_t NewIndex() const;
  int32_t ItemData(int32_t index) const;
  void ItemData(int32_t index, int32_t data) const;
  std::string List(int32_t index) const;
  int32_t ListCount() const;
  int32_t ListIndex() const;
  void ListIndex(int32_t index) const;
  void ListIndex(int16_t index) const;  // written as a 16-bit integer
};

class Button : public HostObject {
 public:
  using HostObject::HostObject;
  int16_t Index() const;
  std::string Caption() const;
  void Caption(const std::string& text) const;
  void Progress(int16_t percent) const;
  void Visible(int16_t visible) const;
  ListControl PlaceholderFor() const;
};

// The events a toolbar raises to the form that holds it.
namespace toolbar_events {
inline constexpr std::string_view BarContextMenu = "BarContextMenu";
inline constexpr std::string_view ButtonClick = "ButtonClick";
inline constexpr std::string_view ButtonChange = "ButtonChange";
inline constexpr std::string_view ButtonSpinUp = "ButtonSpinUp";
inline constexpr std::string_view ButtonSpinDown = "ButtonSpinDown";
inline constexpr std::string_view ButtonValue = "ButtonValue";
}  // namespace toolbar_events

class Toolbar : public HostObject {
 public:
  using HostObject::HostObject;
  void Reset() const;
  void SuppressLayout(bool suppress) const;
  void SetImageSize(int16_t width, int16_t height) const;
  void SetBarHeight(int16_t size) const;
  void UpdateLayout() const;
  void ZOrder() const;
  void Refresh() const;

  std::string Tag() const;
  void Tag(const std::string& tag) const;
  bool Visible() const;
  void Visible(bool visible) const;
  bool Vertical() const;
  void Vertical(bool vertical) const;
  void Align(int32_t align) const;
  Variant Left() const;
  void Left(const Variant& v) const;
  Variant Top() const;
  void Top(const Variant& v) const;
  Variant Width() const;
  void Width(const Variant& v) const;
  Variant Height() const;
  void Height(const Variant& v) const;
  void Move(const Variant& left, const Variant& top, const Variant& width, const Variant& height) const;
  Variant IdealDepth() const;
  Variant MinLength() const;
  Variant IdealLength() const;
  void BorderFlags1(int16_t v) const;
  void EdgeFlags1(int16_t v) const;
  void BorderFlags2(int16_t v) const;
  void EdgeFlags2(int16_t v) const;
  ObjectRef parent() const;
  void CopyStateFromReVivezavAsObject(const ObjectRef& source) const;

  void buttonIndex(int16_t index) const;
  // The default member: the button of a function, or Nothing.
  Button ButtonFor(const std::string& fn) const;
  int32_t ButtonType() const;
  int16_t PushButtonFlags() const;
  void PushButtonFlags(int16_t flags) const;
  Variant ButtonEnabled() const;
  void ButtonEnabled(int16_t enabled) const;
  std::string ButtonTag() const;
  void ButtonTooltip(const std::string& tip) const;
  int16_t ButtonListIndex() const;
  int16_t IconSetIndex() const;

  // Image sets and items: arguments and passing modes as the bar builders use them.
  void AddImageSet(const ObjectRef& picture) const;
  void AddImageSet(const ObjectRef& picture, const std::string& number) const;
  void AddImageSet(const ObjectRef& picture, const std::string& number, const std::string& name,
                   int16_t width, int16_t height) const;
  void AddGap() const;
  void AddSeparator() const;
  void AddMenu(const std::string& name) const;
  void AddMenu(const std::string& name, const std::string& rest) const;
  void AddCombo(const std::string& name, const std::string& f2, const std::string& text) const;
  void AddCombo(const std::string& name, const std::string& rest) const;
  void AddSpin(const std::string& name, Variant (&values)[5], const std::string& text) const;
  void AddPushButton(const std::string& name, const std::string& imageRef, const std::string& remainder,
                     const std::string& text, double a, double b, int16_t size) const;
  void AddMenuItem(const std::string& name, const std::string& imageRef, const std::string& remainder,
                   const std::string& text) const;
  void AddToggleButton(const std::string& name, const std::string& imageRef,
                       const std::string& remainder, const std::string& text, int16_t size) const;
  // `flag` Missing passes the third argument as omitted.
  void AddPanel(const std::string& name, const std::string& p, const Variant& flag,
                const std::string& text) const;
};

class HostForm : public HostObject {
 public:
  using HostObject::HostObject;
  // Whether an object is a form of the runtime (a host form or the library's palette);
  // a type test, not a call.
  static bool isForm(const automation::Object& object);
  Toolbar bar(int16_t index) const;
  void loadBar(int16_t index) const;
  Variant ScaleWidth() const;
  Variant ScaleHeight() const;
  std::string Name() const;
  std::string Tag() const;
  void Tag(const std::string& tag) const;
  void Signal(const std::string& word) const;
  ObjectRef targetForm() const;
  int32_t hWnd() const;
  void Unload() const;
};

class ToolbarManager : public HostObject {
 public:
  using HostObject::HostObject;
  void Add(const ObjectRef& bar) const;
  int16_t Count() const;
  // Scans pass the position by value, unloading by reference.
  ObjectRef ItemAsObject(int16_t position, automation::Passing passing = automation::Passing::ByVal) const;
  void Remove(int16_t position) const;
};

class ShellApp : public HostObject {
 public:
  using HostObject::HostObject;
  void MsgBoxSub(const std::string& text) const;
  std::string aString() const;
  void aString(const std::string& command) const;
  Variant aValue() const;
  void aValue(const Variant& value) const;
  int16_t aCmdFlag() const;
  void aCmdFlag(int16_t flag) const;
  void Broadcast(const std::string& word) const;
  ObjectRef GetBitmap() const;
  ObjectRef MainView() const;
  ObjectRef locView() const;
};

// The host's views, reached through ShellApp's MainView and locView: the symbol palette
// draws a symbol into the shape picture of the locator view.
class HostView : public HostObject {
 public:
  using HostObject::HostObject;
  void SetShapePictureInfo(int16_t height, int16_t width, int16_t a, int32_t colour,
                           const std::string& symbol, int16_t b) const;
  ObjectRef ShapePicture() const;
};

}  // namespace zadeve::core
