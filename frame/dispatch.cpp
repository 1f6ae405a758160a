// IUnknown and IDispatch for every scriptable class, driven by the class's
// member table.
//
// Invoke never modifies the caller's DISPPARAMS: the arguments are read in
// place, conversions go to temporaries that live on this call's stack (heap
// only for unusually long parameter lists), and a put value fetched through an
// object's default value replaces the caller's value only in this call's view.
#include "frame/dispatch.h"

#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

#include "frame/module.h"
#include "frame/member_index.h"
#include "frame/text.h"
#include "frame/variant_args.h"
#include "resources/resource_ids.h"

namespace torvane {

namespace detail {
// An optional argument the caller left out.
const VARIANT kMissingArg = [] {
    VARIANT v{};
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}();

std::string short_text(BSTR s) { return to_ansi(s); }

void put_result(VARIANT* r, const std::string& v) {
    r->bstrVal = to_bstr(v).release();
    r->vt = VT_BSTR;
}
}  // namespace detail

namespace {

constexpr std::uint16_t kErrInternal = 61704;
constexpr std::uint16_t kErrNoMemory = 61706;
constexpr std::uint16_t kErrReadOnly = 61837;
constexpr WORD kAllFlags = DISPATCH_METHOD | DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF;

// IID_NULL, tested without a call into the C library (every call asks).
bool is_null_iid(REFIID riid) noexcept {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&riid);
    std::uint32_t w0, w1, w2, w3;
    std::memcpy(&w0, bytes, 4);
    std::memcpy(&w1, bytes + 4, 4);
    std::memcpy(&w2, bytes + 8, 4);
    std::memcpy(&w3, bytes + 12, 4);
    return (w0 | w1 | w2 | w3) == 0;
}

VARTYPE vartype_of(std::uint16_t code) { return static_cast<VARTYPE>(code == T_STR ? T_BSTR : code); }

// Up to `Inline` elements on the stack, more from the heap. Only the n
// elements asked for are constructed.
template <typename T, std::size_t Inline> class ScratchArray {
public:
    explicit ScratchArray(std::size_t n) : n_(n) {
        if (n > Inline) {
            heap_.reset(new T[n]);
            data_ = heap_.get();
        } else {
            data_ = reinterpret_cast<T*>(inline_);
            for (std::size_t i = 0; i < n; ++i) new (&data_[i]) T;  // default-initialised
        }
    }
    ~ScratchArray() {
        if (!heap_)
            for (std::size_t i = 0; i < n_; ++i) data_[i].~T();
    }
    ScratchArray(const ScratchArray&) = delete;
    ScratchArray& operator=(const ScratchArray&) = delete;
    T& operator[](std::size_t i) { return data_[i]; }
    T* data() { return data_; }

private:
    alignas(T) unsigned char inline_[Inline * sizeof(T)];
    std::unique_ptr<T[]> heap_;
    std::size_t n_;
    T* data_;
};

// Converts one argument to the handler's form for a type code. Strings are
// kept in `text`, conversions go through `temp`.
HRESULT convert_arg(const VARIANT& in, char code, Arg& out, std::string* text) {
    if (code == T_VARIANT) {
        out.var = &in;
        return S_OK;
    }
    const VARTYPE want = vartype_of(static_cast<std::uint8_t>(code));
    const VARIANT* src = &in;
    Variant temp;
    if (in.vt != want) {
        const HRESULT hr = change_type(temp.ptr(), in, want);
        if (FAILED(hr)) return hr;
        src = &temp.get();
    }
    switch (code) {
        case T_I2: out.i2 = src->iVal; break;
        case T_I4: out.i4 = src->lVal; break;
        case T_R8: out.r8 = src->dblVal; break;
        case T_BOOL: out.b = src->boolVal != VARIANT_FALSE; break;
        case T_STR:
            *text = to_ansi(src->bstrVal);
            out.str = text->c_str();
            out.str_len = text->size();
            break;
        default: return E_UNEXPECTED;  // no table uses other parameter codes
    }
    return S_OK;
}

const DispEntry* alias_target(const ClassInfo& cls) noexcept {
    for (const DispTable* t = &cls.table; t; t = t->base) {
        for (std::size_t i = 0; i < t->count; ++i) {
            const DispEntry& e = t->entries[i];
            if (!e.is_alias()) continue;
            if (e.dispid != DISPID_UNKNOWN) return find_entry(cls, e.dispid);
            const DISPID id = find_member_id(cls, e.name);
            return id == DISPID_UNKNOWN || id == 0 ? nullptr : find_entry(cls, id);
        }
    }
    return nullptr;
}

// The bound property's field, read into a result.
void get_field(const DispEntry& e, DispatchObject& self, Variant& result) {
    void* field = e.field(self);
    VARIANT* v = result.put();
    switch (e.type) {
        case T_I2:
            v->vt = VT_I2;
            v->iVal = *static_cast<std::int16_t*>(field);
            break;
        case T_R8:
            v->vt = VT_R8;
            v->dblVal = *static_cast<double*>(field);
            break;
        case T_BOOL:
            v->vt = VT_BOOL;
            v->boolVal = *static_cast<BOOL*>(field) ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case T_BSTR: result = Variant::bstr(to_bstr(*static_cast<std::string*>(field))); break;
        default: break;
    }
}

// A value converted to the bound property's type, stored into its field. The
// field is untouched when the conversion fails.
HRESULT put_field(const DispEntry& e, DispatchObject& self, const VARIANT& value) {
    const VARTYPE want = static_cast<VARTYPE>(e.type);
    const VARIANT* src = &value;
    Variant temp;
    if (value.vt != want) {
        const HRESULT hr = change_type(temp.ptr(), value, want);
        if (FAILED(hr)) return hr;
        src = &temp.get();
    }
    void* field = e.field(self);
    switch (e.type) {
        case T_I2: *static_cast<std::int16_t*>(field) = src->iVal; break;
        case T_R8: *static_cast<double*>(field) = src->dblVal; break;
        case T_BOOL: *static_cast<BOOL*>(field) = src->boolVal != VARIANT_FALSE ? TRUE : FALSE; break;
        case T_BSTR: *static_cast<std::string*>(field) = to_ansi(src->bstrVal); break;
        default: return E_UNEXPECTED;
    }
    return S_OK;
}

// The parts of one call that marshalling needs.
struct CallView {
    const VARIANT* args;   // the caller's array; the script's first argument is last
    UINT count;            // all arguments, the put value included
    UINT positional;       // arguments before the put value
    const VARIANT* value;  // the put value, or nullptr
};

// Walks the row's parameter codes, converts the arguments and calls the
// handler. `arg_err` receives an argument position when one is known.
HRESULT marshal_and_call(DispatchObject& self, const DispEntry& e, bool is_put, const CallView& call, Variant& result,
                         UINT& arg_err, bool& arg_err_known) {
    const Handler handler = is_put ? e.put : e.get;
    const std::size_t nparams = e.param_count();
    if (nparams == 0 && !is_put) {
        // No parameters (the most frequent call): nothing to convert.
        if (call.positional > 0) {
            arg_err = call.positional;
            arg_err_known = true;
            return DISP_E_BADPARAMCOUNT;
        }
        handler(self, nullptr, result);
        return S_OK;
    }
    const char* codes = e.params ? e.params : "";
    const char value_code = static_cast<char>(e.type == T_BSTR ? T_STR : e.type);
    std::size_t ntexts = is_put && value_code == T_STR ? 1 : 0;
    for (std::size_t i = 0; i < nparams; ++i) ntexts += codes[i] == T_STR;

    ScratchArray<Arg, 8> args(nparams + (is_put ? 1 : 0));
    ScratchArray<std::string, 4> texts(ntexts);
    std::size_t next_text = 0;

    UINT taken = 0;  // positional arguments consumed
    for (std::size_t i = 0; i < nparams; ++i) {
        const char code = codes[i];
        if (taken < call.positional) {
            const UINT index = call.count - 1 - taken;
            std::string* text = code == T_STR ? &texts[next_text++] : nullptr;
            const HRESULT hr = convert_arg(call.args[index], code, args[i], text);
            if (FAILED(hr)) {
                arg_err = index;
                arg_err_known = true;
                return hr;
            }
            ++taken;
            continue;
        }
        if (code == T_VARIANT) {
            args[i].var = &detail::kMissingArg;
            continue;
        }
        arg_err = call.count;
        arg_err_known = true;
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (is_put) {
        // The value comes last, from the put value.
        if (!call.value) {
            arg_err = call.count;
            arg_err_known = true;
            return DISP_E_PARAMNOTOPTIONAL;
        }
        std::string* text = value_code == T_STR ? &texts[next_text++] : nullptr;
        const HRESULT hr = convert_arg(*call.value, value_code, args[nparams], text);
        if (FAILED(hr)) {
            arg_err = 0;
            arg_err_known = true;
            return hr;
        }
    }
    if (taken < call.positional) {
        arg_err = call.positional - taken;
        arg_err_known = true;
        return DISP_E_BADPARAMCOUNT;
    }
    handler(self, args.data(), result);
    return S_OK;
}

void fill_fixed_error(EXCEPINFO* excep, std::uint16_t code, UINT text_id) noexcept {
    fill_excepinfo(excep, ScriptError{code, text_id, 0});
}

}  // namespace

namespace detail {

HRESULT exception_result(EXCEPINFO* excep) noexcept {
    try {
        throw;
    } catch (const ScriptError& error) {
        fill_excepinfo(excep, error);
    } catch (const std::bad_alloc&) {
        fill_fixed_error(excep, kErrNoMemory, IDS_ERR_NO_MEMORY);
    } catch (...) {
        fill_fixed_error(excep, kErrInternal, IDS_ERR_INTERNAL);
    }
    return DISP_E_EXCEPTION;
}

}  // namespace detail

// ---------------------------------------------------------------------------

void raise_script_error(std::uint16_t code, UINT text_id, std::uint32_t help_id) {
    throw ScriptError{code, text_id, help_id};
}

void readonly_put(DispatchObject&, const Arg*, Variant&) {
    raise_script_error(kErrReadOnly, IDS_ERR_READONLY, kErrReadOnly);
}

void fill_excepinfo(EXCEPINFO* excep, const ScriptError& error) noexcept {
    if (!excep) return;
    *excep = EXCEPINFO{};
    excep->wCode = error.code;
    try {
        excep->bstrDescription = to_bstr(module::load_string(error.text_id).c_str()).release();
        excep->bstrSource = to_bstr(module::app_name().c_str()).release();
        if (error.help_id != 0) {
            excep->dwHelpContext = 0x60000 + error.help_id;
            excep->bstrHelpFile = to_bstr(module::help_path().c_str()).release();
        }
    } catch (...) {
        // Out of memory while describing the error: the code still goes back.
    }
}

DISPID find_member_id(const ClassInfo& cls, const char* name) noexcept {
    if (!name) return DISPID_UNKNOWN;
    DISPID level = 0;
    for (const DispTable* t = &cls.table; t; t = t->base, ++level) {
        for (std::size_t i = 0; i < t->count; ++i) {
            const DispEntry& e = t->entries[i];
            if (e.is_alias()) continue;
            if (::lstrcmpiA(e.name, name) == 0)
                return e.dispid != DISPID_UNKNOWN ? e.dispid : (level << 16) | static_cast<DISPID>(i + 1);
        }
    }
    return DISPID_UNKNOWN;
}

const DispEntry* find_entry(const ClassInfo& cls, DISPID id) noexcept {
    if (id == DISPID_VALUE) return alias_target(cls);
    if (id > 0) {
        const DISPID level = id >> 16;
        const std::size_t pos = static_cast<std::size_t>(id & 0xFFFF);
        const DispTable* t = &cls.table;
        for (DISPID l = 0; t && l < level; ++l) t = t->base;
        if (t && pos >= 1 && pos <= t->count) {
            const DispEntry& e = t->entries[pos - 1];
            if (e.dispid == DISPID_UNKNOWN || e.dispid == id)
                // The alias row's own position answers as the member it names.
                return e.is_alias() ? alias_target(cls) : &e;
        }
    }
    for (const DispTable* t = &cls.table; t; t = t->base)
        for (std::size_t i = 0; i < t->count; ++i)
            if (t->entries[i].dispid == id && !t->entries[i].is_alias()) return &t->entries[i];
    return nullptr;
}

// ---------------------------------------------------------------------------

DispatchObject::DispatchObject(const ClassInfo& cls) noexcept
    : cls_(cls), rows_(cls.table.entries), row_count_(cls.table.count), index_(member_index_for(cls)) {
    if (cls_.live) ::InterlockedIncrement(cls_.live);
    module::object_created();
}

DispatchObject::~DispatchObject() {
    if (cls_.live) ::InterlockedDecrement(cls_.live);
    module::object_destroyed();
}

HRESULT STDMETHODCALLTYPE DispatchObject::QueryInterface(REFIID riid, void** out) noexcept {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || (cls_.iid && riid == *cls_.iid)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DispatchObject::AddRef() noexcept { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE DispatchObject::Release() noexcept {
    // A count that is already 0 stays 0: a release during the final release
    // (a window torn down by the destructor, say) does nothing.
    LONG current = refs_;
    for (;;) {
        if (current <= 0) return 0;
        const LONG seen = ::InterlockedCompareExchange(&refs_, current - 1, current);
        if (seen == current) break;
        current = seen;
    }
    if (current - 1 == 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(current - 1);
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return index != 0 ? E_INVALIDARG : E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                                        DISPID* ids) noexcept {
    // Script engines ask for one plain ASCII name of a member at a time: the
    // index answers. A name it does not find goes on to id_of_name with only
    // what that needs, and anything else to the general lookup, which takes
    // the same arguments so that the call is a jump: few values stay live
    // through the compare, and this needs next to no frame.
    if (count == 1 && names && ids && names[0] && index_ && is_null_iid(riid)) {
        const DISPID id = index_->lookup(names[0]);
        if (id == DISPID_UNKNOWN) return id_of_name(names[0], ids);
        ids[0] = id;
        return S_OK;
    }
    return get_ids_general(riid, names, count, lcid, ids);
}

// Every other lookup: the checks, in order, then the first name.
[[gnu::noinline]] HRESULT STDMETHODCALLTYPE DispatchObject::get_ids_general(REFIID riid, LPOLESTR* names, UINT count,
                                                                            LCID, DISPID* ids) noexcept {
    if (!is_null_iid(riid)) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0) return E_INVALIDARG;
    HRESULT hr = DISP_E_UNKNOWNNAME;
    if (names[0]) {
        hr = id_of_name(names[0], ids);
        if (hr == E_OUTOFMEMORY) return hr;
    } else {
        ids[0] = DISPID_UNKNOWN;
    }
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return hr;
}

// The id of a name the index did not find: the index's answer for a plain
// name, else the table walk with the platform's comparison.
[[gnu::noinline]] HRESULT DispatchObject::id_of_name(const wchar_t* name, DISPID* out) noexcept {
    DISPID id = DISPID_UNKNOWN;
    if (!index_ || !index_->find(name, id)) {
        const std::size_t len = std::wcslen(name);
        if (len < 32) {
            // Member names are short: convert into a stack buffer.
            char small[128];
            const int n = ::WideCharToMultiByte(CP_ACP, 0, name, static_cast<int>(len), small,
                                                static_cast<int>(sizeof small) - 1, nullptr, nullptr);
            small[n > 0 ? n : 0] = '\0';
            id = find_member_id(cls_, small);
        } else {
            try {
                id = find_member_id(cls_, to_ansi(name, len).c_str());
            } catch (...) {
                return E_OUTOFMEMORY;
            }
        }
    }
    *out = id;
    return id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
}

// Calls, not jumps, to either road (see ShortRoad).
[[gnu::optimize("no-optimize-sibling-calls")]] HRESULT STDMETHODCALLTYPE
DispatchObject::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* excep, UINT* arg_err) noexcept {
    if (result) result->vt = VT_EMPTY;
    // The short road: a get or method call of a row of the class's own table,
    // by its position (1 to the row count), with positional arguments only,
    // and flags the row lets take it. Arguments without an array take the
    // long road from the short one.
    if (static_cast<std::size_t>(static_cast<ULONG>(id) - 1u) < row_count_ && params && params->cNamedArgs == 0 &&
        flags < 4) {
        const DispEntry& e = rows_[id - 1];
        if (((e.road >> (flags + (result ? 0 : 4))) & 1) && e.dispid == DISPID_UNKNOWN && is_null_iid(riid))
            return e.fast(*this, id, riid, lcid, flags, params, result, excep, arg_err);
    }
    return invoke_general(id, riid, lcid, flags, params, result, excep, arg_err);
}

[[gnu::noinline]] HRESULT STDMETHODCALLTYPE DispatchObject::invoke_general(DISPID id, REFIID riid, LCID, WORD flags,
                                                                           DISPPARAMS* params, VARIANT* result,
                                                                           EXCEPINFO* excep, UINT* arg_err) noexcept {
    if (!is_null_iid(riid)) return DISP_E_UNKNOWNINTERFACE;

    static DISPPARAMS no_params = {nullptr, nullptr, 0, 0};
    if (!params) params = &no_params;
    if ((params->cArgs && !params->rgvarg) || params->cNamedArgs > params->cArgs ||
        (params->cNamedArgs && !params->rgdispidNamedArgs))
        return E_INVALIDARG;
    if (params->cNamedArgs > 1 || (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
        return DISP_E_NONAMEDARGS;

    // Most calls name a row of the class's own table by its position.
    const DispEntry* entry = nullptr;
    if (id > 0 && static_cast<std::size_t>(id) <= cls_.table.count) {
        const DispEntry& row = cls_.table.entries[id - 1];
        if (row.dispid == DISPID_UNKNOWN && !row.is_alias()) entry = &row;
    }
    if (!entry) entry = find_entry(cls_, id);
    if (!entry) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & kAllFlags)) return E_INVALIDARG;
    const DispEntry& e = *entry;

    UINT named = params->cNamedArgs;
    const UINT count = params->cArgs;

    // A method call on a property: a get while the arguments fit the index
    // parameters, otherwise a put of the last argument.
    if (flags == DISPATCH_METHOD && !e.is_method()) {
        if (count <= e.param_count()) {
            flags = DISPATCH_PROPERTYGET;
        } else {
            flags = DISPATCH_PROPERTYPUTREF;
            named = 1;
        }
    }

    const bool is_put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    CallView call{params->rgvarg, count, count - named, nullptr};
    if (is_put) {
        result = nullptr;
        if (e.is_method()) return DISP_E_TYPEMISMATCH;
        if (count > 0) {
            // The value is the first element, whether or not the caller named it.
            call.value = &params->rgvarg[0];
            call.positional = count - 1;
        }
    }

    // Converting an object argument runs the caller's code, which may drop
    // the last reference to this object: it lives until the call returns.
    // (The short road leaves every object argument to this road.)
    const ComPtr<IDispatch> keep = refs_ > 0 ? ComPtr<IDispatch>::share(this) : ComPtr<IDispatch>();

    try {
        // A plain put of an object stores the object's default value.
        Variant fetched;
        if (flags == DISPATCH_PROPERTYPUT && id != DISPID_VALUE && call.value && call.value->vt == VT_DISPATCH &&
            call.value->pdispVal) {
            DISPPARAMS none = {nullptr, nullptr, 0, 0};
            const HRESULT hr =
                call.value->pdispVal->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                             fetched.ptr(), nullptr, nullptr);
            if (SUCCEEDED(hr))
                call.value = &fetched.get();
            else if (hr != DISP_E_MEMBERNOTFOUND)
                return hr;
        }

        if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
            if ((flags & DISPATCH_PROPERTYGET) && !(flags & DISPATCH_METHOD)) {
                if (e.type == T_EMPTY) return DISP_E_BADPARAMCOUNT;
                if (!result) return DISP_E_PARAMNOTOPTIONAL;
            }
            if (e.param_count() == 0 && count >= 1) return DISP_E_BADPARAMCOUNT;
        }

        Variant out;
        if (e.is_bound()) {
            if (is_put && count > 1) return DISP_E_BADPARAMCOUNT;
            if (count == 0 && !result) return DISP_E_PARAMNOTOPTIONAL;
            if (count == 0) {
                get_field(e, *this, out);
            } else {
                const HRESULT hr = put_field(e, *this, call.value ? *call.value : params->rgvarg[0]);
                if (FAILED(hr)) {
                    if (arg_err) *arg_err = 0;
                    return hr;
                }
            }
        } else {
            UINT err = 0;
            bool err_known = false;
            const HRESULT hr = marshal_and_call(*this, e, is_put, call, out, err, err_known);
            if (FAILED(hr)) {
                if (arg_err && err_known) *arg_err = err;
                return hr;
            }
        }
        if (result) out.release_to(result);
        return S_OK;
    } catch (...) {
        return detail::exception_result(excep);
    }
}

}  // namespace torvane
