#include "com/incoming_args.h"

#include "automation/error.h"
#include "com/bridge.h"

namespace zadeve::com {
namespace {

using automation::Arg;
using automation::Variant;

class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&v); }
  ~ScopedVariant() { VariantClear(&v); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT v;
};

// Moves a plain value of type `type` into the memory a typed reference points at.
void assignTyped(VARIANT& reference, VARIANT& value) {
  switch (V_VT(&reference) & ~VT_BYREF) {
    case VT_I2: *V_I2REF(&reference) = V_I2(&value); break;
    case VT_I4: *V_I4REF(&reference) = V_I4(&value); break;
    case VT_INT: *V_INTREF(&reference) = V_INT(&value); break;
    case VT_R4: *V_R4REF(&reference) = V_R4(&value); break;
    case VT_R8: *V_R8REF(&reference) = V_R8(&value); break;
    case VT_BOOL: *V_BOOLREF(&reference) = V_BOOL(&value); break;
    case VT_UI1: *V_UI1REF(&reference) = V_UI1(&value); break;
    case VT_I1: *V_I1REF(&reference) = V_I1(&value); break;
    case VT_UI2: *V_UI2REF(&reference) = V_UI2(&value); break;
    case VT_UI4: *V_UI4REF(&reference) = V_UI4(&value); break;
    case VT_UINT: *V_UINTREF(&reference) = V_UINT(&value); break;
    case VT_I8: *V_I8REF(&reference) = V_I8(&value); break;
    case VT_UI8: *V_UI8REF(&reference) = V_UI8(&value); break;
    case VT_CY: *V_CYREF(&reference) = V_CY(&value); break;
    case VT_DATE: *V_DATEREF(&reference) = V_DATE(&value); break;
    case VT_ERROR: *V_ERRORREF(&reference) = V_ERROR(&value); break;
    case VT_BSTR:
      SysFreeString(*V_BSTRREF(&reference));
      *V_BSTRREF(&reference) = V_BSTR(&value);
      V_VT(&value) = VT_EMPTY;  // ownership moved
      break;
    case VT_DISPATCH:
      if (*V_DISPATCHREF(&reference)) (*V_DISPATCHREF(&reference))->Release();
      *V_DISPATCHREF(&reference) = V_DISPATCH(&value);
      V_VT(&value) = VT_EMPTY;
      break;
    case VT_UNKNOWN:
      if (*V_UNKNOWNREF(&reference)) (*V_UNKNOWNREF(&reference))->Release();
      *V_UNKNOWNREF(&reference) = V_UNKNOWN(&value);
      V_VT(&value) = VT_EMPTY;
      break;
    default: automation::raise(automation::err::TypeMismatch, "Cannot write back to this reference type");
  }
}

}  // namespace

void storeThrough(VARIANT& reference, const Variant& value) {
  if (V_VT(&reference) == (VT_BYREF | VT_VARIANT)) {
    VARIANT* inner = V_VARIANTREF(&reference);
    if (!inner) return;
    if (V_VT(inner) & VT_BYREF) return storeThrough(*inner, value);
    VARIANT fresh;
    toVARIANT(value, &fresh);
    VariantClear(inner);
    *inner = fresh;
    return;
  }
  ScopedVariant fresh;
  toVARIANT(value, &fresh.v);
  VARTYPE type = V_VT(&reference) & ~VT_BYREF;
  if (V_VT(&fresh.v) != type) {
    HRESULT hr = VariantChangeType(&fresh.v, &fresh.v, 0, type);
    if (hr == DISP_E_OVERFLOW) automation::raise(automation::err::Overflow);
    if (FAILED(hr)) automation::raise(automation::err::TypeMismatch);
  }
  assignTyped(reference, fresh.v);
}

IncomingArgs::IncomingArgs(const DISPPARAMS& params) {
  size_t count = params.cArgs;
  // Args refer into values_, so it never grows after this.
  values_.reserve(count);
  args_.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    VARIANT& given = params.rgvarg[count - 1 - i];
    values_.push_back(fromVARIANT(given));
    if (V_VT(&given) & VT_BYREF) {
      references_.push_back({&given, values_.back(), i});
      args_.push_back(Arg::ref(values_.back()));
    } else {
      args_.emplace_back(values_.back());
    }
  }
}

void IncomingArgs::writeBack() {
  for (const Reference& r : references_)
    if (!(values_[r.index] == r.original)) storeThrough(*r.target, values_[r.index]);
}

}  // namespace zadeve::com
