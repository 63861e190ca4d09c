// The compiled type library, as oleaut32 reads it from the resource (this program carries
// the same resource as the DLL): the classes' flags, the dual interfaces' dispatch
// identifiers and parameter types, and the two enumerations. The exit code counts failures.

#include <windows.h>
#include <oaidl.h>

#include <cstdio>
#include <string>

#include "check_count.h"

namespace {

ITypeInfo* typeNamed(ITypeLib* library, const wchar_t* name) {
  for (UINT i = 0, n = library->GetTypeInfoCount(); i < n; ++i) {
    BSTR found = nullptr;
    library->GetDocumentation(static_cast<INT>(i), &found, nullptr, nullptr, nullptr);
    const bool same = found && wcscmp(found, name) == 0;
    SysFreeString(found);
    ITypeInfo* info = nullptr;
    if (same && SUCCEEDED(library->GetTypeInfo(i, &info))) return info;
  }
  return nullptr;
}

WORD typeFlags(ITypeInfo* info, TYPEKIND* kind = nullptr) {
  TYPEATTR* attributes = nullptr;
  info->GetTypeAttr(&attributes);
  const WORD flags = attributes->wTypeFlags;
  if (kind) *kind = attributes->typekind;
  info->ReleaseTypeAttr(attributes);
  return flags;
}

// The function with this dispatch identifier and invoke kind, or null.
FUNCDESC* functionOf(ITypeInfo* info, MEMBERID id, INVOKEKIND kind) {
  TYPEATTR* attributes = nullptr;
  info->GetTypeAttr(&attributes);
  const UINT count = attributes->cFuncs;
  info->ReleaseTypeAttr(attributes);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* f = nullptr;
    if (SUCCEEDED(info->GetFuncDesc(i, &f)) && f->memid == id && f->invkind == kind) return f;
    if (f) info->ReleaseFuncDesc(f);
  }
  return nullptr;
}

void checkClass(ITypeLib* library, const wchar_t* name, WORD flags) {
  ITypeInfo* info = typeNamed(library, name);
  check(info != nullptr, "a coclass " + std::string(name, name + wcslen(name)));
  if (!info) return;
  check((typeFlags(info) & (TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE)) == flags,
        "the flags of " + std::string(name, name + wcslen(name)));
  info->Release();
}

}  // namespace

int main() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library))) {
    std::printf("FAILED: no type library in the resource\n");
    return 1;
  }
  checkClass(library, L"ZuzuzudLibrary", TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE);
  checkClass(library, L"WorkspaceCreation", TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE);
  checkClass(library, L"ZuzuzudWorkspace", 0);

  struct Expected {
    const wchar_t* type;
    MEMBERID id;
    INVOKEKIND kind;
    VARTYPE params[5];  // VT_EMPTY ends the list
  };
  const Expected members[] = {
      {L"_ZuzuzudLibrary", 29, INVOKE_FUNC, {VT_BSTR | VT_BYREF, VT_BSTR | VT_BYREF, VT_BSTR | VT_BYREF}},
      {L"_ZuzuzudLibrary", 21, INVOKE_FUNC, {VT_BSTR, VT_BSTR, VT_BSTR}},
      {L"_ZuzuzudLibrary", 14, INVOKE_FUNC,
       {VT_DISPATCH | VT_BYREF, VT_I2 | VT_BYREF, VT_I2 | VT_BYREF, VT_I2 | VT_BYREF, VT_I2 | VT_BYREF}},
      {L"_ZuzuzudLibrary", 4, INVOKE_PROPERTYPUTREF, {VT_DISPATCH}},
      {L"_ZuzuzudLibrary", 1, INVOKE_PROPERTYPUT, {VT_BSTR}},
      {L"_ZuzuzudWorkspace", 34, INVOKE_FUNC, {VT_BSTR | VT_BYREF, VT_BSTR | VT_BYREF, VT_BSTR | VT_BYREF}},
      {L"_ZuzuzudWorkspace", 1, INVOKE_PROPERTYGET, {}},
      {L"_WorkspaceCreation", 1, INVOKE_FUNC, {}},
  };
  for (const auto& m : members) {
    const std::string what = std::string(m.type, m.type + wcslen(m.type)) + " member " + std::to_string(m.id);
    ITypeInfo* info = typeNamed(library, m.type);
    TYPEKIND kind = TKIND_MAX;
    check(info && (typeFlags(info, &kind) & TYPEFLAG_FDUAL) && kind == TKIND_DISPATCH, what + ": a dual interface");
    FUNCDESC* f = info ? functionOf(info, m.id, m.kind) : nullptr;
    check(f != nullptr, what + ": found");
    if (f) {
      SHORT expected = 0;
      while (expected < 5 && m.params[expected] != VT_EMPTY) ++expected;
      check(f->cParams == expected, what + ": " + std::to_string(expected) + " parameters");
      for (SHORT i = 0; i < f->cParams && i < expected; ++i) {
        const TYPEDESC& t = f->lprgelemdescParam[i].tdesc;
        const VARTYPE vt = t.vt == VT_PTR ? static_cast<VARTYPE>(t.lptdesc->vt | VT_BYREF) : t.vt;
        check(vt == m.params[i], what + ": parameter " + std::to_string(i) + " has type " + std::to_string(vt));
      }
      info->ReleaseFuncDesc(f);
    }
    if (info) info->Release();
  }

  ITypeInfo* flags = typeNamed(library, L"ButtonFlags");
  check(flags != nullptr, "the enumeration ButtonFlags");
  if (flags) {
    bool found = false;
    for (UINT i = 0; i < 10; ++i) {
      VARDESC* v = nullptr;
      if (FAILED(flags->GetVarDesc(i, &v))) break;
      BSTR name = nullptr;
      flags->GetDocumentation(v->memid, &name, nullptr, nullptr, nullptr);
      if (name && wcscmp(name, L"BF_ON") == 0) found = v->lpvarValue->vt == VT_I4 && v->lpvarValue->lVal == 128;
      SysFreeString(name);
      flags->ReleaseVarDesc(v);
    }
    check(found, "BF_ON is 128");
    flags->Release();
  }
  ITypeInfo* kinds = typeNamed(library, L"ButtonTypesDeprecated");
  check(kinds != nullptr, "the enumeration ButtonTypesDeprecated");
  if (kinds) kinds->Release();
  library->Release();
  if (failures == 0) std::printf("ALL OK\n");
  return failures;
}
