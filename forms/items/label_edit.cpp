// Label and edit items: one line of static text, and an edit box (single or
// multi-line) with an optional side label.
#include "forms/items/control_item.h"

namespace torvane {

// ---------------------------------------------------------------------------
// CLabelItem: the value is the text; no baseline, never modified.

CLabelItem::CLabelItem(CFormObj& form, int index, std::string text)
    : CControlItem(form, index), text_(std::move(text)) {}

int CLabelItem::CreateControls(int&, int width, int row_height, int row) {
    const RECT rect{5, row * row_height, width - 5, (row + 1) * row_height - 1};
    static_ = create_window("STATIC", text_.c_str(), WS_CHILD | SS_LEFT | SS_CENTERIMAGE, 0, rect, 0xFFFF, false);
    if (static_) ::SetWindowTextA(static_.get(), text_.c_str());
    finish_window(static_.get());
    return 1;
}

void CLabelItem::DestroyControls() { static_.reset(); }

void CLabelItem::GetValue(std::string& out) {
    if (static_) text_ = window_text_ansi(static_.get());
    out = text_;
}

void CLabelItem::SetValue(const char* text) {
    text_ = text;
    if (static_) ::SetWindowTextA(static_.get(), text_.c_str());
}

void CLabelItem::Enable(BOOL enable) { enable_window(static_.get(), enable); }

BOOL CLabelItem::IsEnabled() { return window_enabled(static_.get()); }

// ---------------------------------------------------------------------------
// CEditItem

CEditItem::CEditItem(CFormObj& form, int index, std::string label, std::string text, int rows)
    : CControlItem(form, index), label_(std::move(label)), value_(text), baseline_(std::move(text)), rows_(rows) {}

int CEditItem::CreateControls(int& next_id, int width, int row_height, int row) {
    RECT rect{5, row * row_height, width - 5, (row + 1) * row_height - 1};
    int rows_used = 1;
    if (!label_.empty()) {
        label_window_ = create_side_label(label_, width, row_height, row);
        rect.left = width / 4 + 1;
    }
    DWORD extra = 0;
    if (rows_ > 1) {
        rows_used = rows_;
        rect.bottom = (row + rows_) * row_height - 1;
        extra = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    }
    // The stored value goes into the new box; the baseline stays, so a change
    // saved from an earlier window still counts as a modification.
    edit_ = create_window("EDIT", "", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | extra,
                          WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, rect, next_id++, true);
    if (edit_) ::SetWindowTextA(edit_.get(), value_.c_str());
    finish_window(edit_.get());
    return rows_used;
}

void CEditItem::DestroyControls() {
    label_window_.reset();
    if (edit_) {
        value_ = window_text_ansi(edit_.get());
        edit_.reset();
    }
}

BOOL CEditItem::IsModified() { return value_ != baseline_; }

void CEditItem::GetValue(std::string& out) {
    if (edit_) value_ = window_text_ansi(edit_.get());
    out = value_;
}

void CEditItem::SetValue(const char* text) {
    std::string copy(text);
    if (edit_) ::SetWindowTextA(edit_.get(), copy.c_str());
    value_ = copy;
    baseline_ = std::move(copy);
}

void CEditItem::Enable(BOOL enable) {
    enable_window(label_window_.get(), enable);
    enable_window(edit_.get(), enable);
}

BOOL CEditItem::IsEnabled() { return window_enabled(edit_.get()); }

}  // namespace torvane
