#include "com/module.h"

#include <map>
#include <string>

namespace zadeve::com {
namespace {

HMODULE theModule = nullptr;
LONG liveObjects = 0;

struct TypeLibrary {
  ITypeLib* library = nullptr;
  bool tried = false;
  std::map<std::wstring, ITypeInfo*, std::less<>> infos;  // by type name, one reference each

  void release() {
    for (auto& [name, info] : infos) info->Release();
    infos.clear();
    if (library) library->Release();
    library = nullptr;
  }
};

TypeLibrary& loaded() {
  static TypeLibrary instance;
  return instance;
}

std::wstring wide(std::string_view text) {
  std::wstring out;
  for (char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

ITypeInfo* infoNamed(const std::wstring& name) {
  auto& types = loaded();
  if (!typeLibrary()) return nullptr;
  if (types.infos.empty()) {
    for (UINT i = 0, n = types.library->GetTypeInfoCount(); i < n; ++i) {
      BSTR typeName = nullptr;
      ITypeInfo* info = nullptr;
      if (SUCCEEDED(types.library->GetDocumentation(static_cast<INT>(i), &typeName, nullptr, nullptr, nullptr)) &&
          SUCCEEDED(types.library->GetTypeInfo(i, &info)))
        types.infos.emplace(typeName, info);
      SysFreeString(typeName);
    }
  }
  auto it = types.infos.find(name);
  return it == types.infos.end() ? nullptr : it->second;
}

}  // namespace

HMODULE moduleHandle() { return theModule; }

std::wstring modulePath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(theModule, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

ITypeLib* typeLibrary() {
  auto& types = loaded();
  if (!types.tried) {
    types.tried = true;
    const std::wstring path = modulePath();
    if (!path.empty() && FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &types.library))) types.library = nullptr;
  }
  return types.library;
}

void objectCreated() { InterlockedIncrement(&liveObjects); }
void objectDestroyed() { InterlockedDecrement(&liveObjects); }
bool canUnload() { return InterlockedCompareExchange(&liveObjects, 0, 0) == 0; }

// The dual interface's type information is the dispatch view "_" + class name.
ITypeInfo* interfaceInfoOf(std::string_view className) { return infoNamed(L"_" + wide(className)); }
ITypeInfo* classInfoOf(std::string_view className) { return infoNamed(wide(className)); }

}  // namespace zadeve::com

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    zadeve::com::theModule = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary: oleaut32 is still there to take its references back. At
    // process exit it may not be, and the references die with the process anyway.
    zadeve::com::loaded().release();
  }
  return TRUE;
}
