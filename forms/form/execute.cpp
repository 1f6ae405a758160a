// Runs of a form: the modal run of ExecuteForm, the polling WaitEvent, the
// event queue, the dialog procedure (commands, keys, close box, drops) and
// the window-destroy handling that saves every item's value.
#include "forms/form/form.h"

#include <cstdint>
#include <optional>

#include "forms/items/control_item.h"
#include "frame/variant_args.h"
#include "resources/resource_ids.h"

namespace torvane {

void CFormObj::post_event(int value, bool end_if_modal) {
    if (modal_ == 0) {
        events_.push_back(value);
    } else if (end_if_modal && run_active_ && !run_ended_) {
        run_ended_ = true;
        run_result_ = value;
    }
}

std::int16_t CFormObj::executeForm(const VARIANT&) {
    auto keep = ComPtr<IDispatch>::share(this);
    check_defining();
    modal_ = 1;

    // Owner: the active window's top-level window, then its last active
    // popup. The owner and the root of its owner chain stay disabled for the
    // run (each only if it was enabled).
    HWND owner = ::GetActiveWindow();
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    if (owner) owner = ::GetLastActivePopup(owner);
    const HWND root = owner ? ::GetAncestor(owner, GA_ROOTOWNER) : nullptr;
    const bool owner_disabled = owner && ::IsWindowEnabled(owner) && !::EnableWindow(owner, FALSE);
    const bool root_disabled = root && root != owner && ::IsWindowEnabled(root) && !::EnableWindow(root, FALSE);

    run_active_ = true;
    run_ended_ = false;
    run_result_ = -1;
    if (create_modeless(IDD_FORM, owner)) {
        centre_window(::GetWindow(hwnd(), GW_OWNER));
        bool shown = false;
        // A window destroyed from outside (with its owner) ends the run with -1.
        while (!run_ended_ && has_window()) {
            MSG msg;
            if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (!shown) {
                    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
                    shown = true;
                } else {
                    ::WaitMessage();
                }
                continue;
            }
            if (msg.message == WM_QUIT) {
                run_result_ = -1;
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!has_window() || !::IsDialogMessageW(hwnd(), &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
    const bool was_active = has_window() && ::GetActiveWindow() == hwnd();
    if (has_window()) ::ShowWindow(hwnd(), SW_HIDE);
    if (root_disabled && ::IsWindow(root)) ::EnableWindow(root, TRUE);
    if (owner_disabled && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
    if (was_active && owner && ::IsWindow(owner)) ::SetActiveWindow(owner);
    destroy_window();
    run_active_ = false;
    return static_cast<std::int16_t>(run_result_);
}

namespace {
// WaitEvent's positive timeout in hundredths of a second, rounded as a Long
// (a larger number counts as the largest Long); 0 for anything else. The
// argument is converted once, as a conversion may run script code.
std::int32_t timeout_hundredths(const VARIANT& timeout) {
    const std::optional<double> d = opt_r8(timeout);
    if (!d || !(*d > 0)) return 0;  // NaN too
    if (*d >= INT32_MAX) return INT32_MAX;
    VARIANT number{};
    number.vt = VT_R8;
    number.dblVal = *d;
    return opt_i4(number).value_or(0);
}
}  // namespace

Variant CFormObj::waitEvent(const VARIANT& timeout) {
    auto keep = ComPtr<IDispatch>::share(this);
    // Converted before the form's state is read: the conversion may run
    // script code. Every positive timeout is waited for (up to about 248
    // days, measured on the 64-bit tick count, which does not wrap); a
    // negative one pumps once, like 0.
    const std::int32_t hundredths = timeout_hundredths(timeout);
    const std::int64_t wait = hundredths > 0 ? static_cast<std::int64_t>(hundredths) * 10 : 0;
    Variant result = Variant::null();
    check_running();
    const ULONGLONG start = ::GetTickCount64();

    for (;;) {
        bool quit = false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The host's loop must see it: post it again and stop waiting.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                quit = true;
                break;
            }
            if (!has_window() || !::IsDialogMessageW(hwnd(), &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (!events_.empty()) {
            const std::int32_t value = events_.front();
            events_.pop_front();
            result = Variant::i2(static_cast<SHORT>(static_cast<std::uint16_t>(value)));
            break;
        }
        // Without a window no event can come.
        if (quit || wait == 0 || !has_window() || static_cast<std::int64_t>(::GetTickCount64() - start) > wait) break;
        ::Sleep(10);
    }
    return result;
}

bool CFormObj::on_message(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
    switch (msg) {
        case WM_INITDIALOG:
            initialise_window();
            result = TRUE;
            return true;
        case WM_COMMAND: {
            const int id = LOWORD(wp);
            const int code = HIWORD(wp);
            if (id == IDOK) {
                // Enter moves on to the next control; it never closes the form.
                ::SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, 0);
                result = 0;
                return true;
            }
            if (id == IDCANCEL) {
                post_event(-1, true);
                result = 0;
                return true;
            }
            if (lp != 0 && id >= kFirstControlId && id <= kLastRoutedId && (code == 0 || code == 1)) {
                route_command(id, code == 0 ? 1 : 2);
                result = 0;
                return true;
            }
            return false;
        }
        case WM_DROPFILES:
            // Only a window created to accept drops takes them.
            if (!accepting_drops_) return false;
            on_drop_files(reinterpret_cast<HDROP>(wp));
            result = 0;
            return true;
        case WM_DESTROY: on_destroy(); return false;
        default: return false;
    }
}

void CFormObj::route_command(int id, int code) {
    const HWND child = ::GetDlgItem(hwnd(), id);
    if (!child) return;
    auto* item = reinterpret_cast<CControlItem*>(::GetWindowLongPtrW(child, GWLP_USERDATA));
    // Only an address that one of this form's slots holds is trusted.
    if (!is_item(item)) return;
    item->OnNotify(id, code, 0, 0);
}

void CFormObj::on_drop_files(HDROP handle) {
    UniqueHdrop drop(handle);
    const UINT count = ::DragQueryFileA(drop.get(), 0xFFFFFFFF, nullptr, 0);
    drop_files_.clear();
    for (UINT i = 0; i < count; ++i) {
        // The full path, whatever its length.
        const UINT length = ::DragQueryFileA(drop.get(), i, nullptr, 0);
        std::string path(length + 1, '\0');
        const UINT got = ::DragQueryFileA(drop.get(), i, &path[0], length + 1);
        path.resize(got <= length ? got : length);
        if (i > 0) drop_files_ += ';';
        drop_files_ += path;
    }
    drop.reset();
    post_event(kDropEvent, true);
}

void CFormObj::on_destroy() {
    for (auto& slot : slots_)
        if (slot) slot->DestroyControls();
    accepting_drops_ = false;
}

}  // namespace torvane
