#pragma once
// The dispatch layer: every scriptable class is a DispatchObject that hands
// the layer one static member table. The layer owns IUnknown and IDispatch
// once for all classes: name lookup, entry lookup by id, argument conversion
// by type code, handler calls, result conversion and script errors.
//
// A class declares its table beside its handlers (see list/list.cpp for a
// reading example):
//
//   struct CListExObj::Members {
//       using Self = CListExObj;
//       static constexpr DispEntry table[] = {
//           bound<&Self::col_return_null_>  ("ColReturnNull", T_BOOL),
//           readonly<&Self::getCount>       ("Count",                  T_I4),
//           method<&Self::addTail>          ("AddTail", P_STR,         T_I4),
//           property<&Self::getValue, &Self::putValue>("Value", P_I4, T_VARIANT),
//           alias                           ("Value"),
//       };
//   };
//
// The position of a row is its dispatch id (1-based): rows are never sorted or
// reordered. The parameter codes and result type of each row are checked
// against the handler's C++ signature at compile time.
//
// Handlers are ordinary member functions taking and returning plain values:
//
//   code  parameter type            result type
//   0     -                         void
//   2     int16_t                   int16_t
//   3     int32_t                   int32_t
//   5     double                    double
//   8     -                         std::string (ANSI text, converted here)
//   11    bool                      bool
//   12    const VARIANT&            Variant
//   13    -                         ComPtr<IUnknown> (the reference handed out)
//   14    const char* or            -
//         std::string_view (ANSI)
//
// A handler reports an ordinary failure through its result. It throws
// ScriptError for a script error; std::bad_alloc becomes the memory error and
// anything else the internal error, all caught in Invoke.

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "frame/raii.h"

namespace torvane {

// Type codes of parameters and results.
inline constexpr std::uint16_t T_EMPTY = 0;
inline constexpr std::uint16_t T_I2 = 2;
inline constexpr std::uint16_t T_I4 = 3;
inline constexpr std::uint16_t T_R8 = 5;
inline constexpr std::uint16_t T_BSTR = 8;
inline constexpr std::uint16_t T_BOOL = 11;
inline constexpr std::uint16_t T_VARIANT = 12;
inline constexpr std::uint16_t T_UNKNOWN = 13;
inline constexpr std::uint16_t T_STR = 14;       // string parameter: BSTR on the wire, ANSI text for the handler
inline constexpr std::uint16_t T_ALIAS = 0xFFF;  // row type of the default-value alias

// Parameter lists are strings of type codes, written by concatenation:
// P_I4 P_STR is the list (32-bit integer, string).
#define P_I2 "\x02"
#define P_I4 "\x03"
#define P_R8 "\x05"
#define P_BOOL "\x0B"
#define P_VARIANT "\x0C"
#define P_STR "\x0E"

class DispatchObject;
class MemberIndex;

// One converted argument as a handler receives it.
struct Arg {
    union {
        std::int16_t i2;
        std::int32_t i4;
        double r8;
        bool b;
        const VARIANT* var;
    };
    const char* str;      // code 14: zero-terminated ANSI text
    std::size_t str_len;  // its full length (the text may hold zeros)
};

using Handler = void (*)(DispatchObject& self, const Arg* args, Variant& result);
using FieldAccess = void* (*)(DispatchObject& self);

// The short road of a get or method call, made for each handler at compile
// time: arguments of the handler's own types (a script's variable passed by
// reference included) are read in place, and the result is written straight
// into the caller's VARIANT. Any other call (a conversion, too many or too few
// arguments) hands over, before anything has run, to the general road. It
// takes Invoke's own arguments for that, so that Invoke keeps nothing live
// across the call.
//
// The short road and Invoke call the next road rather than jump to it: for a
// jump, the compiler loads every argument into registers on entry, which
// costs the short road more than the call costs the long one.
using ShortRoad = HRESULT(STDMETHODCALLTYPE*)(DispatchObject& self, DISPID id, REFIID riid, LCID lcid, WORD flags,
                                              DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep, UINT* arg_err);
inline constexpr HRESULT kLongRoad = S_FALSE;

struct DispEntry {
    const char* name;
    DISPID dispid;       // DISPID_UNKNOWN: the id is the row's position
    const char* params;  // type codes; nullptr for none
    std::uint16_t type;  // result or value type; T_ALIAS for the alias row
    std::uint8_t road;   // the flags that may take the short road: short_road_flags()
    Handler get;         // method, or property get
    Handler put;         // property put; read-only rows share readonly_put
    FieldAccess field;   // bound property: the object's field
    ShortRoad fast;      // get or method call with arguments of the handler's types

    constexpr bool is_alias() const { return type == T_ALIAS; }
    constexpr bool is_bound() const { return !get && !put && !is_alias(); }
    constexpr bool is_method() const { return get && !put; }
    constexpr std::size_t param_count() const {
        std::size_t n = 0;
        while (params && params[n]) ++n;
        return n;
    }
};

// Which calls of a row may take the short road, following the general road's
// rules for them: a get needs somewhere to put its value, and a method call
// of a property is a get. Bit `flags` is set for a call with a result
// VARIANT, bit `flags + 4` for one without (flags 1 to 3 only).
constexpr std::uint8_t short_road_flags(ShortRoad fast, Handler get, Handler put, std::uint16_t type) {
    if (!fast) return 0;
    const auto bit = [](unsigned flags, bool result) { return 1u << (flags + (result ? 0 : 4)); };
    constexpr unsigned both = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    unsigned road = bit(both, true) | bit(both, false);
    if (get && !put) road |= bit(DISPATCH_METHOD, true) | bit(DISPATCH_METHOD, false);
    if (type != T_EMPTY) road |= bit(DISPATCH_METHOD, true) | bit(DISPATCH_PROPERTYGET, true);
    return static_cast<std::uint8_t>(road);
}

// A row with handlers and its short road.
constexpr DispEntry handler_row(const char* name, const char* params, std::uint16_t type, Handler get, Handler put,
                                ShortRoad fast) {
    return DispEntry{name, DISPID_UNKNOWN, params, type, short_road_flags(fast, get, put, type), get,
                     put,  nullptr,        fast};
}

struct DispTable {
    const DispEntry* entries;
    std::size_t count;
    const DispTable* base;  // table of the base class, or nullptr
};

// What a class gives the layer: its table, its dispatch interface id and a
// counter of its live objects.
struct ClassInfo {
    const char* name;
    const IID* iid;
    DispTable table;
    LONG* live;
};

template <std::size_t N> constexpr DispTable make_table(const DispEntry (&rows)[N], const DispTable* base = nullptr) {
    return DispTable{rows, N, base};
}

// A script error: a 16-bit code, a string resource with the description and an
// optional help id. Thrown by handlers, turned into DISP_E_EXCEPTION.
struct ScriptError {
    std::uint16_t code;
    UINT text_id;
    std::uint32_t help_id;  // 0: no help
};

[[noreturn]] void raise_script_error(std::uint16_t code, UINT text_id, std::uint32_t help_id = 0);

// Shared put handler of every read-only property.
void readonly_put(DispatchObject& self, const Arg* args, Variant& result);

// Base of every scriptable object: reference count from 1 and the one
// automation interface. The final release deletes the object; classes with
// windows destroy them in their destructor.
class DispatchObject : public IDispatch {
public:
    explicit DispatchObject(const ClassInfo& cls) noexcept;
    virtual ~DispatchObject();

    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* arg_err) noexcept override;

    const ClassInfo& class_info() const noexcept { return cls_; }

    // Every call the short roads decline, and every put.
    HRESULT STDMETHODCALLTYPE invoke_general(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                             VARIANT* result, EXCEPINFO* excep, UINT* arg_err) noexcept;

private:
    HRESULT STDMETHODCALLTYPE get_ids_general(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                              DISPID* ids) noexcept;
    HRESULT id_of_name(const wchar_t* name, DISPID* out) noexcept;

    volatile LONG refs_ = 1;
    const ClassInfo& cls_;
    const DispEntry* rows_;  // the class's own table, one load away for Invoke
    std::size_t row_count_;
    const MemberIndex* index_;  // nullptr: names take the table walk
};

// Lookups, shared by the layer and its tests.
DISPID find_member_id(const ClassInfo& cls, const char* name) noexcept;
const DispEntry* find_entry(const ClassInfo& cls, DISPID id) noexcept;

// Fills an EXCEPINFO for a script error (source: the module's name).
void fill_excepinfo(EXCEPINFO* excep, const ScriptError& error) noexcept;

// ---------------------------------------------------------------------------
// Row builders. Each checks the row against the handler's signature at compile
// time (a throw in a constant expression is a compile error).

namespace detail {

// One line a type: the codes read as a table.
// clang-format off
template <typename T> struct ParamCode { static constexpr char value = 0; };
template <> struct ParamCode<std::int16_t> { static constexpr char value = T_I2; };
template <> struct ParamCode<std::int32_t> { static constexpr char value = T_I4; };
template <> struct ParamCode<double> { static constexpr char value = T_R8; };
template <> struct ParamCode<bool> { static constexpr char value = T_BOOL; };
template <> struct ParamCode<const VARIANT&> { static constexpr char value = T_VARIANT; };
template <> struct ParamCode<const char*> { static constexpr char value = T_STR; };
template <> struct ParamCode<std::string_view> { static constexpr char value = T_STR; };

template <typename T> struct ResultCode { static constexpr int value = -1; };
template <> struct ResultCode<void> { static constexpr int value = T_EMPTY; };
template <> struct ResultCode<std::int16_t> { static constexpr int value = T_I2; };
template <> struct ResultCode<std::int32_t> { static constexpr int value = T_I4; };
template <> struct ResultCode<double> { static constexpr int value = T_R8; };
template <> struct ResultCode<std::string> { static constexpr int value = T_BSTR; };
template <> struct ResultCode<bool> { static constexpr int value = T_BOOL; };
template <> struct ResultCode<Variant> { static constexpr int value = T_VARIANT; };
template <> struct ResultCode<ComPtr<IUnknown>> { static constexpr int value = T_UNKNOWN; };

template <typename T> struct FieldCode { static constexpr int value = -1; };
template <> struct FieldCode<std::int16_t> { static constexpr int value = T_I2; };
template <> struct FieldCode<double> { static constexpr int value = T_R8; };
template <> struct FieldCode<BOOL> { static constexpr int value = T_BOOL; };
template <> struct FieldCode<std::string> { static constexpr int value = T_BSTR; };
// clang-format on

template <typename F> struct MemberFn;
template <typename C, typename R, typename... P> struct MemberFn<R (C::*)(P...)> {
    using Class = C;
    using Result = R;
    using Params = std::tuple<P...>;
    static constexpr char codes[] = {ParamCode<P>::value..., 0};
};
template <typename C, typename R, typename... P> struct MemberFn<R (C::*)(P...) const> : MemberFn<R (C::*)(P...)> {};

template <typename M> struct MemberField;
template <typename C, typename T> struct MemberField<T C::*> {
    using Class = C;
    using Type = T;
};

template <typename P> P take(const Arg& a);
template <> inline std::int16_t take<std::int16_t>(const Arg& a) { return a.i2; }
template <> inline std::int32_t take<std::int32_t>(const Arg& a) { return a.i4; }
template <> inline double take<double>(const Arg& a) { return a.r8; }
template <> inline bool take<bool>(const Arg& a) { return a.b; }
template <> inline const VARIANT& take<const VARIANT&>(const Arg& a) { return *a.var; }
template <> inline const char* take<const char*>(const Arg& a) { return a.str; }
template <> inline std::string_view take<std::string_view>(const Arg& a) { return {a.str, a.str_len}; }

// A handler's result into a VARIANT (which holds nothing yet).
inline void put_result(VARIANT* r, std::int16_t v) noexcept {
    r->iVal = v;
    r->vt = VT_I2;
}
inline void put_result(VARIANT* r, std::int32_t v) noexcept {
    r->lVal = v;
    r->vt = VT_I4;
}
inline void put_result(VARIANT* r, double v) noexcept {
    r->dblVal = v;
    r->vt = VT_R8;
}
inline void put_result(VARIANT* r, bool v) noexcept {
    r->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
    r->vt = VT_BOOL;
}
void put_result(VARIANT* r, const std::string& v);
inline void put_result(VARIANT* r, Variant&& v) noexcept { v.release_to(r); }
inline void put_result(VARIANT* r, ComPtr<IUnknown>&& v) noexcept {
    r->punkVal = v.release();
    r->vt = VT_UNKNOWN;
}

// A handler's result into the general road's result.
template <typename T> void store(Variant& out, T&& v) { put_result(out.put(), std::forward<T>(v)); }

template <auto Fn, std::size_t... I>
void call(DispatchObject& self, const Arg* args, Variant& result, std::index_sequence<I...>) {
    using M = MemberFn<decltype(Fn)>;
    auto& obj = static_cast<typename M::Class&>(self);
    if constexpr (std::is_void_v<typename M::Result>) {
        (obj.*Fn)(take<std::tuple_element_t<I, typename M::Params>>(args[I])...);
        (void)result;
    } else {
        store(result, (obj.*Fn)(take<std::tuple_element_t<I, typename M::Params>>(args[I])...));
    }
    (void)args;
}

template <auto Fn> void thunk(DispatchObject& self, const Arg* args, Variant& result) {
    using M = MemberFn<decltype(Fn)>;
    call<Fn>(self, args, result, std::make_index_sequence<std::tuple_size_v<typename M::Params>>{});
}

// The caller's value of an optional argument left out.
extern const VARIANT kMissingArg;

// One argument on the short road: accept() takes only a VARIANT that needs no
// conversion (a number type that widens exactly, or a variable passed by
// reference holding one); load() then makes the handler's value.
inline const VARIANT& deref(const VARIANT& v) noexcept {
    return v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal ? *v.pvarVal : v;
}
template <typename P> struct ShortArg;
template <> struct ShortArg<std::int16_t> {
    std::int16_t v;
    bool accept(const VARIANT& a) noexcept {
        const VARIANT& x = deref(a);
        v = x.iVal;
        return x.vt == VT_I2;
    }
    void load() noexcept {}
    std::int16_t get() const noexcept { return v; }
};
template <> struct ShortArg<std::int32_t> {
    std::int32_t v;
    bool accept(const VARIANT& a) noexcept {
        const VARIANT& x = deref(a);
        if (x.vt == VT_I4) {
            v = x.lVal;
            return true;
        }
        if (x.vt == VT_I2) {
            v = x.iVal;
            return true;
        }
        return false;
    }
    void load() noexcept {}
    std::int32_t get() const noexcept { return v; }
};
template <> struct ShortArg<double> {
    double v;
    bool accept(const VARIANT& a) noexcept {
        const VARIANT& x = deref(a);
        if (x.vt == VT_R8) {
            v = x.dblVal;
            return true;
        }
        if (x.vt == VT_I4) {
            v = x.lVal;
            return true;
        }
        if (x.vt == VT_I2) {
            v = x.iVal;
            return true;
        }
        return false;
    }
    void load() noexcept {}
    double get() const noexcept { return v; }
};
template <> struct ShortArg<bool> {
    bool v;
    bool accept(const VARIANT& a) noexcept {
        const VARIANT& x = deref(a);
        v = x.boolVal != VARIANT_FALSE;
        return x.vt == VT_BOOL;
    }
    void load() noexcept {}
    bool get() const noexcept { return v; }
};
template <> struct ShortArg<const VARIANT&> {
    const VARIANT* v;
    // An object is left to the general road: converting it runs the caller's
    // code, and only that road keeps this object alive meanwhile.
    bool accept(const VARIANT& a) noexcept {
        v = &a;  // as the caller passed it, as on the general road
        const VARTYPE t = deref(a).vt & VT_TYPEMASK;
        return t != VT_DISPATCH && t != VT_UNKNOWN;
    }
    void load() noexcept {}
    const VARIANT& get() const noexcept { return *v; }
};
std::string short_text(BSTR s);  // to_ansi, out of line
template <> struct ShortArg<const char*> {
    BSTR in;
    const char* p;
    std::size_t len;
    std::string text;  // a text that does not fit `small`
    char small[64];    // a short ASCII text, converted in place
    bool accept(const VARIANT& a) noexcept {
        const VARIANT& x = deref(a);
        in = x.bstrVal;
        return x.vt == VT_BSTR;
    }
    void load() {
        // A BSTR's length in bytes precedes its first character.
        std::uint32_t bytes = 0;
        if (in) std::memcpy(&bytes, reinterpret_cast<const char*>(in) - sizeof bytes, sizeof bytes);
        const std::size_t n = bytes / sizeof(wchar_t);
        if (n < sizeof small) {
            unsigned bits = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const unsigned c = in[i];
                bits |= c;
                small[i] = static_cast<char>(c);
            }
            if (bits < 0x80) {  // every ANSI code page keeps ASCII as it is
                small[n] = '\0';
                p = small;
                len = n;
                return;
            }
        }
        text = short_text(in);
        p = text.c_str();
        len = text.size();
    }
    const char* get() const noexcept { return p; }
};
template <> struct ShortArg<std::string_view> : ShortArg<const char*> {
    std::string_view get() const noexcept { return {p, len}; }
};

template <typename P> struct Plain { using type = std::remove_cv_t<std::remove_reference_t<P>>; };
template <> struct Plain<const VARIANT&> { using type = const VARIANT&; };

template <auto Fn, std::size_t... I>
HRESULT short_call(DispatchObject& self, const VARIANT* args, UINT count, VARIANT* result, std::index_sequence<I...>) {
    using M = MemberFn<decltype(Fn)>;
    constexpr std::size_t n = sizeof...(I);
    if (count > n || (count && !args)) return kLongRoad;
    std::tuple<ShortArg<typename Plain<std::tuple_element_t<I, typename M::Params>>::type>...> in;
    // Every argument is checked before any is loaded. A trailing argument left
    // out is the missing value when the handler takes a VARIANT there.
    const bool ok = ([&] {
        using P = std::tuple_element_t<I, typename M::Params>;
        if (I < count) return std::get<I>(in).accept(args[count - 1 - I]);
        if constexpr (std::is_same_v<P, const VARIANT&>) return std::get<I>(in).accept(kMissingArg);
        return false;
    }() && ...);
    if (!ok) return kLongRoad;
    (std::get<I>(in).load(), ...);
    auto& obj = static_cast<typename M::Class&>(self);
    if constexpr (std::is_void_v<typename M::Result>) {
        (obj.*Fn)(std::get<I>(in).get()...);
    } else if constexpr (std::is_same_v<typename M::Result, std::string>) {
        const std::string r = (obj.*Fn)(std::get<I>(in).get()...);
        if (result) put_result(result, r);
    } else {
        auto r = (obj.*Fn)(std::get<I>(in).get()...);
        if (result) put_result(result, std::move(r));
    }
    (void)args;
    return S_OK;
}

// The result of a handler's exception, called from a catch block: a script
// error as raised, out of memory as the memory error, anything else as the
// internal error.
HRESULT exception_result(EXCEPINFO* excep) noexcept;

template <auto Fn> [[gnu::optimize("no-optimize-sibling-calls")]] HRESULT STDMETHODCALLTYPE
short_road(DispatchObject& self, DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
           EXCEPINFO* excep, UINT* arg_err) noexcept {
    using M = MemberFn<decltype(Fn)>;
    try {
        const HRESULT hr = short_call<Fn>(self, params->rgvarg, params->cArgs, result,
                                          std::make_index_sequence<std::tuple_size_v<typename M::Params>>{});
        if (hr != kLongRoad) return hr;
    } catch (...) {
        return exception_result(excep);
    }
    return self.invoke_general(id, riid, lcid, flags, params, result, excep, arg_err);
}

template <auto Field> void* field_of(DispatchObject& self) {
    using F = MemberField<decltype(Field)>;
    return &(static_cast<typename F::Class&>(self).*Field);
}

constexpr bool same_codes(const char* a, const char* b) {
    const char* x = a ? a : "";
    const char* y = b ? b : "";
    std::size_t i = 0;
    for (; x[i] && y[i]; ++i)
        if (x[i] != y[i]) return false;
    return x[i] == y[i];
}

// The codes of a put handler: the index parameters, then the value (a string
// property's value arrives as code 14).
constexpr bool put_codes_match(const char* put, const char* params, std::uint16_t type) {
    const char* p = params ? params : "";
    std::size_t i = 0;
    for (; p[i]; ++i)
        if (put[i] != p[i]) return false;
    const char value = static_cast<char>(type == T_BSTR ? T_STR : type);
    return put[i] == value && put[i + 1] == 0;
}

}  // namespace detail

// A method: parameters and a result.
template <auto Fn> constexpr DispEntry method(const char* name, const char* params, std::uint16_t type) {
    using M = detail::MemberFn<decltype(Fn)>;
    if (!detail::same_codes(M::codes, params)) throw "parameter codes differ from the handler's";
    if (detail::ResultCode<typename M::Result>::value != type) throw "result type differs from the handler's";
    return handler_row(name, params, type, &detail::thunk<Fn>, nullptr, &detail::short_road<Fn>);
}
template <auto Fn> constexpr DispEntry method(const char* name, std::uint16_t type) {
    return method<Fn>(name, nullptr, type);
}

// A read-only property: a get handler; every put raises the read-only error.
template <auto Get> constexpr DispEntry readonly(const char* name, const char* params, std::uint16_t type) {
    using G = detail::MemberFn<decltype(Get)>;
    if (!detail::same_codes(G::codes, params)) throw "parameter codes differ from the get handler's";
    if (detail::ResultCode<typename G::Result>::value != type) throw "type differs from the get handler's";
    return handler_row(name, params, type, &detail::thunk<Get>, &readonly_put, &detail::short_road<Get>);
}
template <auto Get> constexpr DispEntry readonly(const char* name, std::uint16_t type) {
    return readonly<Get>(name, nullptr, type);
}

// A property with get and put handlers (the put takes the index parameters,
// then the new value).
template <auto Get, auto Put> constexpr DispEntry property(const char* name, const char* params, std::uint16_t type) {
    using G = detail::MemberFn<decltype(Get)>;
    using P = detail::MemberFn<decltype(Put)>;
    if (!detail::same_codes(G::codes, params)) throw "parameter codes differ from the get handler's";
    if (detail::ResultCode<typename G::Result>::value != type) throw "type differs from the get handler's";
    if (!detail::put_codes_match(P::codes, params, type)) throw "put handler does not take params + value";
    if (detail::ResultCode<typename P::Result>::value != T_EMPTY) throw "put handler must return nothing";
    return handler_row(name, params, type, &detail::thunk<Get>, &detail::thunk<Put>, &detail::short_road<Get>);
}
template <auto Get, auto Put> constexpr DispEntry property(const char* name, std::uint16_t type) {
    return property<Get, Put>(name, nullptr, type);
}

// A property bound to a field of the object: no handler runs.
template <auto Field> constexpr DispEntry bound(const char* name, std::uint16_t type) {
    using F = detail::MemberField<decltype(Field)>;
    if (detail::FieldCode<typename F::Type>::value != type) throw "field type differs from the row's";
    return DispEntry{name, DISPID_UNKNOWN, nullptr, type, 0, nullptr, nullptr, &detail::field_of<Field>, nullptr};
}

// A row that answers at a fixed dispatch id instead of its position (the
// standard ids the engines call without asking, DISPID_NEWENUM). Its
// position then names no member.
constexpr DispEntry with_dispid(DispEntry row, DISPID id) {
    if (id == DISPID_UNKNOWN || id == DISPID_VALUE || id > 0) throw "a fixed id is a negative standard id";
    row.dispid = id;
    return row;
}

// The default-value alias: dispatch id 0 answers as the member named here.
constexpr DispEntry alias(const char* name) {
    return DispEntry{name, DISPID_UNKNOWN, nullptr, T_ALIAS, 0, nullptr, nullptr, nullptr, nullptr};
}

}  // namespace torvane
