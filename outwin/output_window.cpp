// The Output window object. The object is its window: every property reads or
// writes the window (or its text box) when it is used, and the object keeps
// no copy of any of them. The window is made hidden and centred at
// construction from template IDD_OUTPUT_WINDOW, never closes on a key or a
// close request, and is destroyed at final release. Should the window be
// destroyed from outside all the same, the properties read as empty, false or
// 0 and their puts do nothing.
//
// The view follows the output: when the text box showed the end of its text
// before a write (Text or AppendText), the write moves the caret to the new
// end and scrolls it into view; when the user had scrolled elsewhere, the
// write puts back the first visible line and the selection as they were.
#include "outwin/output_window.h"

#include <climits>
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

bool is_blank(wchar_t c) noexcept { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Words end at blanks, as in the classic edit control; long words break at
// the edge. The text box asks this of the few characters around a line end
// only, where Wine's own procedure analyses the whole text on every change
// (which made each append cost in proportion to the text already there).
int CALLBACK break_at_blanks(LPWSTR text, int at, int length, int code) {
    if (!text) return 0;
    if (at > length) at = length;
    if (at < 0) at = 0;
    switch (code) {
        case WB_ISDELIMITER: return at < length && is_blank(text[at]);
        case WB_LEFT:  // the start of the word before `at`
            while (at > 0 && is_blank(text[at - 1])) --at;
            while (at > 0 && !is_blank(text[at - 1])) --at;
            return at;
        default:  // WB_RIGHT: the start of the word after `at`
            while (at < length && !is_blank(text[at])) ++at;
            while (at < length && is_blank(text[at])) ++at;
            return at;
    }
}

// The text box's drawing held back while a write changes it: the box then
// paints once, when the thread next dispatches its messages, rather than
// scrolling and repainting a shown box at every step of the write (which
// cost a shown box many times what the change itself costs).
class DrawingDeferred {
public:
    explicit DrawingDeferred(HWND box) noexcept : box_(box) { ::SendMessageW(box_, WM_SETREDRAW, FALSE, 0); }
    DrawingDeferred(const DrawingDeferred&) = delete;
    DrawingDeferred& operator=(const DrawingDeferred&) = delete;
    ~DrawingDeferred() {
        ::SendMessageW(box_, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(box_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }

private:
    HWND box_;
};

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
        if (!hwnd()) return;
        const DrawingDeferred deferred(text_box());
        const View before = view();
        ::SetWindowTextA(text_box(), text);
        restore(before);
    }
    // Costs what the added text costs: the box's own text is never read.
    void appendText(const char* text) {
        if (!hwnd()) return;
        const DrawingDeferred deferred(text_box());
        const View before = view();
        select_end();
        ::SendMessageA(text_box(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
        restore(before);
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

    // What a write keeps of the text box's view.
    struct View {
        bool at_end;  // the last line was in view
        int first_line;
        DWORD selection_start, selection_end;
    };
    View view() const noexcept;
    void restore(const View& before) noexcept;
    void select_end() noexcept {
        // Positions beyond the text stand for its end.
        ::SendMessageW(text_box(), EM_SETSEL, INT_MAX, INT_MAX);
    }
    int visible_lines() const noexcept;

    void centre() noexcept;
    void measure_line_height() noexcept;
    void fit_text_box() noexcept;
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

    int line_height_ = 1;  // of the text box's font, in pixels
};

struct COutputWindowObj::Members {
    using Self = COutputWindowObj;
    // The position of a row is its dispatch id: never reorder.
    // clang-format off
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
        /*10 */ method<&Self::appendText>                     ("AppendText", P_STR, T_EMPTY),
    };
    // clang-format on
};

namespace {
LONG g_live = 0;
}

const ClassInfo COutputWindowObj::kClass = {"COutputWindowObj", &IID_IOutputWindow, make_table(Members::table),
                                            &g_live};

void COutputWindowObj::measure_line_height() noexcept {
    const HWND box = text_box();
    const WindowDc dc(box);
    if (!dc) return;
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(box, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font ? ::SelectObject(dc.get(), font) : nullptr;
    TEXTMETRICW tm{};
    if (::GetTextMetricsW(dc.get(), &tm) && tm.tmHeight > 0) line_height_ = tm.tmHeight;
    if (old) ::SelectObject(dc.get(), old);
}

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

COutputWindowObj::View COutputWindowObj::view() const noexcept {
    const HWND box = text_box();
    View v{};
    v.first_line = static_cast<int>(::SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
    const int lines = static_cast<int>(::SendMessageW(box, EM_GETLINECOUNT, 0, 0));
    v.at_end = v.first_line + visible_lines() >= lines;
    ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&v.selection_start),
                   reinterpret_cast<LPARAM>(&v.selection_end));
    return v;
}

void COutputWindowObj::restore(const View& before) noexcept {
    const HWND box = text_box();
    if (before.at_end) {
        select_end();
        ::SendMessageW(box, EM_SCROLLCARET, 0, 0);
        return;
    }
    // The box clamps a selection beyond a shorter new text.
    ::SendMessageW(box, EM_SETSEL, before.selection_start, before.selection_end);
    const int now = static_cast<int>(::SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
    if (now != before.first_line) ::SendMessageW(box, EM_LINESCROLL, 0, before.first_line - now);
}

// Whole lines that fit the text box's formatting rectangle, as the box
// counts them.
int COutputWindowObj::visible_lines() const noexcept {
    RECT r{};
    ::SendMessageW(text_box(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    const int lines = (r.bottom - r.top) / line_height_;
    return lines > 1 ? lines : 1;
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
            ::SendMessageW(text_box(), EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&break_at_blanks));
            measure_line_height();
            centre();
            result = TRUE;  // focus to the text box
            return true;
        case WM_SIZE: fit_text_box(); return false;  // the default handling runs as well
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
        default: return false;
    }
}

ComPtr<IUnknown> create_output_window_object() {
    auto object = ComPtr<COutputWindowObj>::adopt(new COutputWindowObj());
    if (!object->create_modeless(IDD_OUTPUT_WINDOW, nullptr)) throw std::runtime_error("output window not created");
    return ComPtr<IUnknown>::adopt(static_cast<IDispatch*>(object.release()));
}

}  // namespace torvane
