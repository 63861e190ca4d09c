// The COM bridge and the type library from a compiled client's side, run under Wine: what
// script hosts cannot send (typed references, unsigned and wide integers, currency) and
// what they cannot see (reference counts, identities, the exact HRESULTs, type
// information). No GoogleTest in the cross build: each check prints its failure, and the
// exit code counts them.

#include <windows.h>
#include <oaidl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "automation/dispatch.h"
#include "automation/member_table.h"
#include "com/bridge.h"
#include "com/wide_text.h"
#include "check_count.h"

using namespace zadeve;
using automation::CallArgs;
using automation::InvokeKind;
using automation::Variant;
using automation::VarType;

namespace {

// An object of ours without a type library face: it dispatches by name.
class Sample : public automation::Dispatchable<Sample> {
 public:
  static const automation::MemberTable<Sample>& memberTable() {
    using automation::byRef;
    using automation::byVal;
    using automation::optionalParam;
    static const automation::MemberTable<Sample> table(
        "Sample",
        {
            {{"Twice", 1, InvokeKind::Method, {byRef("n", VarType::Integer)}, VarType::Integer},
             [](Sample&, CallArgs& a) {
               a[0] = Variant(static_cast<int16_t>(a.integer(0) * 2));
               return a[0];
             }},
            {{"Concat", 2, InvokeKind::Method, {byVal("a", VarType::String), byVal("b", VarType::String)}, VarType::String},
             [](Sample&, CallArgs& a) { return Variant(a.string(0) + a.string(1)); }},
            {{"Opt", 3, InvokeKind::Method, {optionalParam(byRef("n", VarType::Long), Variant(7))}, VarType::Long},
             [](Sample&, CallArgs& a) { return a[0]; }},
            {{"Fail", 4, InvokeKind::Method, {}},
             [](Sample&, CallArgs&) -> Variant { automation::raise(20000, "Invalid application object", "Sample"); }},
            {{"Label", 5, InvokeKind::PropertyGet, {}, VarType::String, true},
             [](Sample& s, CallArgs&) { return Variant(s.label); }},
            {{"Label", 5, InvokeKind::PropertyLet, {byVal("v", VarType::String)}},
             [](Sample& s, CallArgs& a) {
               s.label = a.string(0);
               return Variant();
             }},
        });
    return table;
  }
  std::string label = "start";
};

DISPID idOf(IDispatch* d, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

// Invokes with `args` given in the caller's order (reversed into DISPPARAMS here).
HRESULT call(IDispatch* d, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
             EXCEPINFO* info = nullptr) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  bool isPut = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<UINT>(reversed.size()), isPut ? 1u : 0u};
  if (result) VariantInit(result);
  return d->Invoke(idOf(d, name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, info, nullptr);
}

VARIANT i4(LONG v) { VARIANT x; VariantInit(&x); V_VT(&x) = VT_I4; V_I4(&x) = v; return x; }
VARIANT bstr(const wchar_t* s) { VARIANT x; VariantInit(&x); V_VT(&x) = VT_BSTR; V_BSTR(&x) = SysAllocString(s); return x; }
VARIANT missing() { VARIANT x; VariantInit(&x); V_VT(&x) = VT_ERROR; V_ERROR(&x) = DISP_E_PARAMNOTFOUND; return x; }
template <class T> VARIANT ref(VARTYPE type, T* p) {
  VARIANT x; VariantInit(&x); V_VT(&x) = VT_BYREF | type; V_BYREF(&x) = p; return x;
}

void variantsRoundTrip() {
  struct Case { Variant value; VARTYPE vt; const char* what; };
  const Case cases[] = {
      {Variant(), VT_EMPTY, "Empty"},
      {Variant::null(), VT_NULL, "Null"},
      {Variant(int16_t(-3)), VT_I2, "Integer"},
      {Variant(70000), VT_I4, "Long"},
      {Variant(1.5f), VT_R4, "Single"},
      {Variant(2.25), VT_R8, "Double"},
      {Variant("h\xE9llo"), VT_BSTR, "String"},
      {Variant(true), VT_BOOL, "True"},
      {Variant(false), VT_BOOL, "False"},
      {Variant::missing(), VT_ERROR, "Missing"},
      {Variant::nothing(), VT_DISPATCH, "Nothing"},
  };
  for (const Case& c : cases) {
    VARIANT v;
    com::toVARIANT(c.value, &v);
    check(V_VT(&v) == c.vt, std::string("VARIANT type of ") + c.what);
    check(com::fromVARIANT(v) == c.value, std::string("round trip of ") + c.what);
    VariantClear(&v);
  }
  VARIANT t;
  com::toVARIANT(Variant(true), &t);
  check(V_BOOL(&t) == VARIANT_TRUE, "True is VARIANT_TRUE (-1)");
  if (GetACP() == 1252) {
    VARIANT s = bstr(L"\u00e9\u20ac");
    check(com::fromVARIANT(s) == Variant("\xE9\x80"), "a BSTR arrives in the ANSI code page");
    VariantClear(&s);
  }
}

void foreignVariants() {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_UI1; V_UI1(&v) = 200;
  check(com::fromVARIANT(v) == Variant(int16_t(200)), "VT_UI1 is an Integer");
  V_VT(&v) = VT_UI4; V_UI4(&v) = 0xFFFFFFFFu;
  check(com::fromVARIANT(v) == Variant(4294967295.0), "VT_UI4 beyond a Long is a Double");
  V_VT(&v) = VT_I8; V_I8(&v) = 5;
  check(com::fromVARIANT(v) == Variant(5), "VT_I8 that fits is a Long");
  V_VT(&v) = VT_CY; V_CY(&v).int64 = 15000;
  check(com::fromVARIANT(v) == Variant(1.5), "currency is a Double");
  short n = 9;
  check(com::fromVARIANT(ref(VT_I2, &n)) == Variant(int16_t(9)), "VT_BYREF|VT_I2 reads the value");
  VARIANT inner = bstr(L"x");
  check(com::fromVARIANT(ref(VT_VARIANT, &inner)) == Variant("x"), "VT_BYREF|VT_VARIANT reads the inner value");
  VariantClear(&inner);
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  V_VT(&v) = VT_ARRAY | VT_VARIANT; V_ARRAY(&v) = array;
  int number = 0;
  try { com::fromVARIANT(v); } catch (const automation::AutomationError& e) { number = e.number(); }
  check(number == 13, "an array is a type mismatch");
  SafeArrayDestroy(array);
}

void ourObjectAsDispatch() {
  auto sample = automation::makeObject<Sample>();
  IDispatch* d = com::toDispatch(sample);
  check(sample->refCount() == 2, "the COM object holds one reference");
  IDispatch* again = com::toDispatch(sample);
  check(again == d, "one COM object per object of ours");
  again->Release();
  check(idOf(d, L"twice") == idOf(d, L"TWICE") && idOf(d, L"twice") != DISPID_UNKNOWN, "names are case-insensitive");
  check(com::fromDispatch(d) == sample, "our IDispatch unwraps to our object");

  VARIANT r;
  short typed = 21;
  check(call(d, L"Twice", DISPATCH_METHOD, {ref(VT_I2, &typed)}, &r) == S_OK && typed == 42,
        "a typed VT_BYREF|VT_I2 is written back");
  VARIANT held = i4(21);
  call(d, L"Twice", DISPATCH_METHOD, {ref(VT_VARIANT, &held)}, &r);
  check(V_VT(&held) == VT_I2 && V_I2(&held) == 42, "VT_BYREF|VT_VARIANT is written back with the parameter's type");
  BSTR text = SysAllocString(L"21");
  call(d, L"Twice", DISPATCH_METHOD, {ref(VT_BSTR, &text)}, &r);
  check(std::wstring(text) == L"42", "a typed BSTR reference keeps its type when written back");
  SysFreeString(text);
  check(call(d, L"Twice", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {i4(21)}, &r) == S_OK && V_VT(&r) == VT_I2 &&
            V_I2(&r) == 42,
        "a by-value number (JScript) is accepted for a by-reference parameter");

  call(d, L"Concat", DISPATCH_METHOD, {bstr(L"a"), bstr(L"b")}, &r);
  check(V_VT(&r) == VT_BSTR && std::wstring(V_BSTR(&r)) == L"ab", "arguments arrive in the caller's order");
  VariantClear(&r);

  call(d, L"Opt", DISPATCH_METHOD, {}, &r);
  check(V_VT(&r) == VT_I4 && V_I4(&r) == 7, "fewer arguments take the default");
  call(d, L"Opt", DISPATCH_METHOD, {missing()}, &r);
  check(V_VT(&r) == VT_I4 && V_I4(&r) == 7, "DISP_E_PARAMNOTFOUND takes the default");

  check(call(d, L"Label", DISPATCH_PROPERTYPUT, {bstr(L"new")}, nullptr) == S_OK && sample->label == "new",
        "property put with DISPID_PROPERTYPUT");
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VariantInit(&r);
  d->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &r, nullptr, nullptr);
  check(V_VT(&r) == VT_BSTR && std::wstring(V_BSTR(&r)) == L"new", "DISPID_VALUE reaches the default member");
  VariantClear(&r);

  EXCEPINFO info{};
  check(call(d, L"Fail", DISPATCH_METHOD, {}, &r, &info) == DISP_E_EXCEPTION, "a failure with EXCEPINFO");
  check(info.scode == static_cast<SCODE>(0x800A4E20) && info.bstrDescription &&
            std::wstring(info.bstrDescription) == L"Invalid application object",
        "EXCEPINFO carries 0x800A0000 | 20000 and our text");
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  check(call(d, L"Fail", DISPATCH_METHOD, {}, &r) == static_cast<HRESULT>(0x800A4E20), "a failure without EXCEPINFO");
  IErrorInfo* error = nullptr;
  BSTR description = nullptr;
  check(GetErrorInfo(0, &error) == S_OK && error && SUCCEEDED(error->GetDescription(&description)) &&
            std::wstring(description) == L"Invalid application object",
        "the thread's error information has our text");
  SysFreeString(description);
  if (error) error->Release();
  info = EXCEPINFO{};
  call(d, L"NoSuchMember", DISPATCH_METHOD, {}, &r, &info);
  check(info.scode == static_cast<SCODE>(0x800A01B6), "an unknown member is 438");
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);

  d->Release();
  check(sample->refCount() == 1, "releasing the COM object releases our reference");
}

// A compiled client's object: records how it was called.
class ClientFake : public IDispatch {
 public:
  ULONG count = 1;
  WORD lastFlags = 0;
  VARTYPE lastArgType = VT_EMPTY;
  bool lastPutNamed = false;
  std::wstring value;
  int functionRefusals = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
  ULONG STDMETHODCALLTYPE Release() override { return --count; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* id) override {
    static const wchar_t* known[] = {L"Double", L"Fail", L"Raise", L"Value", L"Function"};
    for (int i = 0; i < 5; ++i)
      if (_wcsicmp(names[0], known[i]) == 0) {
        *id = i + 1;
        return S_OK;
      }
    *id = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  static HRESULT STDMETHODCALLTYPE fillIn(EXCEPINFO* info) {
    info->scode = static_cast<SCODE>(0x800A4E20);
    info->bstrDescription = SysAllocString(L"deferred text");
    info->pfnDeferredFillIn = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* result,
                                   EXCEPINFO* info, UINT*) override {
    lastFlags = flags;
    lastArgType = p->cArgs ? V_VT(&p->rgvarg[0]) : VARTYPE(VT_EMPTY);
    lastPutNamed = p->cNamedArgs == 1 && p->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    switch (id) {
      case DISPID_VALUE:
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(L"default");
        return S_OK;
      case 1: {  // Double(ByRef n)
        VARIANT* n = V_VARIANTREF(&p->rgvarg[0]);
        VariantChangeType(n, n, 0, VT_I4);
        V_I4(n) *= 2;
        return S_OK;
      }
      case 2: return static_cast<HRESULT>(0x800A04D2);  // a script's Err.Raise 1234
      case 3:
        *info = EXCEPINFO{};
        info->pfnDeferredFillIn = fillIn;
        return DISP_E_EXCEPTION;
      case 4:
        if (flags & DISPATCH_PROPERTYPUT) value = V_BSTR(&p->rgvarg[0]);
        return S_OK;
      case 5:  // a script's Function: no bare get
        if (!(flags & DISPATCH_METHOD)) {
          ++functionRefusals;
          return DISP_E_MEMBERNOTFOUND;
        }
        V_VT(result) = VT_I4;
        V_I4(result) = 7;
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }
};

int errorNumberOf(const std::function<void()>& f, std::string* text = nullptr) {
  try {
    f();
  } catch (const automation::AutomationError& e) {
    if (text) *text = e.description();
    return e.number();
  }
  return 0;
}

void clientAsOurObject() {
  ClientFake fake;
  {
    automation::ObjectRef client = com::fromDispatch(&fake);
    check(com::fromDispatch(&fake) == client, "one object of ours per client object");
    IDispatch* back = com::toDispatch(client);
    check(back == &fake, "a client's object goes back as itself");
    back->Release();

    Variant n(int16_t(21));
    automation::callMethod(*client, "double", {automation::byRef(n)});
    check(fake.lastArgType == (VT_BYREF | VT_VARIANT), "by-reference arguments go as VT_BYREF|VT_VARIANT");
    check(n == Variant(42), "what the client writes through the reference comes back");

    automation::letProperty(*client, "Value", Variant("put"));
    check(fake.lastFlags == DISPATCH_PROPERTYPUT && fake.lastPutNamed && fake.value == L"put",
          "a let is DISPATCH_PROPERTYPUT with DISPID_PROPERTYPUT");
    check(automation::getProperty(*client, "") == Variant("default"), "the empty name is DISPID_VALUE");
    check(fake.lastFlags == DISPATCH_PROPERTYGET, "a get is a bare get first");
    check(automation::getProperty(*client, "Function") == Variant(7) &&
              automation::getProperty(*client, "Function") == Variant(7) && fake.functionRefusals == 1,
          "a get refused as a get is asked again as a call, and from then on as a call");

    check(errorNumberOf([&] { automation::callMethod(*client, "Fail"); }) == 1234,
          "a bare 0x800A04D2 is error 1234");
    std::string text;
    check(errorNumberOf([&] { automation::callMethod(*client, "Raise"); }, &text) == 20000 && text == "deferred text",
          "DISP_E_EXCEPTION with a deferred fill-in gives its number and text");
    check(errorNumberOf([&] { automation::callMethod(*client, "Missing"); }) == 438, "an unknown name is 438");
    check(client->typeName() == "Object", "a client object without type information is an Object");
  }
  check(fake.count == 1, "our object releases the client's when it goes");
}

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

// The compiled type library, as oleaut32 reads it from the resource (this program carries
// the same resource as the DLL): the classes' flags, the dual interfaces' dispatch
// identifiers and parameter types, and the two enumerations.
void typeLibrary() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library))) return check(false, "a type library in the resource");
  const WORD creatable = TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE;
  const std::pair<const wchar_t*, WORD> classes[] = {
      {L"ZuzuzudLibrary", creatable}, {L"WorkspaceCreation", creatable}, {L"ZuzuzudWorkspace", 0}};
  for (auto [name, flags] : classes) {
    ITypeInfo* info = typeNamed(library, name);
    check(info && (typeFlags(info) & creatable) == flags, "the coclass " + com::fromWide(name) + " and its flags");
    if (info) info->Release();
  }

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
    const std::string what = com::fromWide(m.type) + " member " + std::to_string(m.id);
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
}

}  // namespace

int main() {
  OleInitialize(nullptr);
  variantsRoundTrip();
  foreignVariants();
  ourObjectAsDispatch();
  clientAsOurObject();
  typeLibrary();
  OleUninitialize();
  if (failures) {
    std::printf("%d checks failed\n", failures);
    return 1;
  }
  std::printf("bridge checks: ALL OK\n");
  return 0;
}
