#include "com/wide_text.h"

#include <new>

namespace zadeve::com {

std::wstring toWide(std::string_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string fromWide(const wchar_t* text, size_t length) {
  if (length == 0) return {};
  int size = static_cast<int>(length);
  int bytes = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, size, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

BSTR toBSTR(std::string_view text) {
  std::wstring wide = toWide(text);
  BSTR b = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!b) throw std::bad_alloc();
  return b;
}

std::string fromBSTR(BSTR text) { return text ? fromWide(text, SysStringLen(text)) : std::string(); }

}  // namespace zadeve::com
