// Form windows: the window initialisation that lays the items out on rows
// measured from the template's hidden row gauge, placement, ComposeForm and
// DestroyForm.
#include <cstdint>

#include "forms/form/form.h"
#include "forms/items/control_item.h"
#include "resources/resource_ids.h"

namespace torvane {

void CFormObj::initialise_window() {
    const HWND self = hwnd();
    RECT gauge{};
    ::GetWindowRect(::GetDlgItem(self, IDC_FORM_ROW_GAUGE), &gauge);
    row_width_ = gauge.right - gauge.left;
    row_height_ = gauge.bottom - gauge.top;

    int next_id = kFirstControlId;
    int rows = 0;
    for (auto& slot : slots_) {
        if (!slot) continue;
        rows += slot->CreateControls(next_id, row_width_, row_height_, rows);
    }

    RECT window{}, client{};
    ::GetWindowRect(self, &window);
    ::GetClientRect(self, &client);
    const int frame = (window.bottom - window.top) - (client.bottom - client.top);
    const std::int64_t height = static_cast<std::int64_t>(rows) * row_height_ + row_height_ / 2 + frame;
    ::SetWindowPos(self, nullptr, 0, 0, window.right - window.left,
                   height > INT32_MAX ? INT32_MAX : static_cast<int>(height), SWP_NOMOVE | SWP_NOZORDER);

    if (!form_title_.empty()) ::SetWindowTextA(self, form_title_.c_str());
    drop_files_.clear();
    accepting_drops_ = accept_drop_file_ != 0;
    if (accepting_drops_)
        ::SetWindowLongPtrW(self, GWL_EXSTYLE, ::GetWindowLongPtrW(self, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

// Centres the window over its owner, or over the screen's work area without
// one, keeping it inside the work area.
void CFormObj::centre_window(HWND owner) {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT around = area;
    if (owner) ::GetWindowRect(owner, &around);
    RECT own{};
    ::GetWindowRect(hwnd(), &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = around.left + ((around.right - around.left) - width) / 2;
    int y = around.top + ((around.bottom - around.top) - height) / 2;
    if (x + width > area.right) x = area.right - width;
    if (y + height > area.bottom) y = area.bottom - height;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    ::SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::int16_t CFormObj::composeForm() {
    auto keep = ComPtr<IDispatch>::share(this);
    check_defining();
    modal_ = 0;
    const HWND active = ::GetActiveWindow();
    if (!create_modeless(IDD_FORM, active)) return 0;
    const HWND owner = ::GetWindow(hwnd(), GW_OWNER);
    if (!::IsWindowVisible(hwnd()) && (!owner || !::IsWindowEnabled(owner))) centre_window(owner);
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    return 1;
}

void CFormObj::destroyForm() {
    check_running();
    destroy_window();
}

}  // namespace torvane
