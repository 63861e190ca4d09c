// Calls on a client's object. Names resolve through IDispatchEx::GetDispID when the
// object offers it (script classes answer nothing else: their GetIDsOfNames is not
// implemented everywhere), through GetIDsOfNames otherwise; each name once per object.
// By-reference arguments go as VT_BYREF|VT_VARIANT, the only form script hosts write
// back through.

#include "com/client_object.h"

#include <dispex.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "automation/conversions.h"
#include "automation/error.h"
#include "automation/variant.h"
#include "com/bridge.h"
#include "com/error_info.h"
#include "com/wide_text.h"

namespace zadeve::com {
namespace {

using automation::Arg;
using automation::InvokeKind;
using automation::Variant;

class ClientObject;
// Keyed by the client object's IUnknown, COM's identity.
// Never destroyed, like our COM objects' map: releases may come during process exit.
std::unordered_map<IUnknown*, ClientObject*>& liveClients() {
  static auto* live = new std::unordered_map<IUnknown*, ClientObject*>;
  return *live;
}

// A get is tried as a get alone first: JScript refuses DISPATCH_METHOD on a property that
// holds no function, and VBScript refuses a bare get on a Function (see invoke). A method
// call may reach a property, as VB's calls do.
WORD flagsOf(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::PropertyLet: return DISPATCH_PROPERTYPUT;
    case InvokeKind::PropertySet: return DISPATCH_PROPERTYPUTREF;
    case InvokeKind::PropertyGet: return DISPATCH_PROPERTYGET;
    case InvokeKind::Method: break;
  }
  return DISPATCH_METHOD | DISPATCH_PROPERTYGET;
}

// The VARIANTs of one outgoing call, cleared however the call ends.
class OutgoingArgs {
 public:
  explicit OutgoingArgs(std::span<Arg> args) : args_(args), values_(args.size()), slots_(args.size()) {
    for (auto& v : values_) VariantInit(&v);
    for (auto& v : slots_) VariantInit(&v);
    size_t count = args.size();
    for (size_t i = 0; i < count; ++i) {
      // COM takes them last first.
      VARIANT& slot = slots_[count - 1 - i];
      toVARIANT(args[i].value(), &values_[i]);
      if (args[i].byRef()) {
        V_VT(&slot) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&slot) = &values_[i];
      } else {
        slot = values_[i];
        VariantInit(&values_[i]);  // moved into the slot
      }
    }
  }
  ~OutgoingArgs() {
    for (auto& v : slots_)
      if (!(V_VT(&v) & VT_BYREF)) VariantClear(&v);
    for (auto& v : values_) VariantClear(&v);
  }
  OutgoingArgs(const OutgoingArgs&) = delete;
  OutgoingArgs& operator=(const OutgoingArgs&) = delete;

  VARIANT* data() { return slots_.data(); }
  UINT size() const { return static_cast<UINT>(slots_.size()); }

  // What the callee wrote through the references reaches our callers' Variants.
  void readBack() {
    for (size_t i = 0; i < args_.size(); ++i)
      if (args_[i].byRef()) args_[i].value() = fromVARIANT(values_[i]);
  }

 private:
  std::span<Arg> args_;
  std::vector<VARIANT> values_;  // by-reference arguments point here
  std::vector<VARIANT> slots_;
};

class ClientObject final : public automation::Object {
 public:
  ClientObject(IDispatch* dispatch, IUnknown* identity) : dispatch_(dispatch), identity_(identity) {
    dispatch_->AddRef();
    identity_->AddRef();
    IDispatchEx* ex = nullptr;
    if (SUCCEEDED(dispatch_->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(&ex)))) dispatchEx_ = ex;
    liveClients()[identity_] = this;
  }

  IDispatch* dispatch() const { return dispatch_; }

  Variant invoke(std::string_view name, InvokeKind kind, std::span<Arg> args) override {
    DISPID id = name.empty() ? DISPID_VALUE : dispidOf(name);
    OutgoingArgs outgoing(args);
    DISPID putId = DISPID_PROPERTYPUT;
    bool put = kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet;
    DISPPARAMS params{outgoing.data(), put ? &putId : nullptr, outgoing.size(), put ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    UINT argError = 0;
    // A stale error of an earlier call must not lend its text to this one.
    SetErrorInfo(0, nullptr);
    WORD flags = flagsOf(kind);
    if (kind == InvokeKind::PropertyGet && methodGets_.count(id)) flags |= DISPATCH_METHOD;
    HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                   put ? nullptr : &result, &exception, &argError);
    if (hr == DISP_E_MEMBERNOTFOUND && flags == DISPATCH_PROPERTYGET) {
      // A script's Function read as a value: nothing ran, so asking again is safe.
      hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &params,
                             &result, &exception, &argError);
      if (SUCCEEDED(hr)) methodGets_.insert(id);
    }
    if (FAILED(hr)) {
      VariantClear(&result);
      raiseFromHResult(hr, &exception);
    }
    Variant value;
    try {
      outgoing.readBack();
      value = fromVARIANT(result);
    } catch (...) {
      VariantClear(&result);
      throw;
    }
    VariantClear(&result);
    return value;
  }

  std::string_view typeName() const override {
    if (!typeNameKnown_) {
      typeName_ = lookUpTypeName();
      typeNameKnown_ = true;
    }
    return typeName_;
  }

 private:
  ~ClientObject() override {
    liveClients().erase(identity_);
    if (dispatchEx_) dispatchEx_->Release();
    identity_->Release();
    dispatch_->Release();
  }

  // DISPID_UNKNOWN when the object has no member of that name.
  DISPID tryDispid(std::string_view name) const {
    std::string key = automation::toUpper(name);
    if (auto it = dispids_.find(key); it != dispids_.end()) return it->second;
    std::wstring wide = toWide(name);
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = E_NOTIMPL;
    if (dispatchEx_) {
      BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      hr = dispatchEx_->GetDispID(text, fdexNameCaseInsensitive, &id);
      SysFreeString(text);
    }
    if (hr == E_NOTIMPL) {
      LPOLESTR names[] = {wide.data()};
      hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    }
    if (FAILED(hr)) return DISPID_UNKNOWN;
    dispids_[key] = id;
    return id;
  }

  DISPID dispidOf(std::string_view name) const {
    DISPID id = tryDispid(name);
    if (id == DISPID_UNKNOWN) automation::raise(automation::err::MemberMissing);
    return id;
  }

  // A form by the runtime's contract answers ScaleWidth, which only forms have among
  // the host's objects; its class name (frmMain, ...) would not say it is a form.
  // Anything else goes by its type information's name when it has one.
  std::string lookUpTypeName() const {
    if (tryDispid("ScaleWidth") != DISPID_UNKNOWN) return "Form";
    ITypeInfo* info = nullptr;
    std::string name = "Object";
    if (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && info) {
      BSTR text = nullptr;
      if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr)) && text) {
        name = fromBSTR(text);
        SysFreeString(text);
      }
      info->Release();
    }
    return name;
  }

  IDispatch* dispatch_;
  IUnknown* identity_;
  IDispatchEx* dispatchEx_ = nullptr;
  mutable std::unordered_map<std::string, DISPID> dispids_;
  std::unordered_set<DISPID> methodGets_;  // members that answer a get only as a call
  mutable std::string typeName_;
  mutable bool typeNameKnown_ = false;
};

}  // namespace

automation::ObjectRef clientObjectFor(IDispatch* dispatch) {
  if (!dispatch) return {};
  IUnknown* identity = nullptr;
  if (FAILED(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) || !identity)
    automation::raise(automation::err::TypeMismatch, "The object does not answer IUnknown");
  automation::ObjectRef object;
  auto& live = liveClients();
  if (auto it = live.find(identity); it != live.end())
    object = automation::ObjectRef(it->second);
  else
    object = automation::ObjectRef(new ClientObject(dispatch, identity));
  identity->Release();
  return object;
}

IDispatch* clientDispatchOf(const automation::Object& object) {
  auto* client = dynamic_cast<const ClientObject*>(&object);
  if (!client) return nullptr;
  client->dispatch()->AddRef();
  return client->dispatch();
}

}  // namespace zadeve::com
