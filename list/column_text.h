#pragma once
// Column fields of List entries and the entry search. Platform-free: the code
// page enters as its lead-byte table; entries are byte strings of that code
// page and may be of any length (embedded zeros are ordinary bytes).
//
// The split walks an entry character by character. A character is a
// separator when it is a single-byte character found in the separator set;
// a double-byte character never is, by either of its bytes. After a
// separator, a run of half-width spaces may be skipped (the "short space"
// setting). An entry with k separators has k+1 fields, some possibly empty.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/mbcs.h"

namespace torvane {

// The separator set built from a ColSeparateChar text: every single-byte
// character of the text up to its first zero byte. Double-byte characters of
// the text, and a lead byte left dangling at its end, add nothing.
class SeparatorSet {
public:
    SeparatorSet(std::string_view text, const LeadBytes& lead);

    bool empty() const { return count_ == 0; }
    bool contains(unsigned char c) const { return set_[c]; }

    // The joiner that ColValue writes between fields: the first single-byte
    // character of the text, or none (empty) when the set is empty.
    std::string_view joiner() const { return std::string_view(&joiner_, count_ ? 1 : 0); }

private:
    std::array<bool, 256> set_{};
    std::size_t count_ = 0;
    char joiner_ = 0;
};

struct ColumnRules {
    const SeparatorSet& separators;
    bool skip_short_space;
    const LeadBytes& lead;
};

// Fields of an entry, as views into it.
void split_columns(std::string_view entry, const ColumnRules& rules, std::vector<std::string_view>& fields);

// Field number `column` of the entry without building the list; false when the
// entry has no such field (column negative or beyond the last field).
bool column_at(std::string_view entry, const ColumnRules& rules, int column, std::string_view& field);

// Number of fields (at least 1), saturated at 32767 so that it fits the 16-bit
// result of ColCount.
std::int16_t count_columns(std::string_view entry, const ColumnRules& rules);

// ColValue put: the entry's fields joined with the joiner, with field number
// `column` replaced by `text` (empty fields are added first when the entry has
// fewer). A negative column replaces nothing; the entry is still rebuilt.
std::string replace_column(std::string_view entry, const ColumnRules& rules, int column, std::string_view text);

// ChangeTerminateChar: the fields joined again with `separator`, which is put
// before a field only when the text built so far is not empty.
std::string rejoin_columns(std::string_view entry, const ColumnRules& rules, std::string_view separator);

// Search modes of Find and FindCol.
enum class MatchMode { contains, prefix, exact };
MatchMode match_mode(int mode);

// Whether `subject` matches `text` under a mode.
//
// Under a code page with lead bytes, an occurrence starts and ends on
// character boundaries of the subject (a lone lead byte at the end of the
// text never matches the first half of a double-byte character), and an empty
// subject contains nothing, not even the empty text. Under a single-byte code
// page the search is a plain byte search, in which the empty text occurs in
// every subject. Exact matching compares the bytes in both cases.
class TextMatcher {
public:
    TextMatcher(std::string_view text, MatchMode mode, const LeadBytes& lead);

    // Most subjects of a search fail on the text's first byte: absent from
    // the subject, or not its first byte. That is settled here, inline in the
    // caller's loop; the rest of the comparison is out of line.
    bool operator()(std::string_view subject) const {
        if (!text_.empty()) {
            if (subject.size() < text_.size()) return false;
            const char first = text_[0];
            if (mode_ != MatchMode::contains) {
                if (subject[0] != first) return false;
            } else {
                std::size_t i = 0;
                const std::size_t last = subject.size() - text_.size();
                while (i <= last && subject[i] != first) ++i;
                if (i > last) return false;
            }
        }
        return compare(subject);
    }

private:
    bool compare(std::string_view subject) const;
    bool at_boundaries(std::string_view subject, std::size_t start) const;

    std::string_view text_;
    MatchMode mode_;
    const LeadBytes& lead_;
    bool multibyte_;
};

// Whether the table has any lead byte (a double-byte code page).
bool has_lead_bytes(const LeadBytes& lead);

}  // namespace torvane
