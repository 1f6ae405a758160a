// The Output window object. The object is its window: every property reads or
// writes the window (or its text box) when it is used, and the object keeps
// no copy of any of them. The window is made hidden and centred at
// construction from template IDD_OUTPUT_WINDOW, never closes on a key or a
// close request, and is destroyed at final release. Should the window be
// destroyed from outside all the same, the properties read as empty, false or
// 0 and their puts do nothing.
#include "outwin/output_window.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "frame/dialog_window.h"
#include "frame/dispatch.h"
#include "frame/guids.h"
#include "resources/resource_ids.h"

namespace torvane {
namespace {

// Text of a window in the ANSI code page, whatever its length.
std::string window_text_ansi(HWND hwnd) {
    std::string text;
    int length = ::GetWindowTextLengthA(hwnd);
    for (;;) {
        text.assign(static_cast<std::size_t>(length) + 1, '\0');
        const int got = ::GetWindowTextA(hwnd, text.data(), length + 1);
        if (got < length || length == 0) {
            text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
            return text;
        }
        // The text may have grown since its length was read.
        const int now = ::GetWindowTextLengthA(hwnd);
        if (now <= length) {
            text.resize(static_cast<std::size_t>(got));
            return text;
        }
        length = now;
    }
}

}  // namespace

class COutputWindowObj final : public DispatchObject, public DialogWindow {
public:
    COutputWindowObj() noexcept : DispatchObject(kClass) {}
    // The window goes first, while on_message still belongs to this class.
    ~COutputWindowObj() override { destroy_window(); }

    static const ClassInfo kClass;

private:
    struct Members;

    bool getVisible() { return hwnd() && ::IsWindowVisible(hwnd()); }
    void putVisible(bool on) {
        if (hwnd()) ::ShowWindow(hwnd(), on ? SW_SHOWNORMAL : SW_HIDE);
    }
    bool getEnable() { return hwnd() && ::IsWindowEnabled(hwnd()); }
    void putEnable(bool on) {
        if (hwnd()) ::EnableWindow(hwnd(), on ? TRUE : FALSE);
    }
    std::string getText() { return hwnd() ? window_text_ansi(text_box()) : std::string(); }
    void putText(const char* text) {
        if (hwnd()) ::SetWindowTextA(text_box(), text);
    }
    std::int16_t getPosX() { return static_cast<std::int16_t>(rect().left); }
    void putPosX(std::int16_t x) { move_to(x, rect().top); }
    std::int16_t getPosY() { return static_cast<std::int16_t>(rect().top); }
    void putPosY(std::int16_t y) { move_to(rect().left, y); }
    std::int16_t getWidth() {
        const RECT r = rect();
        return static_cast<std::int16_t>(r.right - r.left);
    }
    void putWidth(std::int16_t width) {
        const RECT r = rect();
        resize_to(width, r.bottom - r.top);
    }
    std::int16_t getHeight() {
        const RECT r = rect();
        return static_cast<std::int16_t>(r.bottom - r.top);
    }
    void putHeight(std::int16_t height) {
        const RECT r = rect();
        resize_to(r.right - r.left, height);
    }
    std::string getTitle() { return hwnd() ? window_text_ansi(hwnd()) : std::string(); }
    void putTitle(const char* title) {
        if (hwnd()) ::SetWindowTextA(hwnd(), title);
    }

    HWND text_box() const noexcept { return ::GetDlgItem(hwnd(), IDC_OUTPUT_TEXT); }
    RECT rect() const noexcept {
        RECT r{};
        if (hwnd()) ::GetWindowRect(hwnd(), &r);
        return r;
    }
    void move_to(int x, int y) noexcept {
        if (hwnd()) ::SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    void resize_to(int width, int height) noexcept {
        if (hwnd()) ::SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }

    void centre() noexcept;
    void fit_text_box() noexcept;
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
};

struct COutputWindowObj::Members {
    using Self = COutputWindowObj;
    // The position of a row is its dispatch id: never reorder.
    static constexpr DispEntry table[] = {
        /* 1 */ property<&Self::getVisible, &Self::putVisible>("Visible", T_BOOL),
        /* 2 */ property<&Self::getEnable,  &Self::putEnable> ("Enable",  T_BOOL),
        /* 3 */ property<&Self::getText,    &Self::putText>   ("Text",    T_BSTR),
        /* 4 */ property<&Self::getPosX,    &Self::putPosX>   ("PosX",    T_I2),
        /* 5 */ property<&Self::getPosY,    &Self::putPosY>   ("PosY",    T_I2),
        /* 6 */ property<&Self::getWidth,   &Self::putWidth>  ("Width",   T_I2),
        /* 7 */ property<&Self::getHeight,  &Self::putHeight> ("Height",  T_I2),
        /* 8 */ property<&Self::getTitle,   &Self::putTitle>  ("Title",   T_BSTR),
        /* 9 */ alias                                         ("Text"),
    };
};

namespace {
LONG g_live = 0;
}

const ClassInfo COutputWindowObj::kClass = {"COutputWindowObj", &IID_IOutputWindow, make_table(Members::table),
                                            &g_live};

// In the middle of the work area of the window's monitor.
void COutputWindowObj::centre() noexcept {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!::GetMonitorInfoW(::MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY), &mi)) return;
    const RECT r = rect();
    const RECT& area = mi.rcWork;
    const int x = area.left + ((area.right - area.left) - (r.right - r.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (r.bottom - r.top)) / 2;
    move_to(x, y);
}

void COutputWindowObj::fit_text_box() noexcept {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    ::SetWindowPos(text_box(), nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                   SWP_NOMOVE | SWP_NOZORDER);
}

bool COutputWindowObj::on_message(UINT msg, WPARAM wp, LPARAM, INT_PTR& result) {
    switch (msg) {
        case WM_INITDIALOG:
            // Output may grow far beyond the text box's default limit.
            ::SendMessageW(text_box(), EM_SETLIMITTEXT, 0, 0);
            centre();
            result = TRUE;  // focus to the text box
            return true;
        case WM_SIZE:
            fit_text_box();
            return false;  // the default handling runs as well
        case WM_COMMAND:
            // Enter, Escape and the text box's own close request would end a
            // dialog: this window stays.
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                result = TRUE;
                return true;
            }
            return false;
        case WM_CLOSE:
            // Alt+F4, or Escape in the multi-line text box.
            result = TRUE;
            return true;
        default:
            return false;
    }
}

ComPtr<IUnknown> create_output_window_object() {
    auto object = ComPtr<COutputWindowObj>::adopt(new COutputWindowObj());
    if (!object->create_modeless(IDD_OUTPUT_WINDOW, nullptr)) throw std::runtime_error("output window not created");
    return ComPtr<IUnknown>::adopt(static_cast<IDispatch*>(object.release()));
}

}  // namespace torvane
