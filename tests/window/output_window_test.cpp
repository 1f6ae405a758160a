// The Output window object on a real display: its members, the text box that
// follows every resize, keys that would close a dialog, and its end.
#include <gtest/gtest.h>

#include <string>

#include "frame/guids.h"
#include "resources/resource_ids.h"
#include "support/disp.h"
#include "support/windows.h"

using namespace torvane;
using namespace torvane::test;

namespace {

struct OutputWindow {
    ComPtr<IDispatch> object;
    HWND hwnd = nullptr;
};

// A new object and the window it made (the one dialog that was not there).
OutputWindow create_output_window() {
    auto before = thread_windows(L"#32770");
    auto sd = new_script_dialog();
    auto r = call(sd.get(), L"CreateOutputWindow");
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_UNKNOWN, r.value.vt());
    OutputWindow w;
    w.object = as_dispatch(r.value);
    for (HWND h : thread_windows(L"#32770")) {
        bool known = false;
        for (HWND b : before) known = known || b == h;
        if (!known) w.hwnd = h;
    }
    return w;
}

bool is_japanese_code_page() { return ::GetACP() == 932; }

HWND text_box(HWND window) { return ::GetDlgItem(window, IDC_OUTPUT_TEXT); }

// The text box covers the client area exactly.
void expect_text_box_fills(HWND window) {
    RECT client{}, box{};
    ::GetClientRect(window, &client);
    ::GetWindowRect(text_box(window), &box);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(client.right, box.right);
    EXPECT_EQ(client.bottom, box.bottom);
}

SHORT i2(const CallResult& r) {
    EXPECT_EQ(VT_I2, r.value.vt());
    return r.value.get().iVal;
}

bool boolean(const CallResult& r) {
    EXPECT_EQ(VT_BOOL, r.value.vt());
    return r.value.get().boolVal != VARIANT_FALSE;
}

TEST(OutputWindow, StartsHiddenCentredEmptyWithItsTitle) {
    auto w = create_output_window();
    ASSERT_TRUE(w.object);
    ASSERT_TRUE(w.hwnd);
    EXPECT_FALSE(::IsWindowVisible(w.hwnd));
    EXPECT_FALSE(boolean(get(w.object.get(), L"Visible")));
    EXPECT_TRUE(boolean(get(w.object.get(), L"Enable")));
    EXPECT_EQ(L"", as_wstring(get(w.object.get(), L"Text").value));
    if (is_japanese_code_page()) {
        EXPECT_EQ(L"\x30a2\x30a6\x30c8\x30d7\x30c3\x30c8\x30a6\x30a3\x30f3\x30c9\x30a6",
                  as_wstring(get(w.object.get(), L"Title").value));
    }

    // Centred in the work area; the properties report the window rectangle.
    RECT area{}, r{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    ::GetWindowRect(w.hwnd, &r);
    EXPECT_NEAR((area.left + area.right) / 2, (r.left + r.right) / 2, 1);
    EXPECT_NEAR((area.top + area.bottom) / 2, (r.top + r.bottom) / 2, 1);
    EXPECT_EQ(r.left, i2(get(w.object.get(), L"PosX")));
    EXPECT_EQ(r.top, i2(get(w.object.get(), L"PosY")));
    EXPECT_EQ(r.right - r.left, i2(get(w.object.get(), L"Width")));
    EXPECT_EQ(r.bottom - r.top, i2(get(w.object.get(), L"Height")));
    expect_text_box_fills(w.hwnd);

    // No system menu: no close, minimise or maximise box.
    EXPECT_EQ(0, ::GetWindowLongW(w.hwnd, GWL_STYLE) & WS_SYSMENU);
}

TEST(OutputWindow, TableAndDefaultValue) {
    auto w = create_output_window();
    ASSERT_TRUE(w.object);
    const wchar_t* names[] = {L"Visible", L"Enable", L"Text", L"PosX", L"PosY", L"Width", L"Height", L"Title"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(i + 1, id_of(w.object.get(), names[i])) << i;
    EXPECT_EQ(10, id_of(w.object.get(), L"AppendText"));
    EXPECT_EQ(1, id_of(w.object.get(), L"VISIBLE"));
    EXPECT_EQ(1, id_of(w.object.get(), L"visible"));
    EXPECT_EQ(DISPID_UNKNOWN, id_of(w.object.get(), L"Value"));

    ComPtr<IUnknown> own;
    EXPECT_EQ(S_OK, w.object->QueryInterface(IID_IOutputWindow, reinterpret_cast<void**>(own.put())));

    // Assigning to the object sets Text; reading it gives Text.
    EXPECT_EQ(S_OK, invoke(w.object.get(), DISPID_VALUE, DISPATCH_PROPERTYPUT, Args().str(L"by default")).hr);
    EXPECT_EQ(L"by default", window_text(text_box(w.hwnd)));
    EXPECT_EQ(L"by default", as_wstring(invoke(w.object.get(), DISPID_VALUE, DISPATCH_PROPERTYGET).value));
}

TEST(OutputWindow, TextIsKeptExactly) {
    auto w = create_output_window();
    ASSERT_TRUE(w.object);
    const std::wstring texts[] = {
        L"abc", L"", L"line 1\r\nline 2\r\n", L"lone\nfeed and lone\rreturn", L"  spaces  ", L"\ttab",
    };
    for (const std::wstring& t : texts) {
        ASSERT_EQ(S_OK, put(w.object.get(), L"Text", Args().str(t.c_str())).hr);
        EXPECT_EQ(t, as_wstring(get(w.object.get(), L"Text").value));
        EXPECT_EQ(t, window_text(text_box(w.hwnd)));
    }
    if (is_japanese_code_page()) {
        // "ソ表" carry the trail byte 0x5C ("\") in code page 932.
        const std::wstring jp = L"\x65e5\x672c\x8a9e\x30bd\x8868\r\n\x51fa\x529b";
        put(w.object.get(), L"Text", Args().str(jp.c_str()));
        EXPECT_EQ(jp, as_wstring(get(w.object.get(), L"Text").value));
    }
    // Far beyond the text box's default limit of about 30,000 characters.
    std::wstring big;
    for (int i = 0; i < 20000; ++i) big += L"line " + std::to_wstring(i) + L"\r\n";
    ASSERT_EQ(S_OK, put(w.object.get(), L"Text", Args().str(big.c_str())).hr);
    EXPECT_EQ(big, as_wstring(get(w.object.get(), L"Text").value));

    // A number becomes its text; Null is a type mismatch that keeps the text.
    put(w.object.get(), L"Text", Args().str(L"kept"));
    ASSERT_EQ(S_OK, put(w.object.get(), L"Text", Args().i4(12)).hr);
    EXPECT_EQ(L"12", as_wstring(get(w.object.get(), L"Text").value));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, put(w.object.get(), L"Text", Args().null()).hr);
    EXPECT_EQ(L"12", as_wstring(get(w.object.get(), L"Text").value));
}

TEST(OutputWindow, VisibleEnableAndTitle) {
    auto w = create_output_window();
    ASSERT_TRUE(w.object);
    put(w.object.get(), L"Text", Args().str(L"stays"));
    ASSERT_EQ(S_OK, put(w.object.get(), L"Visible", Args().boolean(true)).hr);
    EXPECT_TRUE(::IsWindowVisible(w.hwnd));
    EXPECT_TRUE(boolean(get(w.object.get(), L"Visible")));
    ASSERT_EQ(S_OK, put(w.object.get(), L"Visible", Args().boolean(false)).hr);
    EXPECT_FALSE(::IsWindowVisible(w.hwnd));
    EXPECT_FALSE(boolean(get(w.object.get(), L"Visible")));
    EXPECT_EQ(L"stays", as_wstring(get(w.object.get(), L"Text").value));
    put(w.object.get(), L"Visible", Args().i4(7));
    EXPECT_TRUE(::IsWindowVisible(w.hwnd));

    ASSERT_EQ(S_OK, put(w.object.get(), L"Enable", Args().boolean(false)).hr);
    EXPECT_FALSE(::IsWindowEnabled(w.hwnd));
    EXPECT_FALSE(boolean(get(w.object.get(), L"Enable")));
    // A disabled window still takes the script's changes.
    put(w.object.get(), L"Text", Args().str(L"while disabled"));
    EXPECT_EQ(L"while disabled", window_text(text_box(w.hwnd)));
    put(w.object.get(), L"Enable", Args().boolean(true));
    EXPECT_TRUE(::IsWindowEnabled(w.hwnd));

    ASSERT_EQ(S_OK, put(w.object.get(), L"Title", Args().str(L"Progress")).hr);
    EXPECT_EQ(L"Progress", window_text(w.hwnd));
    EXPECT_EQ(L"Progress", as_wstring(get(w.object.get(), L"Title").value));
    put(w.object.get(), L"Visible", Args().boolean(false));
}

TEST(OutputWindow, PositionAndSizeFollowTheProperties) {
    auto w = create_output_window();
    ASSERT_TRUE(w.object);
    ASSERT_EQ(S_OK, put(w.object.get(), L"PosX", Args().i2(40)).hr);
    ASSERT_EQ(S_OK, put(w.object.get(), L"PosY", Args().i2(60)).hr);
    ASSERT_EQ(S_OK, put(w.object.get(), L"Width", Args().i2(300)).hr);
    ASSERT_EQ(S_OK, put(w.object.get(), L"Height", Args().i2(200)).hr);
    RECT r{};
    ::GetWindowRect(w.hwnd, &r);
    EXPECT_EQ(40, r.left);
    EXPECT_EQ(60, r.top);
    EXPECT_EQ(300, r.right - r.left);
    EXPECT_EQ(200, r.bottom - r.top);
    EXPECT_EQ(40, i2(get(w.object.get(), L"PosX")));
    EXPECT_EQ(60, i2(get(w.object.get(), L"PosY")));
    EXPECT_EQ(300, i2(get(w.object.get(), L"Width")));
    EXPECT_EQ(200, i2(get(w.object.get(), L"Height")));
    expect_text_box_fills(w.hwnd);

    // A user's resize (what dragging the border does) fits the box too.
    ::SetWindowPos(w.hwnd, nullptr, 0, 0, 420, 333, SWP_NOMOVE | SWP_NOZORDER);
    expect_text_box_fills(w.hwnd);
    EXPECT_EQ(420, i2(get(w.object.get(), L"Width")));

    // Values beyond 16 bits fail in the conversion: the window stays.
    EXPECT_EQ(DISP_E_OVERFLOW, put(w.object.get(), L"PosX", Args().i4(40000)).hr);
    EXPECT_EQ(DISP_E_OVERFLOW, put(w.object.get(), L"PosY", Args().i4(-40000)).hr);
    EXPECT_EQ(DISP_E_OVERFLOW, put(w.object.get(), L"Width", Args().i4(70000)).hr);
    EXPECT_EQ(DISP_E_OVERFLOW, put(w.object.get(), L"Height", Args().r8(1e10)).hr);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, put(w.object.get(), L"Width", Args().str(L"wide")).hr);
    RECT after{};
    ::GetWindowRect(w.hwnd, &after);
    EXPECT_EQ(40, after.left);
    EXPECT_EQ(60, after.top);
    EXPECT_EQ(420, after.right - after.left);
    EXPECT_EQ(333, after.bottom - after.top);

    // Negative coordinates are positions like any other.
    ASSERT_EQ(S_OK, put(w.object.get(), L"PosX", Args().i2(-20)).hr);
    EXPECT_EQ(-20, i2(get(w.object.get(), L"PosX")));
}

TEST(OutputWindow, KeysAndCloseRequestsNeverCloseIt) {
    auto w = create_output_window();
    ASSERT_TRUE(w.object);
    put(w.object.get(), L"Visible", Args().boolean(true));
    ::SetForegroundWindow(w.hwnd);
    ::SetFocus(text_box(w.hwnd));
    pump_messages(100);
    ASSERT_EQ(text_box(w.hwnd), ::GetFocus());

    type_text(L"ab");
    press_key(VK_RETURN);
    type_text(L"cd");
    press_key(VK_ESCAPE);
    // Alt+F4.
    INPUT in[4] = {};
    for (auto& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_MENU;
    in[1].ki.wVk = VK_F4;
    in[2].ki.wVk = VK_F4;
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = VK_MENU;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, in, sizeof(INPUT));
    pump_messages(100);
    // And the same requests as messages.
    ::SendMessageW(w.hwnd, WM_COMMAND, IDOK, 0);
    ::SendMessageW(w.hwnd, WM_COMMAND, IDCANCEL, 0);
    ::SendMessageW(w.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::SendMessageW(w.hwnd, WM_CLOSE, 0, 0);
    pump_messages(100);

    ASSERT_TRUE(::IsWindow(w.hwnd));
    EXPECT_TRUE(::IsWindowVisible(w.hwnd));
    // Enter made a line break in the text box (typed input arrives through
    // the X server: wait for it, up to two seconds).
    for (int waited = 0; waited < 2000 && as_wstring(get(w.object.get(), L"Text").value) != L"ab\r\ncd"; waited += 10)
        pump_messages(10);
    EXPECT_EQ(L"ab\r\ncd", as_wstring(get(w.object.get(), L"Text").value));
    put(w.object.get(), L"Visible", Args().boolean(false));
}

TEST(OutputWindow, ReleaseDestroysTheWindow) {
    auto w = create_output_window();
    ASSERT_TRUE(w.hwnd);
    put(w.object.get(), L"Visible", Args().boolean(true));
    // A second reference keeps it.
    ComPtr<IDispatch> second = w.object;
    w.object.reset();
    EXPECT_TRUE(::IsWindow(w.hwnd));
    second.reset();
    EXPECT_FALSE(::IsWindow(w.hwnd));
}

// Should the window go from outside, the object answers without it.
TEST(OutputWindow, AnswersAfterItsWindowWasDestroyedFromOutside) {
    auto w = create_output_window();
    ASSERT_TRUE(w.hwnd);
    UniqueHwnd(w.hwnd).reset();
    EXPECT_FALSE(boolean(get(w.object.get(), L"Visible")));
    EXPECT_EQ(S_OK, put(w.object.get(), L"Text", Args().str(L"x")).hr);
    EXPECT_EQ(L"", as_wstring(get(w.object.get(), L"Text").value));
    EXPECT_EQ(S_OK, put(w.object.get(), L"Width", Args().i2(100)).hr);
    EXPECT_EQ(0, i2(get(w.object.get(), L"Width")));
    EXPECT_EQ(S_OK, call(w.object.get(), L"AppendText", Args().str(L"x")).hr);
}

// ---- the view follows the output

int first_visible_line(HWND box) { return static_cast<int>(::SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0)); }

// Whether the top of the box's last line lies inside the box. (Wine gives
// no position for the end of the text: the tests' texts end in a character.)
bool last_line_in_view(HWND box) {
    const LRESULT lines = ::SendMessageW(box, EM_GETLINECOUNT, 0, 0);
    const LRESULT start = ::SendMessageW(box, EM_LINEINDEX, lines - 1, 0);
    const LRESULT pos = ::SendMessageW(box, EM_POSFROMCHAR, start, 0);
    RECT client{};
    ::GetClientRect(box, &client);
    const int y = static_cast<short>(HIWORD(pos));
    return pos != -1 && y >= 0 && y < client.bottom;
}

struct Selection {
    DWORD start = 0, end = 0;
    bool operator==(const Selection& o) const { return start == o.start && end == o.end; }
};
Selection selection(HWND box) {
    Selection s;
    ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start), reinterpret_cast<LPARAM>(&s.end));
    return s;
}

DWORD text_length(HWND box) { return static_cast<DWORD>(::GetWindowTextLengthW(box)); }

void add_by_text(IDispatch* w, const std::wstring& line) {
    const std::wstring now = as_wstring(get(w, L"Text").value);
    ASSERT_EQ(S_OK, put(w, L"Text", Args().str((now + line).c_str())).hr);
}
void add_by_append(IDispatch* w, const std::wstring& line) {
    ASSERT_EQ(S_OK, call(w, L"AppendText", Args().str(line.c_str())).hr);
}

// A log line, the line break first.
std::wstring line(int i) { return (i ? L"\r\nline " : L"line ") + std::to_wstring(i); }

OutputWindow shown_output_window() {
    auto w = create_output_window();
    put(w.object.get(), L"Width", Args().i2(300));
    put(w.object.get(), L"Height", Args().i2(160));
    put(w.object.get(), L"Visible", Args().boolean(true));
    pump_messages(50);
    return w;
}

// A log of 60 lines written either way shows its newest line, with the caret
// at the end.
TEST(OutputWindowView, WritesFollowTheEnd) {
    for (auto add : {&add_by_text, &add_by_append}) {
        auto w = shown_output_window();
        ASSERT_TRUE(w.hwnd);
        const HWND box = text_box(w.hwnd);
        for (int i = 0; i < 60; ++i) {
            add(w.object.get(), line(i));
            ASSERT_TRUE(last_line_in_view(box)) << "after line " << i;
        }
        pump_messages(20);
        EXPECT_GT(first_visible_line(box), 30);
        EXPECT_TRUE(last_line_in_view(box));
        EXPECT_EQ((Selection{text_length(box), text_length(box)}), selection(box));
        put(w.object.get(), L"Visible", Args().boolean(false));
    }
}

// Once the user has scrolled up, writes leave the first visible line and the
// selection where they were; back at the end, the view follows again.
TEST(OutputWindowView, ScrolledUpViewStays) {
    for (auto add : {&add_by_text, &add_by_append}) {
        auto w = shown_output_window();
        ASSERT_TRUE(w.hwnd);
        const HWND box = text_box(w.hwnd);
        for (int i = 0; i < 60; ++i) add(w.object.get(), line(i));

        // (Setting the selection may scroll it into view: it comes first.)
        ::SendMessageW(box, EM_SETSEL, 3, 9);
        ::SendMessageW(box, WM_VSCROLL, SB_TOP, 0);
        ::SendMessageW(box, EM_LINESCROLL, 0, 12);
        ASSERT_EQ(12, first_visible_line(box));
        for (int i = 0; i < 5; ++i) add(w.object.get(), L"\r\nmore " + std::to_wstring(i));
        EXPECT_EQ(12, first_visible_line(box));
        EXPECT_EQ((Selection{3, 9}), selection(box));
        EXPECT_FALSE(last_line_in_view(box));

        ::SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
        add(w.object.get(), L"\r\nagain");
        EXPECT_TRUE(last_line_in_view(box));
        EXPECT_EQ(text_length(box), selection(box).end);
        put(w.object.get(), L"Visible", Args().boolean(false));
    }
}

// A shorter text written while scrolled up keeps as much of the view as it
// can: the box clamps the line and the selection.
TEST(OutputWindowView, ShorterTextWhileScrolledUp) {
    auto w = shown_output_window();
    ASSERT_TRUE(w.hwnd);
    const HWND box = text_box(w.hwnd);
    for (int i = 0; i < 60; ++i) add_by_append(w.object.get(), line(i));
    ::SendMessageW(box, WM_VSCROLL, SB_TOP, 0);
    ::SendMessageW(box, EM_SETSEL, 100, 200);
    ASSERT_EQ(S_OK, put(w.object.get(), L"Text", Args().str(L"short")).hr);
    EXPECT_EQ(L"short", window_text(box));
    EXPECT_EQ(0, first_visible_line(box));
    EXPECT_EQ((Selection{5, 5}), selection(box));
    put(w.object.get(), L"Visible", Args().boolean(false));
}

TEST(OutputWindowView, AppendTextAddsExactlyItsText) {
    auto w = create_output_window();
    ASSERT_TRUE(w.hwnd);
    const HWND box = text_box(w.hwnd);
    add_by_append(w.object.get(), L"a");
    add_by_append(w.object.get(), L"b\r\n");
    add_by_append(w.object.get(), L"");
    add_by_append(w.object.get(), L"lone\nfeed");
    EXPECT_EQ(L"ab\r\nlone\nfeed", as_wstring(get(w.object.get(), L"Text").value));
    // A number becomes its text; Null is a type mismatch that adds nothing.
    ASSERT_EQ(S_OK, call(w.object.get(), L"AppendText", Args().i4(12)).hr);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, call(w.object.get(), L"AppendText", Args().null()).hr);
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, call(w.object.get(), L"AppendText").hr);
    EXPECT_EQ(L"ab\r\nlone\nfeed12", window_text(box));
    if (is_japanese_code_page()) {
        // "ソ表" carry the trail byte 0x5C in code page 932.
        put(w.object.get(), L"Text", Args().str(L"\x65e5\x672c"));
        add_by_append(w.object.get(), L"\x30bd\x8868\r\n\x51fa\x529b");
        EXPECT_EQ(L"\x65e5\x672c\x30bd\x8868\r\n\x51fa\x529b", as_wstring(get(w.object.get(), L"Text").value));
    }
    // The box's default limit of about 30,000 characters does not apply.
    std::wstring big;
    for (int i = 0; i < 4000; ++i) big += L"line " + std::to_wstring(i) + L"\r\n";
    put(w.object.get(), L"Text", Args().str(L""));
    for (int i = 0; i < 5; ++i) add_by_append(w.object.get(), big);
    add_by_append(w.object.get(), L"end");
    EXPECT_EQ(big.size() * 5 + 3, text_length(box));

    // Hidden, the box follows all the same: shown, it shows the end.
    EXPECT_FALSE(::IsWindowVisible(w.hwnd));
    put(w.object.get(), L"Visible", Args().boolean(true));
    pump_messages(20);
    EXPECT_TRUE(last_line_in_view(box));
    put(w.object.get(), L"Visible", Args().boolean(false));
}

// Lines longer than the box wrap: at blanks, and words without one (a
// Japanese sentence) at the edge.
TEST(OutputWindowView, LongLinesWrap) {
    auto w = shown_output_window();
    ASSERT_TRUE(w.hwnd);
    const HWND box = text_box(w.hwnd);
    std::wstring words;
    for (int i = 0; i < 40; ++i) words += L"word" + std::to_wstring(i) + L" ";
    put(w.object.get(), L"Text", Args().str(words.c_str()));
    const LRESULT lines = ::SendMessageW(box, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, 2);
    for (LRESULT k = 1; k < lines; ++k) {
        const LRESULT start = ::SendMessageW(box, EM_LINEINDEX, k, 0);
        EXPECT_EQ(L'w', words[static_cast<std::size_t>(start)]) << "line " << k << " starts inside a word";
    }
    const std::wstring unbroken(200, is_japanese_code_page() ? L'\x8868' : L'x');
    put(w.object.get(), L"Text", Args().str(unbroken.c_str()));
    EXPECT_GT(::SendMessageW(box, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(unbroken, window_text(box));
    put(w.object.get(), L"Visible", Args().boolean(false));
}

TEST(OutputWindow, ScreenshotWithJapaneseText) {
    auto w = create_output_window();
    ASSERT_TRUE(w.object);
    const std::wstring text = is_japanese_code_page() ? L"\x51e6\x7406\x3092\x958b\x59cb\x3057\x307e\x3059\x3002\r\n"
                                                        L"\x30d5\x30a1\x30a4\x30eb 1/3: \x5b8c\x4e86\r\n"
                                                        L"\x30d5\x30a1\x30a4\x30eb 2/3: \x5b8c\x4e86\r\n"
                                                        L"\x3059\x3079\x3066\x7d42\x308f\x308a\x307e\x3057\x305f\x3002"
                                                      : L"Started.\r\nFile 1/3: done\r\nFile 2/3: done\r\nAll done.";
    put(w.object.get(), L"Text", Args().str(text.c_str()));
    put(w.object.get(), L"Width", Args().i2(360));
    put(w.object.get(), L"Height", Args().i2(180));
    put(w.object.get(), L"Visible", Args().boolean(true));
    pump_messages(200);
    EXPECT_EQ(text, window_text(text_box(w.hwnd)));
    EXPECT_FALSE(save_screenshot(w.hwnd, L"outputwindow").empty());
    put(w.object.get(), L"Visible", Args().boolean(false));
}

}  // namespace
