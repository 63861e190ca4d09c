#pragma once
// The host's views as the symbol palette uses them: the main view draws a symbol into a
// shape picture (SetShapePictureInfo) and the locator view hands that picture out
// (ShapePicture). Both views of one application share the picture.

#include <cstdint>
#include <memory>
#include <string>

#include "automation/member_table.h"
#include "platform/picture.h"

namespace zadeve::host {

// What the last SetShapePictureInfo prepared.
struct ShapePictureSlot {
  automation::Ref<platform::Picture> picture;
  std::string symbol;
};

class ShapeView : public automation::Dispatchable<ShapeView> {
 public:
  static const automation::MemberTable<ShapeView>& memberTable();

  explicit ShapeView(std::shared_ptr<ShapePictureSlot> slot) : slot_(std::move(slot)) {}

  // Sizes in pixels, 1 to 256 (anything else raises 5); `colour` is the runtime's
  // 0x00BBGGRR background, the key colour the toolbar leaves out.
  void setShapePictureInfo(int32_t height, int32_t width, int32_t colour, const std::string& symbol);
  // Raises 91 until a picture was prepared.
  automation::Ref<platform::Picture> shapePicture() const;

 private:
  std::shared_ptr<ShapePictureSlot> slot_;
};

// A simple picture of a named symbol: one of a few outlined shapes, chosen by the name,
// on the given background. The same name always gives the same picture.
automation::Ref<platform::Picture> drawSymbol(const std::string& symbol, int width, int height,
                                              platform::Rgba background);

// The runtime's colour value (0x00BBGGRR) as RGBA.
platform::Rgba fromColourValue(int32_t colour);

}  // namespace zadeve::host
