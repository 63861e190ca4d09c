// DllRegisterServer and DllUnregisterServer: the class keys of the two creatable classes,
// their program identifiers and the type library, all taken back by unregistering.

#include <windows.h>
#include <olectl.h>
#include <oleauto.h>

#include <string>

#include "com/module.h"
#include "com/type_library_ids.h"

namespace zadeve::com {
namespace {

struct Registered {
  const CLSID& classId;
  const wchar_t* progId;
};

const Registered kClasses[] = {
    {CLSID_ZuzuzudLibrary, L"ZADEVE.ZuzuzudLibrary"},
    {CLSID_WorkspaceCreation, L"ZADEVE.WorkspaceCreation"},
};

std::wstring guidText(const GUID& guid) {
  wchar_t text[40];
  return StringFromGUID2(guid, text, 40) > 0 ? std::wstring(text) : std::wstring();
}

// Creates the key (and those above it) and sets one value; an empty name is the default.
HRESULT setValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                nullptr, &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
  return HRESULT_FROM_WIN32(status);
}

HRESULT registerClass(const Registered& entry, const std::wstring& path) {
  const std::wstring classKey = L"CLSID\\" + guidText(entry.classId);
  const std::wstring libraryId = guidText(LIBID_ZADEVE);
  for (HRESULT hr : {setValue(classKey, nullptr, entry.progId),
                     setValue(classKey + L"\\InprocServer32", nullptr, path),
                     setValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
                     setValue(classKey + L"\\ProgID", nullptr, entry.progId),
                     setValue(classKey + L"\\TypeLib", nullptr, libraryId),
                     setValue(classKey + L"\\VERSION", nullptr, L"1.0"),
                     setValue(entry.progId, nullptr, entry.progId),
                     setValue(std::wstring(entry.progId) + L"\\CLSID", nullptr, guidText(entry.classId))})
    if (FAILED(hr)) return hr;
  return S_OK;
}

void deleteTree(const std::wstring& key) { RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str()); }

}  // namespace
}  // namespace zadeve::com

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  using namespace zadeve::com;
  const std::wstring path = modulePath();
  ITypeLib* library = typeLibrary();
  if (path.empty() || !library) return SELFREG_E_TYPELIB;
  for (const auto& entry : kClasses)
    if (HRESULT hr = registerClass(entry, path); FAILED(hr)) return hr;
  // Writes TypeLib\{libid} and the interface keys with the standard dispatch marshaller.
  std::wstring mutablePath = path;
  return RegisterTypeLib(library, mutablePath.data(), nullptr);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  using namespace zadeve::com;
  for (const auto& entry : kClasses) {
    deleteTree(L"CLSID\\" + guidText(entry.classId));
    deleteTree(entry.progId);
  }
  const HRESULT hr = UnRegisterTypeLib(LIBID_ZADEVE, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
  // Unregistering what is not registered leaves the same state as succeeding.
  return hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_LIBNOTREGISTERED ? S_OK : hr;
}
