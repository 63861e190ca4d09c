#pragma once
// The bar the paint benchmarks paint, natively and in a window under Wine.

#include <string>

#include "platform/picture.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

// A bar as a busy host shows it: mostly image buttons, some captions, and one of every
// field kind, some pressed and some disabled.
// `pictures` is the folder of std16.bmp.
inline void fillFortyItems(ReVivezav& b, const std::string& pictures, int lengthPixels) {
  ReVivezav* bar = &b;
  bar->addImageSet(platform::loadPicture(pictures + "/std16.bmp"),
                   "2", "", 16, 15);
  for (int i = 0; bar->itemCount() < 40; ++i) {
    switch (i % 10) {
      case 4: bar->addSeparator(); break;
      case 7: {
        const int combo = bar->addComboWithEntries("Zoom" + std::to_string(i), "50%;100%;200%");
        bar->setListIndex(combo, 1);
        break;
      }
      case 8: bar->addSpin("Size" + std::to_string(i), SpinData{10, 0, 72, 1, 0}, ""); break;
      case 9: {
        const int panel = bar->addPanel("Status" + std::to_string(i), 80, false, "");
        bar->setCaption(panel, "Ready");
        bar->setProgress(panel, 60);
        break;
      }
      case 5: bar->addPushButton("Cmd" + std::to_string(i), "", "", "Report", 0, 0, 0, 0); break;
      default: {
        const int at = bar->addPushButton("Cmd" + std::to_string(i), "2." + std::to_string(i % 16),
                                          "", "Command", 0, 0, 0, 0);
        if (i % 6 == 0) bar->setFlags(at, BF_ON);
        if (i % 11 == 0) bar->setEnabled(at, false);
      }
    }
  }
  bar->setBorderFlags(6, 2, 0, 0);
  const int tpp = bar->twipsPerPixel();
  bar->move(0, 0, lengthPixels * tpp, 0);
  bar->setHeight(bar->idealDepth());
}

inline automation::Ref<ReVivezav> fortyItemBar(const std::string& pictures, int lengthPixels) {
  auto bar = automation::makeObject<ReVivezav>();
  fillFortyItems(*bar, pictures, lengthPixels);
  return bar;
}

}  // namespace zadeve::vizevore
