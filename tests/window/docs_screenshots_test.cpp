// The pictures of the documentation: one composed form per item kind, as the
// reference's examples define them, and the typical form of the getting-
// started guide. Each test reads back what the window shows (control classes
// and texts, checks and selections) before it saves the picture under the
// name the docs use.
#include "form_support.h"

#include <string>
#include <vector>

using namespace torvane;
using namespace torvane::test;

namespace {

// "class:text" for each control of the form, in creation order.
std::vector<std::wstring> shown(HWND form) {
    std::vector<std::wstring> out;
    for (HWND c : children_of(form)) out.push_back(class_of(c) + L":" + window_text(c));
    return out;
}

LRESULT check_of(HWND button) { return ::SendMessageW(button, BM_GETCHECK, 0, 0); }

// Composes the form, runs `check` on its window, saves the picture and
// closes the form again.
template <typename Check> void compose_and_save(FormFixture& f, const wchar_t* picture, Check check) {
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    ASSERT_TRUE(form);
    pump_messages(50);
    check(form);
    EXPECT_FALSE(save_screenshot(form, picture).empty());
    f(L"DestroyForm");
}

bool japanese() { return ::GetACP() == 932; }

}  // namespace

// The search form of the getting-started guide.
TEST(DocsPicture, TypicalForm) {
    FormFixture f;
    const wchar_t* title = L"\u691c\u7d22";                                                  // 検索
    const wchar_t* caption = L"\u691c\u7d22\u3059\u308b\u6587\u5b57";                        // 検索する文字
    const wchar_t* check = L"\u5927\u6587\u5b57\u3068\u5c0f\u6587\u5b57\u3092\u533a\u5225";  // 大文字と小文字を区別
    const wchar_t* cancel = L"\u30ad\u30e3\u30f3\u30bb\u30eb";                               // キャンセル
    put(f.form.get(), L"FormTitle", Args().str(title));
    ASSERT_EQ(0, f.i2(L"DefineEdit", Args().str(caption).str(L"")));
    ASSERT_EQ(1, f.i2(L"DefineCheckButton", Args().str(check).str(L"0").boolean(true)));
    ASSERT_EQ(2, f.i2(L"DefineButton", Args().str((std::wstring(L"OK;") + cancel).c_str()).i2(1)));
    compose_and_save(f, L"form_typical", [&](HWND form) {
        auto kids = children_of(form);
        ASSERT_EQ(5u, kids.size());
        EXPECT_EQ(L"Static", class_of(kids[0]));
        EXPECT_EQ(L"Edit", class_of(kids[1]));
        EXPECT_EQ(L"Button", class_of(kids[2]));
        EXPECT_EQ(BST_UNCHECKED, check_of(kids[2]));
        EXPECT_EQ(L"OK", window_text(kids[3]));
        if (japanese()) {
            EXPECT_EQ(title, window_text(form));
            EXPECT_EQ(caption, window_text(kids[0]));
            EXPECT_EQ(check, window_text(kids[2]));
            EXPECT_EQ(cancel, window_text(kids[4]));
        }
    });
}

TEST(DocsPicture, Label) {
    FormFixture f;
    f(L"DefineLabel", Args().str(L"Step 1 of 3"));
    f(L"DefineLabel", Args().str(L"Copying files..."));
    compose_and_save(f, L"form_label", [&](HWND form) {
        EXPECT_EQ((std::vector<std::wstring>{L"Static:Step 1 of 3", L"Static:Copying files..."}), shown(form));
    });
}

TEST(DocsPicture, EditSingleAndMultiLine) {
    FormFixture f;
    f(L"DefineEdit", Args().str(L"Name").str(L"Taro"));
    f(L"DefineEdit", Args().str(L"Notes").str(L"first line\r\nsecond line").i2(3));
    compose_and_save(f, L"form_edit", [&](HWND form) {
        auto kids = children_of(form);
        EXPECT_EQ((std::vector<std::wstring>{L"Static:Name", L"Edit:Taro", L"Static:Notes",
                                             L"Edit:first line\r\nsecond line"}),
                  shown(form));
        ASSERT_EQ(4u, kids.size());
        EXPECT_FALSE(::GetWindowLongW(kids[1], GWL_STYLE) & ES_MULTILINE);
        EXPECT_TRUE(::GetWindowLongW(kids[3], GWL_STYLE) & ES_MULTILINE);
        EXPECT_EQ(3 * rows_of(form).h, child_rect(form, kids[3]).bottom - child_rect(form, kids[3]).top + 1);
    });
}

TEST(DocsPicture, EditButton) {
    FormFixture f;
    f(L"DefineEditButton", Args().str(L"Code").str(L"A-100").str(L"Check").i2(50));
    compose_and_save(f, L"form_editbutton", [&](HWND form) {
        EXPECT_EQ((std::vector<std::wstring>{L"Static:Code", L"Edit:A-100", L"Button:Check"}), shown(form));
    });
}

TEST(DocsPicture, FileEdit) {
    FormFixture f;
    f(L"DefineFileEdit", Args().str(L"Input").str(L"C:\\data\\in.csv").str(L"...").i2(0).str(L"CSV|*.csv|"));
    f(L"DefineFileEdit", Args().str(L"Output").str(L"C:\\data\\out.csv"));
    compose_and_save(f, L"form_fileedit", [&](HWND form) {
        EXPECT_EQ((std::vector<std::wstring>{L"Static:Input", L"Edit:C:\\data\\in.csv", L"Button:...", L"Static:Output",
                                             L"Edit:C:\\data\\out.csv", L"Button:&Open"}),
                  shown(form));
    });
}

TEST(DocsPicture, ButtonGroups) {
    FormFixture f;
    f(L"DefineEdit", Args().str(L"Name"));
    f(L"DefineButton", Args().str(L"OK;Cancel").i2(100));
    f(L"DefineButton", Args().str(L"1;2;3;4;5;6"));
    compose_and_save(f, L"form_button", [&](HWND form) {
        EXPECT_EQ((std::vector<std::wstring>{L"Static:Name", L"Edit:", L"Button:OK", L"Button:Cancel", L"Button:1",
                                             L"Button:2", L"Button:3", L"Button:4", L"Button:5", L"Button:6"}),
                  shown(form));
    });
}

TEST(DocsPicture, CheckButtonsVerticalAndSideBySide) {
    FormFixture f;
    f(L"DefineCheckButton", Args().str(L"Bold;Italic;Underline").str(L"010").boolean(true));
    f(L"DefineCheckButton", Args().str(L"Left;Centre;Right").str(L"100"));
    compose_and_save(f, L"form_checkbutton", [&](HWND form) {
        EXPECT_EQ((std::vector<std::wstring>{L"Button:Bold", L"Button:Italic", L"Button:Underline", L"Button:Left",
                                             L"Button:Centre", L"Button:Right"}),
                  shown(form));
        auto kids = children_of(form);
        ASSERT_EQ(6u, kids.size());
        const LRESULT expected[6] = {BST_UNCHECKED, BST_CHECKED,   BST_UNCHECKED,
                                     BST_CHECKED,   BST_UNCHECKED, BST_UNCHECKED};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[i], check_of(kids[i])) << i;
        EXPECT_FALSE(::GetWindowLongW(kids[0], GWL_STYLE) & BS_PUSHLIKE);
        EXPECT_TRUE(::GetWindowLongW(kids[3], GWL_STYLE) & BS_PUSHLIKE);
    });
}

TEST(DocsPicture, RadioButtonsVerticalAndSideBySide) {
    FormFixture f;
    f(L"DefineRadioButton", Args().str(L"Small;Medium;Large").i2(1).boolean(true));
    f(L"DefineRadioButton", Args().str(L"mm;cm;m").i2(0));
    compose_and_save(f, L"form_radiobutton", [&](HWND form) {
        EXPECT_EQ((std::vector<std::wstring>{L"Button:Small", L"Button:Medium", L"Button:Large", L"Button:mm",
                                             L"Button:cm", L"Button:m"}),
                  shown(form));
        auto kids = children_of(form);
        ASSERT_EQ(6u, kids.size());
        EXPECT_EQ(BST_CHECKED, check_of(kids[1]));
        EXPECT_EQ(BST_CHECKED, check_of(kids[3]));
        EXPECT_EQ(BST_UNCHECKED, check_of(kids[0]));
        EXPECT_EQ(L"1", f.value(0));
        EXPECT_EQ(L"0", f.value(1));
    });
}

// Shown with its list open: the list lies partly below the form, so the
// picture takes both windows.
TEST(DocsPicture, ComboBoxWithItsListOpen) {
    FormFixture f;
    f(L"DefineComboBox", Args().str(L"Colour").str(L"green").str(L"red;blue"));
    ASSERT_EQ(1, f.i2(L"ComposeForm"));
    HWND form = the_form();
    ASSERT_TRUE(form);
    EXPECT_EQ((std::vector<std::wstring>{L"Static:Colour", L"ComboBox:green"}), shown(form));
    HWND combo = children_of(form)[1];
    EXPECT_EQ(2, ::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    pump_messages(50);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
    EXPECT_TRUE(::IsWindowVisible(info.hwndList));
    EXPECT_EQ(2, ::SendMessageW(info.hwndList, LB_GETCOUNT, 0, 0));
    EXPECT_FALSE(save_screenshot(form, {info.hwndList}, L"form_combobox").empty());
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(L"green", f.value(0));  // opening the list changes nothing
    f(L"DestroyForm");
}

// "&" marks the next character as the keyboard shortcut ("&&" shows one
// "&"), and texts longer than their control are cut where it ends: a side
// caption keeps the left quarter of the row, a label the whole row.
TEST(DocsPicture, AmpersandsAndLongTexts) {
    FormFixture f;
    f(L"DefineLabel", Args().str(L"Tom & Jerry"));
    f(L"DefineLabel", Args().str(L"Tom && Jerry"));
    f(L"DefineEdit", Args().str(L"&Name").str(L"Taro"));
    const wchar_t* six = L"\u304a\u540d\u524d\u30ab\u30ca\u53ef";                 // お名前カナ可: six characters
    const wchar_t* longer = L"\u304a\u540d\u524d\u3068\u30d5\u30ea\u30ac\u30ca";  // お名前とフリガナ: eight
    f(L"DefineEdit", Args().str(six));
    f(L"DefineEdit", Args().str(longer));
    f(L"DefineLabel", Args().str(L"A label as long as this one runs on past the right edge of the form"));
    f(L"DefineButton", Args().str(L"OK;&Cancel"));
    compose_and_save(f, L"form_captions", [&](HWND form) {
        auto kids = children_of(form);
        ASSERT_EQ(11u, kids.size());
        // The controls keep the texts as given; only their drawing differs.
        EXPECT_EQ(L"Tom & Jerry", window_text(kids[0]));
        EXPECT_EQ(L"Tom && Jerry", window_text(kids[1]));
        EXPECT_EQ(L"&Cancel", window_text(kids[10]));
        const Rows rows = rows_of(form);
        const RECT caption = child_rect(form, kids[2]), label = child_rect(form, kids[8]);
        EXPECT_EQ(5, caption.left);
        EXPECT_EQ(rows.w / 4, caption.right);
        EXPECT_EQ(5, label.left);
        EXPECT_EQ(rows.w - 5, label.right);
        EXPECT_FALSE(::GetWindowLongW(kids[0], GWL_STYLE) & SS_NOPREFIX);
        EXPECT_TRUE(::GetWindowLongW(kids[2], GWL_STYLE) & SS_RIGHT);
        if (japanese()) {
            EXPECT_EQ(six, window_text(kids[4]));
            EXPECT_EQ(longer, window_text(kids[6]));
        }
    });
}

TEST(DocsPicture, DropdownList) {
    FormFixture f;
    f(L"DefineDropdownList", Args().str(L"Size").i2(2).str(L"S;M;L"));
    f(L"DefineDropdownList", Args().str(L"Unit").missing().str(L"mm;cm"));
    compose_and_save(f, L"form_dropdownlist", [&](HWND form) {
        EXPECT_EQ((std::vector<std::wstring>{L"Static:Size", L"ComboBox:L", L"Static:Unit", L"ComboBox:"}),
                  shown(form));
        auto kids = children_of(form);
        ASSERT_EQ(4u, kids.size());
        EXPECT_EQ(2, ::SendMessageW(kids[1], CB_GETCURSEL, 0, 0));
        EXPECT_EQ(CB_ERR, ::SendMessageW(kids[3], CB_GETCURSEL, 0, 0));
    });
}

TEST(DocsPicture, ListBox) {
    FormFixture f;
    f(L"DefineListBox", Args().str(L"Tokyo;Osaka;Nagoya;Sapporo").str(L"0;2").i2(4).boolean(true));
    compose_and_save(f, L"form_listbox", [&](HWND form) {
        auto kids = children_of(form);
        ASSERT_EQ(1u, kids.size());
        EXPECT_EQ(L"ListBox", class_of(kids[0]));
        EXPECT_EQ(4, ::SendMessageW(kids[0], LB_GETCOUNT, 0, 0));
        EXPECT_EQ(2, ::SendMessageW(kids[0], LB_GETSELCOUNT, 0, 0));
        EXPECT_GT(::SendMessageW(kids[0], LB_GETSEL, 2, 0), 0);
        EXPECT_EQ(L"0;2", f.value(0));
    });
}
