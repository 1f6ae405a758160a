// About: a message box with the library's texts; returns 1 when closed.
#include <gtest/gtest.h>

#include "frame/module.h"
#include "resources/resource_ids.h"
#include "support/disp.h"
#include "support/windows.h"

using namespace torvane;
using namespace torvane::test;

TEST(About, ShowsTheAboutTextAndReturnsOne) {
    auto sd = new_script_dialog();
    std::wstring caption, text;
    ModalDriver driver([&] {
        for (HWND box : thread_windows(L"#32770", true)) {
            caption = window_text(box);
            // The message text is the box's static control 0xFFFF.
            text = window_text(::GetDlgItem(box, 0xFFFF));
            save_screenshot(box, L"about_box");
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return true;
        }
        return false;
    });
    auto r = call(sd.get(), L"About");
    ASSERT_EQ(S_OK, r.hr);
    ASSERT_EQ(VT_R8, r.value.vt());
    EXPECT_EQ(1.0, r.value.get().dblVal);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(module::load_string(IDS_ABOUT_CAPTION), caption);
    EXPECT_EQ(module::load_string(IDS_ABOUT_TEXT), text);
    EXPECT_NE(std::wstring::npos, text.find(L"TorvaneScriptDialog"));
}
