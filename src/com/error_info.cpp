#include "com/error_info.h"

#include <string>

#include "com/bridge.h"
#include "com/wide_text.h"

namespace zadeve::com {
namespace {

// Errors of our own that name no source come from the library.
constexpr const char* DefaultSource = "ZADEVE";

std::string sourceOf(const automation::AutomationError& error) {
  return error.source().empty() ? std::string(DefaultSource) : error.source();
}

std::string takeBSTR(BSTR& text) {
  std::string s = fromBSTR(text);
  SysFreeString(text);
  text = nullptr;
  return s;
}

}  // namespace

HRESULT hresultOf(const automation::AutomationError& error) {
  if (error.number() < 0) return static_cast<HRESULT>(error.number());
  return static_cast<HRESULT>(0x800A0000u | (static_cast<uint32_t>(error.number()) & 0xFFFFu));
}

HRESULT reportError(const automation::AutomationError& error) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetGUID(GUID_NULL);
    std::wstring source = toWide(sourceOf(error));
    std::wstring description = toWide(error.description());
    create->SetSource(source.data());
    create->SetDescription(description.data());
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return hresultOf(error);
}

void fillExcepInfo(const automation::AutomationError& error, EXCEPINFO* info) {
  *info = EXCEPINFO{};
  info->wCode = 0;
  info->scode = hresultOf(error);
  info->bstrSource = SysAllocString(toWide(sourceOf(error)).c_str());
  info->bstrDescription = SysAllocString(toWide(error.description()).c_str());
}

int32_t errorNumberOf(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL && FAILED(hr)) return static_cast<int32_t>(hr & 0xFFFF);
  switch (hr) {
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND: return automation::err::MemberMissing;
    case DISP_E_TYPEMISMATCH: return automation::err::TypeMismatch;
    case DISP_E_BADPARAMCOUNT: return automation::err::WrongArgumentCount;
    case DISP_E_PARAMNOTOPTIONAL: return automation::err::ArgumentNotOptional;
    case DISP_E_OVERFLOW: return automation::err::Overflow;
    case DISP_E_BADINDEX: return automation::err::Subscript;
    case DISP_E_DIVBYZERO: return automation::err::DivisionByZero;
    case E_INVALIDARG: return automation::err::InvalidCall;
    case E_NOTIMPL: return 445;  // object doesn't support this action
    case E_OUTOFMEMORY: return 7;
    default: return static_cast<int32_t>(hr);
  }
}

void raiseFromHResult(HRESULT hr, EXCEPINFO* info) {
  std::string source, description;
  if (hr == DISP_E_EXCEPTION && info) {
    if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
    hr = info->scode ? info->scode : static_cast<HRESULT>(0x800A0000u | info->wCode);
    source = takeBSTR(info->bstrSource);
    description = takeBSTR(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
    info->bstrHelpFile = nullptr;
  } else {
    // A bare failure may still have left its text with the thread.
    IErrorInfo* thread = nullptr;
    if (GetErrorInfo(0, &thread) == S_OK && thread) {
      BSTR text = nullptr;
      if (SUCCEEDED(thread->GetSource(&text))) source = takeBSTR(text);
      if (SUCCEEDED(thread->GetDescription(&text))) description = takeBSTR(text);
      thread->Release();
    }
  }
  int32_t number = errorNumberOf(hr);
  if (description.empty()) description = automation::standardDescription(number);
  throw automation::AutomationError(number, std::move(description), std::move(source));
}

}  // namespace zadeve::com
