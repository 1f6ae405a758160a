// Lifetimes through real COM: the registered DLL loaded by CoCreateInstance
// from its ProgID, as a script host loads it. Whatever the ScriptDialog
// object made (a List, a Form with its window, an Output window) keeps the
// module loaded after the ScriptDialog object is gone, however often the host
// frees unused libraries; DllCanUnloadNow answers S_FALSE while any of them
// lives and S_OK once all are released. Needs the DLL registered (CTest
// fixture dll_registered).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frame/raii.h"
#include "resources/version.h"
#include "support/disp.h"
#include "support/windows.h"

using namespace torvane;
using namespace torvane::test;

namespace {

HMODULE library() { return ::GetModuleHandleA(TORVANE_FILE_NAME); }

// DllCanUnloadNow of the loaded library; E_UNEXPECTED when it is not loaded.
HRESULT can_unload() {
    HMODULE dll = library();
    if (!dll) return E_UNEXPECTED;
    using Fn = HRESULT(STDAPICALLTYPE*)();
    auto fn = reinterpret_cast<Fn>(::GetProcAddress(dll, "DllCanUnloadNow"));
    return fn ? fn() : E_UNEXPECTED;
}

void free_unused_libraries() {
    for (int i = 0; i < 4; ++i) {
        ::CoFreeUnusedLibrariesEx(0, 0);
        pump_messages();
    }
}

ComPtr<IDispatch> create_by_progid() {
    CLSID clsid;
    EXPECT_EQ(S_OK, ::CLSIDFromProgID(L"TorvaneScriptDialog", &clsid));
    ComPtr<IDispatch> sd;
    EXPECT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                       reinterpret_cast<void**>(sd.put())));
    return sd;
}

enum Kind { kList, kForm, kOutput, kKinds };
const wchar_t* const kMakers[] = {L"CreateList", L"CreateForm", L"CreateOutputWindow"};
const char* const kNames[] = {"List", "Form", "Output window"};

ComPtr<IDispatch> make(IDispatch* sd, Kind kind) {
    auto r = call(sd, kMakers[kind]);
    if (r.hr != S_OK) return {};
    return as_dispatch(r.value);
}

// Calls that run the object's code; false when one fails.
bool works(IDispatch* object, Kind kind) {
    switch (kind) {
        case kList: {
            auto before = get(object, L"Count");
            if (call(object, L"AddTail", Args().str(L"a,b")).hr != S_OK || before.value.vt() != VT_I4) return false;
            auto after = get(object, L"Count");
            auto last = get(object, L"Value", Args().i4(before.value.get().lVal));
            return after.value.vt() == VT_I4 && after.value.get().lVal == before.value.get().lVal + 1 &&
                   last.value.vt() == VT_BSTR && as_wstring(last.value) == L"a,b";
        }
        case kForm: {
            if (call(object, L"DefineLabel", Args().str(L"label")).hr != S_OK) return false;
            if (call(object, L"ComposeForm").hr != S_OK) return false;
            pump_messages();
            const bool shown = !thread_windows(L"#32770", true).empty();
            return call(object, L"DestroyForm").hr == S_OK && shown;
        }
        default: {
            if (put(object, L"Text", Args().str(L"out")).hr != S_OK) return false;
            auto t = get(object, L"Text");
            return t.hr == S_OK && as_wstring(t.value) == L"out";
        }
    }
}

class ComLifetime : public ::testing::Test {
protected:
    void SetUp() override {
        // Nothing of an earlier test keeps the library.
        free_unused_libraries();
        ASSERT_EQ(nullptr, library()) << "the library is loaded before the test";
    }
};

}  // namespace

TEST_F(ComLifetime, LibraryUnloadsWhenNothingLives) {
    auto sd = create_by_progid();
    ASSERT_TRUE(sd);
    ASSERT_NE(nullptr, library());
    free_unused_libraries();
    ASSERT_NE(nullptr, library());
    EXPECT_EQ(S_FALSE, can_unload());
    sd.reset();
    EXPECT_EQ(S_OK, can_unload());
    free_unused_libraries();
    EXPECT_EQ(nullptr, library());
}

// Each kind alone: made, the ScriptDialog object released, unused libraries
// freed, then the object still called.
TEST_F(ComLifetime, ObjectsKeepTheLibraryAfterTheScriptDialogObject) {
    for (int k = 0; k < kKinds; ++k) {
        const Kind kind = static_cast<Kind>(k);
        SCOPED_TRACE(kNames[kind]);
        auto sd = create_by_progid();
        ASSERT_TRUE(sd);
        auto object = make(sd.get(), kind);
        if (!object) {
            ASSERT_EQ(kOutput, kind) << "CreateList and CreateForm must answer objects";
            std::printf("[ NOTE     ] CreateOutputWindow is not built yet: Output window case not run\n");
            sd.reset();
            continue;
        }
        sd.reset();
        free_unused_libraries();
        ASSERT_NE(nullptr, library());
        EXPECT_EQ(S_FALSE, can_unload());
        EXPECT_TRUE(works(object.get(), kind));
        object.reset();
        EXPECT_EQ(S_OK, can_unload());
        free_unused_libraries();
        EXPECT_EQ(nullptr, library());
    }
}

// A composed form: its window runs the library's code (painting, messages)
// after the ScriptDialog object is gone.
TEST_F(ComLifetime, ComposedFormKeepsTheLibrary) {
    auto sd = create_by_progid();
    auto form = make(sd.get(), kForm);
    ASSERT_TRUE(form);
    call(form.get(), L"DefineEdit", Args().str(L"edit").str(L"value"));
    call(form.get(), L"DefineButton", Args().str(L"a;b"));
    ASSERT_EQ(S_OK, call(form.get(), L"ComposeForm").hr);
    sd.reset();
    free_unused_libraries();
    ASSERT_NE(nullptr, library());
    auto windows = thread_windows(L"#32770", true);
    ASSERT_EQ(1u, windows.size());
    ::InvalidateRect(windows[0], nullptr, TRUE);
    ::UpdateWindow(windows[0]);
    ::SendMessageW(windows[0], WM_NEXTDLGCTL, 0, 0);
    pump_messages(20);
    EXPECT_EQ(L"value", as_wstring(get(form.get(), L"Value", Args().i2(0)).value));
    form.reset();  // destroys the window
    pump_messages();
    EXPECT_FALSE(::IsWindow(windows[0]));
    EXPECT_EQ(S_OK, can_unload());
    free_unused_libraries();
    EXPECT_EQ(nullptr, library());
}

// Every order of releasing the ScriptDialog object and one object of each
// kind, unused libraries freed after every release; what remains keeps
// working to the end.
TEST_F(ComLifetime, EveryReleaseOrder) {
    std::vector<int> order = {0, 1, 2, 3};  // 0: ScriptDialog, 1 + kind
    int runs = 0;
    do {
        std::string trace;
        for (int i : order) trace += std::to_string(i);
        SCOPED_TRACE("release order " + trace);
        ComPtr<IDispatch> held[4];
        held[0] = create_by_progid();
        ASSERT_TRUE(held[0]);
        for (int k = 0; k < kKinds; ++k) held[1 + k] = make(held[0].get(), static_cast<Kind>(k));
        ASSERT_TRUE(held[1 + kList] && held[1 + kForm]);
        for (int step = 0; step < 4; ++step) {
            held[order[static_cast<std::size_t>(step)]].reset();
            free_unused_libraries();
            bool any = false;
            for (int k = 0; k < kKinds; ++k)
                if (held[1 + k]) {
                    any = true;
                    EXPECT_TRUE(works(held[1 + k].get(), static_cast<Kind>(k))) << kNames[k] << " at step " << step;
                }
            if (held[0]) {
                any = true;
                EXPECT_EQ(S_OK, get(held[0].get(), L"DefaultFS").hr);
            }
            if (any) {
                ASSERT_NE(nullptr, library());
                EXPECT_EQ(S_FALSE, can_unload());
            }
        }
        EXPECT_EQ(nullptr, library());
        ++runs;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(24, runs);
}
