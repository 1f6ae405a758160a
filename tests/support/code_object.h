#pragma once
// An argument object whose default value runs code, as a script object's
// valueOf does: script engines and VariantChangeType read an object's value
// through DISPID_VALUE when they convert it, and the code may change the very
// object that is being called.
#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <utility>

#include "frame/raii.h"

namespace torvane::test {

class CodeObject final : public IDispatch {
public:
    CodeObject(std::function<void()> action, Variant value) : action_(std::move(action)), value_(std::move(value)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
        ++calls;
        if (action_) action_();
        return result ? ::VariantCopy(result, value_.ptr()) : S_OK;
    }

    int calls = 0;  // reads of the default value

private:
    ULONG refs_ = 1;
    std::function<void()> action_;
    Variant value_;
};

// A new object whose default value runs `action`, then answers `value`.
inline ComPtr<CodeObject> code_object(std::function<void()> action, Variant value = Variant::i2(2)) {
    return ComPtr<CodeObject>::adopt(new CodeObject(std::move(action), std::move(value)));
}

}  // namespace torvane::test
