#pragma once
// The control items of a form: one item per Define call, owned by the form's
// slot table. An item keeps its definition and value while no window exists,
// creates its child windows when the form window initialises, answers value
// and enable queries while they exist, and saves its value back into itself
// when they are destroyed (DestroyControls).
//
// Every child window is owned by the item that created it (UniqueHwnd), so a
// destroyed item never leaves a window behind. Interactive windows carry the
// item's address in their GWLP_USERDATA; the form checks that address against
// its slots before routing a notification to it.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "frame/raii.h"

namespace torvane {

class CFormObj;

class CControlItem {
public:
    CControlItem(CFormObj& form, int index) noexcept : form_(&form), index_(index) {}
    virtual ~CControlItem() = default;
    CControlItem(const CControlItem&) = delete;
    CControlItem& operator=(const CControlItem&) = delete;

    // Creates the item's windows in the rows from `row` on; returns the rows
    // used (at least 1). Each interactive window takes next_id and advances it.
    virtual int CreateControls(int& next_id, int width, int row_height, int row) = 0;
    // Saves the value shown (where the kind keeps one) and destroys the
    // windows. Harmless without windows.
    virtual void DestroyControls() = 0;
    // A click (code 1) or selection change (code 2) of one of its windows.
    virtual void OnNotify(int control_id, int code, int, int) { (void)control_id, (void)code; }
    virtual BOOL IsModified() { return FALSE; }
    virtual void GetValue(std::string& out) { (void)out; }
    virtual void SetValue(const char* text) { (void)text; }
    virtual void Enable(BOOL enable) { (void)enable; }
    virtual BOOL IsEnabled() { return FALSE; }

    int index() const noexcept { return index_; }

protected:
    // Creation steps shared by every window: created hidden as a child of the
    // form, the item's address in its user data when `item_data` (interactive
    // windows), control id `id` (0xFFFF for static labels).
    UniqueHwnd create_window(const char* window_class, const char* text, DWORD style, DWORD ex_style, const RECT& rect,
                             int id, bool item_data);
    // The last steps: the form's font, then shown.
    void finish_window(HWND hwnd);
    // A side label (right-aligned static text, one row) at row r.
    UniqueHwnd create_side_label(const std::string& text, int width, int row_height, int row);
    void post_event(int value, bool end_if_modal);

    CFormObj* form_;
    int index_;
};

// Window text in the ANSI code page; empty for a missing window.
std::string window_text_ansi(HWND hwnd);
// Enables or disables a window if it exists.
void enable_window(HWND hwnd, BOOL enable) noexcept;
// The enabled state of a window; FALSE without it.
BOOL window_enabled(HWND hwnd) noexcept;

// ---------------------------------------------------------------------------
// The kinds (one source per family).

class CLabelItem : public CControlItem {
public:
    CLabelItem(CFormObj& form, int index, std::string text);
    ~CLabelItem() override = default;
    int CreateControls(int& next_id, int width, int row_height, int row) override;
    void DestroyControls() override;
    void GetValue(std::string& out) override;
    void SetValue(const char* text) override;
    void Enable(BOOL enable) override;
    BOOL IsEnabled() override;

private:
    std::string text_;
    UniqueHwnd static_;
};

class CEditItem : public CControlItem {
public:
    CEditItem(CFormObj& form, int index, std::string label, std::string text, int rows);
    int CreateControls(int& next_id, int width, int row_height, int row) override;
    void DestroyControls() override;
    BOOL IsModified() override;
    void GetValue(std::string& out) override;
    void SetValue(const char* text) override;
    void Enable(BOOL enable) override;
    BOOL IsEnabled() override;

protected:
    std::string label_;
    std::string value_;
    std::string baseline_;
    int rows_;
    UniqueHwnd label_window_;
    UniqueHwnd edit_;
};

class CEditButtonItem : public CEditItem {
public:
    CEditButtonItem(CFormObj& form, int index, std::string label, std::string text, int event_value,
                    std::string button_caption);
    int CreateControls(int& next_id, int width, int row_height, int row) override;
    void DestroyControls() override;
    void OnNotify(int control_id, int code, int, int) override;

protected:
    std::string button_caption_;
    int event_value_;
    UniqueHwnd button_;
};

class CFileEditItem : public CEditButtonItem {
public:
    CFileEditItem(CFormObj& form, int index, std::string label, std::string text, int save_mode,
                  std::string button_caption, std::string filter);
    void OnNotify(int control_id, int code, int, int) override;

private:
    std::string filter_;
    int save_mode_;
};

class CButtonItem : public CControlItem {
public:
    static constexpr int kMaxButtons = 16;
    CButtonItem(CFormObj& form, int index, const std::vector<std::string>& captions, int first_event_value);
    int CreateControls(int& next_id, int width, int row_height, int row) override;
    void DestroyControls() override;
    void OnNotify(int control_id, int code, int, int) override;
    void Enable(BOOL enable) override;
    BOOL IsEnabled() override;

protected:
    DWORD button_style_;
    DWORD first_button_style_ = 0;
    int vertical_ = 0;
    int count_;
    int first_event_value_;
    int first_control_id_ = 0;
    std::string captions_[kMaxButtons];
    UniqueHwnd buttons_[kMaxButtons];
};

class CCheckButtonItem : public CButtonItem {
public:
    CCheckButtonItem(CFormObj& form, int index, const std::vector<std::string>& captions, std::string value,
                     int vertical);
    int CreateControls(int& next_id, int width, int row_height, int row) override;
    void DestroyControls() override;
    void OnNotify(int control_id, int code, int, int) override;
    BOOL IsModified() override;
    void GetValue(std::string& out) override;
    void SetValue(const char* text) override;

private:
    std::string value_;
    std::string baseline_;
};

class CRadioButtonItem : public CButtonItem {
public:
    CRadioButtonItem(CFormObj& form, int index, const std::vector<std::string>& captions, int selected, int vertical);
    int CreateControls(int& next_id, int width, int row_height, int row) override;
    void DestroyControls() override;
    void OnNotify(int control_id, int code, int, int) override;
    BOOL IsModified() override;
    void GetValue(std::string& out) override;
    void SetValue(const char* text) override;

private:
    int selected_;
    int baseline_;
};

class CComboBoxItem : public CControlItem {
public:
    CComboBoxItem(CFormObj& form, int index, std::string label, std::string text, std::vector<std::string> entries);
    int CreateControls(int& next_id, int width, int row_height, int row) override;
    void DestroyControls() override;
    BOOL IsModified() override;
    void GetValue(std::string& out) override;
    void SetValue(const char* text) override;
    void Enable(BOOL enable) override;
    BOOL IsEnabled() override;

protected:
    DWORD style_;
    std::string label_;
    std::string value_;
    std::string baseline_;
    std::vector<std::string> entries_;
    UniqueHwnd combo_;
    UniqueHwnd label_window_;
};

class CDropdownListItem : public CComboBoxItem {
public:
    CDropdownListItem(CFormObj& form, int index, std::string label, int selected, std::vector<std::string> entries);
    void GetValue(std::string& out) override;
    void SetValue(const char* text) override;
};

class CListBoxItem : public CControlItem {
public:
    CListBoxItem(CFormObj& form, int index, std::vector<std::string> entries, std::string value, int rows,
                 int multiple);
    int CreateControls(int& next_id, int width, int row_height, int row) override;
    void DestroyControls() override;
    void OnNotify(int control_id, int code, int, int) override;
    BOOL IsModified() override;
    void GetValue(std::string& out) override;
    void SetValue(const char* text) override;
    void Enable(BOOL enable) override;
    BOOL IsEnabled() override;

private:
    std::vector<std::string> entries_;
    std::string value_;
    std::string baseline_;
    UniqueHwnd list_;
    int multiple_;
    int rows_;
    DWORD style_;
};

}  // namespace torvane
