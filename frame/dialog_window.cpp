#include "frame/dialog_window.h"

#include "frame/module.h"

namespace torvane {

DialogWindow::~DialogWindow() { destroy_window(); }

bool DialogWindow::create_modeless(UINT template_id, HWND owner) noexcept {
    if (hwnd_) return false;
    // The handle is taken at WM_INITDIALOG; a failed creation leaves none.
    ::CreateDialogParamW(module::instance(), MAKEINTRESOURCEW(template_id), owner, &DialogWindow::dialog_proc,
                         reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

bool DialogWindow::create_modeless(const DLGTEMPLATE* dialog_template, HWND owner) noexcept {
    if (hwnd_) return false;
    ::CreateDialogIndirectParamW(module::instance(), dialog_template, owner, &DialogWindow::dialog_proc,
                                 reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

void DialogWindow::destroy_window() noexcept {
    // A passing owner destroys the window; the handle stays set while
    // WM_DESTROY is handled and is cleared at WM_NCDESTROY.
    if (hwnd_) UniqueHwnd{hwnd_}.reset();
}

INT_PTR CALLBACK DialogWindow::dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DialogWindow* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lp);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<DialogWindow*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;  // messages before WM_INITDIALOG get the defaults

    INT_PTR result = FALSE;
    bool handled = false;
    try {
        handled = self->on_message(msg, wp, lp, result);
    } catch (...) {
        // Nothing may escape into the platform's dispatching.
        handled = false;
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        if (self->hwnd_ == hwnd) self->hwnd_ = nullptr;
    }
    return handled ? result : FALSE;
}

}  // namespace torvane
