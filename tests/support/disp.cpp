#include "support/disp.h"

#include <gtest/gtest.h>

#include <cstring>

#include "frame/text.h"
#include "scriptdialog/scriptdialog.h"

namespace torvane::test {

Variant& Args::add() {
    values_.emplace_back();
    return values_.back();
}

Args&& Args::i2(SHORT v) && {
    VARIANT* p = add().ptr();
    p->vt = VT_I2;
    p->iVal = v;
    return std::move(*this);
}
Args&& Args::i4(LONG v) && {
    values_.emplace_back(Variant::i4(v));
    return std::move(*this);
}
Args&& Args::r8(double v) && {
    VARIANT* p = add().ptr();
    p->vt = VT_R8;
    p->dblVal = v;
    return std::move(*this);
}
Args&& Args::boolean(bool v) && {
    VARIANT* p = add().ptr();
    p->vt = VT_BOOL;
    p->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
    return std::move(*this);
}
Args&& Args::str(const wchar_t* v) && {
    values_.emplace_back(Variant::bstr(to_bstr(v)));
    return std::move(*this);
}
Args&& Args::str_len(const wchar_t* v, UINT len) && {
    values_.emplace_back(Variant::bstr(UniqueBstr(::SysAllocStringLen(v, len))));
    return std::move(*this);
}
Args&& Args::null_str() && {
    VARIANT* p = add().ptr();
    p->vt = VT_BSTR;
    p->bstrVal = nullptr;
    return std::move(*this);
}
Args&& Args::null() && {
    values_.emplace_back(Variant::null());
    return std::move(*this);
}
Args&& Args::empty() && {
    add();
    return std::move(*this);
}
Args&& Args::missing() && {
    VARIANT* p = add().ptr();
    p->vt = VT_ERROR;
    p->scode = DISP_E_PARAMNOTFOUND;
    return std::move(*this);
}
Args&& Args::dispatch(IDispatch* d) && {
    VARIANT* p = add().ptr();
    p->vt = VT_DISPATCH;
    p->pdispVal = d;
    if (d) d->AddRef();
    return std::move(*this);
}
Args&& Args::unknown(IUnknown* u) && {
    VARIANT* p = add().ptr();
    p->vt = VT_UNKNOWN;
    p->punkVal = u;
    if (u) u->AddRef();
    return std::move(*this);
}
Args&& Args::variant(const VARIANT& v) && {
    ::VariantCopy(add().ptr(), const_cast<VARIANT*>(&v));
    return std::move(*this);
}
Args&& Args::byref(VARIANT* target) && {
    VARIANT* p = add().ptr();
    p->vt = static_cast<VARTYPE>(VT_BYREF | VT_VARIANT);
    p->pvarVal = target;
    return std::move(*this);
}

std::vector<VARIANT> Args::reversed() const {
    std::vector<VARIANT> out;
    for (auto it = values_.rbegin(); it != values_.rend(); ++it) out.push_back(it->get());
    return out;
}

CallResult::CallResult(CallResult&& other) noexcept
    : hr(other.hr), value(std::move(other.value)), excep(other.excep), arg_err(other.arg_err) {
    other.excep = EXCEPINFO{};
}

CallResult::~CallResult() {
    UniqueBstr(excep.bstrDescription);
    UniqueBstr(excep.bstrSource);
    UniqueBstr(excep.bstrHelpFile);
}

std::wstring CallResult::description() const {
    return excep.bstrDescription ? std::wstring(excep.bstrDescription, ::SysStringLen(excep.bstrDescription))
                                 : std::wstring();
}

DISPID id_of(IDispatch* object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

CallResult invoke(IDispatch* object, DISPID id, WORD flags, const Args& args, bool want_result) {
    CallResult r;
    std::vector<VARIANT> array = args.reversed();
    const std::vector<VARIANT> before = array;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{array.empty() ? nullptr : array.data(), nullptr, static_cast<UINT>(array.size()), 0};
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && !array.empty()) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    r.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, want_result ? r.value.ptr() : nullptr,
                          &r.excep, &r.arg_err);
    // The caller's array must come back as it was passed.
    for (std::size_t i = 0; i < array.size(); ++i)
        EXPECT_EQ(0, std::memcmp(&array[i], &before[i], sizeof(VARIANT))) << "argument " << i << " was changed";
    return r;
}

CallResult call(IDispatch* object, const wchar_t* name, const Args& args) {
    return invoke(object, id_of(object, name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}
CallResult get(IDispatch* object, const wchar_t* name, const Args& args) {
    return invoke(object, id_of(object, name), DISPATCH_PROPERTYGET, args);
}
CallResult put(IDispatch* object, const wchar_t* name, const Args& args) {
    return invoke(object, id_of(object, name), DISPATCH_PROPERTYPUT, args, false);
}

std::wstring as_wstring(const Variant& v) {
    EXPECT_EQ(VT_BSTR, v.vt());
    if (v.vt() != VT_BSTR || !v.get().bstrVal) return std::wstring();
    return std::wstring(v.get().bstrVal, ::SysStringLen(v.get().bstrVal));
}

std::string as_ansi(const Variant& v) {
    EXPECT_EQ(VT_BSTR, v.vt());
    if (v.vt() != VT_BSTR) return std::string();
    return to_ansi(v.get().bstrVal);
}

void define_every_item_kind(IDispatch* form) {
    call(form, L"DefineLabel", Args().str(L"label"));
    call(form, L"DefineEdit", Args().str(L"edit").str(L"text").i2(1));
    call(form, L"DefineButton", Args().str(L"a;b;c"));
    call(form, L"DefineEditButton", Args().str(L"find").str(L"x").str(L"Go"));
    call(form, L"DefineFileEdit", Args().str(L"file").str(L"C:\\a.txt").str(L"..."));
    call(form, L"DefineCheckButton", Args().str(L"c1;c2").str(L"01"));
    call(form, L"DefineRadioButton", Args().str(L"r1;r2").i2(1));
    call(form, L"DefineComboBox", Args().str(L"combo").str(L"kiwi").str(L"apple;pear"));
    call(form, L"DefineDropdownList", Args().str(L"size").missing().str(L"S;M;L"));
    call(form, L"DefineListBox", Args().str(L"a;b;c").str(L"1").i2(3));
}

ComPtr<IDispatch> new_script_dialog() {
    // The object starts with the one reference that the ComPtr takes over.
    return ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog());
}

ComPtr<IDispatch> as_dispatch(const Variant& v) {
    ComPtr<IDispatch> d;
    if (v.vt() == VT_UNKNOWN && v.get().punkVal)
        v.get().punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.put()));
    else if (v.vt() == VT_DISPATCH && v.get().pdispVal)
        d = ComPtr<IDispatch>::share(v.get().pdispVal);
    return d;
}

}  // namespace torvane::test
