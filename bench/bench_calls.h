#pragma once
// Calls through IDispatch shared by the benchmark programs.
#include <windows.h>
#include <oleauto.h>

#include <vector>

#include "frame/raii.h"

namespace torvane::bench {

inline DISPID id_of(IDispatch* object, const wchar_t* name) {
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

// args in DISPPARAMS order (last argument first); not owned.
inline HRESULT call(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT>& args, Variant* result = nullptr) {
    DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    DISPID put = DISPID_PROPERTYPUT;
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    Variant ignored;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result->put() : ignored.put(),
                          nullptr, nullptr);
}

inline VARIANT i4(LONG v) {
    VARIANT x;
    x.vt = VT_I4;
    x.lVal = v;
    return x;
}

inline VARIANT str(BSTR s) {
    VARIANT x;
    x.vt = VT_BSTR;
    x.bstrVal = s;
    return x;
}

// An object handed out by a member of the ScriptDialog object.
inline ComPtr<IDispatch> made_by(IDispatch* sd, const wchar_t* member) {
    std::vector<VARIANT> none;
    Variant result;
    if (FAILED(call(sd, id_of(sd, member), DISPATCH_METHOD | DISPATCH_PROPERTYGET, none, &result))) return {};
    ComPtr<IDispatch> d;
    if ((result.vt() == VT_UNKNOWN || result.vt() == VT_DISPATCH) && result.get().punkVal)
        result.get().punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.put()));
    return d;
}

}  // namespace torvane::bench
