#pragma once
// Base of the library's dialog windows (the Form and Output window objects):
// a C++ owner for one dialog created from a template of the library's
// resources.
//
// The dialog procedure stores `this` in the window's DWLP_USER at
// WM_INITDIALOG and clears it, with the handle, at WM_NCDESTROY, so a window
// destroyed from outside (with its owner, say) leaves no dangling pointer
// behind. The owner destroys a window that still exists when it is destroyed.
#include <windows.h>

#include "frame/raii.h"

namespace torvane {

class DialogWindow {
public:
    DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    virtual ~DialogWindow();

    // The window, from WM_INITDIALOG until WM_NCDESTROY (so still valid while
    // WM_DESTROY is handled); null otherwise.
    HWND hwnd() const noexcept { return hwnd_; }
    bool has_window() const noexcept { return hwnd_ != nullptr; }

    // Creates the modeless dialog from the template (hidden unless the
    // template says otherwise). False when the window could not be created.
    bool create_modeless(UINT template_id, HWND owner) noexcept;
    // Creates it from a template already in memory.
    bool create_modeless(const DLGTEMPLATE* dialog_template, HWND owner) noexcept;

    // Destroys the window, if any (WM_DESTROY and WM_NCDESTROY run inside).
    void destroy_window() noexcept;

protected:
    // The dialog procedure's work for one message: return true when handled
    // and set `result` to the procedure's return value. Called for
    // WM_INITDIALOG (with the handle already set) up to WM_NCDESTROY.
    virtual bool on_message(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) = 0;

private:
    static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;  // not an owner: the window lives until destroyed
};

}  // namespace torvane
