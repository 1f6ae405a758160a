#pragma once
// Helpers for tests that drive real windows on the X display.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace torvane::test {

// Dispatches every waiting message of this thread, for about `ms`
// milliseconds (0: one pass).
void pump_messages(DWORD ms = 0);

// Top-level windows of this thread, optionally of one class (e.g. L"#32770"
// for dialogs) and visible only.
std::vector<HWND> thread_windows(const wchar_t* class_name = nullptr, bool visible_only = false);

// Window text as UTF-16.
std::wstring window_text(HWND hwnd);

// Runs `action` from a timer while the current thread sits in a modal loop
// (a message box, a file dialog, a modal form). The action is retried every
// `period` ms until it returns true, at most `attempts` times. Arm it right
// before the call that blocks; it disarms itself.
class ModalDriver {
public:
    ModalDriver(std::function<bool()> action, UINT period = 50, int attempts = 200);
    ~ModalDriver();
    bool done() const { return done_; }

private:
    static void CALLBACK on_timer(HWND, UINT, UINT_PTR id, DWORD);
    std::function<bool()> action_;
    UINT_PTR timer_ = 0;
    int attempts_;
    bool done_ = false;
    bool busy_ = false;  // the action may pump messages: no re-entry
};

// Clicks a window with real mouse messages (down and up at its centre), as
// a user does; the control then sends its own notifications.
void click(HWND control);

// Keyboard input queued for the focused window, not pumped: a loop of the
// code under test (a form's WaitEvent or modal run) must handle it.
void queue_key(WORD vk);
void queue_text(const std::wstring& text);

// Types text into the focused window with keyboard input (SendInput with
// Unicode characters), then pumps messages.
void type_text(const std::wstring& text);
// Presses one virtual key (down and up).
void press_key(WORD vk);

// Saves a picture of a window (with its frame), or of the whole screen when
// hwnd is null, as a BMP file in the artifacts folder ($TORVANE_ARTIFACTS,
// else the current folder). Returns the file path.
std::wstring save_screenshot(HWND hwnd, const std::wstring& name);

// The same for a window together with windows that lie partly outside it (a
// combo box's open list): the picture covers all of them.
std::wstring save_screenshot(HWND hwnd, std::initializer_list<HWND> also, const std::wstring& name);

}  // namespace torvane::test
