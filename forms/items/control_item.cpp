// What every control item shares: window creation steps, side labels, window
// text and enabled state, and the way to the form's events.
#include "forms/items/control_item.h"

#include "forms/form/form.h"

namespace torvane {

UniqueHwnd CControlItem::create_window(const char* window_class, const char* text, DWORD style, DWORD ex_style,
                                       const RECT& rect, int id, bool item_data) {
    const HWND parent = form_->form_window();
    if (!parent) return UniqueHwnd();
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    UniqueHwnd window(::CreateWindowExA(ex_style, window_class, text, (style | WS_CHILD) & ~WS_VISIBLE, rect.left,
                                        rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr));
    if (window && item_data) ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return window;
}

void CControlItem::finish_window(HWND hwnd) {
    if (!hwnd) return;
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(form_->font()), TRUE);
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
}

UniqueHwnd CControlItem::create_side_label(const std::string& text, int width, int row_height, int row) {
    const RECT rect{5, row * row_height, width / 4, (row + 1) * row_height - 1};
    UniqueHwnd label =
        create_window("STATIC", text.c_str(), WS_CHILD | SS_RIGHT | SS_CENTERIMAGE, 0, rect, 0xFFFF, false);
    if (label) ::SetWindowTextA(label.get(), text.c_str());
    finish_window(label.get());
    return label;
}

void CControlItem::post_event(int value, bool end_if_modal) { form_->post_event(value, end_if_modal); }

std::string window_text_ansi(HWND hwnd) {
    if (!hwnd) return {};
    const int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(got > 0 && got <= length ? static_cast<std::size_t>(got) : 0);
    return text;
}

void enable_window(HWND hwnd, BOOL enable) noexcept {
    if (hwnd) ::EnableWindow(hwnd, enable);
}

BOOL window_enabled(HWND hwnd) noexcept { return hwnd && ::IsWindowEnabled(hwnd) ? TRUE : FALSE; }

}  // namespace torvane
