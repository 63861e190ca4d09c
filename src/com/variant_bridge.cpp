// VARIANT <-> Variant. Our Variant has no Currency, Date, Decimal or arrays: the first
// three arrive as Doubles, an array is a type mismatch. Integers wider or unsigned
// arrive as Long when they fit, else as Double.

#include <limits>

#include "automation/error.h"
#include "com/bridge.h"
#include "com/wide_text.h"

namespace zadeve::com {
namespace {

using automation::Variant;

Variant fromWholeNumber(long long n) {
  if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
    return Variant(static_cast<int32_t>(n));
  return Variant(static_cast<double>(n));
}

Variant asDouble(const VARIANT& value) {
  VARIANT d;
  VariantInit(&d);
  if (FAILED(VariantChangeType(&d, const_cast<VARIANT*>(&value), 0, VT_R8))) automation::raise(automation::err::TypeMismatch);
  return Variant(d.dblVal);
}

automation::ObjectRef fromUnknown(IUnknown* unknown) {
  if (!unknown) return {};
  IDispatch* dispatch = nullptr;
  if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
    automation::raise(automation::err::TypeMismatch, "The object offers no IDispatch");
  automation::ObjectRef object = fromDispatch(dispatch);
  dispatch->Release();
  return object;
}

}  // namespace

Variant fromVARIANT(const VARIANT& value) {
  if (V_VT(&value) == (VT_BYREF | VT_VARIANT)) {
    if (!V_VARIANTREF(&value)) return Variant();
    return fromVARIANT(*V_VARIANTREF(&value));
  }
  if (V_VT(&value) & VT_BYREF) {
    // A typed reference: read the value it points at.
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantCopyInd(&copy, const_cast<VARIANT*>(&value)))) automation::raise(automation::err::TypeMismatch);
    Variant result;
    try {
      result = fromVARIANT(copy);
    } catch (...) {
      VariantClear(&copy);
      throw;
    }
    VariantClear(&copy);
    return result;
  }
  if (V_VT(&value) & VT_ARRAY) automation::raise(automation::err::TypeMismatch, "Arrays are not supported");
  switch (V_VT(&value)) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant::null();
    case VT_I2: return Variant(static_cast<int16_t>(V_I2(&value)));
    case VT_I4: return Variant(static_cast<int32_t>(V_I4(&value)));
    case VT_INT: return Variant(static_cast<int32_t>(V_INT(&value)));
    case VT_R4: return Variant(V_R4(&value));
    case VT_R8: return Variant(V_R8(&value));
    case VT_BSTR: return Variant(fromBSTR(V_BSTR(&value)));
    case VT_BOOL: return Variant(V_BOOL(&value) != VARIANT_FALSE);
    case VT_UI1: return Variant(static_cast<int16_t>(V_UI1(&value)));
    case VT_I1: return Variant(static_cast<int16_t>(V_I1(&value)));
    case VT_UI2: return Variant(static_cast<int32_t>(V_UI2(&value)));
    case VT_UI4: return fromWholeNumber(V_UI4(&value));
    case VT_UINT: return fromWholeNumber(V_UINT(&value));
    case VT_I8: return fromWholeNumber(V_I8(&value));
    case VT_UI8:
      return V_UI8(&value) > static_cast<ULONGLONG>(std::numeric_limits<long long>::max())
                 ? Variant(static_cast<double>(V_UI8(&value)))
                 : fromWholeNumber(static_cast<long long>(V_UI8(&value)));
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL: return asDouble(value);
    case VT_DISPATCH: return Variant(fromDispatch(V_DISPATCH(&value)));
    case VT_UNKNOWN: return Variant(fromUnknown(V_UNKNOWN(&value)));
    case VT_ERROR:
      // An omitted argument; any other error code travels as its number.
      if (V_ERROR(&value) == DISP_E_PARAMNOTFOUND) return Variant::missing();
      return Variant(static_cast<int32_t>(V_ERROR(&value)));
    default: automation::raise(automation::err::TypeMismatch, "Unsupported VARIANT type");
  }
}

void toVARIANT(const Variant& value, VARIANT* out) {
  VariantInit(out);
  switch (value.type()) {
    case automation::VarType::Empty: break;
    case automation::VarType::Null: V_VT(out) = VT_NULL; break;
    case automation::VarType::Integer: V_VT(out) = VT_I2; V_I2(out) = value.integer(); break;
    case automation::VarType::Long: V_VT(out) = VT_I4; V_I4(out) = value.long_(); break;
    case automation::VarType::Single: V_VT(out) = VT_R4; V_R4(out) = value.single(); break;
    case automation::VarType::Double: V_VT(out) = VT_R8; V_R8(out) = value.double_(); break;
    case automation::VarType::String:
      V_BSTR(out) = toBSTR(value.string());
      V_VT(out) = VT_BSTR;
      break;
    case automation::VarType::Boolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = value.boolean() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case automation::VarType::Object:
      V_DISPATCH(out) = value.object() ? toDispatch(value.object()) : nullptr;
      V_VT(out) = VT_DISPATCH;
      break;
    case automation::VarType::Missing:
    case automation::VarType::Variant:
      V_VT(out) = VT_ERROR;
      V_ERROR(out) = DISP_E_PARAMNOTFOUND;
      break;
  }
}

}  // namespace zadeve::com
