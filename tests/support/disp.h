#pragma once
// Calling objects through IDispatch from tests, the way script engines do.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

#include "frame/raii.h"

namespace torvane::test {

// Arguments in script order (first argument first).
class Args {
public:
    Args() = default;
    Args&& i2(SHORT v) &&;
    Args&& i4(LONG v) &&;
    Args&& r8(double v) &&;
    Args&& boolean(bool v) &&;
    Args&& str(const wchar_t* v) &&;
    Args&& str_len(const wchar_t* v, UINT len) &&;  // may hold zeros
    Args&& null_str() &&;                           // VT_BSTR with a null pointer
    Args&& null() &&;
    Args&& empty() &&;
    Args&& missing() &&;               // VT_ERROR / DISP_E_PARAMNOTFOUND
    Args&& dispatch(IDispatch* p) &&;  // adds a reference
    Args&& unknown(IUnknown* p) &&;
    Args&& variant(const VARIANT& v) &&;  // a copy
    Args&& byref(VARIANT* target) &&;     // VT_BYREF | target's type

    std::size_t size() const { return values_.size(); }
    // The array in DISPPARAMS order (last argument first).
    std::vector<VARIANT> reversed() const;
    const std::vector<Variant>& values() const { return values_; }

private:
    Variant& add();
    std::vector<Variant> values_;
};

struct CallResult {
    HRESULT hr = E_FAIL;
    Variant value;
    EXCEPINFO excep{};
    UINT arg_err = 0xFFFFFFFF;

    CallResult() = default;
    CallResult(CallResult&&) noexcept;
    CallResult& operator=(CallResult&&) = delete;
    ~CallResult();
    std::wstring description() const;
};

DISPID id_of(IDispatch* object, const wchar_t* name);

// Invoke with the given flags. A put passes its value (the last of args) as
// the DISPID_PROPERTYPUT named argument, as script engines do.
CallResult invoke(IDispatch* object, DISPID id, WORD flags, const Args& args = Args(), bool want_result = true);

// Shorthands by name.
CallResult call(IDispatch* object, const wchar_t* name, const Args& args = Args());  // method|get
CallResult get(IDispatch* object, const wchar_t* name, const Args& args = Args());   // get
CallResult put(IDispatch* object, const wchar_t* name, const Args& args);            // put

// Value readers that fail the current test on a wrong type.
std::wstring as_wstring(const Variant& v);
std::string as_ansi(const Variant& v);

// Defines one item of every kind on a Form object (not composed).
void define_every_item_kind(IDispatch* form);

// A new ScriptDialog object made by the library's code linked into the test.
ComPtr<IDispatch> new_script_dialog();
// An object returned as VT_UNKNOWN / VT_DISPATCH, asked for IDispatch.
ComPtr<IDispatch> as_dispatch(const Variant& v);

}  // namespace torvane::test
