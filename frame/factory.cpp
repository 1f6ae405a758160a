// The class registration record of the ScriptDialog class: a static class
// factory whose count never drops below the library's own reference.
#include "frame/factory.h"

#include <new>

#include "frame/guids.h"
#include "frame/module.h"
#include "scriptdialog/scriptdialog.h"

namespace torvane {
namespace {

class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        // The record is static: the library's own reference keeps it at 1.
        LONG current = refs_;
        for (;;) {
            if (current <= 1) return static_cast<ULONG>(current);
            const LONG seen = ::InterlockedCompareExchange(&refs_, current - 1, current);
            if (seen == current) return static_cast<ULONG>(current - 1);
            current = seen;
        }
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        CTorvane_ScriptDialog* object = new (std::nothrow) CTorvane_ScriptDialog();
        if (!object) return E_OUTOFMEMORY;
        if (outer) {
            object->Release();
            return CLASS_E_NOAGGREGATION;
        }
        const HRESULT hr = object->QueryInterface(riid, out);
        object->Release();  // the caller's reference is the only one left
        return hr;
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
        if (lock)
            module::lock();
        else
            module::unlock();
        return S_OK;
    }

    LONG refs() const noexcept { return refs_; }

private:
    volatile LONG refs_ = 1;
};

ClassFactory g_factory;

}  // namespace

LONG factory_ref_count() noexcept { return g_factory.refs(); }

}  // namespace torvane

using namespace torvane;

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_TorvaneScriptDialog) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    if (module::lock_count() > 0 || factory_ref_count() > 1 || module::live_objects() > 0) return S_FALSE;
    return S_OK;
}
