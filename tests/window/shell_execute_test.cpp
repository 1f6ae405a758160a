// ShellExecute: launching the test bed's own program (bin/child_process_gui)
// and waiting for it. The program reports how it was started into a file and
// ends on its own or when the test signals its event; every process a test
// starts is ended by that test.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/code_object.h"
#include "support/disp.h"
#include "support/windows.h"

using namespace torvane;
using namespace torvane::test;

namespace {

std::wstring program_dir() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L'\\'));
}

std::wstring child_program() { return program_dir() + L"\\child_process_gui.exe"; }

struct Report {
    bool found = false;
    DWORD pid = 0;
    unsigned show = 0;
    unsigned long flags = 0;
    unsigned cmdlen = 0;
};

class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t tmp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, tmp);
        report_ = std::wstring(tmp) + L"torvane_child_" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
        ::DeleteFileW(report_.c_str());
        event_name_ = L"torvane_child_stop_" + std::to_wstring(::GetCurrentProcessId());
        stop_.reset(::CreateEventW(nullptr, TRUE, FALSE, event_name_.c_str()));
        sd_ = new_script_dialog();
    }
    void TearDown() override {
        // A child still waiting ends now; wait until it has.
        ::SetEvent(stop_.get());
        const Report r = read_report();
        if (r.found && r.pid) {
            UniqueHandle child(::OpenProcess(SYNCHRONIZE, FALSE, r.pid));
            if (child) ::WaitForSingleObject(child.get(), 10000);
        }
        ::DeleteFileW(report_.c_str());
    }

    // Parameters for the child: report file, exit code, event or "-", pause.
    std::wstring params(int exit_code, bool wait_for_event, int ms) const {
        return L"\"" + report_ + L"\" " + std::to_wstring(exit_code) + L" " + (wait_for_event ? event_name_ : L"-") +
               L" " + std::to_wstring(ms);
    }

    Report read_report() const {
        Report r;
        FILE* f = ::_wfopen(report_.c_str(), L"r");
        if (!f) return r;
        r.found = std::fscanf(f, "pid=%lu show=%u flags=%lu cmdlen=%u", &r.pid, &r.show, &r.flags, &r.cmdlen) == 4;
        std::fclose(f);
        return r;
    }

    // Waits (pumping) until the child has written its report.
    Report wait_for_report() const {
        for (int i = 0; i < 200; ++i) {
            Report r = read_report();
            if (r.found) return r;
            pump_messages(25);
        }
        return Report();
    }

    short run(const Args& args) {
        auto r = call(sd_.get(), L"ShellExecute", args);
        EXPECT_EQ(S_OK, r.hr);
        EXPECT_EQ(VT_I2, r.value.vt());
        return r.value.get().iVal;
    }

    std::wstring report_, event_name_;
    UniqueHandle stop_;
    ComPtr<IDispatch> sd_;
};

TEST_F(ShellExecuteTest, WaitsForTheEndWithMinusOne) {
    const std::wstring p = params(3, false, 300);
    EXPECT_EQ(0, run(Args().missing().str(child_program().c_str()).str(p.c_str()).missing().missing().i2(-1)));
    // The program has ended: its report is complete and the process is gone.
    const Report r = read_report();
    ASSERT_TRUE(r.found);
    EXPECT_EQ(static_cast<unsigned>(SW_SHOWNORMAL), r.show);
    EXPECT_NE(0ul, r.flags & STARTF_USESHOWWINDOW);
    UniqueHandle child(::OpenProcess(SYNCHRONIZE, FALSE, r.pid));
    EXPECT_TRUE(!child || ::WaitForSingleObject(child.get(), 0) == WAIT_OBJECT_0);
}

// An exit code equal to STILL_ACTIVE is still an end.
TEST_F(ShellExecuteTest, ExitCode259IsAnEnd) {
    const std::wstring p = params(259, false, 0);
    EXPECT_EQ(0, run(Args().str(L"open").str(child_program().c_str()).str(p.c_str()).missing().i2(1).i2(-1)));
}

TEST_F(ShellExecuteTest, CountedWaitGivesUpWhileTheProgramRuns) {
    const std::wstring p = params(0, true, 60000);
    EXPECT_EQ(1, run(Args().missing().str(child_program().c_str()).str(p.c_str()).missing().missing().i2(5)));
    EXPECT_TRUE(wait_for_report().found);
}

TEST_F(ShellExecuteTest, NoWaitReturnsOneWhileTheProgramRuns) {
    for (short wait : {0, -2, -32768}) {
        ::DeleteFileW(report_.c_str());
        ::ResetEvent(stop_.get());
        const std::wstring p = params(0, true, 60000);
        EXPECT_EQ(1, run(Args().missing().str(child_program().c_str()).str(p.c_str()).missing().missing().i2(wait)))
            << wait;
        const Report r = wait_for_report();
        ASSERT_TRUE(r.found) << wait;
        // Still running: end it and wait for its end.
        UniqueHandle child(::OpenProcess(SYNCHRONIZE, FALSE, r.pid));
        ASSERT_TRUE(child) << wait;
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(child.get(), 0)) << wait;
        ::SetEvent(stop_.get());
        EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(child.get(), 10000)) << wait;
    }
}

TEST_F(ShellExecuteTest, ShowNumbersMapToShowCommands) {
    const struct {
        short show;
        int expected;
    } cases[] = {
        {0, SW_HIDE},       {1, SW_SHOWNORMAL},  {2, SW_SHOWMAXIMIZED},  {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMINNOACTIVE},
        {5, SW_SHOWNORMAL}, {-1, SW_SHOWNORMAL}, {32767, SW_SHOWNORMAL},
    };
    for (const auto& c : cases) {
        ::DeleteFileW(report_.c_str());
        const std::wstring p = params(0, false, 0);
        EXPECT_EQ(0, run(Args().missing().str(child_program().c_str()).str(p.c_str()).missing().i2(c.show).i2(-1)))
            << c.show;
        const Report r = read_report();
        ASSERT_TRUE(r.found) << c.show;
        EXPECT_EQ(static_cast<unsigned>(c.expected), r.show) << "show " << c.show;
    }
}

TEST_F(ShellExecuteTest, EnvironmentNamesAreExpanded) {
    ASSERT_TRUE(::SetEnvironmentVariableW(L"TORVANE_CHILD_DIR", program_dir().c_str()));
    const std::wstring p = params(0, false, 0);
    EXPECT_EQ(0, run(Args()
                         .missing()
                         .str(L"%TORVANE_CHILD_DIR%\\child_process_gui.exe")
                         .str(p.c_str())
                         .str(L"%TORVANE_CHILD_DIR%")
                         .missing()
                         .i2(-1)));
    EXPECT_TRUE(read_report().found);
    ::SetEnvironmentVariableW(L"TORVANE_CHILD_DIR", nullptr);
}

// Texts far beyond 260 bytes reach the program whole.
TEST_F(ShellExecuteTest, LongParametersArriveWhole) {
    const std::wstring p = params(0, false, 0) + L" " + std::wstring(3000, L'p');
    EXPECT_EQ(0, run(Args().missing().str(child_program().c_str()).str(p.c_str()).missing().missing().i2(-1)));
    const Report r = read_report();
    ASSERT_TRUE(r.found);
    EXPECT_GT(r.cmdlen, 3000u);
}

TEST_F(ShellExecuteTest, FailedLaunchesGiveMinusOne) {
    // The shell may show its own error box: close any that appears.
    ModalDriver closer([&] {
        for (HWND box : thread_windows(L"#32770", true)) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return false;
    });
    EXPECT_EQ(-1,
              run(Args().missing().str(L"C:\\torvane\\no\\such\\program.exe").missing().missing().missing().i2(-1)));
    // Names beyond the platform's path buffers, also once expanded.
    for (std::size_t n : {260u, 900u, 3000u, 100000u})
        EXPECT_EQ(-1, run(Args().missing().str(std::wstring(n, L'q').c_str()))) << n;
    ::SetEnvironmentVariableW(L"TORVANE_LONG", std::wstring(2000, L'v').c_str());
    EXPECT_EQ(-1, run(Args().missing().str(L"C:\\%TORVANE_LONG%.exe")));
    std::wstring many;  // 2.4 million characters once expanded
    for (int i = 0; i < 80; ++i) many += L"%TORVANE_HUGE%";
    ::SetEnvironmentVariableW(L"TORVANE_HUGE", std::wstring(30000, L'h').c_str());
    EXPECT_EQ(-1, run(Args().missing().str(many.substr(0, 252).c_str())));
    ::SetEnvironmentVariableW(L"TORVANE_HUGE", nullptr);
    EXPECT_EQ(-1, run(Args().missing().str(child_program().c_str()).missing().str(L"%TORVANE_LONG%")));
    EXPECT_EQ(-1, run(Args().str(std::wstring(300, L'o').c_str()).str(child_program().c_str())));
    ::SetEnvironmentVariableW(L"TORVANE_LONG", nullptr);
    EXPECT_EQ(-1, run(Args()));  // no file at all
    // A document whose type has no program.
    wchar_t tmp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, tmp);
    const std::wstring doc = std::wstring(tmp) + L"torvane_doc.torvanenotype";
    { UniqueFile f(::CreateFileW(doc.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)); }
    EXPECT_EQ(-1, run(Args().missing().str(doc.c_str())));
    EXPECT_EQ(-1, run(Args().str(L"frobnicate").str(doc.c_str())));
    ::DeleteFileW(doc.c_str());
}

// The show and wait arguments are converted before the environment is read:
// a variable that their conversion sets is expanded, and a directory that
// grows beyond the platform's path buffer with it is a failed launch.
TEST_F(ShellExecuteTest, ArgumentsAreConvertedBeforeTheEnvironmentIsRead) {
    ModalDriver closer([&] {
        for (HWND box : thread_windows(L"#32770", true)) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return false;
    });
    auto sets_long = code_object([] { ::SetEnvironmentVariableW(L"TORVANE_LATE", std::wstring(2000, L'v').c_str()); },
                                 Variant::i2(1));
    const std::wstring p = params(0, false, 0);
    EXPECT_EQ(-1, run(Args()
                          .missing()
                          .str(child_program().c_str())
                          .str(p.c_str())
                          .str(L"%TORVANE_LATE%")
                          .dispatch(sets_long.get())
                          .i2(-1)));
    EXPECT_EQ(1, sets_long->calls);
    EXPECT_FALSE(read_report().found);
    ::SetEnvironmentVariableW(L"TORVANE_LATE", nullptr);
}

}  // namespace
