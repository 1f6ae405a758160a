#pragma once
// Helpers of the form window tests: a Form object made through the
// ScriptDialog object, its members by name, and its window.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/disp.h"
#include "support/windows.h"

namespace torvane::test {

struct FormFixture {
    ComPtr<IDispatch> sd;
    ComPtr<IDispatch> form;

    FormFixture() {
        sd = new_script_dialog();
        auto r = call(sd.get(), L"CreateForm");
        EXPECT_EQ(S_OK, r.hr);
        form = as_dispatch(r.value);
        EXPECT_TRUE(form);
    }
    ~FormFixture() {
        form.reset();
        pump_messages();
    }

    CallResult operator()(const wchar_t* name, const Args& args = Args()) { return call(form.get(), name, args); }
    // A member answering a 16-bit integer.
    int i2(const wchar_t* name, const Args& args = Args()) {
        auto r = call(form.get(), name, args);
        EXPECT_EQ(S_OK, r.hr) << "calling " << std::string(name, name + wcslen(name));
        if (r.value.vt() != VT_I2) return -99999;
        return r.value.get().iVal;
    }
    std::wstring value(int index) {
        auto r = get(form.get(), L"Value", Args().i2(static_cast<SHORT>(index)));
        EXPECT_EQ(S_OK, r.hr);
        return as_wstring(r.value);
    }
    void set_value(int index, const wchar_t* text) {
        EXPECT_EQ(S_OK, put(form.get(), L"Value", Args().i2(static_cast<SHORT>(index)).str(text)).hr);
    }
    bool modified(int index) {
        auto r = get(form.get(), L"IsModify", Args().i2(static_cast<SHORT>(index)));
        EXPECT_EQ(S_OK, r.hr);
        EXPECT_EQ(VT_BOOL, r.value.vt());
        return r.value.vt() == VT_BOOL && r.value.get().boolVal != VARIANT_FALSE;
    }
    // WaitEvent's answer: the event, or INT_MIN for Null.
    int wait(int hundredths) {
        auto r = call(form.get(), L"WaitEvent", Args().i4(hundredths));
        EXPECT_EQ(S_OK, r.hr);
        if (r.value.vt() == VT_NULL) return INT_MIN;
        EXPECT_EQ(VT_I2, r.value.vt());
        return r.value.vt() == VT_I2 ? r.value.get().iVal : INT_MIN + 1;
    }
};

// The visible form windows of this thread (dialogs holding the row gauge).
inline std::vector<HWND> form_windows(bool visible_only = true) {
    std::vector<HWND> found;
    for (HWND h : thread_windows(L"#32770", visible_only))
        if (::GetDlgItem(h, 2002)) found.push_back(h);
    return found;
}
inline HWND the_form() {
    auto found = form_windows();
    return found.size() == 1 ? found[0] : nullptr;
}

// Row width and height of a form window, from its row gauge.
struct Rows {
    int w = 0, h = 0;
};
inline Rows rows_of(HWND form) {
    RECT r{};
    ::GetWindowRect(::GetDlgItem(form, 2002), &r);
    return Rows{r.right - r.left, r.bottom - r.top};
}

// A child's rectangle in the form's client coordinates.
inline RECT child_rect(HWND form, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::wstring class_of(HWND h) {
    wchar_t name[64] = {};
    ::GetClassNameW(h, name, 64);
    return name;
}

// The form's child windows in z-order (creation order), the gauge left out.
inline std::vector<HWND> children_of(HWND form) {
    std::vector<HWND> out;
    for (HWND c = ::GetWindow(form, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (::GetDlgCtrlID(c) != 2002) out.push_back(c);
    return out;
}

// Brings a form to the front with the keyboard focus on `control`.
inline void focus(HWND form, HWND control) {
    ::SetForegroundWindow(form);
    ::SetActiveWindow(form);
    ::SetFocus(control);
    pump_messages(20);
}

}  // namespace torvane::test
