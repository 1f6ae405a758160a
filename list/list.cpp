// The List object. Storage is an EntryStore (list/entry_text.h); the column
// split, rebuilds and the search are the plain functions of
// list/column_text.h, run over each entry with the settings as they stand at
// the call, so nothing is cached between calls.
//
// A member converts its VARIANT arguments before it looks at the list: a
// conversion may run script code (an object's default value) that changes or
// empties the list, and every range, index and entry is read after it.
//
// No member reports an index, column or range out of bounds as an error: each
// answers with its neutral result (Null, -1, 0, an empty string, FALSE, or the
// unchanged count-1). Exhausted memory, and growth beyond
// EntryStore::kMaxEntries entries, reach the script as the memory error with
// the list unchanged.
#include "list/list.h"

#include <climits>
#include <optional>

#include "frame/guids.h"
#include "frame/text.h"
#include "frame/variant_args.h"
#include "list/list_enum.h"
#include "list/sort_text.h"
#include "list/text_file.h"

namespace torvane {

struct CListExObj::Members {
    using Self = CListExObj;
    // Row position = dispatch id. Never sort or reorder.
    // clang-format off
    static constexpr DispEntry table[] = {
        /*  1 */ bound<&Self::col_return_null_>                    ("ColReturnNull",                                     T_BOOL),
        /*  2 */ bound<&Self::col_separate_char_>                  ("ColSeparateChar",                                   T_BSTR),
        /*  3 */ bound<&Self::col_separate_short_space_>           ("ColSeparateShortSpace",                             T_BOOL),
        /*  4 */ readonly<&Self::getCount>                         ("Count",                                             T_I4),
        /*  5 */ property<&Self::getLastValue, &Self::putLastValue>("LastValue",                                         T_VARIANT),
        /*  6 */ method<&Self::addHead>                            ("AddHead",             P_STR,                        T_I4),
        /*  7 */ method<&Self::addTail>                            ("AddTail",             P_STR,                        T_I4),
        /*  8 */ method<&Self::insert>                             ("Insert",              P_I4 P_STR,                   T_I4),
        /*  9 */ method<&Self::removeHead>                         ("RemoveHead",                                        T_I4),
        /* 10 */ method<&Self::removeTail>                         ("RemoveTail",                                        T_I4),
        /* 11 */ method<&Self::remove>                             ("Remove",              P_I4,                         T_I4),
        /* 12 */ method<&Self::removeAll>                          ("RemoveAll",                                         T_EMPTY),
        /* 13 */ method<&Self::changeTerminateChar>                ("ChangeTerminateChar", P_I4 P_I4 P_STR P_VARIANT,    T_BOOL),
        /* 14 */ method<&Self::find>                               ("Find",                P_I4 P_I4 P_STR P_VARIANT,    T_I4),
        /* 15 */ method<&Self::findCol>                            ("FindCol",             P_I4 P_I4 P_I2 P_STR P_VARIANT, T_I4),
        /* 16 */ property<&Self::getValue, &Self::putValue>        ("Value",               P_I4,                         T_VARIANT),
        /* 17 */ readonly<&Self::getColCount>                      ("ColCount",            P_I4,                         T_I2),
        /* 18 */ property<&Self::getColValue, &Self::putColValue>  ("ColValue",            P_I4 P_I2,                    T_BSTR),
        /* 19 */ alias                                             ("Value"),
        /* 20 */ method<&Self::sort>                               ("Sort",                P_VARIANT P_VARIANT,          T_BOOL),
        /* 21 */ method<&Self::loadFile>                           ("LoadFile",            P_STR P_VARIANT,              T_I4),
        /* 22 */ method<&Self::saveFile>                           ("SaveFile",            P_STR P_VARIANT P_VARIANT,    T_BOOL),
        /* -4 */ with_dispid(method<&Self::newEnum>                ("_NewEnum",                                          T_UNKNOWN), DISPID_NEWENUM),
    };
    // clang-format on
};

namespace {
LONG g_live = 0;

// The clamped range start..end of a ranged member; empty when start > end.
struct Range {
    std::int32_t start, end;
};
Range clamp_range(std::int32_t start, std::int32_t end, std::int32_t last) {
    if (start < 0) start = 0;
    if (end < 0 || end > last) end = last;
    return Range{start, end};
}

// An entry's text from a put value: Null, error values and values that do not
// convert give an empty entry.
std::string entry_text_of(const VARIANT& value) { return opt_text(value).value_or(std::string()); }
}  // namespace

const ClassInfo CListExObj::kClass = {"CListExObj", &IID_IListEx, make_table(Members::table), &g_live};

LONG CListExObj::live_count() noexcept { return g_live; }

CListExObj::CListExObj() noexcept : DispatchObject(kClass) {}

ComPtr<IUnknown> create_list_object() { return ComPtr<IUnknown>::adopt(static_cast<IDispatch*>(new CListExObj())); }

// ---------------------------------------------------------------------------
// Storage

std::int32_t CListExObj::getCount() { return static_cast<std::int32_t>(entries_.size()); }

std::int32_t CListExObj::addHead(std::string_view text) {
    entries_.insert(0, text);
    return 0;
}

std::int32_t CListExObj::addTail(std::string_view text) {
    entries_.append(text);
    return 0;
}

// A negative index inserts nothing and answers -1.
std::int32_t CListExObj::insert(std::int32_t index, std::string_view text) {
    if (index < 0) return -1;
    entries_.insert_extending(static_cast<std::size_t>(index), text);
    return 0;
}

std::int32_t CListExObj::removeHead() {
    if (entries_.size() == 0) return -1;
    entries_.erase(0);
    return last_index();
}

std::int32_t CListExObj::removeTail() {
    if (entries_.size() == 0) return -1;
    entries_.erase(entries_.size() - 1);
    return last_index();
}

std::int32_t CListExObj::remove(std::int32_t index) {
    if (!valid(index)) return last_index();
    entries_.erase(static_cast<std::size_t>(index));
    return last_index();
}

void CListExObj::removeAll() { entries_.clear(); }

Variant CListExObj::getValue(std::int32_t index) {
    if (!valid(index)) return Variant::null();
    return Variant::bstr(to_bstr(entries_.at(static_cast<std::size_t>(index))));
}

// A negative index stores nothing.
void CListExObj::putValue(std::int32_t index, const VARIANT& value) {
    const std::string text = entry_text_of(value);
    if (index < 0) return;
    entries_.store(static_cast<std::size_t>(index), text);
}

Variant CListExObj::getLastValue() { return getValue(last_index()); }

// The last entry as the list stands after the conversion; entry 0 of an
// empty list.
void CListExObj::putLastValue(const VARIANT& value) {
    const std::string text = entry_text_of(value);
    entries_.store(entries_.size() == 0 ? 0 : entries_.size() - 1, text);
}

// ---------------------------------------------------------------------------
// Columns and search

std::int16_t CListExObj::getColCount(std::int32_t index) {
    if (!valid(index) || no_separators()) return 0;
    const SeparatorSet separators(col_separate_char_, ansi_lead_bytes());
    const ColumnRules rules{separators, col_separate_short_space_ != FALSE, ansi_lead_bytes()};
    return count_columns(entries_.at(static_cast<std::size_t>(index)), rules);
}

std::string CListExObj::getColValue(std::int32_t index, std::int16_t column) {
    if (!valid(index) || column < 0 || no_separators()) return std::string();
    const SeparatorSet separators(col_separate_char_, ansi_lead_bytes());
    const ColumnRules rules{separators, col_separate_short_space_ != FALSE, ansi_lead_bytes()};
    std::string_view field;
    if (!column_at(entries_.at(static_cast<std::size_t>(index)), rules, column, field)) return std::string();
    return std::string(field);
}

// Rebuilds the entry with one field replaced; a negative index appends the
// rebuilt text as a new entry.
void CListExObj::putColValue(std::int32_t index, std::int16_t column, std::string_view text) {
    const SeparatorSet separators(col_separate_char_, ansi_lead_bytes());
    const ColumnRules rules{separators, col_separate_short_space_ != FALSE, ansi_lead_bytes()};
    const std::string_view base = valid(index) ? entries_.at(static_cast<std::size_t>(index)) : std::string_view();
    const std::string rebuilt = replace_column(base, rules, column, text);
    entries_.store(index < 0 ? entries_.size() : static_cast<std::size_t>(index), rebuilt);
}

bool CListExObj::changeTerminateChar(std::int32_t start, std::int32_t end, std::string_view separator,
                                     const VARIANT& make_default) {
    std::int16_t flag = 0;
    const bool becomes_default = i2_arg(make_default, flag) == ArgState::value && flag != 0;
    const Range r = clamp_range(start, end, last_index());
    if (r.start > last_index()) return false;
    const SeparatorSet separators(col_separate_char_, ansi_lead_bytes());
    const ColumnRules rules{separators, col_separate_short_space_ != FALSE, ansi_lead_bytes()};
    for (std::int32_t i = r.start; i <= r.end; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        entries_.store(at, rejoin_columns(entries_.at(at), rules, separator));
    }
    if (becomes_default) col_separate_char_.assign(separator);
    return true;
}

std::int32_t CListExObj::find(std::int32_t start, std::int32_t end, std::string_view text, const VARIANT& mode) {
    return findCol(start, end, -1, text, mode);
}

std::int32_t CListExObj::findCol(std::int32_t start, std::int32_t end, std::int16_t column, std::string_view text,
                                 const VARIANT& mode) {
    const MatchMode how = match_mode(opt_i2(mode).value_or(0));
    const Range r = clamp_range(start, end, last_index());
    if (r.start > r.end) return -1;
    if (column < 0 && how == MatchMode::exact) {
        const std::size_t found =
            entries_.find_equal(text, static_cast<std::size_t>(r.start), static_cast<std::size_t>(r.end));
        return found == EntryStore::npos ? -1 : static_cast<std::int32_t>(found);
    }
    const TextMatcher matches(text, how, ansi_lead_bytes());
    if (column < 0) {
        // Whole entries: each stays in registers on its way to the matcher.
        for (std::int32_t i = r.start; i <= r.end; ++i)
            if (matches(entries_.at(static_cast<std::size_t>(i)))) return i;
        return -1;
    }
    const SeparatorSet separators(col_separate_char_, ansi_lead_bytes());
    const ColumnRules rules{separators, col_separate_short_space_ != FALSE, ansi_lead_bytes()};
    for (std::int32_t i = r.start; i <= r.end; ++i) {
        std::string_view subject;
        if (!column_at(entries_.at(static_cast<std::size_t>(i)), rules, column, subject)) subject = std::string_view();
        if (matches(subject)) return i;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Sorting, text files, enumeration. Each handler converts all its arguments
// before it looks at the list: a conversion may run script code (an object's
// default value) that changes the list.

namespace {

// The locale's sort key of a text (LCMapString): byte strings that compare
// as the user's locale orders the texts. An empty text has the empty key,
// which comes first.
void collation_key(std::string_view text, DWORD flags, std::string& key) {
    key.clear();
    if (text.empty()) return;
    if (text.size() > INT_MAX / 8) throw std::bad_alloc();
    const int n = static_cast<int>(text.size());
    const DWORD how = LCMAP_SORTKEY | flags;
    key.resize(text.size() * 6 + 32);
    int got = ::LCMapStringA(LOCALE_USER_DEFAULT, how, text.data(), n, &key[0], static_cast<int>(key.size()));
    if (got == 0) {
        const int need = ::LCMapStringA(LOCALE_USER_DEFAULT, how, text.data(), n, nullptr, 0);
        if (need > 0) {
            key.resize(static_cast<std::size_t>(need));
            got = ::LCMapStringA(LOCALE_USER_DEFAULT, how, text.data(), n, &key[0], need);
        }
    }
    if (got <= 0) {
        key.assign(text);  // no key from the platform: the bytes themselves
        return;
    }
    key.resize(static_cast<std::size_t>(got));
}

// An optional whole number: its default when absent, false when present but
// not a number.
bool whole_number(const VARIANT& v, std::int32_t fallback, std::int32_t& out) {
    out = fallback;
    return i4_arg(v, out) != ArgState::unconvertible;
}

}  // namespace

bool CListExObj::sort(const VARIANT& column, const VARIANT& mode) {
    std::int32_t col = -1, how = 0;
    if (!whole_number(column, -1, col) || !whole_number(mode, 0, how)) return false;
    if (col < -1 || col > SHRT_MAX || how < 0 || (how & ~kSortModeBits) != 0) return false;

    const DWORD flags = (how & kSortIgnoreCase) ? NORM_IGNORECASE | NORM_IGNOREWIDTH : 0;
    const bool numbers = (how & kSortNumbers) != 0;
    const SeparatorSet separators(col_separate_char_, ansi_lead_bytes());
    const ColumnRules rules{separators, col_separate_short_space_ != FALSE, ansi_lead_bytes()};
    SortKeys keys(entries_.size());
    std::string key;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        // The text compared: the whole entry, or its field as ColValue reads it.
        std::string_view subject = entries_.at(i);
        if (col >= 0 && (no_separators() || !column_at(subject, rules, col, subject))) subject = std::string_view();
        double number = 0;
        if (numbers && leading_number(subject, number)) {
            keys.add_number(number);
            continue;
        }
        collation_key(subject, flags, key);
        if (numbers)
            keys.add_non_number(key);
        else
            keys.add_text(key);
    }
    entries_.permute(keys.stable_order((how & kSortDescending) != 0));
    return true;
}

namespace {

// The encoding a script names; `out` stays empty when it names none (absent
// or ""). False for a value that is no known name.
bool named_encoding(const VARIANT& v, std::optional<Encoding>& out) {
    std::string name;
    switch (text_arg(v, name)) {
        case ArgState::absent: return true;
        case ArgState::unconvertible: return false;
        case ArgState::value: break;
    }
    if (name.empty()) return true;
    out = encoding_named(name);
    return out.has_value();
}

}  // namespace

std::int32_t CListExObj::loadFile(std::string_view path, const VARIANT& encoding) {
    std::optional<Encoding> forced;
    if (!named_encoding(encoding, forced)) return -1;
    std::string bytes;
    if (!read_whole_file(path, bytes)) return -1;
    Encoding e = forced ? *forced : detect_encoding(bytes);
    if (e == Encoding::utf8 && mark_length(bytes, e)) e = Encoding::utf8_bom;  // written back with its mark

    std::string decoded;
    if (e != Encoding::ansi) {
        decoded = decode_to_ansi(bytes, e, [](std::u16string_view wide, std::string& out) { append_ansi(wide, out); });
        std::string().swap(bytes);
    }
    EntryStore loaded;
    split_lines(e == Encoding::ansi ? bytes : decoded, ansi_lead_bytes(),
                [&loaded](std::string_view line) { loaded.append(line); });
    entries_.swap(loaded);
    file_encoding_ = e;
    return static_cast<std::int32_t>(entries_.size());
}

bool CListExObj::saveFile(std::string_view path, const VARIANT& encoding, const VARIANT& line_end) {
    std::optional<Encoding> named;
    std::string end;
    if (!named_encoding(encoding, named) || text_arg(line_end, end) == ArgState::unconvertible) return false;
    if (end.empty()) end = "\r\n";
    const Encoding e = named ? *named : file_encoding_;

    ReplacingFile file;
    if (!file.create(path)) return false;
    const AnsiToWide to_wide = [](std::string_view ansi, std::u16string& out) { append_wide(ansi, out); };
    TextEncoder encoder(e, end, to_wide);
    std::string out;
    encoder.start(out);
    constexpr std::size_t kChunk = 1 << 20;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        encoder.add_line(entries_.at(i), out);
        if (out.size() >= kChunk) {
            if (!file.write(out)) return false;
            out.clear();
        }
    }
    return file.write(out) && file.commit();
}

ComPtr<IUnknown> CListExObj::newEnum() { return create_entry_enumerator(entries_); }

}  // namespace torvane
