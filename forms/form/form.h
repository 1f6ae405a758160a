#pragma once
// The Form object (CFormObj): a scriptable object and, while composed or
// executing, the dialog window built from template 2003 whose rows its control
// items fill.
//
// States: defining (no window), composed (modeless window, events queued for
// WaitEvent) and executing (modal run inside ExecuteForm, ended by the first
// event that may end it). The items live in 64 fixed slots filled from 0 up;
// the form owns them and deletes them only after their DestroyControls.
//
// Sources: form.cpp (table, definitions, values), compose.cpp (template,
// layout, ComposeForm, DestroyForm), execute.cpp (ExecuteForm, WaitEvent,
// messages, events, drops).
#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "frame/dialog_window.h"
#include "frame/dispatch.h"
#include "frame/raii.h"

namespace torvane {

class CControlItem;

// A new Form object without items or window; the pointer carries its one
// reference.
ComPtr<IUnknown> create_form_object();

class CFormObj final : public DispatchObject, public DialogWindow {
public:
    static constexpr int kSlots = 64;
    static constexpr int kFirstControlId = 32;
    static constexpr int kLastRoutedId = 132;
    static constexpr int kDropEvent = 9000;

    CFormObj() noexcept;
    ~CFormObj() override;

    static const ClassInfo kClass;
    static LONG live_count() noexcept;

    // For the items.
    HWND form_window() const noexcept { return hwnd(); }
    HFONT font() const noexcept;
    void post_event(int value, bool end_if_modal);

    // Row width and height of the last window initialisation (pixels).
    int row_width() const noexcept { return row_width_; }
    int row_height() const noexcept { return row_height_; }

private:
    struct Members;

    // form.cpp
    void clearAllControls();
    std::int16_t defineLabel(const char* text);
    std::int16_t defineEdit(const VARIANT& caption, const VARIANT& text, const VARIANT& rows);
    std::int16_t defineButton(const char* captions, const VARIANT& first_event);
    std::int16_t defineEditButton(const VARIANT& caption, const VARIANT& text, const VARIANT& button,
                                  const VARIANT& event);
    std::int16_t defineFileEdit(const VARIANT& caption, const VARIANT& text, const VARIANT& button,
                                const VARIANT& save_mode, const VARIANT& filter);
    std::int16_t defineCheckButton(const char* captions, const VARIANT& value, const VARIANT& vertical);
    std::int16_t defineRadioButton(const char* captions, const VARIANT& selected, const VARIANT& vertical);
    std::int16_t defineComboBox(const VARIANT& caption, const VARIANT& text, const VARIANT& choices);
    std::int16_t defineDropdownList(const VARIANT& caption, const VARIANT& selected, const VARIANT& choices);
    std::int16_t defineListBox(const VARIANT& choices, const VARIANT& value, const VARIANT& rows,
                               const VARIANT& multiple);
    std::string getValue(std::int16_t index);
    void putValue(std::int16_t index, const char* text);
    std::int16_t getEnable(std::int16_t index);
    void putEnable(std::int16_t index, std::int16_t state);
    bool getIsModify(std::int16_t index);
    bool getEnableForm();
    void putEnableForm(bool enable);

    // compose.cpp
    std::int16_t composeForm();
    void destroyForm();
    void initialise_window();
    void centre_window(HWND owner);

    // execute.cpp
    std::int16_t executeForm(const VARIANT& ignored);
    Variant waitEvent(const VARIANT& timeout);
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
    void route_command(int id, int code);
    void on_drop_files(HDROP drop);
    void on_destroy();

    // Shared checks.
    void check_defining() const;  // error 1025 while a window exists
    void check_running() const;   // error 1025 "not running" without one
    int free_slot() const noexcept;
    CControlItem* item_at(int index) const noexcept;
    bool is_item(const CControlItem* item) const noexcept;
    // Re-checks after argument conversions (which may run script code) and
    // stores the item; returns its index or -1.
    template <typename Make> std::int16_t store_item(Make make);
    void delete_items() noexcept;

    std::unique_ptr<CControlItem> slots_[kSlots];
    std::deque<std::int32_t> events_;
    int modal_ = 0;
    std::string form_title_;
    std::int16_t accept_drop_file_ = 0;
    std::string drop_files_;

    // Window state.
    int row_width_ = 0;
    int row_height_ = 0;
    bool accepting_drops_ = false;
    // The modal run in progress, if any.
    bool run_active_ = false;
    bool run_ended_ = false;
    int run_result_ = -1;
};

}  // namespace torvane
