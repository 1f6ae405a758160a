// Button groups: a row (or, for check and radio groups, a column) of 1 to 16
// push buttons, check boxes or radio buttons with consecutive control ids.
#include <algorithm>
#include <cstdio>

#include "forms/items/control_item.h"
#include "forms/items/item_text.h"

namespace torvane {
CButtonItem::CButtonItem(CFormObj& form, int index, const std::vector<std::string>& captions, int first_event_value)
    : CControlItem(form, index),
      button_style_(WS_TABSTOP | BS_PUSHBUTTON),
      count_(static_cast<int>(std::min<std::size_t>(captions.size(), kMaxButtons))),
      first_event_value_(first_event_value) {
    if (count_ < 1) count_ = 1;  // a group always has one button, maybe without caption
    for (int i = 0; i < count_ && i < static_cast<int>(captions.size()); ++i) captions_[i] = captions[i];
}

int CButtonItem::CreateControls(int& next_id, int width, int row_height, int row) {
    first_control_id_ = next_id;
    const int cells = std::max(count_, 4);
    const int empty_cells = count_ < 4 ? 4 - count_ : 0;
    const int cell = (width - 10) / cells;
    for (int i = 0; i < count_; ++i) {
        RECT rect;
        if (vertical_) {
            rect = RECT{5, (row + i) * row_height, width - 5, (row + i + 1) * row_height - 1};
        } else {
            const int left = 5 + cell * (empty_cells + i);
            rect = RECT{left, row * row_height, left + cell - 1, (row + 1) * row_height - 1};
        }
        const DWORD style = button_style_ | (i == 0 ? first_button_style_ : 0) | WS_CHILD;
        buttons_[i] = create_window("BUTTON", captions_[i].c_str(), style, 0, rect, next_id++, true);
        finish_window(buttons_[i].get());
    }
    return vertical_ ? count_ : 1;
}

void CButtonItem::DestroyControls() {
    for (auto& button : buttons_) button.reset();
}

void CButtonItem::OnNotify(int control_id, int, int, int) {
    post_event(first_event_value_ + control_id - first_control_id_, true);
}

void CButtonItem::Enable(BOOL enable) {
    for (auto& button : buttons_) enable_window(button.get(), enable);
}

BOOL CButtonItem::IsEnabled() { return window_enabled(buttons_[0].get()); }

// ---------------------------------------------------------------------------
// CCheckButtonItem: one digit per button, "0", "1" or "2".

CCheckButtonItem::CCheckButtonItem(CFormObj& form, int index, const std::vector<std::string>& captions,
                                   std::string value, int vertical)
    : CButtonItem(form, index, captions, 0), value_(std::move(value)) {
    vertical_ = vertical;
    button_style_ = vertical ? (WS_TABSTOP | BS_AUTOCHECKBOX) : (WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE);
}

int CCheckButtonItem::CreateControls(int& next_id, int width, int row_height, int row) {
    const int rows = CButtonItem::CreateControls(next_id, width, row_height, row);
    const std::string value = value_;
    SetValue(value.c_str());
    return rows;
}

void CCheckButtonItem::DestroyControls() {
    std::string scratch;
    GetValue(scratch);
    CButtonItem::DestroyControls();
}

void CCheckButtonItem::OnNotify(int, int, int, int) { post_event(index_, false); }

BOOL CCheckButtonItem::IsModified() { return value_ != baseline_; }

void CCheckButtonItem::GetValue(std::string& out) {
    if (buttons_[0]) {
        std::string digits;
        for (int i = 0; i < kMaxButtons && buttons_[i]; ++i) {
            const LRESULT state = ::SendMessageW(buttons_[i].get(), BM_GETCHECK, 0, 0);
            digits += static_cast<char>('0' + (state >= 0 && state <= 2 ? state : 0));
        }
        value_ = std::move(digits);
    }
    out = value_;
}

void CCheckButtonItem::SetValue(const char* text) {
    std::string copy(text);
    value_ = copy;
    baseline_ = copy;
    if (!buttons_[0]) return;
    for (std::size_t i = 0; i < copy.size() && i < static_cast<std::size_t>(kMaxButtons); ++i) {
        if (!buttons_[i]) continue;
        const char c = copy[i];
        const WPARAM state = (c >= '0' && c <= '2') ? static_cast<WPARAM>(c - '0') : BST_UNCHECKED;
        ::SendMessageW(buttons_[i].get(), BM_SETCHECK, state, 0);
    }
}

// ---------------------------------------------------------------------------
// CRadioButtonItem: the number of the checked button, -1 for none.

CRadioButtonItem::CRadioButtonItem(CFormObj& form, int index, const std::vector<std::string>& captions, int selected,
                                   int vertical)
    : CButtonItem(form, index, captions, 0), selected_(selected), baseline_(selected) {
    // The baseline starts at the defined selection: not modified before the
    // group is first shown.
    vertical_ = vertical;
    button_style_ = vertical ? BS_AUTORADIOBUTTON : (BS_AUTORADIOBUTTON | BS_PUSHLIKE);
    first_button_style_ = WS_GROUP | WS_TABSTOP;
}

int CRadioButtonItem::CreateControls(int& next_id, int width, int row_height, int row) {
    const int rows = CButtonItem::CreateControls(next_id, width, row_height, row);
    SetValue(write_decimal(selected_).c_str());
    return rows;
}

void CRadioButtonItem::DestroyControls() {
    std::string scratch;
    GetValue(scratch);
    CButtonItem::DestroyControls();
}

void CRadioButtonItem::OnNotify(int, int, int, int) { post_event(index_, false); }

BOOL CRadioButtonItem::IsModified() { return selected_ != baseline_; }

void CRadioButtonItem::GetValue(std::string& out) {
    if (buttons_[0]) {
        selected_ = -1;
        for (int i = 0; i < kMaxButtons && buttons_[i]; ++i) {
            if (::SendMessageW(buttons_[i].get(), BM_GETCHECK, 0, 0) == BST_CHECKED) {
                selected_ = i;
                break;
            }
        }
    }
    out = write_decimal(selected_);
}

void CRadioButtonItem::SetValue(const char* text) {
    selected_ = read_decimal(text);
    baseline_ = selected_;
    if (!buttons_[0]) return;
    for (int i = 0; i < kMaxButtons; ++i)
        if (buttons_[i])
            ::SendMessageW(buttons_[i].get(), BM_SETCHECK, i == selected_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace torvane
