// DllGetClassObject and DllCanUnloadNow: one class factory per creatable class. A factory
// makes the C++ object and hands out its dispatch face, asked for the interface the
// client wants.

#include <windows.h>
#include <oaidl.h>

#include <new>

#include "com/bridge.h"
#include "com/module.h"
#include "com/type_library_ids.h"
#include "core/zuzuzud_library.h"
#include "host/reference_controls.h"
#include "workspace/workspace_creation.h"

namespace zadeve::com {
namespace {

using Creator = automation::ObjectRef (*)();

automation::ObjectRef newLibrary() { return automation::makeObject<core::ZuzuzudLibrary>(); }
automation::ObjectRef newWorkspaceCreation() { return automation::makeObject<workspace::WorkspaceCreation>(); }

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(Creator create) : create_(create) { objectCreated(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      IDispatch* dispatch = toDispatch(create_());
      if (!dispatch) return E_OUTOFMEMORY;
      const HRESULT hr = dispatch->QueryInterface(riid, out);
      dispatch->Release();
      return hr;
    } catch (const automation::AutomationError& error) {
      return reportError(error);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? objectCreated() : objectDestroyed();
    return S_OK;
  }

 private:
  ~ClassFactory() { objectDestroyed(); }

  Creator create_;
  LONG refs_ = 1;
};

}  // namespace
}  // namespace zadeve::com

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  using namespace zadeve::com;
  if (!out) return E_POINTER;
  *out = nullptr;
  Creator create = nullptr;
  if (IsEqualCLSID(clsid, CLSID_ZuzuzudLibrary)) create = newLibrary;
  else if (IsEqualCLSID(clsid, CLSID_WorkspaceCreation)) create = newWorkspaceCreation;
  else return CLASS_E_CLASSNOTAVAILABLE;
  // The palette's toolbar is our own control, as in the reference host.
  zadeve::host::registerReferenceControls();
  auto* factory = new (std::nothrow) ClassFactory(create);
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, out);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return zadeve::com::canUnload() ? S_OK : S_FALSE; }
