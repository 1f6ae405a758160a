// The Form object: member table, definitions, ClearAllControls and the
// indexed members Value, Enable and IsModify.
//
// Argument conversions (VariantChangeType) can call back into script code (an
// object's default value), and that code may compose the form or define other
// items meanwhile: every Define member therefore checks the state and finds
// its slot again after converting, and every member that converts or pumps
// messages keeps the object alive until it returns.
#include "forms/form/form.h"

#include <cstring>

#include "forms/form/semicolon_text.h"
#include "forms/items/control_item.h"
#include "frame/guids.h"
#include "frame/text.h"
#include "frame/variant_args.h"
#include "resources/resource_ids.h"

namespace torvane {

struct CFormObj::Members {
    using Self = CFormObj;
    // The position of a row is its dispatch id: never reorder.
    // clang-format off
    static constexpr DispEntry table[] = {
        /*  1 */ bound<&Self::form_title_>                             ("FormTitle",                                   T_BSTR),
        /*  2 */ bound<&Self::accept_drop_file_>                       ("AcceptDropFile",                              T_I2),
        /*  3 */ bound<&Self::drop_files_>                             ("DropFiles",                                   T_BSTR),
        /*  4 */ property<&Self::getEnableForm, &Self::putEnableForm>  ("EnableForm",                                  T_BOOL),
        /*  5 */ method<&Self::clearAllControls>                       ("ClearAllControls",                            T_EMPTY),
        /*  6 */ method<&Self::executeForm>                            ("ExecuteForm",        P_VARIANT,               T_I2),
        /*  7 */ method<&Self::defineLabel>                            ("DefineLabel",        P_STR,                   T_I2),
        /*  8 */ method<&Self::defineEdit>                             ("DefineEdit",         P_VARIANT P_VARIANT P_VARIANT, T_I2),
        /*  9 */ method<&Self::defineButton>                           ("DefineButton",       P_STR P_VARIANT,         T_I2),
        /* 10 */ method<&Self::defineEditButton>                       ("DefineEditButton",   P_VARIANT P_VARIANT P_VARIANT P_VARIANT, T_I2),
        /* 11 */ method<&Self::defineFileEdit>                         ("DefineFileEdit",     P_VARIANT P_VARIANT P_VARIANT P_VARIANT P_VARIANT, T_I2),
        /* 12 */ method<&Self::defineCheckButton>                      ("DefineCheckButton",  P_STR P_VARIANT P_VARIANT, T_I2),
        /* 13 */ method<&Self::defineRadioButton>                      ("DefineRadioButton",  P_STR P_VARIANT P_VARIANT, T_I2),
        /* 14 */ method<&Self::defineComboBox>                         ("DefineComboBox",     P_VARIANT P_VARIANT P_VARIANT, T_I2),
        /* 15 */ method<&Self::defineDropdownList>                     ("DefineDropdownList", P_VARIANT P_VARIANT P_VARIANT, T_I2),
        /* 16 */ method<&Self::defineListBox>                          ("DefineListBox",      P_VARIANT P_VARIANT P_VARIANT P_VARIANT, T_I2),
        /* 17 */ method<&Self::composeForm>                            ("ComposeForm",                                 T_I2),
        /* 18 */ method<&Self::destroyForm>                            ("DestroyForm",                                 T_EMPTY),
        /* 19 */ method<&Self::waitEvent>                              ("WaitEvent",          P_VARIANT,               T_VARIANT),
        /* 20 */ property<&Self::getValue, &Self::putValue>            ("Value",              P_I2,                    T_BSTR),
        /* 21 */ property<&Self::getEnable, &Self::putEnable>          ("Enable",             P_I2,                    T_I2),
        /* 22 */ readonly<&Self::getIsModify>                          ("IsModify",           P_I2,                    T_BOOL),
        /* 23 */ alias                                                 ("Value"),
    };
    // clang-format on
};

namespace {

LONG g_live = 0;

// Library texts end at their first zero byte, as the windows show them.
std::string cut_at_nul(std::string text) {
    const auto zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    return text;
}

// The optional-argument rule: absent or unconvertible gives the default.
std::string text_or(const VARIANT& v, const char* fallback) {
    auto text = opt_text(v);
    return text ? cut_at_nul(std::move(*text)) : std::string(fallback);
}
int i2_or(const VARIANT& v, int fallback) {
    auto value = opt_i2(v);
    return value ? *value : fallback;
}
std::vector<std::string> list_of(const VARIANT& v) {
    auto text = opt_text(v);
    if (!text) return {};
    return split_semicolon_list(cut_at_nul(std::move(*text)), ansi_lead_bytes());
}
// A caption list of a button group: never empty.
std::vector<std::string> captions_of(const char* text) {
    auto list = split_semicolon_list(text, ansi_lead_bytes());
    if (list.empty()) list.emplace_back();
    return list;
}

// Keeps the object alive until the member returns, even if script code run by
// a conversion releases the script's last reference.
ComPtr<IDispatch> keep_alive(CFormObj* self) { return ComPtr<IDispatch>::share(self); }

}  // namespace

const ClassInfo CFormObj::kClass = {"CFormObj", &IID_IForm, make_table(Members::table), &g_live};

LONG CFormObj::live_count() noexcept { return g_live; }

ComPtr<IUnknown> create_form_object() {
    auto* form = new CFormObj();
    return ComPtr<IUnknown>::adopt(static_cast<IDispatch*>(form));
}

CFormObj::CFormObj() noexcept : DispatchObject(kClass) {}

CFormObj::~CFormObj() {
    // The window goes first (its destroy handling saves every value and
    // removes the item windows), while this class's handlers still exist.
    destroy_window();
    delete_items();
}

void CFormObj::delete_items() noexcept {
    for (auto& slot : slots_) {
        if (!slot) continue;
        slot->DestroyControls();
        slot.reset();
    }
}

HFONT CFormObj::font() const noexcept {
    if (!hwnd()) return nullptr;
    return reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0));
}

void CFormObj::check_defining() const {
    if (has_window()) raise_script_error(1025, IDS_FORM_DEFINING_ONLY);
}

void CFormObj::check_running() const {
    if (!has_window()) raise_script_error(1025, IDS_FORM_NOT_RUNNING);
}

int CFormObj::free_slot() const noexcept {
    for (int i = 0; i < kSlots; ++i)
        if (!slots_[i]) return i;
    return -1;
}

CControlItem* CFormObj::item_at(int index) const noexcept {
    if (index < 0 || index >= kSlots) return nullptr;
    return slots_[index].get();
}

bool CFormObj::is_item(const CControlItem* item) const noexcept {
    if (!item) return false;
    for (const auto& slot : slots_)
        if (slot.get() == item) return true;
    return false;
}

template <typename Make> std::int16_t CFormObj::store_item(Make make) {
    check_defining();
    const int index = free_slot();
    if (index < 0) return -1;
    slots_[index] = make(index);
    return static_cast<std::int16_t>(index);
}

// ---------------------------------------------------------------------------
// Definitions

void CFormObj::clearAllControls() {
    check_defining();
    delete_items();
}

std::int16_t CFormObj::defineLabel(const char* text) {
    check_defining();
    if (free_slot() < 0) return -1;
    std::string label(text);
    return store_item([&](int index) { return std::make_unique<CLabelItem>(*this, index, std::move(label)); });
}

std::int16_t CFormObj::defineEdit(const VARIANT& caption, const VARIANT& text, const VARIANT& rows) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    std::string label = text_or(caption, "");
    std::string initial = text_or(text, "");
    const int row_count = i2_or(rows, 1);
    return store_item([&](int index) {
        return std::make_unique<CEditItem>(*this, index, std::move(label), std::move(initial), row_count);
    });
}

std::int16_t CFormObj::defineButton(const char* captions, const VARIANT& first_event) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    auto list = captions_of(captions);
    auto first = opt_i2(first_event);
    return store_item(
        [&](int index) { return std::make_unique<CButtonItem>(*this, index, list, first ? *first : index); });
}

std::int16_t CFormObj::defineEditButton(const VARIANT& caption, const VARIANT& text, const VARIANT& button,
                                        const VARIANT& event) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    std::string label = text_or(caption, "");
    std::string initial = text_or(text, "");
    std::string button_caption = text_or(button, "");
    auto value = opt_i2(event);
    return store_item([&](int index) {
        return std::make_unique<CEditButtonItem>(*this, index, std::move(label), std::move(initial),
                                                 value ? *value : index, std::move(button_caption));
    });
}

std::int16_t CFormObj::defineFileEdit(const VARIANT& caption, const VARIANT& text, const VARIANT& button,
                                      const VARIANT& save_mode, const VARIANT& filter) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    std::string label = text_or(caption, "");
    std::string initial = text_or(text, "");
    std::string button_caption = text_or(button, "&Open");
    const int save = i2_or(save_mode, 0);
    std::string filter_text = text_or(filter, "");
    return store_item([&](int index) {
        return std::make_unique<CFileEditItem>(*this, index, std::move(label), std::move(initial), save,
                                               std::move(button_caption), std::move(filter_text));
    });
}

std::int16_t CFormObj::defineCheckButton(const char* captions, const VARIANT& value, const VARIANT& vertical) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    auto list = captions_of(captions);
    std::string initial = text_or(value, "");
    const int vert = i2_or(vertical, 0) != 0;
    return store_item(
        [&](int index) { return std::make_unique<CCheckButtonItem>(*this, index, list, std::move(initial), vert); });
}

std::int16_t CFormObj::defineRadioButton(const char* captions, const VARIANT& selected, const VARIANT& vertical) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    auto list = captions_of(captions);
    const int sel = i2_or(selected, -1);
    const int vert = i2_or(vertical, 0) != 0;
    return store_item([&](int index) { return std::make_unique<CRadioButtonItem>(*this, index, list, sel, vert); });
}

std::int16_t CFormObj::defineComboBox(const VARIANT& caption, const VARIANT& text, const VARIANT& choices) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    std::string label = text_or(caption, "");
    std::string initial = text_or(text, "");
    auto entries = list_of(choices);
    return store_item([&](int index) {
        return std::make_unique<CComboBoxItem>(*this, index, std::move(label), std::move(initial), std::move(entries));
    });
}

std::int16_t CFormObj::defineDropdownList(const VARIANT& caption, const VARIANT& selected, const VARIANT& choices) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    std::string label = text_or(caption, "");
    const int sel = i2_or(selected, -1);
    auto entries = list_of(choices);
    return store_item([&](int index) {
        return std::make_unique<CDropdownListItem>(*this, index, std::move(label), sel, std::move(entries));
    });
}

std::int16_t CFormObj::defineListBox(const VARIANT& choices, const VARIANT& value, const VARIANT& rows,
                                     const VARIANT& multiple) {
    auto keep = keep_alive(this);
    check_defining();
    if (free_slot() < 0) return -1;
    auto entries = list_of(choices);
    std::string initial = text_or(value, "");
    const int row_count = i2_or(rows, 1);
    const int multi = i2_or(multiple, 0) != 0;
    return store_item([&](int index) {
        return std::make_unique<CListBoxItem>(*this, index, std::move(entries), std::move(initial), row_count, multi);
    });
}

// ---------------------------------------------------------------------------
// Values and states

std::string CFormObj::getValue(std::int16_t index) {
    std::string out;
    if (CControlItem* item = item_at(index)) item->GetValue(out);
    return out;
}

void CFormObj::putValue(std::int16_t index, const char* text) {
    if (CControlItem* item = item_at(index)) item->SetValue(text);
}

std::int16_t CFormObj::getEnable(std::int16_t index) {
    check_running();
    CControlItem* item = item_at(index);
    return item && item->IsEnabled() ? 1 : 0;
}

void CFormObj::putEnable(std::int16_t index, std::int16_t state) {
    check_running();
    if (CControlItem* item = item_at(index)) item->Enable(state != 0);
}

bool CFormObj::getIsModify(std::int16_t index) {
    CControlItem* item = item_at(index);
    return item && item->IsModified();
}

bool CFormObj::getEnableForm() { return has_window() && ::IsWindowEnabled(hwnd()); }

void CFormObj::putEnableForm(bool enable) {
    if (has_window()) ::EnableWindow(hwnd(), enable);
}

}  // namespace torvane
