// Choice lists: a combo box with an edit field (value: its text), a drop-down
// list (value: the selected entry number) and a list box (value: the selected
// entry numbers joined by ";"). Entries keep their definition order.
#include <cstdio>

#include "forms/form/semicolon_text.h"
#include "forms/items/control_item.h"
#include "forms/items/item_text.h"
#include "frame/text.h"

namespace torvane {
CComboBoxItem::CComboBoxItem(CFormObj& form, int index, std::string label, std::string text,
                             std::vector<std::string> entries)
    : CControlItem(form, index),
      style_(CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_GROUP | WS_TABSTOP),
      label_(std::move(label)),
      value_(text),
      baseline_(std::move(text)),
      entries_(std::move(entries)) {}

int CComboBoxItem::CreateControls(int& next_id, int width, int row_height, int row) {
    // Five rows high: the room of the opened list, which covers the items below.
    RECT rect{5, row * row_height, width - 5, (row + 5) * row_height - 1};
    if (!label_.empty()) {
        label_window_ = create_side_label(label_, width, row_height, row);
        rect.left = width / 4 + 1;
    }
    combo_ = create_window("COMBOBOX", "", style_ | WS_CHILD, 0, rect, next_id++, true);
    if (combo_)
        for (const auto& entry : entries_)
            ::SendMessageA(combo_.get(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    const std::string value = value_;
    SetValue(value.c_str());
    finish_window(combo_.get());
    return 1;
}

void CComboBoxItem::DestroyControls() {
    label_window_.reset();
    if (combo_) {
        std::string scratch;
        GetValue(scratch);
        combo_.reset();
    }
}

BOOL CComboBoxItem::IsModified() { return value_ != baseline_; }

void CComboBoxItem::GetValue(std::string& out) {
    if (combo_) value_ = window_text_ansi(combo_.get());
    out = value_;
}

void CComboBoxItem::SetValue(const char* text) {
    std::string copy(text);
    if (combo_) ::SetWindowTextA(combo_.get(), copy.c_str());
    value_ = copy;
    baseline_ = std::move(copy);
}

void CComboBoxItem::Enable(BOOL enable) {
    enable_window(label_window_.get(), enable);
    enable_window(combo_.get(), enable);
}

BOOL CComboBoxItem::IsEnabled() { return window_enabled(combo_.get()); }

// ---------------------------------------------------------------------------

CDropdownListItem::CDropdownListItem(CFormObj& form, int index, std::string label, int selected,
                                     std::vector<std::string> entries)
    : CComboBoxItem(form, index, std::move(label), std::string(), std::move(entries)) {
    style_ = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    value_ = write_decimal(selected);
    baseline_ = value_;
}

void CDropdownListItem::GetValue(std::string& out) {
    if (combo_) value_ = write_decimal(static_cast<int>(::SendMessageW(combo_.get(), CB_GETCURSEL, 0, 0)));
    out = value_;
}

void CDropdownListItem::SetValue(const char* text) {
    const int n = read_decimal(text);
    if (combo_) {
        // A number outside the entries clears the selection (the platform
        // would otherwise keep the old one).
        const int count = static_cast<int>(::SendMessageW(combo_.get(), CB_GETCOUNT, 0, 0));
        ::SendMessageW(combo_.get(), CB_SETCURSEL,
                       n >= 0 && n < count ? static_cast<WPARAM>(n) : static_cast<WPARAM>(-1), 0);
    }
    value_ = write_decimal(n);
    baseline_ = value_;
}

// ---------------------------------------------------------------------------

CListBoxItem::CListBoxItem(CFormObj& form, int index, std::vector<std::string> entries, std::string value, int rows,
                           int multiple)
    : CControlItem(form, index),
      entries_(std::move(entries)),
      value_(value),
      baseline_(std::move(value)),
      multiple_(multiple),
      rows_(rows < 1 ? 1 : rows),
      style_(LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_GROUP | WS_TABSTOP |
             (multiple ? LBS_EXTENDEDSEL : 0)) {}

int CListBoxItem::CreateControls(int& next_id, int width, int row_height, int row) {
    const RECT rect{5, row * row_height, width - 5, (row + rows_) * row_height - 1};
    list_ = create_window("LISTBOX", "", style_ | WS_CHILD, 0, rect, next_id++, true);
    if (list_)
        for (const auto& entry : entries_)
            ::SendMessageA(list_.get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    const std::string value = value_;
    SetValue(value.c_str());
    finish_window(list_.get());
    return rows_;
}

void CListBoxItem::DestroyControls() {
    if (list_) {
        std::string scratch;
        GetValue(scratch);
        list_.reset();
    }
}

void CListBoxItem::OnNotify(int, int, int, int) { post_event(index_, false); }

BOOL CListBoxItem::IsModified() { return value_ != baseline_; }

void CListBoxItem::GetValue(std::string& out) {
    if (list_) {
        value_.clear();
        const int count = static_cast<int>(::SendMessageW(list_.get(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (::SendMessageW(list_.get(), LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0) continue;
            if (!value_.empty()) value_ += ';';
            value_ += write_decimal(i);
        }
        if (value_.empty()) value_ = "-1";
    }
    out = value_;
}

void CListBoxItem::SetValue(const char* text) {
    if (!list_) {
        value_ = text;
        baseline_ = value_;
        return;
    }
    // Numbers are added to the selection; a write never clears one.
    const int count = static_cast<int>(::SendMessageW(list_.get(), LB_GETCOUNT, 0, 0));
    for (const auto& field : split_semicolon_list(text, ansi_lead_bytes())) {
        const int k = read_decimal(field);
        if (k < 0 || k >= count) continue;
        if (multiple_) {
            ::SendMessageW(list_.get(), LB_SETSEL, TRUE, static_cast<LPARAM>(k));
        } else {
            ::SendMessageW(list_.get(), LB_SETCURSEL, static_cast<WPARAM>(k), 0);
            break;
        }
    }
    GetValue(baseline_);
}

void CListBoxItem::Enable(BOOL enable) { enable_window(list_.get(), enable); }

BOOL CListBoxItem::IsEnabled() { return window_enabled(list_.get()); }

}  // namespace torvane
