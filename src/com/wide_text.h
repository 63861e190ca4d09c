#pragma once
// Our strings are UTF-8; COM's are UTF-16 BSTRs. Every crossing goes through here.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace zadeve::com {

std::wstring toWide(std::string_view text);
std::string fromWide(const wchar_t* text, size_t length);
inline std::string fromWide(const std::wstring& text) { return fromWide(text.data(), text.size()); }

// A new BSTR the caller owns (SysFreeString); throws std::bad_alloc when out of memory.
BSTR toBSTR(std::string_view text);
// A null BSTR is the empty string.
std::string fromBSTR(BSTR text);

}  // namespace zadeve::com
