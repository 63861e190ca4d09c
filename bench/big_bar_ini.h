#pragma once
// The benchmarks' palette: one bar of 40 items (buttons from an icon strip, toggles, a
// combo, a spin, separators) in a view "View", with std16.bmp beside the file.

#include <string>

namespace zadeve::bench {

inline constexpr int BigBarItems = 40;

inline std::string bigBarIni() {
  std::string s = "[Functions]\nIconSetCount=1\nIconSet0=std16.bmp,16,15\n";
  for (int f = 0; f < 12; ++f) s += "Push" + std::to_string(f) + "=PUSH,0/" + std::to_string(f) + ",Push|~0~0\n";
  s += "Bold=TOGGLE,,Bold|\nFont=COMBO,140,Font|\nSize=SPIN,8/6/72/1/0,Size|\n";
  s += "[View.Toolbars]\nBarCount=1\nBar0=Name=Big;Home=TOP;Visible=Yes\n[Toolbar.Big]\nButtonCount=" +
       std::to_string(BigBarItems) + "\nButtonSize=22\n";
  for (int n = 0; n < BigBarItems; ++n) {
    const char* entry = n % 10 == 4 ? "!SEPARATOR" : n % 10 == 7 ? "Bold" : n == 9 ? "Font" : n == 19 ? "Size" : nullptr;
    s += "Button" + std::to_string(n) + "=" + (entry ? entry : "Push" + std::to_string(n % 12)) + "\n";
  }
  return s;
}

}  // namespace zadeve::bench
