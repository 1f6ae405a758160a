// Button groups, choice lists, edit-button and file-edit items on real
// windows: layout, ids, values, events and the modified test.
#include "form_support.h"

#include <commdlg.h>

#include <climits>

using namespace torvane;
using namespace torvane::test;

TEST(FormButtons, SixteenButtonsAtMostInEqualCells) {
    FormFixture f;
    std::wstring twenty;
    for (int i = 0; i < 20; ++i) twenty += L"b" + std::to_wstring(i) + L";";
    ASSERT_EQ(0, f.i2(L"DefineButton", Args().str(twenty.c_str())));
    ASSERT_EQ(1, f.i2(L"DefineButton", Args().str(L"a;b;c;d;e").i2(-5)));
    f(L"DefineEdit");
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    const Rows rows = rows_of(form);
    auto kids = children_of(form);
    ASSERT_EQ(16u + 5u + 1u, kids.size());
    const int s16 = (rows.w - 10) / 16;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(32 + i, ::GetDlgCtrlID(kids[i])) << i;
        EXPECT_EQ(L"b" + std::to_wstring(i), window_text(kids[i]));
        RECT r = child_rect(form, kids[i]);
        EXPECT_EQ(5 + s16 * i, r.left) << i;
        EXPECT_EQ(s16 - 1, r.right - r.left) << i;
        EXPECT_EQ(0, r.top);
        EXPECT_EQ(rows.h - 1, r.bottom);
    }
    const int s5 = (rows.w - 10) / 5;
    RECT e = child_rect(form, kids[20]);
    EXPECT_EQ(5 + 4 * s5, e.left);
    EXPECT_EQ(rows.h, e.top);
    EXPECT_EQ(2 * rows.h, child_rect(form, kids[21]).top);
    // Push buttons: tab stops, no group style on later buttons.
    EXPECT_TRUE(::GetWindowLongW(kids[3], GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(::GetWindowLongW(kids[3], GWL_STYLE) & WS_GROUP);
    click(kids[19]);
    EXPECT_EQ(-5 + 3, f.wait(0));
    EXPECT_EQ(1, f.i2(L"Enable", Args().i2(1)));
    put(f.form.get(), L"Enable", Args().i2(1).i2(0));
    EXPECT_EQ(0, f.i2(L"Enable", Args().i2(1)));
    for (int i = 16; i < 21; ++i) EXPECT_FALSE(::IsWindowEnabled(kids[i]));
    EXPECT_FALSE(f.modified(1));
    f(L"DestroyForm");
}

TEST(FormButtons, ThirdButtonEndsAModalRunWithFirstValuePlusTwo) {
    FormFixture f;
    f(L"DefineCheckButton", Args().str(L"c"));
    ASSERT_EQ(1, f.i2(L"DefineButton", Args().str(L"x;y;z").i2(100)));
    ModalDriver driver([&] {
        HWND form = the_form();
        if (!form) return false;
        auto kids = children_of(form);
        click(kids[0]);  // a check box click ends nothing
        click(kids[3]);
        return true;
    });
    EXPECT_EQ(102, f.i2(L"ExecuteForm"));
    EXPECT_EQ(L"1", f.value(0));
    EXPECT_TRUE(f.modified(0));  // baseline "" from the definition... and "1" now
}

TEST(FormCheck, DigitsPerButtonAndTheBaseline) {
    FormFixture f;
    ASSERT_EQ(0, f.i2(L"DefineCheckButton", Args().str(L"a;b;c").str(L"01")));
    ASSERT_EQ(1, f.i2(L"DefineCheckButton", Args().str(L"x;y;z").missing().i2(1)));
    EXPECT_TRUE(f.modified(0));  // the baseline starts empty
    EXPECT_FALSE(f.modified(1));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    const Rows rows = rows_of(form);
    auto kids = children_of(form);
    ASSERT_EQ(6u, kids.size());
    EXPECT_FALSE(f.modified(0));  // composition reset it
    EXPECT_EQ(L"010", f.value(0));
    EXPECT_TRUE(f.modified(0));  // "010" against the "01" written
    // Horizontal: toggle buttons; vertical: check boxes one per row.
    EXPECT_EQ(BS_AUTOCHECKBOX | BS_PUSHLIKE, ::GetWindowLongW(kids[0], GWL_STYLE) & (0x0F | BS_PUSHLIKE));
    EXPECT_EQ(BS_AUTOCHECKBOX, ::GetWindowLongW(kids[3], GWL_STYLE) & (0x0F | BS_PUSHLIKE));
    for (int i = 0; i < 3; ++i) {
        RECT r = child_rect(form, kids[3 + i]);
        EXPECT_EQ((1 + i) * rows.h, r.top);
        EXPECT_EQ(5, r.left);
        EXPECT_EQ(rows.w - 5, r.right);
    }
    RECT client{};
    ::GetClientRect(form, &client);
    EXPECT_EQ(4 * rows.h + rows.h / 2, client.bottom);

    // Two digits written on three buttons: the third keeps its state.
    ::SendMessageW(kids[5], BM_SETCHECK, BST_CHECKED, 0);
    f.set_value(1, L"10");
    EXPECT_FALSE(f.modified(1));
    EXPECT_EQ(L"101", f.value(1));
    EXPECT_TRUE(f.modified(1));
    ::SendMessageW(kids[5], BM_SETCHECK, BST_UNCHECKED, 0);
    f.set_value(1, L"1x");
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(kids[4], BM_GETCHECK, 0, 0));
    EXPECT_EQ(L"100", f.value(1));

    // A click queues the control index and changes the box.
    click(kids[4]);
    EXPECT_EQ(1, f.wait(0));
    EXPECT_EQ(L"110", f.value(1));
    f(L"DestroyForm");
    EXPECT_EQ(L"110", f.value(1));
    f.set_value(1, L"0000000000000000000011");  // beyond the buttons: ignored
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    EXPECT_EQ(L"000", f.value(1));
    f(L"DestroyForm");
}

TEST(FormRadio, SelectedNumberAndVerticalRows) {
    FormFixture f;
    ASSERT_EQ(0, f.i2(L"DefineRadioButton", Args().str(L"a;b;c").i2(1).i2(1)));
    ASSERT_EQ(1, f.i2(L"DefineRadioButton", Args().str(L"x;y")));
    f(L"DefineLabel", Args().str(L"after"));
    EXPECT_FALSE(f.modified(0));
    EXPECT_FALSE(f.modified(1));
    EXPECT_EQ(L"1", f.value(0));
    EXPECT_EQ(L"-1", f.value(1));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    const Rows rows = rows_of(form);
    auto kids = children_of(form);
    ASSERT_EQ(6u, kids.size());
    EXPECT_EQ(4 * rows.h, child_rect(form, kids[5]).top);  // three rows, then one
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(kids[1], BM_GETCHECK, 0, 0));
    EXPECT_TRUE(::GetWindowLongW(kids[0], GWL_STYLE) & WS_GROUP);
    EXPECT_FALSE(::GetWindowLongW(kids[1], GWL_STYLE) & WS_GROUP);
    EXPECT_EQ(BS_AUTORADIOBUTTON | BS_PUSHLIKE, ::GetWindowLongW(kids[3], GWL_STYLE) & (0x0F | BS_PUSHLIKE));

    click(kids[2]);
    EXPECT_EQ(0, f.wait(0));
    EXPECT_FALSE(f.modified(0));
    EXPECT_EQ(L"2", f.value(0));
    EXPECT_TRUE(f.modified(0));
    f.set_value(0, L"");
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(kids[0], BM_GETCHECK, 0, 0));
    EXPECT_EQ(L"0", f.value(0));
    f.set_value(0, L"-1");
    EXPECT_EQ(L"-1", f.value(0));
    f.set_value(0, L"7");
    EXPECT_EQ(L"-1", f.value(0));  // outside the group: none checked
    EXPECT_TRUE(f.modified(0));
    click(kids[4]);
    EXPECT_EQ(1, f.wait(0));
    f(L"DestroyForm");
    EXPECT_EQ(L"1", f.value(1));
}

TEST(FormCombo, EditTextIsTheValueAndSelectionsRaiseNothing) {
    FormFixture f;
    ASSERT_EQ(0, f.i2(L"DefineComboBox", Args().str(L"Fruit").str(L"kiwi").str(L"apple;pear;plum")));
    ASSERT_EQ(1, f.i2(L"DefineComboBox", Args().missing().missing().missing()));
    ASSERT_EQ(2, f.i2(L"DefineDropdownList", Args().str(L"Size").missing().str(L"S;M;L")));
    f(L"DefineLabel", Args().str(L"below"));
    EXPECT_EQ(L"-1", f.value(2));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    const Rows rows = rows_of(form);
    auto kids = children_of(form);
    ASSERT_EQ(6u, kids.size());  // label, combo, combo, label, dropdown, label
    HWND combo = kids[1], bare = kids[2], drop = kids[4];
    EXPECT_EQ(L"ComboBox", class_of(combo));
    EXPECT_EQ(rows.w / 4 + 1, child_rect(form, combo).left);
    EXPECT_EQ(5, child_rect(form, bare).left);
    EXPECT_EQ(3 * rows.h, child_rect(form, kids[5]).top);
    EXPECT_EQ(3, ::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    wchar_t entry[16] = {};
    ::SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(L"pear", entry);  // definition order, unsorted
    EXPECT_EQ(L"kiwi", window_text(combo));
    EXPECT_EQ(L"kiwi", f.value(0));
    EXPECT_EQ(CBS_DROPDOWNLIST, ::GetWindowLongW(drop, GWL_STYLE) & 3);

    // A user's choice in a combo box or drop-down list raises no event.
    ::SendMessageW(combo, CB_SETCURSEL, 2, 0);
    ::SendMessageW(form, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    ::SendMessageW(drop, CB_SETCURSEL, 1, 0);
    ::SendMessageW(form, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(drop), CBN_SELCHANGE), reinterpret_cast<LPARAM>(drop));
    EXPECT_EQ(INT_MIN, f.wait(0));
    EXPECT_EQ(L"plum", f.value(0));
    EXPECT_TRUE(f.modified(0));
    EXPECT_EQ(L"1", f.value(2));
    EXPECT_TRUE(f.modified(2));
    f.set_value(2, L"2");
    EXPECT_EQ(2, ::SendMessageW(drop, CB_GETCURSEL, 0, 0));
    EXPECT_FALSE(f.modified(2));
    f.set_value(2, L"abc");
    EXPECT_EQ(0, ::SendMessageW(drop, CB_GETCURSEL, 0, 0));
    f.set_value(2, L"9");
    EXPECT_EQ(-1, ::SendMessageW(drop, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"-1", f.value(2));
    put(f.form.get(), L"Enable", Args().i2(1).i2(0));
    EXPECT_EQ(0, f.i2(L"Enable", Args().i2(1)));
    put(f.form.get(), L"Enable", Args().i2(0).i2(0));
    EXPECT_FALSE(::IsWindowEnabled(kids[0]));
    f.set_value(0, L"typed");
    f(L"DestroyForm");
    EXPECT_EQ(L"typed", f.value(0));
    EXPECT_EQ(L"-1", f.value(2));
}

TEST(FormListBox, SelectionsAsAscendingNumbers) {
    FormFixture f;
    ASSERT_EQ(0, f.i2(L"DefineListBox", Args().str(L"a;b;c;d;e").str(L"4").i2(3).i2(1)));
    ASSERT_EQ(1, f.i2(L"DefineListBox", Args().str(L"x;y;z").str(L"7;1").i2(0)));
    ASSERT_EQ(2, f.i2(L"DefineListBox"));
    f(L"DefineLabel", Args().str(L"below"));
    EXPECT_EQ(L"7;1", f.value(1));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    const Rows rows = rows_of(form);
    auto kids = children_of(form);
    ASSERT_EQ(4u, kids.size());
    HWND multi = kids[0], single = kids[1], empty = kids[2];
    EXPECT_EQ(3 * rows.h - 1, child_rect(form, multi).bottom);
    EXPECT_EQ(3 * rows.h, child_rect(form, single).top);
    EXPECT_EQ(4 * rows.h - 1, child_rect(form, single).bottom);
    EXPECT_EQ(5 * rows.h, child_rect(form, kids[3]).top);
    EXPECT_TRUE(::GetWindowLongW(multi, GWL_STYLE) & LBS_EXTENDEDSEL);
    EXPECT_FALSE(::GetWindowLongW(single, GWL_STYLE) & LBS_EXTENDEDSEL);
    // Normalised on composition, and not modified.
    EXPECT_EQ(L"1", f.value(1));
    EXPECT_FALSE(f.modified(1));
    EXPECT_EQ(L"-1", f.value(2));
    EXPECT_EQ(0, ::SendMessageW(empty, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(rows.h - 1, child_rect(form, empty).bottom - child_rect(form, empty).top);

    f.set_value(0, L"3;1");
    EXPECT_EQ(L"1;3;4", f.value(0));  // added to what was selected
    EXPECT_FALSE(f.modified(0));
    f.set_value(1, L"-1");
    EXPECT_EQ(L"1", f.value(1));  // a write never clears a selection
    f.set_value(1, L"9;2;0");
    EXPECT_EQ(L"2", f.value(1));  // the first valid number only

    // A user's click raises the control index; a modal run goes on.
    click(single);
    EXPECT_EQ(1, f.wait(0));
    const std::wstring clicked = f.value(1);
    EXPECT_NE(L"-1", clicked);
    f(L"DestroyForm");
    EXPECT_EQ(clicked, f.value(1));

    ModalDriver driver([&] {
        HWND w = the_form();
        if (!w) return false;
        auto k = children_of(w);
        click(k[1]);
        if (!::IsWindow(w)) return true;
        ::PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_EQ(-1, f.i2(L"ExecuteForm"));
}

TEST(FormEditButton, NarrowedEditAndAButtonThatKeepsItsState) {
    FormFixture f;
    ASSERT_EQ(0, f.i2(L"DefineEditButton", Args().str(L"Find").str(L"text").str(L"Go")));
    ASSERT_EQ(1, f.i2(L"DefineEditButton", Args().missing().missing().str(L"B").i2(500)));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    const Rows rows = rows_of(form);
    const int q = rows.w / 5;
    auto kids = children_of(form);
    ASSERT_EQ(5u, kids.size());  // label, edit, button, edit, button
    RECT label = child_rect(form, kids[0]), edit = child_rect(form, kids[1]), button = child_rect(form, kids[2]);
    EXPECT_EQ(5, label.left);
    EXPECT_EQ(rows.w / 4, label.right);
    EXPECT_EQ(rows.w / 4 + 1, edit.left);
    EXPECT_EQ(rows.w - 5 - q, edit.right);
    EXPECT_EQ(rows.w - q + 1, button.left);
    EXPECT_EQ(rows.w - 5, button.right);
    EXPECT_EQ(5, child_rect(form, kids[3]).left);
    EXPECT_EQ(32, ::GetDlgCtrlID(kids[1]));
    EXPECT_EQ(33, ::GetDlgCtrlID(kids[2]));
    EXPECT_EQ(34, ::GetDlgCtrlID(kids[3]));
    EXPECT_EQ(35, ::GetDlgCtrlID(kids[4]));
    EXPECT_EQ(L"Go", window_text(kids[2]));

    put(f.form.get(), L"Enable", Args().i2(0).i2(0));
    EXPECT_FALSE(::IsWindowEnabled(kids[0]));
    EXPECT_FALSE(::IsWindowEnabled(kids[1]));
    EXPECT_TRUE(::IsWindowEnabled(kids[2]));
    click(kids[2]);
    EXPECT_EQ(0, f.wait(0));  // the default event value is the index
    click(kids[4]);
    EXPECT_EQ(500, f.wait(0));
    f(L"DestroyForm");
    ModalDriver driver([&] {
        HWND w = the_form();
        if (!w) return false;
        click(children_of(w)[4]);
        return true;
    });
    EXPECT_EQ(500, f.i2(L"ExecuteForm"));
    EXPECT_EQ(L"text", f.value(0));
}

namespace {
// The file dialog of this thread, once it is up.
HWND file_dialog(HWND form) {
    for (HWND h : thread_windows(L"#32770", true))
        if (h != form && !::GetDlgItem(h, 2002)) return h;
    return nullptr;
}
}  // namespace

TEST(FormFileEdit, ChosenPathBecomesTheValueAndCancelChangesNothing) {
    FormFixture f;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring chosen = std::wstring(temp) + L"form_file_edit.txt";
    ASSERT_EQ(0, f.i2(L"DefineFileEdit", Args().str(L"File").str(chosen.c_str()).missing().i2(1).str(L"Text|*.txt|")));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    auto kids = children_of(form);
    ASSERT_EQ(3u, kids.size());
    EXPECT_EQ(L"&Open", window_text(kids[2]));
    ::SetWindowTextW(kids[1], L"typed but not read");

    // The dialog offers the stored value; confirming it writes the path.
    std::wstring offered, title;
    ModalDriver ok([&] {
        HWND dlg = file_dialog(form);
        if (!dlg) return false;
        HWND name = ::GetDlgItem(dlg, 0x47c);  // the file name combo of the dialog
        if (!name) name = ::GetDlgItem(dlg, 0x480);
        offered = window_text(name);
        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        return true;
    });
    click(kids[2]);
    pump_messages(50);
    EXPECT_TRUE(ok.done());
    EXPECT_EQ(L"form_file_edit.txt", offered);  // the dialog shows the folder apart
    EXPECT_EQ(INT_MIN, f.wait(0));              // the file dialog raises no event
    EXPECT_EQ(chosen, window_text(kids[1]));
    EXPECT_FALSE(f.modified(0));
    EXPECT_EQ(chosen, f.value(0));

    ModalDriver cancel([&] {
        HWND dlg = file_dialog(form);
        if (!dlg) return false;
        ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    ::SetWindowTextW(kids[1], L"kept");
    click(kids[2]);
    pump_messages(50);
    EXPECT_TRUE(cancel.done());
    EXPECT_EQ(L"kept", window_text(kids[1]));
    EXPECT_EQ(L"kept", f.value(0));
    EXPECT_TRUE(f.modified(0));
    f(L"DestroyForm");
}

TEST(FormScreenshot, EveryItemKind) {
    FormFixture f;
    put(f.form.get(), L"FormTitle", Args().str(L"\u3059\u3079\u3066\u306e\u9805\u76ee"));
    f(L"DefineLabel", Args().str(L"\u3059\u3079\u3066\u306e\u7a2e\u985e\u306e\u9805\u76ee"));
    f(L"DefineEdit", Args().str(L"\u540d\u524d").str(L"\u5c71\u7530"));
    f(L"DefineEdit", Args().str(L"\u30e1\u30e2").str(L"1\u884c\u76ee").i2(2));
    f(L"DefineEditButton", Args().str(L"\u691c\u7d22").str(L"abc").str(L"\u691c\u7d22"));
    f(L"DefineFileEdit", Args().str(L"\u30d5\u30a1\u30a4\u30eb").str(L"C:\\a.txt").str(L"\u53c2\u7167..."));
    f(L"DefineCheckButton", Args().str(L"\u592a\u5b57;\u659c\u4f53;\u4e0b\u7dda").str(L"101").i2(1));
    f(L"DefineCheckButton", Args().str(L"A;B;C").str(L"010"));
    f(L"DefineRadioButton", Args().str(L"\u5c0f;\u4e2d;\u5927").i2(1));
    f(L"DefineComboBox",
      Args().str(L"\u679c\u7269").str(L"\u30ad\u30a6\u30a4").str(L"\u308a\u3093\u3054;\u307f\u304b\u3093"));
    f(L"DefineDropdownList", Args().str(L"\u30b5\u30a4\u30ba").i2(0).str(L"S;M;L"));
    f(L"DefineListBox", Args().str(L"\u8d64;\u7dd1;\u9752;\u767d").str(L"1;3").i2(3).i2(1));
    f(L"DefineButton", Args().str(L"OK;\u30ad\u30e3\u30f3\u30bb\u30eb"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    ASSERT_TRUE(form);
    EXPECT_FALSE(save_screenshot(form, L"form_every_item").empty());
    EXPECT_EQ(L"101", f.value(5));
    EXPECT_EQ(L"1;3", f.value(10));
    f(L"DestroyForm");
}

TEST(FormFileEdit, SaveDialogAddsTheFilterExtension) {
    FormFixture f;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp;
    ASSERT_EQ(0, f.i2(L"DefineFileEdit",
                      Args().missing().str((folder + L"old.txt").c_str()).str(L"Save as").i2(1).str(L"Text|*.txt|")));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    auto kids = children_of(form);
    ASSERT_EQ(2u, kids.size());  // no label: edit and button
    put(f.form.get(), L"Enable", Args().i2(0).i2(0));
    EXPECT_TRUE(::IsWindowEnabled(kids[1]));
    ModalDriver save([&] {
        HWND dlg = file_dialog(form);
        if (!dlg) return false;
        HWND name = ::GetDlgItem(dlg, 0x47c);
        if (!name) name = ::GetDlgItem(dlg, 0x480);
        ::SetWindowTextW(name, L"newname");
        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        return true;
    });
    click(kids[1]);
    pump_messages(50);
    EXPECT_TRUE(save.done());
    // Written into the disabled box as well.
    EXPECT_EQ(folder + L"newname.txt", window_text(kids[0]));
    EXPECT_EQ(folder + L"newname.txt", f.value(0));
    EXPECT_FALSE(f.modified(0));
    f(L"DestroyForm");
}

TEST(FormButtons, OnlyIdsUpTo132RaiseEvents) {
    FormFixture f;
    const wchar_t sixteen[] = L"0;1;2;3;4;5;6;7;8;9;a;b;c;d;e;f";
    for (int g = 0; g < 7; ++g) ASSERT_EQ(g, f.i2(L"DefineButton", Args().str(sixteen).i2(static_cast<SHORT>(g * 16))));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    HWND last_routed = ::GetDlgItem(form, 132), first_unrouted = ::GetDlgItem(form, 133);
    ASSERT_TRUE(last_routed);
    ASSERT_TRUE(first_unrouted);
    ASSERT_TRUE(::GetDlgItem(form, 32 + 7 * 16 - 1));
    click(first_unrouted);
    click(::GetDlgItem(form, 32 + 7 * 16 - 1));
    EXPECT_EQ(INT_MIN, f.wait(0));
    click(last_routed);
    EXPECT_EQ(100, f.wait(0));  // group 6 starts at id 128 with value 96
    f(L"DestroyForm");
}
