#include "vizevore/revivezav.h"

#include <algorithm>

#include "automation/conversions.h"
#include "automation/error.h"
#include "platform/picture.h"
#include "vizevore/font.h"
#include "vizevore/image_reference.h"

namespace zadeve::vizevore {

using automation::err::InvalidCall;
using automation::err::Subscript;

namespace {

// Pixel sizes beyond this are certainly mistakes and would overflow twips arithmetic.
constexpr int32_t MaxPixels = 4096;

void requirePixels(int32_t value, std::string_view what) {
  if (value < 0 || value > MaxPixels)
    automation::raise(InvalidCall, std::string(what) + " must lie between 0 and " +
                                       std::to_string(MaxPixels) + " pixels, not " +
                                       std::to_string(value));
}

int32_t checkedTwipsPerPixel(int32_t twipsPerPixel) {
  if (twipsPerPixel < 1 || twipsPerPixel > 1440)
    automation::raise(InvalidCall, "Twips per pixel must lie between 1 and 1440, not " +
                                       std::to_string(twipsPerPixel));
  return twipsPerPixel;
}

// Sets without a number of their own are numbered from here, clear of 0..255.
constexpr int32_t FirstUnnumberedSet = 256;

}  // namespace

int32_t Item::buttonType() const {
  switch (kind) {
    case ItemKind::Panel: return KAT_PANEL;
    case ItemKind::Spin: return KAT_SPIN;
    case ItemKind::Combo: return KAT_COMBO;
    case ItemKind::Gap:
    case ItemKind::Separator: return KAT_GAP;
    default: return KAT_PUSHBUTTON;
  }
}

void Item::setEnabled(bool enabled) {
  if (kind == ItemKind::Panel)
    panel.disabled = !enabled;
  else
    flags = static_cast<int16_t>(enabled ? flags & ~BF_BUMP : flags | BF_BUMP);
}

std::string ComboData::selectedText() const {
  if (listIndex < 0 || listIndex >= static_cast<int32_t>(entries.size())) return {};
  return entries[static_cast<size_t>(listIndex)].text;
}

ReVivezav::ReVivezav(int32_t twipsPerPixel) : twipsPerPixel_(checkedTwipsPerPixel(twipsPerPixel)) {}

ReVivezav::~ReVivezav() = default;

void ReVivezav::attach(automation::Object* parentForm, EventSink* sink) {
  parent_ = parentForm;
  sink_ = sink;
}

void ReVivezav::detach() {
  parent_ = nullptr;
  sink_ = nullptr;
}

void ReVivezav::setTwipsPerPixel(int32_t twipsPerPixel) {
  twipsPerPixel_ = checkedTwipsPerPixel(twipsPerPixel);
  changed();
}

void ReVivezav::setTextMeasure(TextMeasure measure) {
  measure_ = std::move(measure);
  changed();
}

int32_t ReVivezav::measureText(std::string_view text) const {
  if (measure_) return std::max(0, measure_(text));
  return Font::caption().measure(text, metrics::LineHeight);
}

const Item& ReVivezav::item(int32_t index) const {
  if (index < 0 || index >= itemCount())
    automation::raise(Subscript, "Button index " + std::to_string(index) + " is out of range (the bar has " +
                                     std::to_string(itemCount()) + " buttons)");
  return items_[static_cast<size_t>(index)];
}

Item& ReVivezav::itemAt(int32_t index) { return const_cast<Item&>(item(index)); }

Item& ReVivezav::currentItem() {
  if (current_ < 0 || current_ >= itemCount())
    automation::raise(Subscript, "No current button: set buttonIndex first");
  return items_[static_cast<size_t>(current_)];
}

int32_t ReVivezav::indexOfId(uint32_t id) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].id == id) return static_cast<int32_t>(i);
  return -1;
}

int32_t ReVivezav::find(std::string_view functionName) const {
  if (functionName.empty()) return -1;
  for (size_t i = 0; i < items_.size(); ++i)
    if (automation::equalsIgnoreCase(items_[i].tag, functionName)) return static_cast<int32_t>(i);
  return -1;
}

std::vector<int32_t> ReVivezav::menuEntries(int32_t menuIndex) const {
  std::vector<int32_t> entries;
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].kind == ItemKind::MenuItem && items_[i].menu == menuIndex)
      entries.push_back(static_cast<int32_t>(i));
  return entries;
}

const ImageSet* ReVivezav::imageSet(int32_t number) const {
  for (const auto& set : imageSets_)
    if (set.number == number) return &set;
  return nullptr;
}

bool ReVivezav::showsImage(const Item& item) const {
  if (!item.image.given()) return false;
  const ImageSet* set = imageSet(item.image.set);
  return set != nullptr && set->picture;
}

bool ReVivezav::showsCaption(const Item& item) const {
  switch (item.kind) {
    case ItemKind::PushButton:
    case ItemKind::ToggleButton:
    case ItemKind::MenuItem:
      return !showsImage(item) || (item.flags & BF_CAPTIONMASK) != 0;
    case ItemKind::Menu:
    case ItemKind::Panel: return true;
    default: return false;
  }
}

// --- Building the bar ---------------------------------------------------------------

void ReVivezav::reset() {
  items_.clear();
  imageSets_.clear();
  lastImageSet_ = -1;
  current_ = -1;
  changed();
}

void ReVivezav::suppressLayout(bool suppress) {
  suppressed_ = suppress;
  if (!suppress && dirty_) changed();
}

void ReVivezav::setImageSize(int32_t width, int32_t height) {
  requirePixels(width, "The image width");
  requirePixels(height, "The image height");
  imageWidth_ = width;
  imageHeight_ = height;
  changed();
}

void ReVivezav::setBarHeight(int32_t height) {
  requirePixels(height, "The button size");
  barHeight_ = height;
  changed();
}

int32_t ReVivezav::append(Item item) {
  item.id = nextId_++;
  items_.push_back(std::move(item));
  current_ = itemCount() - 1;
  changed();
  return current_;
}

int32_t ReVivezav::addPushButton(std::string_view name, std::string_view image,
                                 std::string_view imageRest, std::string_view text, int32_t flags,
                                 int32_t leastWidth, int32_t width, int32_t height) {
  if (flags < INT16_MIN || flags > UINT16_MAX)
    automation::raise(automation::err::Overflow, "Button flags " + std::to_string(flags) + " do not fit 16 bits");
  requirePixels(width, "The button width");
  requirePixels(height, "The button height");
  Item item;
  item.kind = (flags & BF_TOGGLE) ? ItemKind::ToggleButton : ItemKind::PushButton;
  item.tag = name;
  item.tooltip = text;
  item.caption = text;
  item.image = parseImageReference(image);
  item.imageRest = imageRest;
  item.flags = static_cast<int16_t>(flags);
  item.leastWidth = std::clamp(leastWidth, 0, MaxPixels);
  item.imageWidth = width;
  item.imageHeight = height;
  return append(std::move(item));
}

int32_t ReVivezav::addToggleButton(std::string_view name, std::string_view image,
                                   std::string_view imageRest, std::string_view text,
                                   int32_t width, int32_t height) {
  return addPushButton(name, image, imageRest, text, BF_TOGGLE, 0, width, height);
}

int32_t ReVivezav::addMenu(std::string_view name, std::string_view caption) {
  Item item;
  item.kind = ItemKind::Menu;
  item.tag = name;
  item.caption = caption.empty() ? name : caption;
  item.tooltip = item.caption;
  return append(std::move(item));
}

int32_t ReVivezav::addMenuItem(std::string_view name, std::string_view image,
                               std::string_view imageRest, std::string_view text) {
  Item item;
  item.kind = ItemKind::MenuItem;
  item.tag = name;
  item.caption = text;
  item.tooltip = text;
  item.image = parseImageReference(image);
  item.imageRest = imageRest;
  for (int32_t i = itemCount() - 1; i >= 0; --i)
    if (items_[static_cast<size_t>(i)].kind == ItemKind::Menu) {
      item.menu = i;
      break;
    }
  return append(std::move(item));
}

int32_t ReVivezav::addCombo(std::string_view name, int32_t width, std::string_view tooltip) {
  requirePixels(width, "The combo width");
  Item item;
  item.kind = ItemKind::Combo;
  item.tag = name;
  item.tooltip = tooltip;
  if (width > 0) item.combo.width = width;
  return append(std::move(item));
}

int32_t ReVivezav::addComboWithEntries(std::string_view name, std::string_view entries) {
  Item item;
  item.kind = ItemKind::Combo;
  item.tag = name;
  while (!entries.empty()) {
    size_t end = entries.find(';');
    item.combo.entries.push_back({std::string(entries.substr(0, end)), 0});
    if (end == std::string_view::npos) break;
    entries.remove_prefix(end + 1);
  }
  return append(std::move(item));
}

int32_t ReVivezav::addSpin(std::string_view name, const SpinData& spin, std::string_view tooltip) {
  requirePixels(spin.width, "The spin width");
  Item item;
  item.kind = ItemKind::Spin;
  item.tag = name;
  item.tooltip = tooltip;
  item.spin = spin;
  if (item.spin.step == 0) item.spin.step = 1;
  if (item.spin.width == 0) item.spin.width = metrics::DefaultSpinWidth;
  if (item.spin.limited()) item.spin.value = std::clamp(item.spin.value, item.spin.minimum, item.spin.maximum);
  return append(std::move(item));
}

int32_t ReVivezav::addPanel(std::string_view name, int32_t width, bool spring, std::string_view tooltip) {
  requirePixels(width, "The panel width");
  Item item;
  item.kind = ItemKind::Panel;
  item.tag = name;
  item.tooltip = tooltip;
  item.flags = BF_DIP;
  if (width > 0) item.panel.width = width;
  item.panel.spring = spring;
  return append(std::move(item));
}

int32_t ReVivezav::addGap() {
  Item item;
  item.kind = ItemKind::Gap;
  return append(std::move(item));
}

int32_t ReVivezav::addSeparator() {
  Item item;
  item.kind = ItemKind::Separator;
  return append(std::move(item));
}

int32_t ReVivezav::addImageSet(automation::ObjectRef picture, std::string_view number,
                               std::string_view name, int32_t imageWidth, int32_t imageHeight) {
  // Nothing is a set whose picture did not load: it keeps its number and shows no images.
  if (picture && !automation::objectAs<platform::Picture>(picture))
    automation::raise(automation::err::InvalidPicture,
                      "AddImageSet needs a picture, not a " + std::string(picture->typeName()));
  requirePixels(imageWidth, "The image width");
  requirePixels(imageHeight, "The image height");
  ImageSet set;
  set.key = number;
  set.name = name;
  set.picture = std::move(picture);
  set.imageWidth = imageWidth > 0 ? imageWidth : imageWidth_;
  set.imageHeight = imageHeight > 0 ? imageHeight : imageHeight_;
  if (!number.empty()) {
    auto parsed = automation::parseNumber(number);
    if (!parsed || *parsed < 0 || *parsed > 32767 || *parsed != static_cast<int32_t>(*parsed))
      automation::raise(automation::err::TypeMismatch,
                        "Image set number \"" + std::string(number) + "\" is not a whole number from 0 to 32767");
    set.number = static_cast<int32_t>(*parsed);
  } else {
    set.number = FirstUnnumberedSet;
    for (const auto& s : imageSets_) set.number = std::max(set.number, s.number + 1);
  }
  auto same = std::find_if(imageSets_.begin(), imageSets_.end(),
                           [&](const ImageSet& s) { return s.number == set.number; });
  lastImageSet_ = set.number;
  if (same != imageSets_.end())
    *same = std::move(set);
  else
    imageSets_.push_back(std::move(set));
  changed();
  return lastImageSet_;
}

void ReVivezav::setButtonIndex(int32_t index) {
  item(index);
  current_ = index;
}

void ReVivezav::changed() {
  if (suppressed_)
    dirty_ = true;
  else
    layout();
  repaint();
}

}  // namespace zadeve::vizevore
