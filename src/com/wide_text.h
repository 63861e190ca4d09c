#pragma once
// COM's strings are UTF-16 BSTRs; ours are in the ANSI code page, as the host's are when
// they reach the system's A functions (profile strings, file names), so a string read
// through us and through those functions is the same. Every crossing goes through here.

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
