// Lifetimes of forms and their windows against the order in which a host
// lets go of things: the ScriptDialog object released before what it made, a
// form released while composed, released from inside its own message loop,
// and a form whose owner window is destroyed (with the form still held, and
// with the form released by the owner's own destroy handling).
#include <gtest/gtest.h>

#include "forms/form/form.h"
#include "frame/module.h"
#include "window/form_support.h"

using namespace torvane;
using namespace torvane::test;

namespace {

// One item of every kind, then composed; the form's window.
HWND compose_every_kind(IDispatch* form) {
    define_every_item_kind(form);
    auto r = call(form, L"ComposeForm");
    EXPECT_EQ(S_OK, r.hr);
    pump_messages();
    return the_form();
}

ComPtr<IDispatch> make(IDispatch* sd, const wchar_t* maker) {
    auto r = call(sd, maker);
    EXPECT_EQ(S_OK, r.hr);
    return as_dispatch(r.value);
}

}  // namespace

TEST(Lifetime, ObjectsOutliveTheScriptDialogInEveryOrder) {
    const LONG base = module::live_objects();
    // Release orders of the ScriptDialog object (0), a List (1) and a Form (2).
    const int orders[][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& order : orders) {
        ComPtr<IDispatch> held[3];
        held[0] = new_script_dialog();
        held[1] = make(held[0].get(), L"CreateList");
        held[2] = make(held[0].get(), L"CreateForm");
        ASSERT_TRUE(held[1] && held[2]);
        ASSERT_EQ(base + 3, module::live_objects());
        call(held[2].get(), L"DefineLabel", Args().str(L"x"));
        ASSERT_EQ(S_OK, call(held[2].get(), L"ComposeForm").hr);
        for (int step = 0; step < 3; ++step) {
            held[order[step]].reset();
            pump_messages();
            // What is still held keeps working.
            if (held[1]) {
                EXPECT_EQ(S_OK, call(held[1].get(), L"AddTail", Args().str(L"entry")).hr);
                auto n = get(held[1].get(), L"Count");
                EXPECT_EQ(S_OK, n.hr);
            }
            if (held[2]) {
                EXPECT_NE(nullptr, the_form());
                auto v = get(held[2].get(), L"EnableForm");
                EXPECT_EQ(S_OK, v.hr);
            }
            if (held[0]) {
                EXPECT_EQ(S_OK, get(held[0].get(), L"DefaultFS").hr);
            }
        }
        EXPECT_EQ(base, module::live_objects());
        EXPECT_TRUE(form_windows(false).empty());
    }
}

TEST(Lifetime, FormReleasedWhileComposed) {
    const LONG base = module::live_objects();
    {
        FormFixture f;
        HWND window = compose_every_kind(f.form.get());
        ASSERT_NE(nullptr, window);
        f.sd.reset();
        f.form.reset();  // the last reference, with the window up
        EXPECT_FALSE(::IsWindow(window));
        pump_messages(50);
    }
    EXPECT_EQ(base, module::live_objects());
    EXPECT_TRUE(form_windows(false).empty());
}

namespace {

IDispatch* g_release_in_timer = nullptr;
int g_timer_fired = 0;

void CALLBACK release_form(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ++g_timer_fired;
    if (g_release_in_timer) {
        IDispatch* last = g_release_in_timer;
        g_release_in_timer = nullptr;
        ComPtr<IDispatch>::adopt(last);  // drops the caller's last reference
    }
}

}  // namespace

TEST(Lifetime, FormReleasedFromInsideItsOwnEventLoop) {
    const LONG base = module::live_objects();
    FormFixture f;
    HWND window = compose_every_kind(f.form.get());
    ASSERT_NE(nullptr, window);
    f.sd.reset();
    // WaitEvent pumps the thread's messages; a timer it dispatches drops the
    // last reference the caller holds while the form's loop is running.
    IDispatch* form = f.form.get();
    form->AddRef();
    f.form.reset();
    g_release_in_timer = form;
    g_timer_fired = 0;
    ::SetTimer(nullptr, 0, 20, release_form);
    auto r = call(form, L"WaitEvent", Args().i4(100));  // up to a second
    EXPECT_EQ(1, g_timer_fired);
    EXPECT_EQ(S_OK, r.hr);
    // The call held the form to its end; now it is gone with its window.
    pump_messages(50);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(base, module::live_objects());
}

namespace {

IDispatch* g_release_on_destroy = nullptr;

LRESULT CALLBACK owner_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY && g_release_on_destroy) {
        IDispatch* last = g_release_on_destroy;
        g_release_on_destroy = nullptr;
        ComPtr<IDispatch>::adopt(last);
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

HWND make_owner() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = owner_proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TorvaneLifetimeOwner";
    ::RegisterClassW(&wc);
    HWND owner = ::CreateWindowExW(0, wc.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                   nullptr, nullptr, wc.hInstance, nullptr);
    ::SetForegroundWindow(owner);
    ::SetActiveWindow(owner);
    pump_messages(20);
    return owner;
}

}  // namespace

TEST(Lifetime, OwnerDestroyedUnderAHeldForm) {
    const LONG base = module::live_objects();
    {
        FormFixture f;
        HWND owner = make_owner();
        ASSERT_EQ(owner, ::GetActiveWindow());
        HWND window = compose_every_kind(f.form.get());
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(owner, ::GetWindow(window, GW_OWNER));
        f.set_value(1, L"kept");
        ::DestroyWindow(owner);  // takes the owned form window with it
        pump_messages(20);
        EXPECT_FALSE(::IsWindow(window));
        // The form is back to defining, with the values its window held.
        EXPECT_FALSE(get(f.form.get(), L"EnableForm").value.get().boolVal);
        EXPECT_EQ(L"kept", f.value(1));
        EXPECT_EQ(S_OK, call(f.form.get(), L"ComposeForm").hr);
        pump_messages();
        EXPECT_NE(nullptr, the_form());
        EXPECT_EQ(S_OK, call(f.form.get(), L"DestroyForm").hr);
    }
    EXPECT_EQ(base, module::live_objects());
    EXPECT_TRUE(form_windows(false).empty());
}

TEST(Lifetime, FormReleasedByItsOwnersDestroyHandling) {
    const LONG base = module::live_objects();
    FormFixture f;
    HWND owner = make_owner();
    HWND window = compose_every_kind(f.form.get());
    ASSERT_NE(nullptr, window);
    f.sd.reset();
    // The owner's WM_DESTROY comes before its owned windows go; the form's
    // last reference is dropped there, in the middle of the destruction.
    IDispatch* form = f.form.get();
    form->AddRef();
    f.form.reset();
    g_release_on_destroy = form;
    ::DestroyWindow(owner);
    pump_messages(20);
    EXPECT_EQ(nullptr, g_release_on_destroy);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(base, module::live_objects());
    EXPECT_TRUE(form_windows(false).empty());
}

TEST(Lifetime, OutputWindowReleasedWhileShown) {
    const LONG base = module::live_objects();
    auto sd = new_script_dialog();
    ComPtr<IDispatch> out;
    {
        auto r = call(sd.get(), L"CreateOutputWindow");
        if (r.hr != S_OK) GTEST_SKIP() << "CreateOutputWindow is not built yet (0x" << std::hex << r.hr << ")";
        out = as_dispatch(r.value);
    }
    ASSERT_TRUE(out);
    const std::size_t before = thread_windows(nullptr, true).size();
    ASSERT_EQ(S_OK, put(out.get(), L"Text", Args().str(L"line 1\r\nline 2")).hr);
    ASSERT_EQ(S_OK, put(out.get(), L"Visible", Args().boolean(true)).hr);
    pump_messages(20);
    EXPECT_EQ(before + 1, thread_windows(nullptr, true).size());
    sd.reset();
    out.reset();  // the last reference, with the window on screen
    pump_messages(20);
    EXPECT_EQ(before, thread_windows(nullptr, true).size());
    EXPECT_EQ(base, module::live_objects());
}
