// Shell and system members that need no dialog: the number rules, ExitWindows
// through its seam, Sleep, DoEvents, the wait cursor and FindWindow.
#include <gtest/gtest.h>

#include <vector>

#include "scriptdialog/shell_rules.h"
#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

TEST(ShellRules, MessageBoxStyleFromOnesAndTensDigits) {
    struct Case {
        std::int16_t v;
        UINT style;
    };
    const Case cases[] = {
        {0, MB_OK},
        {1, MB_OKCANCEL},
        {2, MB_YESNO},
        {3, MB_YESNOCANCEL},
        {4, MB_RETRYCANCEL},
        {5, MB_ABORTRETRYIGNORE},
        {6, MB_OK},
        {9, MB_OK},
        {10, MB_OK | MB_ICONSTOP},
        {23, MB_YESNOCANCEL | MB_ICONINFORMATION},
        {31, MB_OKCANCEL | MB_ICONQUESTION},
        {40, MB_OK},
        {45, MB_ABORTRETRYIGNORE},
        {115, MB_ABORTRETRYIGNORE},  // tens "digit" 11: no icon
        {-1, MB_OK},                 // ones digit -1
        {-12, MB_OK},                // ones -2, tens -1
        {32767, MB_OK},              // ones 7, tens 3276
        {-32768, MB_OK},
    };
    for (const Case& c : cases) EXPECT_EQ(c.style, shell::message_box_style(c.v)) << "style " << c.v;
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), shell::kDefaultMessageBoxStyle);
}

TEST(ShellRules, MessageBoxAnswerIsThreeValued) {
    EXPECT_EQ(1, shell::message_box_answer(IDOK));
    EXPECT_EQ(1, shell::message_box_answer(IDYES));
    EXPECT_EQ(1, shell::message_box_answer(IDRETRY));
    EXPECT_EQ(0, shell::message_box_answer(IDNO));
    EXPECT_EQ(0, shell::message_box_answer(IDIGNORE));
    EXPECT_EQ(-1, shell::message_box_answer(IDCANCEL));
    EXPECT_EQ(-1, shell::message_box_answer(IDABORT));
    EXPECT_EQ(-1, shell::message_box_answer(0));  // the call failed
}

TEST(ShellRules, ShowCommandSwapsTwoAndThree) {
    EXPECT_EQ(SW_HIDE, shell::show_command(0));
    EXPECT_EQ(SW_SHOWNORMAL, shell::show_command(1));
    EXPECT_EQ(SW_SHOWMAXIMIZED, shell::show_command(2));
    EXPECT_EQ(SW_SHOWMINIMIZED, shell::show_command(3));
    EXPECT_EQ(SW_SHOWMINNOACTIVE, shell::show_command(4));
    for (std::int16_t v : {5, 10, -1, 32767, -32768}) EXPECT_EQ(SW_SHOWNORMAL, shell::show_command(v)) << v;
}

TEST(ShellRules, FixedKeysForZeroAndBelow) {
    EXPECT_EQ(VK_PAUSE, shell::async_key(-1));
    EXPECT_EQ(VK_SCROLL, shell::async_key(-2));
    EXPECT_EQ(VK_F10, shell::async_key(0));
    EXPECT_EQ(VK_F10, shell::async_key(-3));
    EXPECT_EQ(VK_F10, shell::async_key(-32768));
    EXPECT_EQ(0x41, shell::async_key(0x41));
    EXPECT_EQ(32767, shell::async_key(32767));
}

// ExitWindows, with the platform call replaced by a recorder.
std::vector<UINT> g_exit_calls;
BOOL g_exit_result = TRUE;
BOOL WINAPI record_exit_windows(UINT flags, DWORD reason) {
    g_exit_calls.push_back(flags);
    EXPECT_EQ(0u, reason);
    return g_exit_result;
}

class ExitWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_exit_calls.clear();
        g_exit_result = TRUE;
        shell::set_exit_windows_function(&record_exit_windows);
    }
    void TearDown() override { shell::set_exit_windows_function(nullptr); }
};

TEST_F(ExitWindowsTest, ModePicksActionAndForce) {
    struct Case {
        std::int16_t mode;
        UINT flags;
    };
    const Case cases[] = {
        {0, EWX_LOGOFF},
        {1, EWX_POWEROFF},
        {2, EWX_REBOOT},
        {3, EWX_SHUTDOWN},
        {4, EWX_LOGOFF},
        {15, EWX_LOGOFF},
        {16, EWX_LOGOFF | EWX_FORCE},
        {17, EWX_POWEROFF | EWX_FORCE},
        {18, EWX_REBOOT | EWX_FORCE},
        {19, EWX_SHUTDOWN | EWX_FORCE},
        {33, EWX_POWEROFF | EWX_FORCE},
        {-1, EWX_LOGOFF},  // low bits 15, not above 15
        {-15, EWX_POWEROFF},
    };
    auto sd = new_script_dialog();
    for (const Case& c : cases) {
        g_exit_calls.clear();
        auto r = call(sd.get(), L"ExitWindows", Args().i2(c.mode));
        ASSERT_EQ(S_OK, r.hr) << "mode " << c.mode;
        ASSERT_EQ(1u, g_exit_calls.size()) << "mode " << c.mode;
        EXPECT_EQ(c.flags, g_exit_calls[0]) << "mode " << c.mode;
        ASSERT_EQ(VT_BOOL, r.value.vt());
        EXPECT_EQ(VARIANT_TRUE, r.value.get().boolVal);
    }
}

TEST_F(ExitWindowsTest, FailureIsFalseAndBadModesNeverReachThePlatform) {
    auto sd = new_script_dialog();
    g_exit_result = FALSE;
    auto r = call(sd.get(), L"ExitWindows", Args().i2(1));
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(VARIANT_FALSE, r.value.get().boolVal);
    EXPECT_EQ(DISP_E_OVERFLOW, call(sd.get(), L"ExitWindows", Args().i4(65536)).hr);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, call(sd.get(), L"ExitWindows", Args().str(L"now")).hr);
    EXPECT_EQ(1u, g_exit_calls.size());
}

// A pause that passed a negative count on would last 49 days (or, for -1,
// for ever): these calls must simply return.
TEST(Sleep, ZeroAndNegativeCountsReturn) {
    auto sd = new_script_dialog();
    for (std::int16_t ms : {0, -1, -2, -32768}) {
        auto r = call(sd.get(), L"Sleep", Args().i2(ms));
        EXPECT_EQ(S_OK, r.hr) << ms;
        EXPECT_EQ(VT_EMPTY, r.value.vt()) << ms;
    }
    EXPECT_EQ(S_OK, call(sd.get(), L"Sleep", Args().i2(10)).hr);
    EXPECT_EQ(DISP_E_OVERFLOW, call(sd.get(), L"Sleep", Args().i4(40000)).hr);
}

// A window that counts the messages it gets.
int g_probe_messages = 0;
LRESULT CALLBACK probe_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
        ++g_probe_messages;
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

class ProbeWindow {
public:
    explicit ProbeWindow(const wchar_t* title) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &probe_proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        ::RegisterClassW(&wc);
        window_.reset(
            ::CreateWindowW(kClass, title, WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr));
    }
    HWND get() const { return window_.get(); }
    static constexpr const wchar_t* kClass = L"TorvaneShellProbe";

private:
    UniqueHwnd window_;
};

TEST(DoEvents, EmptiesTheQueueAndLeavesTheQuitMessageForTheHost) {
    auto sd = new_script_dialog();
    ProbeWindow probe(L"probe");
    ASSERT_TRUE(probe.get());
    g_probe_messages = 0;
    for (int i = 0; i < 3; ++i) ::PostMessageW(probe.get(), WM_APP, 0, 0);
    ::PostQuitMessage(5);
    auto r = call(sd.get(), L"DoEvents");
    ASSERT_EQ(S_OK, r.hr);
    ASSERT_EQ(VT_I2, r.value.vt());
    EXPECT_EQ(0, r.value.get().iVal);
    EXPECT_EQ(3, g_probe_messages);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit message was swallowed";
    EXPECT_EQ(UINT(WM_QUIT), msg.message);
    EXPECT_EQ(WPARAM(5), msg.wParam);
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "left message " << msg.message;

    // Pumping stops at the quit message: what came after it stays queued.
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_QUIT, 9, 0);
    ::PostMessageW(probe.get(), WM_APP, 0, 0);
    EXPECT_EQ(S_OK, call(sd.get(), L"DoEvents").hr);
    EXPECT_EQ(3, g_probe_messages);
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_APP), msg.message);
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_QUIT), msg.message);
    EXPECT_EQ(WPARAM(9), msg.wParam);
}

TEST(FindWindowMember, EmptyTitleMeansAnyTitle) {
    auto sd = new_script_dialog();
    ProbeWindow probe(L"Torvane probe \x30bf\x30a4\x30c8\x30eb");
    ASSERT_TRUE(probe.get());

    auto by_class = call(sd.get(), L"FindWindow", Args().str(ProbeWindow::kClass).str(L""));
    ASSERT_EQ(S_OK, by_class.hr);
    ASSERT_EQ(VT_I4, by_class.value.vt());
    EXPECT_EQ(HandleToLong(probe.get()), by_class.value.get().lVal);

    auto wrong_title = call(sd.get(), L"FindWindow", Args().str(ProbeWindow::kClass).str(L"no such title"));
    ASSERT_EQ(S_OK, wrong_title.hr);
    EXPECT_EQ(VT_NULL, wrong_title.value.vt());

    auto no_class = call(sd.get(), L"FindWindow", Args().str(L"TorvaneNoSuchClass").str(L""));
    EXPECT_EQ(VT_NULL, no_class.value.vt());

    if (::GetACP() == 932) {
        auto both = call(sd.get(), L"FindWindow",
                         Args().str(ProbeWindow::kClass).str(L"Torvane probe \x30bf\x30a4\x30c8\x30eb"));
        ASSERT_EQ(VT_I4, both.value.vt());
        EXPECT_EQ(HandleToLong(probe.get()), both.value.get().lVal);
    }
    // A class name far beyond any buffer is passed on as it is.
    const std::wstring long_class(5000, L'c');
    EXPECT_EQ(VT_NULL, call(sd.get(), L"FindWindow", Args().str(long_class.c_str()).str(L"")).value.vt());
}

TEST(WaitCursor, SetsHourglassOrArrow) {
    auto sd = new_script_dialog();
    ASSERT_EQ(S_OK, call(sd.get(), L"WaitCursor", Args().i2(1)).hr);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), ::GetCursor());
    ASSERT_EQ(S_OK, call(sd.get(), L"WaitCursor", Args().i2(0)).hr);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), ::GetCursor());
    ASSERT_EQ(S_OK, call(sd.get(), L"WaitCursor", Args().i2(-7)).hr);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), ::GetCursor());
    call(sd.get(), L"WaitCursor", Args().i2(0));
}

}  // namespace
