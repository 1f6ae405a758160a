// Dispatch fuzzer: calls every member of every class the ScriptDialog object
// can reach, by id and by name, with random flags, argument counts, VARIANT
// types (arrays, by-reference values, hostile objects, odd strings) and named
// arguments, and checks after every call that
//   - the HRESULT is one the dispatch layer may return,
//   - the caller's argument array and what it points to are unchanged,
// and after the run that every object was released and nothing grew: live
// objects of the library, the hostile objects handed to it, blocks of the
// task allocator (automation strings among them, seen by a malloc spy) and
// top-level windows of the process.
//
//   dispatch_fuzz [--seed N] [--iterations N-per-class] [--seconds N] [--verbose]
//
// --seconds runs the main round for that long instead of a number of calls
// (for long runs by hand). Now and then a Form object gets one item of every
// kind and is composed, so that calls also meet real windows (ComposeForm and
// DestroyForm are called at random too).
//
// Members that wait for a user (message boxes, file dialogs, modal forms,
// sleeping) or act on the system (starting programs, ending the session) are
// left out; their argument handling goes through the same dispatch layer.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cctype>
#include <cstring>
#include <memory>
#include <cwchar>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "frame/dispatch.h"
#include "frame/module.h"
#include "frame/raii.h"
#include "scriptdialog/scriptdialog.h"
#include "support/code_object.h"

using namespace torvane;

namespace {

// ---------------------------------------------------------------------------
// Blocks of the task allocator outstanding while the spy is registered.

class MallocSpy final : public IMallocSpy {
public:
    MallocSpy() { ::InitializeCriticalSection(&lock_); }
    ~MallocSpy() { ::DeleteCriticalSection(&lock_); }

    std::size_t outstanding() {
        ::EnterCriticalSection(&lock_);
        const std::size_t n = blocks_.size();
        ::LeaveCriticalSection(&lock_);
        return n;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IMallocSpy) {
            *out = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* actual) override {
        if (actual) add(actual);
        return actual;
    }
    void* STDMETHODCALLTYPE PreFree(void* request, BOOL spied) override {
        if (spied && request) remove(request);
        return request;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** new_request, BOOL spied) override {
        realloc_old_ = spied ? request : nullptr;
        *new_request = request;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL spied) override {
        if (spied) {
            if (realloc_old_) remove(realloc_old_);
            if (actual) add(actual);
        }
        return actual;
    }
    void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    void add(void* p) {
        ::EnterCriticalSection(&lock_);
        blocks_.insert(p);
        ::LeaveCriticalSection(&lock_);
    }
    void remove(void* p) {
        ::EnterCriticalSection(&lock_);
        blocks_.erase(p);
        ::LeaveCriticalSection(&lock_);
    }
    CRITICAL_SECTION lock_;
    std::set<void*> blocks_;
    void* realloc_old_ = nullptr;
};

// ---------------------------------------------------------------------------
// Hostile objects: what a script can hand over where a value is expected.

LONG g_hostile_live = 0;

class Hostile final : public test::ArgumentObject {
public:
    enum Mode { fails, raises, returns_object, returns_text, returns_array, kModes };
    Hostile(Mode mode, int depth) : mode_(mode), depth_(depth) { ::InterlockedIncrement(&g_hostile_live); }
    ~Hostile() override { ::InterlockedDecrement(&g_hostile_live); }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO* excep,
                                     UINT*) override {
        switch (mode_) {
            case fails: return E_FAIL;
            case raises:
                if (excep) {
                    std::memset(excep, 0, sizeof *excep);
                    excep->scode = E_FAIL;
                    excep->bstrDescription = ::SysAllocString(L"hostile");
                }
                return DISP_E_EXCEPTION;
            case returns_object:
                if (!result) return S_OK;
                result->vt = VT_DISPATCH;
                result->pdispVal = new Hostile(depth_ < 3 ? returns_object : returns_text, depth_ + 1);
                return S_OK;
            case returns_text:
                if (!result) return S_OK;
                result->vt = VT_BSTR;
                result->bstrVal = ::SysAllocString(L"12");
                return S_OK;
            case returns_array:
                if (!result) return S_OK;
                result->vt = VT_ARRAY | VT_I4;
                result->parray = ::SafeArrayCreateVector(VT_I4, 0, 3);
                return S_OK;
            default: return E_UNEXPECTED;
        }
    }

private:
    Mode mode_;
    int depth_;
};

// ---------------------------------------------------------------------------
// Random arguments.

class ArgMaker {
public:
    explicit ArgMaker(std::mt19937& rng) : rng_(rng) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }

    UniqueBstr text() {
        switch (pick(12)) {
            case 0: return UniqueBstr(nullptr);
            case 1: return UniqueBstr(::SysAllocString(L""));
            case 2: return UniqueBstr(::SysAllocString(L"12"));
            case 3: return UniqueBstr(::SysAllocString(L"-32769"));
            case 4: return UniqueBstr(::SysAllocString(L"\x65e5\x672c\x8a9e;\x30bd,\x8868 a b"));
            case 5: return UniqueBstr(::SysAllocStringLen(L"a\0b;c", 5));
            case 6: return UniqueBstr(::SysAllocString(L"\xD800x\xDC00"));
            case 7: return UniqueBstr(::SysAllocString(L"%41%4%%e3%81:a:b"));
            case 8: return long_text(300 + pick(300));
            case 9: return long_text(pick(2) ? 70000 : 2000);
            case 10: return UniqueBstr(::SysAllocString(L"sub\\dir\\x.txt"));
            default: {
                // Printable garbage without drive letters or roots, so that file
                // members stay in the current (scratch) folder.
                std::wstring s;
                const int n = pick(40);
                static const wchar_t chars[] = L"ab;, \t.*?%0123\x30bd\x8868\xff71\xD800";
                for (int i = 0; i < n; ++i) s += chars[pick(static_cast<int>(std::size(chars)) - 1)];
                return UniqueBstr(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size())));
            }
        }
    }

    // One value; `pool` supplies objects of the library.
    void value(VARIANT& v, const std::vector<ComPtr<IDispatch>>& pool, int depth = 0) {
        ::VariantInit(&v);
        switch (pick(22)) {
            case 0: break;
            case 1: v.vt = VT_NULL; break;
            case 2:
                v.vt = VT_I2;
                v.iVal = pick_of<SHORT>({0, 1, -1, 32767, -32768, 5});
                break;
            case 3:
                v.vt = VT_I4;
                v.lVal = pick_of<LONG>({0, 1, -1, 63, 64, 1024, 0x7FFFFFFF, LONG(0x80000000), 32768, -32769});
                break;
            case 4:
                v.vt = VT_R8;
                v.dblVal = pick_of<double>(
                    {0.0, -0.0, 1.5, 1e308, -1e308, 1e-320, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 2.5e9});
                break;
            case 5:
                v.vt = VT_BSTR;
                v.bstrVal = text().release();
                break;
            case 6:
                v.vt = VT_BSTR;
                v.bstrVal = text().release();
                break;
            case 7:
                v.vt = VT_BOOL;
                v.boolVal = pick_of<VARIANT_BOOL>({VARIANT_TRUE, VARIANT_FALSE, 5});
                break;
            case 8:
                v.vt = VT_ERROR;
                v.scode = chance(80) ? DISP_E_PARAMNOTFOUND : E_FAIL;
                break;
            case 9:
                v.vt = VT_DATE;
                v.date = pick_of<double>({0.0, 45000.5, 1e10, -1e10});
                break;
            case 10:
                v.vt = VT_CY;
                v.cyVal.int64 = pick_of<LONGLONG>({0, 12345, INT64_MAX, INT64_MIN});
                break;
            case 11:
                v.vt = VT_I8;
                v.llVal = pick_of<LONGLONG>({0, INT64_MAX, INT64_MIN, 70000});
                break;
            case 12:
                v.vt = pick_of<VARTYPE>({VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_UI8, VT_INT, VT_UINT, VT_R4, VT_HRESULT});
                v.ullVal = pick_of<ULONGLONG>({0, 1, ~0ull, 0x80000000ull});
                break;
            case 13:
                v.vt = VT_DECIMAL;
                v.decVal.Lo64 = 123;
                v.decVal.scale = static_cast<BYTE>(pick(30));
                v.vt = VT_DECIMAL;
                break;
            case 14:
                if (!pool.empty()) {
                    v.vt = chance(50) ? VT_DISPATCH : VT_UNKNOWN;
                    v.pdispVal = pool[pick(static_cast<int>(pool.size()))].get();
                    v.pdispVal->AddRef();
                } else {
                    v.vt = VT_DISPATCH;
                    v.pdispVal = nullptr;
                }
                break;
            case 15:
                v.vt = chance(70) ? VT_DISPATCH : VT_UNKNOWN;
                v.pdispVal = new Hostile(static_cast<Hostile::Mode>(pick(Hostile::kModes)), 0);
                break;
            case 16:
                v.vt = chance(50) ? VT_DISPATCH : VT_UNKNOWN;
                v.pdispVal = nullptr;
                break;
            case 17: array(v, pool, depth); break;
            case 18: byref(v, pool, depth); break;
            case 19: byref(v, pool, depth); break;
            case 20:
                // Types that mean nothing here, and some that are not types.
                v.vt = pick_of<VARTYPE>({VT_VOID, VT_PTR, VT_LPSTR, VT_LPWSTR, VT_FILETIME, VT_BLOB, VT_CLSID, 0x7F,
                                         0x0FFF, VT_VECTOR | VT_I4, VT_RESERVED | VT_I4});
                v.ullVal = 0;
                break;
            default:
                v.vt = VT_I4;
                v.lVal = pick(100) - 50;
                break;
        }
    }

    // Storage behind by-reference arguments: kept until the call is checked.
    struct RefStore {
        std::vector<std::unique_ptr<Variant>> variants;
        std::vector<std::unique_ptr<UniqueBstr>> texts;
        std::vector<std::unique_ptr<LONGLONG>> scalars;
    };
    RefStore refs;

private:
    template <typename T> T pick_of(std::initializer_list<T> values) {
        return *(values.begin() + pick(static_cast<int>(values.size())));
    }

    UniqueBstr long_text(int n) {
        std::wstring s(static_cast<std::size_t>(n), L'x');
        for (std::size_t i = 0; i < s.size(); i += 7) s[i] = L'\x8868';
        return UniqueBstr(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size())));
    }

    void array(VARIANT& v, const std::vector<ComPtr<IDispatch>>& pool, int depth) {
        const VARTYPE type = pick_of<VARTYPE>({VT_I4, VT_BSTR, VT_VARIANT});
        const ULONG n = static_cast<ULONG>(pick(4));
        SAFEARRAY* sa = ::SafeArrayCreateVector(type, 0, n);
        if (!sa) return;
        for (LONG i = 0; i < static_cast<LONG>(n); ++i) {
            if (type == VT_I4) {
                LONG x = i * 7;
                ::SafeArrayPutElement(sa, &i, &x);
            } else if (type == VT_BSTR) {
                UniqueBstr s = text();
                ::SafeArrayPutElement(sa, &i, s.get());  // copies
            } else {
                Variant x;
                if (depth < 2) value(*x.ptr(), pool, depth + 1);
                ::SafeArrayPutElement(sa, &i, x.ptr());  // copies
            }
        }
        v.vt = VT_ARRAY | type;
        v.parray = sa;
    }

    void byref(VARIANT& v, const std::vector<ComPtr<IDispatch>>& pool, int depth) {
        switch (pick(4)) {
            case 0: {
                auto target = std::make_unique<Variant>();
                if (depth < 2) value(*target->ptr(), pool, depth + 1);
                v.vt = VT_BYREF | VT_VARIANT;
                v.pvarVal = target->ptr();
                refs.variants.push_back(std::move(target));
                break;
            }
            case 1: {
                auto target = std::make_unique<UniqueBstr>(text());
                v.vt = VT_BYREF | VT_BSTR;
                v.pbstrVal = target->put();
                refs.texts.push_back(std::move(target));
                break;
            }
            default: {
                auto target = std::make_unique<LONGLONG>(pick(2) ? 70000 : -3);
                v.vt = VT_BYREF | pick_of<VARTYPE>({VT_I2, VT_I4, VT_R8, VT_BOOL, VT_I8});
                v.byref = target.get();
                refs.scalars.push_back(std::move(target));
                break;
            }
        }
    }

    std::mt19937& rng_;
};

// ---------------------------------------------------------------------------
// Snapshot of an argument array: the VARIANTs themselves and the contents of
// the strings and by-reference targets they point to.

struct Snapshot {
    std::vector<VARIANT> raw;
    std::vector<std::wstring> texts;

    static std::wstring describe(const VARIANT& v) {
        std::wstring s;
        if (v.vt == VT_BSTR && v.bstrVal) s.assign(v.bstrVal, ::SysStringLen(v.bstrVal));
        if (v.vt == (VT_BYREF | VT_BSTR) && *v.pbstrVal) s.assign(*v.pbstrVal, ::SysStringLen(*v.pbstrVal));
        if (v.vt == (VT_BYREF | VT_VARIANT)) {
            const VARIANT& t = *v.pvarVal;
            s = L"vt" + std::to_wstring(t.vt) + L":" + std::to_wstring(t.ullVal);
            if (t.vt == VT_BSTR && t.bstrVal) s.append(t.bstrVal, ::SysStringLen(t.bstrVal));
        }
        if ((v.vt & VT_BYREF) && (v.vt & VT_TYPEMASK) != VT_VARIANT && (v.vt & VT_TYPEMASK) != VT_BSTR)
            s = std::to_wstring(*static_cast<const LONGLONG*>(v.byref));
        return s;
    }

    explicit Snapshot(const std::vector<VARIANT>& args) : raw(args) {
        for (const VARIANT& v : args) texts.push_back(describe(v));
    }
    bool same(const std::vector<VARIANT>& args) const {
        if (args.size() != raw.size()) return false;
        if (!args.empty() && std::memcmp(args.data(), raw.data(), args.size() * sizeof(VARIANT)) != 0) return false;
        for (std::size_t i = 0; i < args.size(); ++i)
            if (describe(args[i]) != texts[i]) return false;
        return true;
    }
};

// ---------------------------------------------------------------------------

struct WindowCount {
    DWORD pid;
    int n;
};

BOOL CALLBACK count_window(HWND hwnd, LPARAM data) {
    auto* c = reinterpret_cast<WindowCount*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == c->pid) ++c->n;
    return TRUE;
}

int process_windows() {
    WindowCount count{::GetCurrentProcessId(), 0};
    ::EnumWindows(count_window, reinterpret_cast<LPARAM>(&count));
    return count.n;
}

void pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool left_out(const char* member) {
    static const char* const names[] = {"About",           "MessageBox",   "GetOpenFileName", "GetSaveFileName",
                                        "BrowseForFolder", "ShellExecute", "ExitWindows",     "Sleep",
                                        "ExecuteForm",     "WaitEvent"};
    for (const char* n : names)
        if (::lstrcmpiA(n, member) == 0) return true;
    return false;
}

bool expected_hr(HRESULT hr, bool hostile) {
    switch (hr) {
        case S_OK:
        case DISP_E_MEMBERNOTFOUND:
        case DISP_E_PARAMNOTFOUND:
        case DISP_E_BADPARAMCOUNT:
        case DISP_E_PARAMNOTOPTIONAL:
        case DISP_E_NONAMEDARGS:
        case DISP_E_TYPEMISMATCH:
        case DISP_E_OVERFLOW:
        case DISP_E_BADVARTYPE:
        case DISP_E_EXCEPTION:
        case E_INVALIDARG:
        case E_OUTOFMEMORY: return true;
        case E_FAIL:  // a hostile object's own failure, passed on
            return hostile;
        default: return false;
    }
}

const char* entry_name(const ClassInfo& cls, DISPID id) {
    const DispEntry* e = find_entry(cls, id);
    return e ? e->name : nullptr;  // the alias row names its target
}

// Defines one item of every kind on a form (script-shaped arguments, some of
// them replaced by random values) and composes it; true when it composed.
bool compose_every_kind(IDispatch* form, ArgMaker& maker, const std::vector<ComPtr<IDispatch>>& pool) {
    struct Call {
        const wchar_t* name;
        std::vector<const wchar_t*> texts;
    };
    static const Call calls[] = {
        {L"DestroyForm", {}},
        {L"ClearAllControls", {}},
        {L"DefineLabel", {L"label"}},
        {L"DefineEdit", {L"edit", L"text", L"1"}},
        {L"DefineButton", {L"a;b;c"}},
        {L"DefineEditButton", {L"find", L"x", L"Go"}},
        {L"DefineFileEdit", {L"file", L"C:\\a.txt", L"..."}},
        {L"DefineCheckButton", {L"c1;c2", L"01"}},
        {L"DefineRadioButton", {L"r1;r2", L"1"}},
        {L"DefineComboBox", {L"combo", L"kiwi", L"apple;pear"}},
        {L"DefineDropdownList", {L"size", L"M", L"S;M;L"}},
        {L"DefineListBox", {L"a;b;c", L"1", L"3"}},
        {L"ComposeForm", {}},
    };
    HRESULT hr = E_FAIL;
    for (const Call& c : calls) {
        LPOLESTR names[1] = {const_cast<LPOLESTR>(c.name)};
        DISPID id;
        if (FAILED(form->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
        std::vector<VARIANT> args(c.texts.size());
        for (std::size_t i = 0; i < args.size(); ++i) {
            VARIANT& v = args[args.size() - 1 - i];  // last argument first
            if (maker.chance(10)) {
                maker.value(v, pool);
            } else {
                v.vt = VT_BSTR;
                v.bstrVal = ::SysAllocString(c.texts[i]);
            }
        }
        DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        Variant result;
        hr = form->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params,
                          result.put(), nullptr, nullptr);
        for (VARIANT& v : args) ::VariantClear(&v);
        maker.refs = {};
    }
    return hr == S_OK;
}

struct Stats {
    long calls = 0;
    std::map<HRESULT, long> results;
};

}  // namespace

int main(int argc, char** argv) {
    unsigned seed = 1;
    long iterations = 20000;
    long seconds = 0;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (!std::strcmp(argv[i], "--iterations") && i + 1 < argc)
            iterations = std::strtol(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::strtol(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "--verbose"))
            verbose = true;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // a crash must not eat the last lines

    module::init(::GetModuleHandleW(nullptr));
    ::OleInitialize(nullptr);
    static MallocSpy spy;
    if (FAILED(::CoRegisterMallocSpy(&spy))) {
        std::printf("FAIL: cannot register the malloc spy\n");
        return 1;
    }

    // The spy must see automation strings, or the leak check means nothing
    // (the string cache hides them unless OANOCACHE is set).
    {
        const std::size_t base = spy.outstanding();
        UniqueBstr probe(::SysAllocString(L"probe"));
        const std::size_t with = spy.outstanding();
        probe.reset();
        if (with != base + 1 || spy.outstanding() != base) {
            std::printf("FAIL: the malloc spy does not see automation strings (%zu -> %zu)\n", base, with);
            return 1;
        }
    }

    // File members work on relative names: keep them in a scratch folder.
    wchar_t temp[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring scratch = std::wstring(temp) + L"torvane-fuzz-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(scratch.c_str(), nullptr);
    ::SetCurrentDirectoryW(scratch.c_str());

    std::mt19937 rng(seed);
    ArgMaker maker(rng);
    int failures = 0;
    std::map<std::string, Stats> stats;

    const int windows_before = process_windows();
    const LONG objects_before = module::live_objects();

    // Two identical rounds (same seed): the first warms up whatever the
    // platform keeps for good once asked (its allocator's and window classes'
    // caches, the shell's data of each special folder ...); the second makes
    // the very same calls and is measured, so any growth is per call.
    std::size_t blocks_before = 0;
    for (int round = 0; round < 2; ++round) {
        rng.seed(seed);
        if (round == 1) {
            pump();
            blocks_before = spy.outstanding();
        }
        // (A timed run cannot repeat its measured round: it warms up with
        // the first `iterations` calls of the same sequence.)
        const long budget = round == 1 && seconds > 0 ? std::numeric_limits<long>::max() : iterations;
        const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
        long composed = 0, compose_tries = 0;

        std::vector<ComPtr<IDispatch>> pool;
        pool.push_back(ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog()));
        // Every class reachable from the ScriptDialog object gets its share of
        // calls: one object of each to start with, and the pool takes in
        // objects that members hand out.
        for (const wchar_t* maker_name : {L"CreateList", L"CreateForm", L"CreateOutputWindow"}) {
            LPOLESTR names[1] = {const_cast<LPOLESTR>(maker_name)};
            DISPID id;
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            Variant made;
            if (SUCCEEDED(pool[0]->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)) &&
                SUCCEEDED(pool[0]->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, made.put(),
                                          nullptr, nullptr)) &&
                made.vt() == VT_UNKNOWN && made.get().punkVal) {
                ComPtr<IDispatch> d;
                if (SUCCEEDED(made.get().punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.put()))))
                    pool.push_back(d);
            }
        }
        const std::size_t seeds = pool.size();  // kept to the end of the round
        std::map<std::string, long> per_class;
        long total = 0;

        while (failures < 20) {
            // A class first (each equally often), then one of its objects.
            std::map<std::string, std::vector<std::size_t>> by_class;
            for (std::size_t i = 0; i < pool.size(); ++i)
                by_class[static_cast<DispatchObject*>(pool[i].get())->class_info().name].push_back(i);
            std::vector<const std::vector<std::size_t>*> open;
            for (auto& [name, members] : by_class)
                if (per_class[name] < budget) open.push_back(&members);
            if (open.empty()) break;
            if (round == 1 && seconds > 0 && (total & 63) == 0 && ::GetTickCount64() >= deadline) break;
            const auto& members = *open[maker.pick(static_cast<int>(open.size()))];
            ComPtr<IDispatch> target = pool[members[maker.pick(static_cast<int>(members.size()))]];
            auto* object = static_cast<DispatchObject*>(target.get());
            const ClassInfo& cls = object->class_info();
            ++total;
            ++per_class[cls.name];

            if (!std::strcmp(cls.name, "CFormObj") && maker.chance(2)) {
                ++compose_tries;
                if (verbose) std::printf("%s: one item of every kind, composed\n", cls.name);
                if (compose_every_kind(target.get(), maker, pool)) ++composed;
                pump();
                continue;
            }

            // The member: a row by name (random case) or by id, or nonsense.
            DISPID id = DISPID_UNKNOWN;
            std::wstring name;
            const int how = maker.pick(10);
            const std::size_t rows = cls.table.count;
            if (how < 5 && rows) {
                const DispEntry& e = cls.table.entries[maker.pick(static_cast<int>(rows))];
                for (const char* p = e.name; *p; ++p) {
                    const int c = static_cast<unsigned char>(*p);
                    name += static_cast<wchar_t>(maker.chance(50) ? std::toupper(c) : std::tolower(c));
                }
            } else if (how < 8 && rows) {
                id = maker.pick(static_cast<int>(rows) + 1);  // 0 is the default value
            } else if (how == 8) {
                static const DISPID odd[] = {-1, -4, -5, DISPID_PROPERTYPUT, 9999, 0x7FFFFFFF, LONG(0x80000000)};
                id = odd[maker.pick(static_cast<int>(std::size(odd)))];
            } else {
                UniqueBstr junk = maker.text();
                if (junk) name.assign(junk.get(), ::SysStringLen(junk.get()));
                name = name.substr(0, name.find(L'\0'));
            }
            if (!name.empty() || how < 5 || how == 9) {
                LPOLESTR names[1] = {const_cast<LPOLESTR>(name.c_str())};
                const HRESULT hr = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
                if (hr != S_OK && hr != DISP_E_UNKNOWNNAME) {
                    std::printf("FAIL: %s GetIDsOfNames returned 0x%08lX\n", cls.name, static_cast<unsigned long>(hr));
                    ++failures;
                }
                if (hr != S_OK) id = maker.pick(3) - 1;
            }
            const char* member = entry_name(cls, id);
            if (member && left_out(member)) continue;

            // Flags, arguments and named arguments: half the calls as a
            // script would make them (so that handlers run), half anyhow.
            static const WORD flag_sets[] = {DISPATCH_METHOD,
                                             DISPATCH_PROPERTYGET,
                                             DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                             DISPATCH_PROPERTYPUT,
                                             DISPATCH_PROPERTYPUTREF,
                                             DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF,
                                             0,
                                             0x30,
                                             0xFFFF};
            const DispEntry* entry = find_entry(cls, id);
            WORD flags = flag_sets[maker.pick(static_cast<int>(std::size(flag_sets)))];
            int count = maker.chance(95) ? maker.pick(6) : maker.pick(40);
            if (entry && !entry->is_alias() && maker.chance(50)) {
                const bool can_put = !entry->is_method();
                const bool put = can_put && maker.chance(30);
                flags = put ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
                count = static_cast<int>(entry->param_count()) + (put ? 1 : 0) - maker.pick(2) * maker.pick(2);
                if (count < 0) count = 0;
            }
            std::vector<VARIANT> args(static_cast<std::size_t>(count));
            for (VARIANT& v : args) maker.value(v, pool);
            bool hostile = false;
            for (const VARIANT& v : args)
                hostile = hostile || ((v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN || v.vt == (VT_BYREF | VT_VARIANT) ||
                                       (v.vt & VT_ARRAY)));
            std::vector<DISPID> named;
            if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
                if (count > 0 && maker.chance(85)) named.push_back(DISPID_PROPERTYPUT);
            } else if (count > 0 && maker.chance(10)) {
                const int n = 1 + maker.pick(count);
                for (int i = 0; i < n; ++i) named.push_back(maker.pick(2) ? DISPID_PROPERTYPUT : maker.pick(5) - 1);
            }
            DISPPARAMS params{args.empty() ? nullptr : args.data(), named.empty() ? nullptr : named.data(),
                              static_cast<UINT>(args.size()), static_cast<UINT>(named.size())};
            const Snapshot before(args);

            if (verbose) {
                std::printf("%s %s id=%ld flags=0x%x args:", cls.name, member ? member : "?", static_cast<long>(id),
                            flags);
                for (const VARIANT& v : args) std::printf(" %x", v.vt);
                std::printf(" named=%zu\n", named.size());
            }
            Variant result;
            EXCEPINFO excep{};
            UINT arg_err = 0xFFFFFFFF;
            const bool want_result = maker.chance(80);
            const HRESULT hr =
                target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, want_result ? result.put() : nullptr,
                               maker.chance(90) ? &excep : nullptr, maker.chance(90) ? &arg_err : nullptr);
            UniqueBstr source(excep.bstrSource), description(excep.bstrDescription), help(excep.bstrHelpFile);
            pump();

            Stats& s = stats[cls.name];
            ++s.calls;
            ++s.results[hr];
            if (verbose) std::printf("  -> 0x%08lX\n", static_cast<unsigned long>(hr));
            if (!expected_hr(hr, hostile)) {
                std::printf("FAIL: %s member %s (id %ld) flags 0x%x with %d arguments returned 0x%08lX\n", cls.name,
                            member ? member : "?", static_cast<long>(id), flags, count, static_cast<unsigned long>(hr));
                ++failures;
            }
            if (!before.same(args)) {
                std::printf("FAIL: %s member %s (id %ld) changed the caller's arguments\n", cls.name,
                            member ? member : "?", static_cast<long>(id));
                ++failures;
            }
            for (VARIANT& v : args) ::VariantClear(&v);  // the caller's own values
            maker.refs = {};

            // Objects handed out join the pool, up to a few of each class.
            if (result.vt() == VT_UNKNOWN || result.vt() == VT_DISPATCH) {
                IUnknown* unk = result.get().punkVal;
                ComPtr<IDispatch> d;
                if (unk && SUCCEEDED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.put()))) &&
                    pool.size() < 12)
                    pool.push_back(d);
            }
            // Now and then drop an object handed out during the round.
            if (pool.size() > seeds && maker.chance(2))
                pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(seeds) +
                           maker.pick(static_cast<int>(pool.size() - seeds)));
        }

        if (round == 1) {
            std::printf("seed %u, %ld calls; forms composed with every kind of item %ld of %ld times\n", seed, total,
                        composed, compose_tries);
            for (auto& [name, n] : per_class) std::printf("  %-24s %ld calls\n", name.c_str(), n);
            if (compose_tries > 10 && composed == 0) {
                std::printf("FAIL: no form with every kind of item composed\n");
                ++failures;
            }
            if (per_class.size() < 2) {
                std::printf("FAIL: only %zu class(es) reached\n", per_class.size());
                ++failures;
            }
        }
        pool.clear();
        pump();
    }

    pump();
    const LONG objects_after = module::live_objects();
    const int windows_after = process_windows();
    const std::size_t blocks_after = spy.outstanding();
    std::printf("live objects %ld -> %ld, hostile objects %ld, windows %d -> %d, allocator blocks %zu -> %zu\n",
                static_cast<long>(objects_before), static_cast<long>(objects_after), static_cast<long>(g_hostile_live),
                windows_before, windows_after, blocks_before, blocks_after);
    for (auto& [name, s] : stats) {
        std::printf("  %s:", name.c_str());
        for (auto& [hr, n] : s.results) std::printf(" %08lX=%ld", static_cast<unsigned long>(hr), n);
        std::printf("\n");
    }
    if (objects_after != objects_before) {
        std::printf("FAIL: live objects grew\n");
        ++failures;
    }
    if (g_hostile_live != 0) {
        std::printf("FAIL: %ld objects handed to the library were never released\n", static_cast<long>(g_hostile_live));
        ++failures;
    }
    if (windows_after > windows_before) {
        std::printf("FAIL: windows were left behind\n");
        ++failures;
    }
    if (blocks_after > blocks_before) {
        std::printf("FAIL: %zu allocator blocks (automation strings among them) leaked\n",
                    blocks_after - blocks_before);
        ++failures;
    }

    ::SetCurrentDirectoryW(temp);
    std::wstring from = scratch;
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ::SHFileOperationW(&op);

    ::CoRevokeMallocSpy();
    ::OleUninitialize();
    std::printf(failures ? "%d failure(s)\n" : "no failures\n", failures);
    return failures ? 1 : 0;
}
