// Our automation objects as COM objects. One COM object per object of ours while it
// lives (a map keyed by the object keeps the identity); it holds one reference to the
// object, so the object lives exactly as long as COM clients hold it or we do.
//
// The classes of the type library dispatch from their member tables (DISPID = slot) and
// describe themselves with their interface's type information. Any other object of ours
// (pictures, palettes, collections, controls) has no type information: names get
// DISPIDs on first use and the object itself decides, at the call, whether it has them.

#include "com/dispatch_object.h"

#include <ocidl.h>

#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "automation/conversions.h"
#include "automation/error.h"
#include "com/bridge.h"
#include "com/dispatch_faces.h"
#include "com/error_info.h"
#include "com/incoming_args.h"
#include "com/module.h"
#include "com/wide_text.h"

namespace zadeve::com {
namespace {

using automation::InvokeKind;
using automation::ObjectRef;

// Answered only by our own COM objects: the way back from an IDispatch to our object.
// {6F1C2D9A-3B7E-4E51-9C2A-5D8E0B4A7F13}
constexpr IID IID_OwnObject = {0x6f1c2d9a, 0x3b7e, 0x4e51, {0x9c, 0x2a, 0x5d, 0x8e, 0x0b, 0x4a, 0x7f, 0x13}};

class DispatchObject;
// Never destroyed: a COM object a client releases during process exit must still find it.
std::unordered_map<const automation::Object*, DispatchObject*>& liveObjects() {
  static auto* live = new std::unordered_map<const automation::Object*, DispatchObject*>;
  return *live;
}

InvokeKind kindOf(WORD flags) {
  if (flags & DISPATCH_PROPERTYPUTREF) return InvokeKind::PropertySet;
  if (flags & DISPATCH_PROPERTYPUT) return InvokeKind::PropertyLet;
  if (flags & DISPATCH_METHOD) return InvokeKind::Method;
  return InvokeKind::PropertyGet;
}

class DispatchObject final : public IDispatch, public IProvideClassInfo, public ISupportErrorInfo {
 public:
  explicit DispatchObject(ObjectRef object)
      : object_(std::move(object)), face_(dispatchFaceOf(*object_)) {
    liveObjects()[object_.get()] = this;
    objectCreated();
  }

  const ObjectRef& object() const { return object_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch)
      *out = static_cast<IDispatch*>(this);
    else if (iid == IID_ISupportErrorInfo)
      *out = static_cast<ISupportErrorInfo*>(this);
    else if (iid == IID_IProvideClassInfo && face_ && classInfoOf(face_->className))
      *out = static_cast<IProvideClassInfo*>(this);
    else if (iid == IID_OwnObject)
      *out = this;
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --count_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = typeInfo() ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    ITypeInfo* info = typeInfo();
    if (index != 0 || !info) return DISP_E_BADINDEX;
    info->AddRef();
    *out = info;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    try {
      std::string name = fromWide(names[0], wcslen(names[0]));
      ids[0] = face_ ? face_->dispidOf(name) : nameDispid(name);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    // Our members take no named arguments.
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    static DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params) params = &none;
    bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    if (params->cNamedArgs > 1 || (params->cNamedArgs == 1 && (!put || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)))
      return DISP_E_NONAMEDARGS;
    // Kept alive through the call, whatever the callee does with its own references.
    DispatchObject* self = this;
    self->AddRef();
    HRESULT hr = S_OK;
    try {
      std::string name;
      if (!memberName(id, name)) {
        self->Release();
        return DISP_E_MEMBERNOTFOUND;
      }
      IncomingArgs incoming(*params);
      automation::Variant value;
      try {
        value = object_->invoke(name, kindOf(flags), incoming.args());
      } catch (const automation::AutomationError&) {
        // What a callee wrote through a reference before it failed stays written.
        try {
          incoming.writeBack();
        } catch (const automation::AutomationError&) {
        }
        throw;
      }
      incoming.writeBack();
      if (result) toVARIANT(value, result);
    } catch (const automation::AutomationError& e) {
      hr = reportError(e);
      if (exception) {
        fillExcepInfo(e, exception);
        hr = DISP_E_EXCEPTION;
      }
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    } catch (...) {
      hr = E_UNEXPECTED;
    }
    self->Release();
    return hr;
  }

  // IProvideClassInfo
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = face_ ? classInfoOf(face_->className) : nullptr;
    if (!*out) return E_NOTIMPL;
    (*out)->AddRef();
    return S_OK;
  }

  // ISupportErrorInfo: every failure of ours comes with its error information.
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  ~DispatchObject() {
    liveObjects().erase(object_.get());
    objectDestroyed();
  }

  ITypeInfo* typeInfo() const { return face_ ? interfaceInfoOf(face_->className) : nullptr; }

  // By-name objects: DISPIDs from 1 in the order names are first asked for.
  DISPID nameDispid(const std::string& name) {
    for (size_t i = 0; i < names_.size(); ++i)
      if (automation::equalsIgnoreCase(names_[i], name)) return static_cast<DISPID>(i + 1);
    names_.push_back(name);
    return static_cast<DISPID>(names_.size());
  }

  bool memberName(DISPID id, std::string& name) const {
    if (id == DISPID_VALUE) {
      name.clear();  // the default member
      return true;
    }
    if (face_) {
      const automation::MemberInfo* row = face_->rowOf(id);
      if (!row) return false;
      name = row->name;
      return true;
    }
    if (id < 1 || static_cast<size_t>(id) > names_.size()) return false;
    name = names_[static_cast<size_t>(id) - 1];
    return true;
  }

  ULONG count_ = 1;
  ObjectRef object_;
  const DispatchFace* face_;
  std::vector<std::string> names_;
};

}  // namespace

IDispatch* dispatchFor(const ObjectRef& object) {
  auto& live = liveObjects();
  if (auto it = live.find(object.get()); it != live.end()) {
    it->second->AddRef();
    return it->second;
  }
  return new DispatchObject(object);
}

ObjectRef ownObjectOf(IDispatch* dispatch) {
  if (!dispatch) return {};
  DispatchObject* own = nullptr;
  if (FAILED(dispatch->QueryInterface(IID_OwnObject, reinterpret_cast<void**>(&own))) || !own) return {};
  ObjectRef object = own->object();
  own->Release();
  return object;
}

}  // namespace zadeve::com
