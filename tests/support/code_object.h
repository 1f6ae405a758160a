#pragma once
// Objects that tests pass as arguments, and the one whose default value runs
// code, as a script object's valueOf does: script engines and
// VariantChangeType read an object's value through DISPID_VALUE when they
// convert it, and the code may change the very object that is being called.
#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <utility>

#include "frame/raii.h"

namespace torvane::test {

// What every argument object of the tests shares: one interface, a
// reference count, no type information and no names. Invoke is the
// object's own.
class ArgumentObject : public IDispatch {
public:
    virtual ~ArgumentObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = ::InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }

private:
    LONG refs_ = 1;
};

class CodeObject final : public ArgumentObject {
public:
    CodeObject(std::function<void()> action, Variant value) : action_(std::move(action)), value_(std::move(value)) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
        ++calls;
        if (action_) action_();
        return result ? ::VariantCopy(result, value_.ptr()) : S_OK;
    }

    int calls = 0;  // reads of the default value

private:
    std::function<void()> action_;
    Variant value_;
};

// A new object whose default value runs `action`, then answers `value`.
inline ComPtr<CodeObject> code_object(std::function<void()> action, Variant value = Variant::i2(2)) {
    return ComPtr<CodeObject>::adopt(new CodeObject(std::move(action), std::move(value)));
}

}  // namespace torvane::test
