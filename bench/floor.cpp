#include "bench/floor.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

#include "frame/raii.h"

namespace torvane::bench {

HRESULT Floor::QueryInterface(REFIID riid, void** out) {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG Floor::AddRef() { return ::InterlockedIncrement(&refs_); }

ULONG Floor::Release() {
    const LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
}

HRESULT Floor::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT Floor::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

namespace {

// ASCII case-insensitive equality with a lower-case member name.
bool same_name(const wchar_t* name, const wchar_t* lower) {
    for (; *lower; ++name, ++lower) {
        wchar_t c = *name;
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
        if (c != *lower) return false;
    }
    return *name == 0;
}

}  // namespace

HRESULT Floor::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count != 1 || !names[0]) return DISP_E_UNKNOWNNAME;
    const wchar_t* n = names[0];
    switch (n[0] | 0x20) {
        case L'i':
            if (same_name(n, L"ints")) {
                *ids = kIntS;
                return S_OK;
            }
            break;
        case L'f':
            if (same_name(n, L"floats")) {
                *ids = kFloatS;
                return S_OK;
            }
            break;
        case L't':
            if (same_name(n, L"tickcount")) {
                *ids = kTickCount;
                return S_OK;
            }
            break;
        case L'a':
            if (same_name(n, L"addtail")) {
                *ids = kAddTail;
                return S_OK;
            }
            break;
        case L'v':
            if (same_name(n, L"value")) {
                *ids = kValue;
                return S_OK;
            }
            break;
        case L'p':
            if (same_name(n, L"profilevalue")) {
                *ids = kProfileValue;
                return S_OK;
            }
            break;
    }
    return DISP_E_UNKNOWNNAME;
}

namespace {

// The double value of an argument, converting only when it is not one.
bool double_arg(const VARIANT& v, double& out) {
    if (v.vt == VT_R8) {
        out = v.dblVal;
        return true;
    }
    Variant c;
    if (FAILED(::VariantChangeType(c.ptr(), const_cast<VARIANT*>(&v), 0, VT_R8))) return false;
    out = c.get().dblVal;
    return true;
}

// The integer value of an argument, converting only when it is not one.
bool int_arg(const VARIANT& v, LONG& out) {
    if (v.vt == VT_I4) {
        out = v.lVal;
        return true;
    }
    if (v.vt == VT_I2) {
        out = v.iVal;
        return true;
    }
    Variant c;
    if (FAILED(::VariantChangeType(c.ptr(), const_cast<VARIANT*>(&v), 0, VT_I4))) return false;
    out = c.get().lVal;
    return true;
}

BSTR ansi_to_bstr(const char* s, int len) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, s, len, nullptr, 0);
    BSTR b = ::SysAllocStringLen(nullptr, static_cast<UINT>(n));
    if (b) ::MultiByteToWideChar(CP_ACP, 0, s, len, b, n);
    return b;
}

}  // namespace

HRESULT Floor::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*) {
    VARIANT* args = params->rgvarg;
    const UINT n = params->cArgs;
    switch (id) {
        case kIntS: {
            // IntS(value, width): zero-padded decimal text.
            LONG value = 0, width = 0;
            if (n < 1 || !int_arg(args[n - 1], value)) return DISP_E_TYPEMISMATCH;
            if (n >= 2 && !int_arg(args[n - 2], width)) return DISP_E_TYPEMISMATCH;
            char text[64];
            const int len = std::snprintf(text, sizeof text, "%0*ld", static_cast<int>(width > 40 ? 40 : width), value);
            if (result) {
                result->vt = VT_BSTR;
                result->bstrVal = ansi_to_bstr(text, len);
            }
            return S_OK;
        }
        case kFloatS: {
            // FloatS(value, digits): the C runtime's fixed notation.
            double value = 0;
            LONG digits = 0;
            if (n < 1 || !double_arg(args[n - 1], value)) return DISP_E_TYPEMISMATCH;
            if (n >= 2 && !int_arg(args[n - 2], digits)) return DISP_E_TYPEMISMATCH;
            if (digits < 0) value *= std::pow(10.0, -digits);
            char text[400];
            const int len = std::snprintf(text, sizeof text, "%.*f",
                                          static_cast<int>(digits < 0 || digits > 40 ? 0 : digits), value);
            if (result) {
                result->vt = VT_BSTR;
                result->bstrVal =
                    ansi_to_bstr(text, len < static_cast<int>(sizeof text) ? len : static_cast<int>(sizeof text) - 1);
            }
            return S_OK;
        }
        case kTickCount:
            if (result) {
                result->vt = VT_R8;
                result->dblVal = static_cast<double>(::GetTickCount64());
            }
            return S_OK;
        case kAddTail: {
            if (n < 1) return DISP_E_BADPARAMCOUNT;
            Variant c;
            const VARIANT* text = &args[n - 1];
            if (text->vt != VT_BSTR) {
                if (FAILED(::VariantChangeType(c.ptr(), const_cast<VARIANT*>(text), 0, VT_BSTR)))
                    return DISP_E_TYPEMISMATCH;
                text = &c.get();
            }
            const BSTR w = text->bstrVal;
            const int wl = static_cast<int>(::SysStringLen(w));
            const int len = ::WideCharToMultiByte(CP_ACP, 0, w, wl, nullptr, 0, nullptr, nullptr);
            std::string s(static_cast<std::size_t>(len), '\0');
            ::WideCharToMultiByte(CP_ACP, 0, w, wl, s.data(), len, nullptr, nullptr);
            items_.push_back(std::move(s));
            if (result) {
                result->vt = VT_I4;
                result->lVal = static_cast<LONG>(items_.size() - 1);
            }
            return S_OK;
        }
        case kValue: {
            LONG index = 0;
            if (n < 1 || !int_arg(args[n - 1], index)) return DISP_E_TYPEMISMATCH;
            if (!result) return S_OK;
            if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) {
                result->vt = VT_NULL;
                return S_OK;
            }
            const std::string& s = items_[static_cast<std::size_t>(index)];
            result->vt = VT_BSTR;
            result->bstrVal = ansi_to_bstr(s.data(), static_cast<int>(s.size()));
            return S_OK;
        }
        default: return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace torvane::bench
