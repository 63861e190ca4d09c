// The toolbar window's pop-ups: a combo's list and a menu's entries as the system's pop-up
// menu, the edit box a spin's value is typed in, and the tooltip.

#include <cstdlib>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "host/toolbar_window_win32.h"

namespace zadeve::host {

using vizevore::ItemKind;

int32_t ToolbarWindow::dropDown(int32_t index, ItemPart part, const std::vector<std::string>& texts,
                                int32_t checked, const std::vector<bool>& enabled) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (size_t i = 0; i < texts.size(); ++i) {
    UINT flags = MF_STRING;
    if (static_cast<int32_t>(i) == checked) flags |= MF_CHECKED;
    if (!enabled.empty() && !enabled[i]) flags |= MF_GRAYED;
    AppendMenuA(menu, flags, i + 1, texts[i].c_str());
  }
  const vizevore::Item& item = *itemAt(index);
  POINT at{item.pixelRect.left, item.pixelRect.bottom()};
  ClientToScreen(hwnd_, &at);
  show({index, part, true});
  UpdateWindow(hwnd_);
  quietTooltip(true);  // it would stand over the entries
  const int picked = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                    at.x, at.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
  if (hwnd_) show({});
  quietTooltip(false);
  return picked - 1;
}

void ToolbarWindow::dropList(int32_t combo) {
  const vizevore::Item& item = *itemAt(combo);
  std::vector<std::string> texts;
  for (const auto& entry : item.combo.entries) texts.push_back(entry.text);
  if (texts.empty()) return;
  const uint32_t id = item.id;
  const int32_t picked = dropDown(combo, ItemPart::DropButton, texts, item.combo.listIndex, {});
  // The bar may have changed while the list was open (a timer's handler, say).
  const int32_t now = bar_->indexOfId(id);
  if (picked >= 0 && now >= 0 && picked < static_cast<int32_t>(itemAt(now)->combo.entries.size()))
    bar_->pick(now, picked);
}

void ToolbarWindow::dropMenu(int32_t menuIndex) {
  const std::vector<int32_t> entries = bar_->menuEntries(menuIndex);
  if (entries.empty()) return;
  std::vector<std::string> texts;
  std::vector<bool> enabled;
  std::vector<uint32_t> ids;
  for (int32_t e : entries) {
    texts.push_back(itemAt(e)->caption);
    enabled.push_back(itemAt(e)->enabled() && itemAt(e)->visible);
    ids.push_back(itemAt(e)->id);
  }
  const int32_t picked = dropDown(menuIndex, ItemPart::Face, texts, -1, enabled);
  if (picked < 0) return;
  const int32_t now = bar_->indexOfId(ids[static_cast<size_t>(picked)]);  // the bar may have changed meanwhile
  if (now >= 0) bar_->click(now);
}

void ToolbarWindow::editValue(int32_t spin) {
  closeEdit();
  const vizevore::Box at = vizevore::spinValueBox(*bar_, spin);
  const std::string text = automation::formatSingle(itemAt(spin)->spin.value);
  edit_ = CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_RIGHT | ES_AUTOHSCROLL, at.x, at.y,
                          at.w, at.h, hwnd_, nullptr, moduleInstance(), nullptr);
  if (!edit_) return;
  editedId_ = itemAt(spin)->id;
  SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SetWindowSubclass(edit_, &ToolbarWindow::editProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  focusBefore_ = SetFocus(edit_);
}

LRESULT CALLBACK ToolbarWindow::editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
  auto* self = reinterpret_cast<ToolbarWindow*>(data);
  // Posted, not handled here: taking the value closes this very edit.
  if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
    PostMessageA(self->hwnd_, wParam == VK_RETURN ? kTakeTypedValue : kDropTypedValue, 0, 0);
    return 0;
  }
  if (message == WM_CHAR && (wParam == '\r' || wParam == 27)) return 0;  // no beep
  if (message == WM_KILLFOCUS) PostMessageA(self->hwnd_, kDropTypedValue, 0, 0);
  return DefSubclassProc(edit, message, wParam, lParam);
}

void ToolbarWindow::takeTypedValue() {
  if (!edit_) return;
  char text[64] = {};
  GetWindowTextA(edit_, text, sizeof text);
  const uint32_t id = editedId_;
  closeEdit();
  char* end = nullptr;
  const float value = std::strtof(text, &end);
  const int32_t spin = bar_->indexOfId(id);
  if (end == text || spin < 0) {
    MessageBeep(MB_OK);
    return;
  }
  if (bar_->typeValue(spin, value)) {
    const int32_t now = bar_->indexOfId(id);  // the handler may have changed the bar
    if (now >= 0) bar_->commitValue(now);
  }
}

void ToolbarWindow::closeEdit() {
  HWND edit = std::exchange(edit_, nullptr);
  if (!edit) return;
  RemoveWindowSubclass(edit, &ToolbarWindow::editProc, 1);
  if (GetFocus() == edit) SetFocus(IsWindow(focusBefore_) ? focusBefore_ : GetAncestor(hwnd_, GA_ROOT));
  DestroyWindow(edit);
}

TTTOOLINFOA ToolbarWindow::toolInfo() const {
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = hwnd_;
  info.uId = 1;
  return info;
}

void ToolbarWindow::openTooltip() {
  static const bool loaded = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  if (!loaded) return;
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             moduleInstance(), nullptr);
  if (!tooltip_) return;
  TTTOOLINFOA info = toolInfo();
  info.lpszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolbarWindow::moveTooltip(int32_t index) {
  if (!tooltip_) return;
  SendMessageA(tooltip_, TTM_POP, 0, 0);
  TTTOOLINFOA info = toolInfo();
  if (const vizevore::Item* item = itemAt(index))
    info.rect = {item->pixelRect.left, item->pixelRect.top, item->pixelRect.right(), item->pixelRect.bottom()};
  SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolbarWindow::quietTooltip(bool quiet) {
  if (!tooltip_) return;
  if (quiet) SendMessageA(tooltip_, TTM_POP, 0, 0);
  SendMessageA(tooltip_, TTM_ACTIVATE, quiet ? FALSE : TRUE, 0);
}

void ToolbarWindow::relayToTooltip(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!tooltip_) return;
  MSG msg{hwnd_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&msg.pt);
  SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

bool ToolbarWindow::tooltipText(NMHDR* header) {
  if (!header || header->hwndFrom != tooltip_ || header->code != TTN_GETDISPINFOA) return false;
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  const vizevore::Item* item = itemAt(pointer_.item);
  tooltipText_ = item ? item->tooltip : std::string();
  info->lpszText = tooltipText_.data();
  return true;
}

}  // namespace zadeve::host
