#include "support/windows.h"

#include <cstdlib>
#include <fstream>
#include <map>

#include "frame/raii.h"

namespace torvane::test {

void pump_messages(DWORD ms) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ms) ::Sleep(5);
    } while (::GetTickCount64() < end);
}

namespace {
struct WindowQuery {
    const wchar_t* class_name;
    bool visible_only;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_window(HWND hwnd, LPARAM lp) {
    auto* q = reinterpret_cast<WindowQuery*>(lp);
    if (q->visible_only && !::IsWindowVisible(hwnd)) return TRUE;
    if (q->class_name) {
        wchar_t cls[256] = {};
        ::GetClassNameW(hwnd, cls, 256);
        if (::lstrcmpiW(cls, q->class_name) != 0) return TRUE;
    }
    q->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> thread_windows(const wchar_t* class_name, bool visible_only) {
    WindowQuery q{class_name, visible_only, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &collect_window, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

std::wstring window_text(HWND hwnd) {
    const int n = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

namespace {
std::map<UINT_PTR, ModalDriver*>& drivers() {
    static std::map<UINT_PTR, ModalDriver*> map;
    return map;
}
}  // namespace

ModalDriver::ModalDriver(std::function<bool()> action, UINT period, int attempts)
    : action_(std::move(action)), attempts_(attempts) {
    timer_ = ::SetTimer(nullptr, 0, period, &ModalDriver::on_timer);
    drivers()[timer_] = this;
}

ModalDriver::~ModalDriver() {
    if (timer_) {
        ::KillTimer(nullptr, timer_);
        drivers().erase(timer_);
    }
}

void CALLBACK ModalDriver::on_timer(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = drivers().find(id);
    if (it == drivers().end()) return;
    ModalDriver* d = it->second;
    if (d->busy_) return;
    if (d->done_ || --d->attempts_ < 0) {
        ::KillTimer(nullptr, id);
        drivers().erase(it);
        d->timer_ = 0;
        return;
    }
    d->busy_ = true;
    const bool finished = d->action_();
    d->busy_ = false;
    if (finished && drivers().count(id)) {
        d->done_ = true;
        ::KillTimer(nullptr, id);
        drivers().erase(id);
        d->timer_ = 0;
    }
}

void click(HWND control) {
    RECT r;
    ::GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(control, WM_LBUTTONUP, 0, at);
    pump_messages();
}

void queue_key(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

void queue_text(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t ch : text) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = ch;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(in);
        in.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    if (!inputs.empty()) ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void type_text(const std::wstring& text) {
    queue_text(text);
    pump_messages(50);
}

void press_key(WORD vk) {
    queue_key(vk);
    pump_messages(50);
}

std::wstring save_screenshot(HWND hwnd, const std::wstring& name) { return save_screenshot(hwnd, {}, name); }

std::wstring save_screenshot(HWND hwnd, std::initializer_list<HWND> also, const std::wstring& name) {
    RECT r{};
    if (hwnd)
        ::GetWindowRect(hwnd, &r);
    else
        r = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (HWND other : also) {
        RECT o{};
        if (other && ::GetWindowRect(other, &o)) ::UnionRect(&r, &r, &o);
    }
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return std::wstring();
    if (hwnd) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    for (HWND other : also) {
        if (other)
            ::RedrawWindow(other, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    pump_messages(100);  // let the window paint

    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, w, h));
    HGDIOBJ old = ::SelectObject(mem, bitmap.get());
    ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    // The other windows from their own drawing, on top: under Wine without a
    // window manager the screen may show them below the main window.
    for (HWND other : also) {
        RECT o{};
        if (!other || !::GetWindowRect(other, &o)) continue;
        HDC own = ::GetWindowDC(other);
        ::BitBlt(mem, o.left - r.left, o.top - r.top, o.right - o.left, o.bottom - o.top, own, 0, 0, SRCCOPY);
        ::ReleaseDC(other, own);
    }
    ::SelectObject(mem, old);

    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof bih;
    bih.biWidth = w;
    bih.biHeight = h;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    std::vector<char> pixels(stride * static_cast<DWORD>(h));
    ::GetDIBits(mem, static_cast<HBITMAP>(bitmap.get()), 0, static_cast<UINT>(h), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);

    wchar_t dir[MAX_PATH] = L".";
    if (!::GetEnvironmentVariableW(L"TORVANE_ARTIFACTS", dir, MAX_PATH)) ::lstrcpyW(dir, L".");
    // The variable holds a Unix path; Wine maps it through drive Z:.
    std::wstring folder = dir;
    if (!folder.empty() && folder[0] == L'/') {
        folder = L"Z:" + folder;
        for (auto& c : folder)
            if (c == L'/') c = L'\\';
    }
    const std::wstring path = folder + L"\\" + name + L".bmp";

    BITMAPFILEHEADER bfh{};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof bfh + sizeof bih;
    bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(pixels.size());
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return std::wstring();
    DWORD written = 0;
    ::WriteFile(file.get(), &bfh, sizeof bfh, &written, nullptr);
    ::WriteFile(file.get(), &bih, sizeof bih, &written, nullptr);
    ::WriteFile(file.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    return path;
}

}  // namespace torvane::test
