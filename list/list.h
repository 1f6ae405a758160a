#pragma once
// The List object (CListExObj): an ordered list of strings that scripts fill,
// read, change and shrink by index, read and write by column, and search. It
// is made only by the ScriptDialog object's CreateList.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/dispatch.h"
#include "frame/raii.h"
#include "list/column_text.h"
#include "list/entry_text.h"
#include "list/file_text.h"

namespace torvane {

class CListExObj final : public DispatchObject {
public:
    CListExObj() noexcept;

    static const ClassInfo kClass;
    static LONG live_count() noexcept;

private:
    struct Members;

    std::int32_t getCount();
    Variant getLastValue();
    void putLastValue(const VARIANT& value);
    std::int32_t addHead(std::string_view text);
    std::int32_t addTail(std::string_view text);
    std::int32_t insert(std::int32_t index, std::string_view text);
    std::int32_t removeHead();
    std::int32_t removeTail();
    std::int32_t remove(std::int32_t index);
    void removeAll();
    bool changeTerminateChar(std::int32_t start, std::int32_t end, std::string_view separator,
                             const VARIANT& make_default);
    std::int32_t find(std::int32_t start, std::int32_t end, std::string_view text, const VARIANT& mode);
    std::int32_t findCol(std::int32_t start, std::int32_t end, std::int16_t column, std::string_view text,
                         const VARIANT& mode);
    Variant getValue(std::int32_t index);
    void putValue(std::int32_t index, const VARIANT& value);
    std::int16_t getColCount(std::int32_t index);
    std::string getColValue(std::int32_t index, std::int16_t column);
    void putColValue(std::int32_t index, std::int16_t column, std::string_view text);
    bool sort(const VARIANT& column, const VARIANT& mode);
    std::int32_t loadFile(std::string_view path, const VARIANT& encoding);
    bool saveFile(std::string_view path, const VARIANT& encoding, const VARIANT& line_end);
    ComPtr<IUnknown> newEnum();

    bool valid(std::int32_t index) const noexcept {
        return index >= 0 && static_cast<std::size_t>(index) < entries_.size();
    }
    std::int32_t last_index() const noexcept { return static_cast<std::int32_t>(entries_.size()) - 1; }
    // The separator setting up to its first zero byte is empty.
    bool no_separators() const noexcept { return col_separate_char_.empty() || col_separate_char_[0] == '\0'; }

    EntryStore entries_;
    BOOL col_return_null_ = FALSE;
    std::string col_separate_char_ = " \t";
    BOOL col_separate_short_space_ = TRUE;
    Encoding file_encoding_ = Encoding::ansi;  // what LoadFile last read: SaveFile's default
};

// A new, empty List object; the pointer carries its one reference.
ComPtr<IUnknown> create_list_object();

}  // namespace torvane
