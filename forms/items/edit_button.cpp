// Edit-button and file-edit items: a single-line edit box narrowed by a fifth
// of the row for a push button at its right. The edit-button's button raises
// the item's event value; the file-edit's opens a file dialog whose chosen
// path becomes the item's value.
#include "forms/form/form.h"

#include <commdlg.h>

#include <vector>

#include "forms/items/control_item.h"
#include "forms/items/item_text.h"
#include "frame/module.h"
#include "frame/text.h"
#include "resources/resource_ids.h"

namespace torvane {

CEditButtonItem::CEditButtonItem(CFormObj& form, int index, std::string label, std::string text, int event_value,
                                 std::string button_caption)
    : CEditItem(form, index, std::move(label), std::move(text), 0),
      button_caption_(std::move(button_caption)),
      event_value_(event_value) {}

int CEditButtonItem::CreateControls(int& next_id, int width, int row_height, int row) {
    const int rows = CEditItem::CreateControls(next_id, width, row_height, row);
    const int q = width / 5;
    if (edit_) {
        RECT box{};
        ::GetWindowRect(edit_.get(), &box);
        ::SetWindowPos(edit_.get(), nullptr, 0, 0, (box.right - box.left) - q, box.bottom - box.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    const RECT rect{width - q + 1, row * row_height, width - 5, (row + 1) * row_height - 1};
    button_ = create_window("BUTTON", button_caption_.c_str(), WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, rect,
                            next_id++, true);
    finish_window(button_.get());
    return rows;
}

void CEditButtonItem::DestroyControls() {
    CEditItem::DestroyControls();
    button_.reset();
}

void CEditButtonItem::OnNotify(int, int, int, int) { post_event(event_value_, true); }

// ---------------------------------------------------------------------------

CFileEditItem::CFileEditItem(CFormObj& form, int index, std::string label, std::string text, int save_mode,
                             std::string button_caption, std::string filter)
    : CEditButtonItem(form, index, std::move(label), std::move(text), 0, std::move(button_caption)),
      filter_(std::move(filter)),
      save_mode_(save_mode) {}

void CFileEditItem::OnNotify(int, int, int, int) {
    const LeadBytes& lead = ansi_lead_bytes();
    const std::string extension = default_extension(filter_, lead);
    std::string filter = dialog_filter(filter_, module::load_string_ansi(IDS_FILTER_ALL_FILES), lead);
    for (std::size_t i = 0; i < filter.size(); i += lead.char_len(filter, i))
        if (filter[i] == '|' && lead.char_len(filter, i) == 1) filter[i] = '\0';
    filter.push_back('\0');

    // The stored value (not the box's present text) is the initial name, cut
    // at a character boundary to fit the name buffer.
    std::vector<char> name(MAX_PATH, '\0');
    std::size_t used = 0;
    for (std::size_t i = 0; i < value_.size();) {
        const std::size_t n = lead.char_len(value_, i);
        if (used + n > MAX_PATH - 1) break;
        for (std::size_t k = 0; k < n; ++k) name[used++] = value_[i + k];
        i += n;
    }

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = form_->form_window();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const BOOL chosen = save_mode_ == 0 ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (!chosen) return;
    name.back() = '\0';
    SetValue(name.data());
}

}  // namespace torvane
