// The Form object with label, edit and push-button items, driven as a user
// drives it: composed and executed windows, typing, dialog keys, the close
// box, file drops, the event queue and the state rules.

#include <climits>
#include <cmath>

#include "form_support.h"

#include <shellapi.h>
#include <shlobj.h>
#include "frame/dispatch.h"
#include "resources/resource_ids.h"
#include "frame/module.h"
#include "support/code_object.h"

using namespace torvane;
using namespace torvane::test;

namespace {

const wchar_t kDefiningOnly[] =
    L"\u30d5\u30a9\u30fc\u30e0\u3092\u5b9f\u884c\u4e2d\u306b\u5b9a\u7fa9\u3059\u308b"
    L"\u3053\u3068\u306f\u3067\u304d\u307e\u305b\u3093";
const wchar_t kNotRunning[] = L"\u30d5\u30a9\u30fc\u30e0\u304c\u5b9f\u884c\u3055\u308c\u3066\u3044\u307e\u305b\u3093";
const wchar_t kUserDialog[] = L"\u30e6\u30fc\u30b6\u30fc\u30c0\u30a4\u30a2\u30ed\u30b0";

void expect_error(const CallResult& r, const wchar_t* text, const char* what) {
    EXPECT_EQ(DISP_E_EXCEPTION, r.hr) << what;
    EXPECT_EQ(1025, r.excep.wCode) << what;
    EXPECT_EQ(std::wstring(text), r.description()) << what;
}

}  // namespace

TEST(FormTable, DispatchIdsFollowTheTableAndIdZeroReadsValue) {
    FormFixture f;
    const wchar_t* names[] = {
        L"FormTitle",      L"AcceptDropFile",    L"DropFiles",         L"EnableForm",     L"ClearAllControls",
        L"ExecuteForm",    L"DefineLabel",       L"DefineEdit",        L"DefineButton",   L"DefineEditButton",
        L"DefineFileEdit", L"DefineCheckButton", L"DefineRadioButton", L"DefineComboBox", L"DefineDropdownList",
        L"DefineListBox",  L"ComposeForm",       L"DestroyForm",       L"WaitEvent",      L"Value",
        L"Enable",         L"IsModify"};
    for (int i = 0; i < 22; ++i) EXPECT_EQ(i + 1, id_of(f.form.get(), names[i])) << i;

    f(L"DefineEdit", Args().missing().str(L"abc"));
    auto r = invoke(f.form.get(), DISPID_VALUE, DISPATCH_PROPERTYGET, Args().i2(0));
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(L"abc", as_wstring(r.value));
    EXPECT_EQ(DISP_E_EXCEPTION, put(f.form.get(), L"IsModify", Args().i2(0).boolean(true)).hr);
}

TEST(FormDefine, SlotsFillFromZeroUpToSixtyFour) {
    FormFixture f;
    for (int i = 0; i < 64; ++i) ASSERT_EQ(i, f.i2(L"DefineLabel", Args().str(L"x"))) << i;
    EXPECT_EQ(-1, f.i2(L"DefineEdit", Args().str(L"more")));
    EXPECT_EQ(-1, f.i2(L"DefineButton", Args().str(L"a;b")));
    EXPECT_EQ(S_OK, f(L"ClearAllControls").hr);
    EXPECT_EQ(0, f.i2(L"DefineEdit"));
    EXPECT_EQ(L"", f.value(1));
}

TEST(FormDefine, OptionalArgumentsFollowTheRule) {
    FormFixture f;
    EXPECT_EQ(0, f.i2(L"DefineEdit", Args().empty().null().str(L"3")));         // Empty caption, Null text, 3 rows
    EXPECT_EQ(1, f.i2(L"DefineEdit", Args().str(L"c").str(L"t").str(L"abc")));  // rows unconvertible: 1
    EXPECT_EQ(2, f.i2(L"DefineLabel", Args().str(L"label")));
    EXPECT_EQ(3, f.i2(L"DefineButton", Args().str(L"OK;Cancel")));
    EXPECT_EQ(4, f.i2(L"DefineButton", Args().str(L";;")));
    EXPECT_EQ(L"", f.value(0));
    EXPECT_EQ(L"t", f.value(1));
    EXPECT_EQ(L"label", f.value(2));
    EXPECT_EQ(L"", f.value(3));  // a push-button group has no value
    f.set_value(3, L"ignored");
    EXPECT_EQ(L"", f.value(3));

    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    ASSERT_TRUE(form);
    const Rows rows = rows_of(form);
    auto kids = children_of(form);
    // edit (3 rows, no label), label + edit, label, two buttons, one button
    ASSERT_EQ(7u, kids.size());
    EXPECT_EQ(L"Edit", class_of(kids[0]));
    EXPECT_TRUE(::GetWindowLongW(kids[0], GWL_STYLE) & ES_MULTILINE);
    RECT r0 = child_rect(form, kids[0]);
    EXPECT_EQ((RECT{5, 0, rows.w - 5, 3 * rows.h - 1}.bottom), r0.bottom);
    EXPECT_EQ(5, r0.left);
    EXPECT_EQ(rows.w - 5, r0.right);
    EXPECT_EQ(L"c", window_text(kids[1]));
    EXPECT_EQ(0xFFFF, ::GetDlgCtrlID(kids[1]));
    RECT label = child_rect(form, kids[1]);
    RECT edit = child_rect(form, kids[2]);
    EXPECT_EQ(5, label.left);
    EXPECT_EQ(rows.w / 4, label.right);
    EXPECT_EQ(rows.w / 4 + 1, edit.left);
    EXPECT_EQ(3 * rows.h, edit.top);
    EXPECT_EQ(4 * rows.h - 1, edit.bottom);
    EXPECT_FALSE(::GetWindowLongW(kids[2], GWL_STYLE) & ES_MULTILINE);
    // Ids: edits 32 and 33, buttons 34 to 36; labels 0xFFFF.
    EXPECT_EQ(32, ::GetDlgCtrlID(kids[0]));
    EXPECT_EQ(33, ::GetDlgCtrlID(kids[2]));
    EXPECT_EQ(0xFFFF, ::GetDlgCtrlID(kids[3]));
    EXPECT_EQ(34, ::GetDlgCtrlID(kids[4]));
    EXPECT_EQ(35, ::GetDlgCtrlID(kids[5]));
    EXPECT_EQ(36, ::GetDlgCtrlID(kids[6]));
    EXPECT_EQ(L"", window_text(kids[6]));
    // Two buttons of four cells, right-aligned: S = (W - 10) / 4.
    const int s = (rows.w - 10) / 4;
    RECT b0 = child_rect(form, kids[4]), b1 = child_rect(form, kids[5]);
    EXPECT_EQ(5 + 2 * s, b0.left);
    EXPECT_EQ(5 + 3 * s - 1, b0.right);
    EXPECT_EQ(5 + 3 * s, b1.left);
    EXPECT_EQ(5 * rows.h, b0.top);
    // Client height: rows used (3 + 1 + 1 + 1 + 1) x H + H / 2.
    RECT client{};
    ::GetClientRect(form, &client);
    EXPECT_EQ(7 * rows.h + rows.h / 2, client.bottom);
    EXPECT_EQ(rows.w, client.right);
    // The default event values are the control indexes: buttons give 3, 4.
    click(kids[5]);
    EXPECT_EQ(4, f.wait(0));
    click(kids[6]);
    EXPECT_EQ(4, f.wait(0));
    EXPECT_EQ(S_OK, f(L"DestroyForm").hr);
}

TEST(FormDefine, DefineButtonFirstEventValue) {
    FormFixture f;
    f(L"DefineLabel", Args().str(L"a"));
    ASSERT_EQ(1, f.i2(L"DefineButton", Args().str(L"x;y;z").i2(100)));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    auto kids = children_of(the_form());
    ASSERT_EQ(4u, kids.size());
    click(kids[3]);
    click(kids[1]);
    EXPECT_EQ(102, f.wait(0));  // oldest first
    EXPECT_EQ(100, f.wait(0));
    EXPECT_EQ(INT_MIN, f.wait(0));
}

TEST(FormStates, ErrorsAndAnswersInEachState) {
    FormFixture f;
    // Defining.
    expect_error(f(L"DestroyForm"), kNotRunning, "DestroyForm");
    expect_error(f(L"WaitEvent"), kNotRunning, "WaitEvent");
    expect_error(get(f.form.get(), L"Enable", Args().i2(0)), kNotRunning, "Enable get");
    expect_error(put(f.form.get(), L"Enable", Args().i2(0).i2(1)), kNotRunning, "Enable put");
    auto ef = get(f.form.get(), L"EnableForm");
    EXPECT_EQ(VT_BOOL, ef.value.vt());
    EXPECT_EQ(VARIANT_FALSE, ef.value.get().boolVal);
    EXPECT_EQ(S_OK, put(f.form.get(), L"EnableForm", Args().boolean(true)).hr);
    f(L"DefineEdit", Args().str(L"name").str(L"v"));
    f.set_value(0, L"before");
    EXPECT_FALSE(f.modified(0));
    for (int i : {64, -1, 5, 70, 32767, -32768}) {
        EXPECT_EQ(L"", f.value(i)) << i;
        EXPECT_FALSE(f.modified(i)) << i;
        f.set_value(i, L"x");
    }

    // Composed.
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    ASSERT_TRUE(form);
    EXPECT_EQ(L"before", window_text(children_of(form)[1]));
    const struct {
        const wchar_t* name;
        int argc;
    } refused[] = {{L"DefineLabel", 1},       {L"DefineEdit", 0},       {L"DefineButton", 1},
                   {L"DefineEditButton", 0},  {L"DefineFileEdit", 0},   {L"DefineCheckButton", 1},
                   {L"DefineRadioButton", 1}, {L"DefineComboBox", 0},   {L"DefineDropdownList", 0},
                   {L"DefineListBox", 0},     {L"ClearAllControls", 0}, {L"ComposeForm", 0},
                   {L"ExecuteForm", 0}};
    for (const auto& m : refused) {
        Args a;
        Args args = m.argc ? std::move(a).str(L"x") : Args();
        expect_error(f(m.name, args), kDefiningOnly, "refused while composed");
    }
    EXPECT_EQ(L"before", f.value(0));
    EXPECT_EQ(L"", f.value(1));  // no item was added
    EXPECT_EQ(1, f.i2(L"Enable", Args().i2(0)));
    EXPECT_EQ(0, f.i2(L"Enable", Args().i2(1)));
    EXPECT_EQ(0, f.i2(L"Enable", Args().i2(-1)));
    EXPECT_EQ(S_OK, put(f.form.get(), L"Enable", Args().i2(0).i2(0)).hr);
    EXPECT_EQ(0, f.i2(L"Enable", Args().i2(0)));
    EXPECT_FALSE(::IsWindowEnabled(children_of(form)[0]));  // the side label too
    EXPECT_EQ(S_OK, put(f.form.get(), L"Enable", Args().i2(99).i2(0)).hr);
    EXPECT_EQ(S_OK, put(f.form.get(), L"EnableForm", Args().boolean(false)).hr);
    EXPECT_FALSE(::IsWindowEnabled(form));
    auto ef2 = get(f.form.get(), L"EnableForm");
    EXPECT_EQ(VARIANT_FALSE, ef2.value.get().boolVal);
    put(f.form.get(), L"EnableForm", Args().boolean(true));
    EXPECT_TRUE(::IsWindowEnabled(form));

    // Back to defining; a second composition starts enabled again with the
    // same ids and geometry.
    RECT first{};
    ::GetWindowRect(form, &first);
    EXPECT_EQ(S_OK, f(L"DestroyForm").hr);
    EXPECT_FALSE(::IsWindow(form));
    expect_error(f(L"DestroyForm"), kNotRunning, "DestroyForm twice");
    EXPECT_EQ(1, f.i2(L"DefineLabel", Args().str(L"more")));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    form = the_form();
    auto kids = children_of(form);
    ASSERT_EQ(3u, kids.size());
    EXPECT_TRUE(::IsWindowEnabled(kids[1]));
    EXPECT_EQ(32, ::GetDlgCtrlID(kids[1]));
    RECT second{};
    ::GetWindowRect(form, &second);
    EXPECT_EQ(first.right - first.left, second.right - second.left);
    f(L"DestroyForm");
}

TEST(FormCompose, EmptyFormCaptionTitleAndCentring) {
    FormFixture f;
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    ASSERT_TRUE(form);
    EXPECT_TRUE(::IsWindowVisible(form));
    EXPECT_EQ(std::wstring(kUserDialog), window_text(form));
    const Rows rows = rows_of(form);
    EXPECT_GT(rows.h, 0);
    RECT client{};
    ::GetClientRect(form, &client);
    EXPECT_EQ(rows.h / 2, client.bottom);
    // No owner on this thread: centred on the work area.
    RECT area{}, win{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    ::GetWindowRect(form, &win);
    EXPECT_NEAR((area.left + area.right) / 2, (win.left + win.right) / 2, 2);
    EXPECT_NEAR((area.top + area.bottom) / 2, (win.top + win.bottom) / 2, 2);
    // A title set now waits for the next window.
    put(f.form.get(), L"FormTitle", Args().str(L"\u8a2d\u5b9a"));
    EXPECT_EQ(std::wstring(kUserDialog), window_text(form));
    f(L"DestroyForm");
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    if (::GetACP() == 932) {
        EXPECT_EQ(L"\u8a2d\u5b9a", window_text(the_form()));
    }
    f(L"DestroyForm");
}

TEST(FormEdit, TypingCountsAsModifiedOnlyAfterValueIsRead) {
    FormFixture f;
    f(L"DefineEdit", Args().str(L"A").str(L"start"));
    f(L"DefineEdit", Args().str(L"B"));
    f(L"DefineButton", Args().str(L"OK"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    auto kids = children_of(form);
    ASSERT_EQ(5u, kids.size());
    focus(form, kids[1]);
    ::SendMessageW(kids[1], EM_SETSEL, 0, -1);
    queue_text(L"typed");
    EXPECT_EQ(INT_MIN, f.wait(5));  // typing raises no event
    EXPECT_FALSE(f.modified(0));
    EXPECT_EQ(L"typed", f.value(0));
    EXPECT_TRUE(f.modified(0));
    f.set_value(0, L"set");
    EXPECT_FALSE(f.modified(0));
    EXPECT_EQ(L"set", window_text(kids[1]));

    // Tab moves to the next edit; Enter in a single-line edit moves on too
    // and raises nothing.
    queue_key(VK_TAB);
    EXPECT_EQ(INT_MIN, f.wait(5));
    EXPECT_EQ(kids[3], ::GetFocus());
    queue_key(VK_RETURN);
    EXPECT_EQ(INT_MIN, f.wait(5));
    EXPECT_EQ(kids[4], ::GetFocus());
    EXPECT_TRUE(::IsWindow(form));

    // Esc and the close box queue -1 and leave the window open.
    queue_key(VK_ESCAPE);
    EXPECT_EQ(-1, f.wait(50));
    ::PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(-1, f.wait(50));
    EXPECT_TRUE(::IsWindowVisible(form));

    // Closing saves the values; a change saved so still counts after the
    // next composition.
    ::SetWindowTextW(kids[3], L"second");
    f(L"DestroyForm");
    EXPECT_EQ(L"second", f.value(1));
    EXPECT_TRUE(f.modified(1));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    EXPECT_EQ(L"second", window_text(children_of(the_form())[3]));
    EXPECT_TRUE(f.modified(1));
    f(L"DestroyForm");
}

// Enter presses a focused push button; on any other control it moves on.
TEST(FormKeys, EnterPressesAFocusedPushButtonAndMovesOnElsewhere) {
    FormFixture f;
    f(L"DefineEdit", Args().str(L"Name"));
    f(L"DefineCheckButton", Args().str(L"A;B"));  // side by side: push-like check boxes
    f(L"DefineEditButton", Args().str(L"Code").missing().str(L"Go").i2(50));
    f(L"DefineButton", Args().str(L"OK;Cancel").i2(1));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    auto kids = children_of(form);
    ASSERT_EQ(9u, kids.size());  // Name: caption, edit; A, B; Code: caption, edit, Go; OK, Cancel
    focus(form, kids[1]);
    queue_key(VK_RETURN);
    EXPECT_EQ(INT_MIN, f.wait(5));
    EXPECT_EQ(kids[2], ::GetFocus());  // from the edit field to the check box A
    queue_key(VK_RETURN);
    EXPECT_EQ(INT_MIN, f.wait(5));  // a check box is not pressed by Enter
    EXPECT_EQ(L"00", f.value(1));
    EXPECT_NE(kids[2], ::GetFocus());
    // A button takes the focus as the user gives it, by Tab (the dialog
    // manager's own focus move).
    ::SendMessageW(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(kids[5]), TRUE);
    queue_key(VK_TAB);
    EXPECT_EQ(INT_MIN, f.wait(5));
    EXPECT_EQ(kids[6], ::GetFocus());
    queue_key(VK_RETURN);
    EXPECT_EQ(50, f.wait(20));  // the edit-button's button
    queue_key(VK_TAB);
    EXPECT_EQ(INT_MIN, f.wait(5));
    EXPECT_EQ(kids[7], ::GetFocus());
    queue_key(VK_RETURN);
    EXPECT_EQ(1, f.wait(20));  // OK
    f(L"DestroyForm");

    // One edit field and OK/Cancel, run modally: Enter twice ends the run with OK's 1.
    FormFixture g;
    g(L"DefineEdit", Args().str(L"Name"));
    g(L"DefineButton", Args().str(L"OK;Cancel").i2(1));
    int presses = 0;
    ModalDriver driver([&] {
        HWND shown = the_form();
        if (!shown) return false;
        if (presses == 0) focus(shown, children_of(shown)[1]);
        queue_key(VK_RETURN);
        return ++presses == 2;
    });
    EXPECT_EQ(1, g.i2(L"ExecuteForm"));
    EXPECT_TRUE(driver.done());
}

TEST(FormEdit, MultiLineEditKeepsLineBreaks) {
    FormFixture f;
    f(L"DefineEdit", Args().str(L"memo").missing().i2(3));
    f(L"DefineButton", Args().str(L"OK"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    auto kids = children_of(form);
    const Rows rows = rows_of(form);
    RECT edit = child_rect(form, kids[1]), label = child_rect(form, kids[0]);
    EXPECT_EQ(3 * rows.h - 1, edit.bottom);
    EXPECT_EQ(rows.h - 1, label.bottom);
    EXPECT_EQ(3 * rows.h, child_rect(form, kids[2]).top);
    focus(form, kids[1]);
    queue_text(L"one");
    queue_key(VK_RETURN);
    queue_text(L"two");
    EXPECT_EQ(INT_MIN, f.wait(5));
    EXPECT_EQ(kids[1], ::GetFocus());
    EXPECT_EQ(L"one\r\ntwo", f.value(0));
    f(L"DestroyForm");
}

TEST(FormLabel, ValueFollowsTheWindowWhileShown) {
    FormFixture f;
    f(L"DefineLabel", Args().str(L"first"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND label = children_of(the_form())[0];
    EXPECT_EQ(L"Static", class_of(label));
    f.set_value(0, L"changed");
    EXPECT_EQ(L"changed", window_text(label));
    EXPECT_FALSE(f.modified(0));
    EXPECT_EQ(1, f.i2(L"Enable", Args().i2(0)));
    f(L"DestroyForm");
    EXPECT_EQ(L"changed", f.value(0));
}

TEST(FormExecute, ButtonEndsTheRunAndValuesStay) {
    FormFixture f;
    f(L"DefineEdit", Args().str(L"\u540d\u524d").str(L"x"));
    f(L"DefineButton", Args().str(L"OK;\u30ad\u30e3\u30f3\u30bb\u30eb"));
    int step = 0;
    HWND seen = nullptr;
    ModalDriver driver([&] {
        HWND form = the_form();
        if (!form) return false;
        seen = form;
        auto kids = children_of(form);
        if (step == 0) {
            EXPECT_EQ(L"x", window_text(kids[1]));
            focus(form, kids[1]);
            ::SendMessageW(kids[1], EM_SETSEL, 0, -1);
            queue_text(L"user");
            step = 1;
            return false;
        }
        if (window_text(kids[1]) != L"user") return false;
        click(kids[2]);  // OK: event value 1
        return true;
    });
    EXPECT_EQ(1, f.i2(L"ExecuteForm"));
    EXPECT_TRUE(driver.done());
    EXPECT_FALSE(::IsWindow(seen));
    EXPECT_TRUE(form_windows(false).empty());
    EXPECT_EQ(L"user", f.value(0));
    EXPECT_TRUE(f.modified(0));
    // The same form again, ended with Esc, then with the close box.
    ModalDriver esc([&] {
        HWND form = the_form();
        if (!form) return false;
        focus(form, children_of(form)[1]);
        queue_key(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(-1, f.i2(L"ExecuteForm", Args().str(L"ignored")));
    ModalDriver close([&] {
        HWND form = the_form();
        if (!form) return false;
        ::PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(-1, f.i2(L"ExecuteForm"));
    EXPECT_TRUE(form_windows(false).empty());
}

TEST(FormExecute, OwnerIsDisabledForTheRunAndTheFormCentredOverIt) {
    FormFixture f;
    f(L"DefineButton", Args().str(L"OK"));
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    ::SetForegroundWindow(owner);
    ::SetActiveWindow(owner);
    pump_messages(20);
    ASSERT_EQ(owner, ::GetActiveWindow());
    bool owner_enabled = true;
    HWND form_owner = nullptr;
    RECT form_rect{};
    ModalDriver driver([&] {
        HWND form = the_form();
        if (!form) return false;
        owner_enabled = ::IsWindowEnabled(owner);
        form_owner = ::GetWindow(form, GW_OWNER);
        ::GetWindowRect(form, &form_rect);
        click(children_of(form)[0]);
        return true;
    });
    EXPECT_EQ(0, f.i2(L"ExecuteForm"));
    EXPECT_FALSE(owner_enabled);
    EXPECT_EQ(owner, form_owner);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    RECT o{};
    ::GetWindowRect(owner, &o);
    EXPECT_NEAR((o.left + o.right) / 2, (form_rect.left + form_rect.right) / 2, 2);
    EXPECT_NEAR((o.top + o.bottom) / 2, (form_rect.top + form_rect.bottom) / 2, 2);
    UniqueHwnd{owner}.reset();
    pump_messages();
}

TEST(FormExecute, QuitMessageEndsTheRunAndIsPostedAgain) {
    FormFixture f;
    f(L"DefineButton", Args().str(L"OK"));
    ModalDriver driver([&] {
        if (!the_form()) return false;
        ::PostQuitMessage(7);
        return true;
    });
    EXPECT_EQ(-1, f.i2(L"ExecuteForm"));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_TRUE(form_windows(false).empty());
}

TEST(FormExecute, OwnerDestroyedDuringTheRunEndsIt) {
    FormFixture f;
    f(L"DefineEdit", Args().missing().str(L"kept"));
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr, nullptr, nullptr);
    ::SetForegroundWindow(owner);
    ::SetActiveWindow(owner);
    pump_messages(20);
    ModalDriver driver([&] {
        HWND form = the_form();
        if (!form) return false;
        ::SetWindowTextW(children_of(form)[0], L"edited");
        UniqueHwnd{owner}.reset();
        return true;
    });
    EXPECT_EQ(-1, f.i2(L"ExecuteForm"));
    EXPECT_EQ(L"edited", f.value(0));
    EXPECT_TRUE(form_windows(false).empty());
    // The form works on.
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    f(L"DestroyForm");
}

namespace {
// A drop as the shell makes it: a DROPFILES block with wide names.
HDROP make_drop(const std::vector<std::wstring>& files) {
    std::wstring names;
    for (const auto& file : files) names += file + L'\0';
    names += L'\0';
    const SIZE_T size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* block = static_cast<DROPFILES*>(::GlobalLock(memory));
    block->pFiles = sizeof(DROPFILES);
    block->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(block) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
}  // namespace

TEST(FormDrop, DroppedFilesGiveTheEventAndTheirPaths) {
    FormFixture f;
    f(L"DefineLabel", Args().str(L"drop here"));
    put(f.form.get(), L"AcceptDropFile", Args().i2(1));
    put(f.form.get(), L"DropFiles", Args().str(L"old"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    EXPECT_EQ(L"", as_wstring(get(f.form.get(), L"DropFiles").value));
    EXPECT_TRUE(::GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    ::PostMessageW(form, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({L"C:\\a.txt", L"C:\\b c.txt"})), 0);
    EXPECT_EQ(9000, f.wait(50));
    EXPECT_EQ(L"C:\\a.txt;C:\\b c.txt", as_wstring(get(f.form.get(), L"DropFiles").value));
    // A later drop replaces the list; a path longer than 260 comes whole.
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\e.txt";
    ::PostMessageW(form, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({deep})), 0);
    EXPECT_EQ(9000, f.wait(50));
    EXPECT_EQ(deep, as_wstring(get(f.form.get(), L"DropFiles").value));
    f(L"DestroyForm");

    // Executing: a drop ends the run with 9000.
    ModalDriver driver([&] {
        HWND w = the_form();
        if (!w) return false;
        ::PostMessageW(w, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({L"C:\\x.txt"})), 0);
        return true;
    });
    EXPECT_EQ(9000, f.i2(L"ExecuteForm"));
    EXPECT_EQ(L"C:\\x.txt", as_wstring(get(f.form.get(), L"DropFiles").value));
}

TEST(FormDrop, WindowNotAcceptingIgnoresDrops) {
    FormFixture f;
    f(L"DefineLabel", Args().str(L"no drops"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    EXPECT_FALSE(::GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    // Setting the flag now changes nothing for this window.
    put(f.form.get(), L"AcceptDropFile", Args().i2(1));
    HDROP drop = make_drop({L"C:\\a.txt"});
    ::SendMessageW(form, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    UniqueHdrop{drop}.reset();  // not taken: still the sender's
    EXPECT_EQ(INT_MIN, f.wait(0));
    EXPECT_EQ(L"", as_wstring(get(f.form.get(), L"DropFiles").value));
    f(L"DestroyForm");
}

TEST(FormWait, TimeoutsOfEveryKindReturn) {
    FormFixture f;
    f(L"DefineLabel", Args().str(L"x"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    for (int t : {0, -1, -100, INT_MIN}) EXPECT_EQ(INT_MIN, f.wait(t)) << t;
    for (double t : {-3e9, -1e300, std::nan("")}) {
        // A wait that goes on is ended by Esc (and the test fails).
        const HWND form = the_form();
        ModalDriver backstop([form] { return ::PostMessageW(form, WM_COMMAND, IDCANCEL, 0) != FALSE; }, 2000, 1);
        EXPECT_EQ(VT_NULL, f(L"WaitEvent", Args().r8(t)).value.vt()) << t;
    }
    auto r = f(L"WaitEvent");
    EXPECT_EQ(VT_NULL, r.value.vt());
    auto r2 = f(L"WaitEvent", Args().str(L"soon"));
    EXPECT_EQ(VT_NULL, r2.value.vt());
    auto r3 = f(L"WaitEvent", Args().null());
    EXPECT_EQ(VT_NULL, r3.value.vt());
    // A positive wait returns with the event as soon as it comes.
    ::PostMessageW(the_form(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(-1, f.wait(6000));
    f(L"DestroyForm");
}

// Timeouts beyond the 32-bit millisecond range are waited for like any other:
// the click that comes 300 ms later is the answer.
TEST(FormWait, LongTimeoutsWaitForTheEvent) {
    FormFixture f;
    ASSERT_EQ(0, f.i2(L"DefineButton", Args().str(L"OK").i2(50)));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    const auto kids = children_of(the_form());
    ASSERT_EQ(1u, kids.size());
    // Beyond the Long range: the longest wait.
    for (double t : {214748365.0, 250000000.0, double(INT_MAX), 3e9, 1e300}) {
        const HWND form = the_form();
        // Should the click be lost, Esc ends the wait (with -1) after 10 s.
        ModalDriver backstop([form] { return ::PostMessageW(form, WM_COMMAND, IDCANCEL, 0) != FALSE; }, 10000, 1);
        ModalDriver later(
            [&] {
                click(kids[0]);
                return true;
            },
            300, 1);
        const ULONGLONG start = ::GetTickCount64();
        auto r = t <= INT_MAX ? f(L"WaitEvent", Args().i4(static_cast<LONG>(t))) : f(L"WaitEvent", Args().r8(t));
        ASSERT_EQ(VT_I2, r.value.vt()) << t;
        EXPECT_EQ(50, r.value.get().iVal) << t;
        EXPECT_GE(::GetTickCount64() - start, 250u) << t;
    }
    f(L"DestroyForm");
}

TEST(FormLifetime, ReleasedWhileComposedLeavesNoWindow) {
    {
        FormFixture f;
        f(L"DefineEdit", Args().str(L"a"));
        ASSERT_EQ(1, f.i2(L"ComposeForm"));
        ASSERT_EQ(1u, form_windows().size());
    }
    EXPECT_TRUE(form_windows(false).empty());

    // Composed with an owner that goes first.
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr, nullptr, nullptr);
    ::SetForegroundWindow(owner);
    ::SetActiveWindow(owner);
    pump_messages(20);
    FormFixture f;
    f(L"DefineEdit", Args().str(L"a").str(L"v"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    EXPECT_EQ(owner, ::GetWindow(form, GW_OWNER));
    ::SetWindowTextW(children_of(form)[1], L"typed");
    UniqueHwnd{owner}.reset();
    EXPECT_FALSE(::IsWindow(form));
    EXPECT_EQ(L"typed", f.value(0));
    expect_error(f(L"DestroyForm"), kNotRunning, "after the owner went");
    EXPECT_EQ(1, f.i2(L"DefineLabel", Args().str(L"again")));
}

TEST(FormLifetime, ConversionsThatRunCodeAreCheckedAgain) {
    FormFixture f;
    // The conversion composes the form: the definition is refused.
    auto compose = code_object([&] { f(L"ComposeForm"); });
    auto r = f(L"DefineEdit", Args().str(L"a").missing().dispatch(compose.get()));
    EXPECT_EQ(1, compose->calls);
    expect_error(r, kDefiningOnly, "composed by a conversion");
    EXPECT_EQ(L"", f.value(0));
    f(L"DestroyForm");

    // The conversion fills every slot: the definition answers -1.
    auto fill = code_object([&] {
        for (int i = 0; i < 64; ++i) f(L"DefineLabel", Args().str(L"x"));
    });
    EXPECT_EQ(-1, f.i2(L"DefineButton", Args().str(L"a").dispatch(fill.get())));
    f(L"ClearAllControls");

    // The conversion takes the slot it was offered: the item moves up one,
    // and its default event value follows its index.
    auto take = code_object([&] { f(L"DefineLabel", Args().str(L"first")); });
    EXPECT_EQ(1, f.i2(L"DefineEditButton", Args().dispatch(take.get())));
    EXPECT_EQ(L"first", f.value(0));

    // The script drops its last reference during the conversion of WaitEvent.
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    auto drop = code_object([&] { f.form.reset(); });
    IDispatch* raw = f.form.get();  // the script's only reference, dropped inside the call
    auto r4 = call(raw, L"WaitEvent", Args().dispatch(drop.get()));
    EXPECT_EQ(S_OK, r4.hr);
    EXPECT_FALSE(f.form);
    EXPECT_TRUE(form_windows(false).empty());
}

TEST(FormScreenshot, ComposedFormShowsJapaneseTexts) {
    FormFixture f;
    put(f.form.get(), L"FormTitle", Args().str(L"\u767b\u9332\u30d5\u30a9\u30fc\u30e0"));
    f(L"DefineLabel", Args().str(L"\u5fc5\u8981\u4e8b\u9805\u3092\u5165\u529b\u3057\u3066\u304f\u3060\u3055\u3044"));
    f(L"DefineEdit", Args().str(L"\u6c0f\u540d").str(L"\u5c71\u7530 \u592a\u90ce"));
    f(L"DefineEdit", Args().str(L"\u5099\u8003").str(L"\u4e00\u884c\u76ee").i2(3));
    f(L"DefineButton", Args().str(L"OK;\u30ad\u30e3\u30f3\u30bb\u30eb"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    ASSERT_TRUE(form);
    EXPECT_FALSE(save_screenshot(form, L"form_text_items").empty());
    if (::GetACP() == 932) {
        EXPECT_EQ(L"\u767b\u9332\u30d5\u30a9\u30fc\u30e0", window_text(form));
        EXPECT_EQ(L"\u5c71\u7530 \u592a\u90ce", f.value(1));
    }
    f(L"DestroyForm");
}

TEST(FormExecute, CallsDuringARun) {
    FormFixture f;
    f(L"DefineEdit", Args().missing().str(L"v"));
    f(L"DefineButton", Args().str(L"OK"));
    HRESULT define = S_OK, clear = S_OK, compose = S_OK;
    int waited = 0;
    ModalDriver driver([&] {
        if (!the_form()) return false;
        CallResult d = f(L"DefineLabel", Args().str(L"late"));
        define = d.hr;
        EXPECT_EQ(1025, d.excep.wCode);
        clear = f(L"ClearAllControls").hr;
        compose = f(L"ComposeForm").hr;
        // Events of a modal run are not queued: a click of the check-less
        // form's push button ends the run instead.
        waited = f.wait(0);
        f.set_value(0, L"from the driver");
        click(children_of(the_form())[1]);
        return true;
    });
    EXPECT_EQ(1, f.i2(L"ExecuteForm"));
    EXPECT_EQ(DISP_E_EXCEPTION, define);
    EXPECT_EQ(DISP_E_EXCEPTION, clear);
    EXPECT_EQ(DISP_E_EXCEPTION, compose);
    EXPECT_EQ(INT_MIN, waited);
    EXPECT_EQ(L"from the driver", f.value(0));
    EXPECT_EQ(L"", f.value(2));

    // DestroyForm from inside the run ends it with -1.
    ModalDriver destroy([&] {
        if (!the_form()) return false;
        f(L"DestroyForm");
        return true;
    });
    EXPECT_EQ(-1, f.i2(L"ExecuteForm"));
    EXPECT_TRUE(form_windows(false).empty());
}

TEST(FormValues, TextsEndAtTheirFirstZero) {
    FormFixture f;
    f(L"DefineEdit", Args().str_len(L"cap\0tion", 8).str_len(L"ab\0cd", 5));
    f(L"DefineLabel", Args().str(L"x"));
    EXPECT_EQ(L"ab", f.value(0));
    EXPECT_EQ(S_OK, put(f.form.get(), L"Value", Args().i2(1).str_len(L"left\0right", 10)).hr);
    EXPECT_EQ(L"left", f.value(1));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    auto kids = children_of(the_form());
    EXPECT_EQ(L"cap", window_text(kids[0]));
    EXPECT_EQ(L"ab", window_text(kids[1]));
    f.set_value(0, L"");
    EXPECT_EQ(L"", f.value(0));
    f(L"DestroyForm");
}
