#pragma once
// ReVivezav: the toolbar control of the control library vizevore. The library drives it
// only through its automation members (by name); hosts, the painter and tests also use the
// typed C++ face below.
//
// Items. Every Add… call appends one item and makes it the current button. Positions are
// 0-based: a button object's `Index` and `buttonIndex` use the same numbers.
//
//   AddPushButton name, image, imageRest, text, a, b, width, height
//       a: the item's ButtonFlags (BF_TOGGLE makes it latch, a caption bit shows the text
//          beside or above the image, BF_MAXWIDTH widens it to the widest push button).
//       b: least width in pixels (0 or less: none), so captioned buttons can line up.
//       width, height: the image area in pixels (0: the bar's button size).
//   AddToggleButton name, image, imageRest, text, width, height   (a push button with BF_TOGGLE)
//   AddMenuItem name, image, imageRest, text
//       An entry of the drop-down of the menu added last; it takes no room on the bar. With
//       no menu before it, it sits on the bar as a push button.
//   AddMenu name [, caption]          a drop-down title; caption defaults to the name.
//   AddCombo name, width, tooltip     width in pixels when numeric, else the default width.
//   AddCombo name, entries            entries separated by ";" fill the list; default width.
//   AddSpin name, value, min, max, step, width, tooltip
//       The value is kept within min..max when min < max, unlimited otherwise (so five
//       empty fields give an unlimited spin). A step of 0 means 1. width in pixels, 0: default.
//   AddPanel name, width [, spring], tooltip
//       width in pixels when numeric and positive, else the default width. spring (the "!"
//       of a definition) makes the panel take the free length of its row. Panels start with
//       an empty caption and progress 0 and are drawn sunken (BF_DIP).
//   AddGap, AddSeparator              fixed spacing; a gap or separator that would start a
//                                     wrapped row takes no room.
// The text of buttons and menu items is their tooltip; it is drawn as a caption when the
// button has no image (its image set is not loaded) or a caption bit asks for it. The image
// reference is "set.index" (-1.-1 or "" for none); imageRest is kept and not interpreted.
//
// Image sets. AddImageSet picture [, number [, name, w, h]]: a strip of images in one
// picture. A set given a number ("2") is referred to by that number and replaces an earlier
// set of the same number; a set without one is numbered from 256 upwards, clear of the
// library's icon-set numbers. `IconSetIndex` is the number of the set added last (-1: none).
// A set whose picture is Nothing (the library's bitmap did not load) is numbered like any
// other, but its buttons show no image and fall back to their captions.
// w and h are the size of one image in pixels; a named set without a number (the symbol
// palette's form) passes height first. Without sizes, the bar's image size applies.
//
// States. BF_ON is the pressed state. The disabled state and BF_BUMP are one bit:
// `ButtonEnabled` = False sets BF_BUMP, and flags written with BF_BUMP disable the button.
// Panels are the exception: their BF_BUMP is the raised look, so they keep their
// disabled state apart and a raised panel stays enabled.
// `ButtonType`: push buttons, toggles, menus and menu items 10, panels 20, spins 30,
// combos 40, gaps and separators 1.
//
// State copy (CopyStateFromReVivezavAsObject source): for each button of this bar with a
// function name, the button of the same name on the source (the n-th of that name for the
// n-th here) gives BF_ON, enabled, visible, caption, tooltip, progress, the spin value and
// the combo list with its selection (the last two only between items of the same
// ButtonType). Every button that can be copied is copied; then, if the source lacked a
// button or had one of another ButtonType, the call raises 13.
// The source may be any toolbar, not only one of this class (a host's own control, a
// script's class): then its buttons are found through its default member (the first of
// a name) and read late-bound: BF_ON, enabled, caption and, for a combo, the list with its
// selection; the rest of a button's state has no reader there. An error of the source's
// members stops the copy where it is and reaches the caller.
//
// Keyed lookup (the default member) matches function names ignoring case and returns the
// first such button's object, or Nothing. Button objects and list controls hold the control
// and name their item; once the item is gone (Reset) their members raise 5.
//
// Layout, in twips (pixels × twipsPerPixel). Items flow along the orientation and wrap into
// further rows (columns when vertical) when the length (Width, or Height when vertical)
// is too short. Hidden items and menu entries take no room (empty rect). `MinLength` is the
// longest single item, `IdealLength` the longest row at the current length, `IdealDepth`
// the sum of the rows' thicknesses; all three include the drawn edges. Every change lays
// the bar out at once, except while layout is suppressed: then it is done once when
// suppression ends. `UpdateLayout` lays out at once in any case.
//
// Events go to the EventSink set by the host (event_sink.h), with the current button set
// to the acting button first. A disabled, hidden or unknown item raises nothing.
//
// A window around the bar (a shell on a real form) hears through a BarObserver when the
// bar looks different or moved; the headless bar has none.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/member_table.h"
#include "vizevore/bar_observer.h"
#include "vizevore/button_types.h"
#include "vizevore/event_sink.h"

namespace zadeve::vizevore {

enum class ItemKind : uint8_t {
  PushButton, ToggleButton, Menu, MenuItem, Panel, Spin, Combo, Gap, Separator,
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t right() const { return left + width; }
  int32_t bottom() const { return top + height; }
  bool empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Pixel sizes the layout uses, so that painting agrees with it.
namespace metrics {
inline constexpr int32_t DefaultTwipsPerPixel = 15;
inline constexpr int32_t DefaultButtonSize = 16;
inline constexpr int32_t ButtonPadding = 3;   // around the image, each side
inline constexpr int32_t CaptionPadding = 4;  // around a caption, left and right
inline constexpr int32_t CaptionGap = 3;      // between image and caption
inline constexpr int32_t MenuArrowWidth = 8;  // drop-down mark after a menu's caption
inline constexpr int32_t GapLength = 8;
inline constexpr int32_t SeparatorLength = 8;
inline constexpr int32_t DefaultComboWidth = 96;
inline constexpr int32_t DefaultSpinWidth = 64;  // arrows included
inline constexpr int32_t SpinArrowWidth = 12;
inline constexpr int32_t DefaultPanelWidth = 96;
inline constexpr int32_t EdgeWidth = 2;  // one drawn edge, on each side that has it
inline constexpr int32_t LineHeight = 12;
}  // namespace metrics

struct ImageRef {
  int32_t set = -1;
  int32_t index = -1;
  bool given() const { return set >= 0 && index >= 0; }
  friend bool operator==(const ImageRef&, const ImageRef&) = default;
};

struct SpinData {
  float value = 0;
  float minimum = 0;
  float maximum = 0;
  float step = 1;
  int32_t width = metrics::DefaultSpinWidth;  // pixels
  bool limited() const { return minimum < maximum; }
};

struct ComboEntry {
  std::string text;
  int32_t data = 0;
};

struct ComboData {
  std::vector<ComboEntry> entries;
  int32_t listIndex = -1;
  int32_t newIndex = -1;
  int32_t width = metrics::DefaultComboWidth;  // pixels
  // The text shown in the closed combo.
  std::string selectedText() const;
};

struct PanelData {
  int16_t progress = 0;  // kept as written; painted clamped to 0..100
  int32_t width = metrics::DefaultPanelWidth;  // pixels, before a spring stretches it
  bool spring = false;
  bool disabled = false;  // BF_BUMP is the panel's raised look, not its disabled mark
};

struct Item {
  uint32_t id = 0;  // never reused within one control
  ItemKind kind = ItemKind::PushButton;
  std::string tag;  // the function name
  std::string caption;
  std::string tooltip;
  ImageRef image;
  std::string imageRest;
  int16_t flags = 0;  // ButtonFlags bits
  bool visible = true;
  int32_t menu = -1;         // menu entries: position of their menu
  int32_t imageWidth = 0;    // image area in pixels; 0: the bar's button size
  int32_t imageHeight = 0;
  int32_t leastWidth = 0;    // pixels
  SpinData spin;
  ComboData combo;
  PanelData panel;
  Rect rect;       // twips, relative to the control; empty when it takes no room
  Rect pixelRect;  // the same in pixels

  bool enabled() const { return kind == ItemKind::Panel ? !panel.disabled : (flags & BF_BUMP) == 0; }
  void setEnabled(bool enabled);
  bool on() const { return (flags & BF_ON) != 0; }
  int32_t buttonType() const;
};

struct ImageSet {
  int32_t number = -1;
  std::string key;  // the number text as given
  std::string name;
  automation::ObjectRef picture;
  int32_t imageWidth = 0;  // one image, pixels
  int32_t imageHeight = 0;
};

// Pixels taken by drawn edges on each side.
struct EdgeInsets {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Width of a text in pixels as it will be drawn. Without one of its own, a bar measures
// with the caption font it paints in, at the caption line height.
using TextMeasure = std::function<int32_t(std::string_view)>;

class ReVivezav : public automation::Dispatchable<ReVivezav> {
 public:
  static const automation::MemberTable<ReVivezav>& memberTable();

  explicit ReVivezav(int32_t twipsPerPixel = metrics::DefaultTwipsPerPixel);
  ~ReVivezav() override;

  // Adds the member name to errors raised through automation.
  automation::Variant invoke(std::string_view name, automation::InvokeKind kind,
                             std::span<automation::Arg> args) override;

  // --- Host wiring. The control does not own its form: the host attaches the form (and
  // its sink) when it places the control and detaches it before the form goes away.
  void attach(automation::Object* parentForm, EventSink* sink);
  void detach();
  automation::Object* parentForm() const { return parent_; }
  EventSink* eventSink() const { return sink_; }
  void setTwipsPerPixel(int32_t twipsPerPixel);
  void setTextMeasure(TextMeasure measure);
  // One observer at a time; nullptr removes it.
  void setObserver(BarObserver* observer) { observer_ = observer; }
  int32_t measureText(std::string_view text) const;

  // --- Read accessors.
  const std::vector<Item>& items() const { return items_; }
  int32_t itemCount() const { return static_cast<int32_t>(items_.size()); }
  const Item& item(int32_t index) const;  // raises 9 out of range
  int32_t indexOfId(uint32_t id) const;   // -1 when gone
  int32_t find(std::string_view functionName) const;  // -1 when none
  std::vector<int32_t> menuEntries(int32_t menuIndex) const;
  const std::vector<ImageSet>& imageSets() const { return imageSets_; }
  const ImageSet* imageSet(int32_t number) const;
  bool showsImage(const Item& item) const;
  bool showsCaption(const Item& item) const;
  int32_t iconSetIndex() const { return lastImageSet_; }
  int32_t currentButton() const { return current_; }
  int32_t twipsPerPixel() const { return twipsPerPixel_; }
  int32_t imageWidth() const { return imageWidth_; }  // pixels
  int32_t imageHeight() const { return imageHeight_; }
  int32_t barHeight() const { return barHeight_; }  // the button size, pixels
  const std::string& tag() const { return tag_; }
  bool visible() const { return visible_; }
  bool vertical() const { return vertical_; }
  int32_t align() const { return align_; }
  int32_t left() const { return left_; }  // twips
  int32_t top() const { return top_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int16_t borderFlags1() const { return borderFlags1_; }
  int16_t edgeFlags1() const { return edgeFlags1_; }
  int16_t borderFlags2() const { return borderFlags2_; }
  int16_t edgeFlags2() const { return edgeFlags2_; }
  EdgeInsets edgeInsets() const;
  int32_t minLength() const { return minLength_; }  // twips
  int32_t idealLength() const { return idealLength_; }
  int32_t idealDepth() const { return idealDepth_; }
  bool layoutSuppressed() const { return suppressed_; }
  int32_t layoutCount() const { return layoutCount_; }
  int32_t refreshCount() const { return refreshCount_; }
  int32_t zOrderCount() const { return zOrderCount_; }

  // --- The members, typed. Each raises the automation error its member raises.
  void reset();
  void suppressLayout(bool suppress);
  void setImageSize(int32_t width, int32_t height);
  void setBarHeight(int32_t height);
  int32_t addPushButton(std::string_view name, std::string_view image, std::string_view imageRest,
                        std::string_view text, int32_t flags, int32_t leastWidth, int32_t width,
                        int32_t height);
  int32_t addToggleButton(std::string_view name, std::string_view image,
                          std::string_view imageRest, std::string_view text, int32_t width,
                          int32_t height);
  int32_t addMenu(std::string_view name, std::string_view caption);
  int32_t addMenuItem(std::string_view name, std::string_view image, std::string_view imageRest,
                      std::string_view text);
  int32_t addCombo(std::string_view name, int32_t width, std::string_view tooltip);
  int32_t addComboWithEntries(std::string_view name, std::string_view entries);
  int32_t addSpin(std::string_view name, const SpinData& spin, std::string_view tooltip);
  int32_t addPanel(std::string_view name, int32_t width, bool spring, std::string_view tooltip);
  int32_t addGap();
  int32_t addSeparator();
  int32_t addImageSet(automation::ObjectRef picture, std::string_view number,
                      std::string_view name, int32_t imageWidth, int32_t imageHeight);
  void updateLayout();
  void zOrder();
  void refresh();
  void setTag(std::string tag);
  void setVisible(bool visible);
  void setVertical(bool vertical);
  void setAlign(int32_t align);
  void setLeft(int32_t twips);
  void setTop(int32_t twips);
  void setWidth(int32_t twips);
  void setHeight(int32_t twips);
  void move(int32_t left, int32_t top, int32_t width, int32_t height);
  void setBorderFlags(int16_t border1, int16_t edge1, int16_t border2, int16_t edge2);
  void copyStateFrom(const ReVivezav& source);
  // Any toolbar; one of this class takes the direct way above.
  void copyStateFromToolbar(automation::Object& source);
  void setButtonIndex(int32_t index);  // raises 9 out of range

  // Per-button state by position (raise 9 out of range).
  void setFlags(int32_t index, int16_t flags);
  void setEnabled(int32_t index, bool enabled);
  void setItemVisible(int32_t index, bool visible);
  void setCaption(int32_t index, std::string caption);
  void setTooltip(int32_t index, std::string tooltip);
  void setProgress(int32_t index, int16_t progress);
  void setSpinValue(int32_t index, float value);

  // Combo lists by position of the combo (raise 5 for an item that is not a combo, 9 for
  // a list position out of range).
  int32_t addListItem(int32_t combo, std::string text, int32_t at = -1);
  void removeListItem(int32_t combo, int32_t entry);
  void clearList(int32_t combo);
  void setListText(int32_t combo, int32_t entry, std::string text);
  void setListData(int32_t combo, int32_t entry, int32_t data);
  void setListIndex(int32_t combo, int32_t entry);  // -1 clears; raises no event

  // --- User actions: what a person does to the bar. Each returns whether an event was
  // raised; an item that cannot act (disabled, hidden, a gap) raises nothing. Positions out
  // of range raise 9, an action that does not fit the item's kind raises 5.
  bool click(int32_t index);              // buttons, menu entries, panels: ButtonClick
  bool pick(int32_t combo, int32_t entry);  // sets the selection, then ButtonClick
  bool spinUp(int32_t spin);              // value + step, then ButtonSpinUp
  bool spinDown(int32_t spin);            // value - step, then ButtonSpinDown
  bool typeValue(int32_t spin, float value);  // the edit changes: ButtonChange
  bool commitValue(int32_t spin);         // Enter in the edit: ButtonValue
  bool contextMenu(float x, float y);     // right button at x, y (twips): BarContextMenu

 private:
  using Rows = std::vector<automation::Member<ReVivezav>>;
  static Rows barMembers();
  static Rows itemMembers();
  static Rows buttonMembers();

  Item& itemAt(int32_t index);
  Item& comboAt(int32_t index);
  Item& spinAt(int32_t index);
  Item& currentItem();
  int32_t append(Item item);
  void changed();  // re-lays out (unless suppressed) and repaints
  void repaint() const {
    if (observer_) observer_->barChanged();
  }
  void placed() const {
    if (observer_) observer_->barPlaced();
  }
  void layout();
  bool raiseEvent(int32_t index, std::string_view event, std::span<automation::Arg> args);
  bool raiseValue(int32_t index, std::string_view event, float value);
  bool canAct(const Item& item) const;

  std::vector<Item> items_;
  std::vector<ImageSet> imageSets_;
  uint32_t nextId_ = 1;
  int32_t lastImageSet_ = -1;
  int32_t current_ = -1;
  automation::Object* parent_ = nullptr;
  EventSink* sink_ = nullptr;
  BarObserver* observer_ = nullptr;
  TextMeasure measure_;
  int32_t twipsPerPixel_;
  int32_t imageWidth_ = metrics::DefaultButtonSize;
  int32_t imageHeight_ = metrics::DefaultButtonSize;
  int32_t barHeight_ = metrics::DefaultButtonSize;
  std::string tag_;
  bool visible_ = true;
  bool vertical_ = false;
  int32_t align_ = 0;
  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int16_t borderFlags1_ = 0;
  int16_t edgeFlags1_ = 0;
  int16_t borderFlags2_ = 0;
  int16_t edgeFlags2_ = 0;
  int32_t minLength_ = 0;
  int32_t idealLength_ = 0;
  int32_t idealDepth_ = 0;
  bool suppressed_ = false;
  bool dirty_ = false;
  int32_t layoutCount_ = 0;
  int32_t refreshCount_ = 0;
  int32_t zOrderCount_ = 0;
};

}  // namespace zadeve::vizevore
