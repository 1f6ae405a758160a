// Column split and rebuild, and the entry search, against slow references:
//  - the fields joined again with the separator found between them give the
//    entry back (short spaces skipped after separators aside);
//  - every field starts on a character boundary of the entry;
//  - column_at and count_columns agree with the full split;
//  - replace_column puts the text at its field and keeps the others;
//  - TextMatcher agrees with a search that tries every character start.
#include <cstdlib>
#include <string>
#include <vector>

#include "list/column_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace torvane;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// Offset of `part` inside `whole` (a view into it).
std::size_t offset_in(std::string_view whole, std::string_view part) {
    return static_cast<std::size_t>(part.data() - whole.data());
}

bool slow_match(std::string_view subject, std::string_view text, MatchMode mode, const LeadBytes& lead) {
    if (mode == MatchMode::exact) return subject == text;
    const bool multibyte = has_lead_bytes(lead);
    if (multibyte && subject.empty()) return false;
    for (std::size_t i = 0; i <= subject.size();) {
        if (subject.size() - i >= text.size() && subject.compare(i, text.size(), text) == 0 &&
            (!multibyte || fuzz::boundary(subject, i + text.size(), lead)))
            return true;
        if (mode == MatchMode::prefix || i == subject.size()) break;
        i += multibyte ? lead.char_len(subject, i) : 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in = fuzz::take_input(data, size);
    const std::string_view separators_text = fuzz::next_text(in.rest);
    const std::string_view entry = fuzz::next_text(in.rest);
    const std::string_view text = fuzz::next_text(in.rest);
    const SeparatorSet separators(separators_text, in.lead);
    const bool skip = (in.flags & 2) != 0;
    const ColumnRules rules{separators, skip, in.lead};

    std::vector<std::string_view> fields;
    split_columns(entry, rules, fields);
    check(!fields.empty());

    // Rebuild from the gaps between fields: each gap is one separator
    // character, then (when skipping) only blanks.
    std::string rebuilt;
    std::size_t at = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t start = offset_in(entry, fields[i]);
        check(start >= at && start + fields[i].size() <= entry.size());
        check(fuzz::boundary(entry, start, in.lead));
        if (i) {
            const std::string_view gap = entry.substr(at, start - at);
            check(!gap.empty() && separators.contains(static_cast<unsigned char>(gap[0])));
            check(in.lead.char_len(entry, at) == 1);
            for (std::size_t k = 1; k < gap.size(); ++k) check(skip && gap[k] == ' ');
            rebuilt += gap;
        } else {
            check(start == 0);
        }
        rebuilt += fields[i];
        for (std::size_t k = 0; k < fields[i].size(); k += in.lead.char_len(fields[i], k))
            check(in.lead.char_len(fields[i], k) != 1 ||
                  !separators.contains(static_cast<unsigned char>(fields[i][k])) ||
                  // a lead byte before a zero stands alone but is no separator
                  in.lead.is_lead(fields[i][k]));
        at = start + fields[i].size();
    }
    check(at == entry.size());
    check(rebuilt == entry);

    const int count = count_columns(entry, rules);
    check(count == static_cast<int>(fields.size() < 32767 ? fields.size() : 32767));
    const int column = static_cast<int>(static_cast<signed char>(in.flags)) / 4;
    std::string_view field;
    const bool found = column_at(entry, rules, column, field);
    check(found == (column >= 0 && static_cast<std::size_t>(column) < fields.size()));
    if (found)
        check(field.data() == fields[static_cast<std::size_t>(column)].data() &&
              field.size() == fields[static_cast<std::size_t>(column)].size());

    // Replacing one field: the result splits to the same fields with the one
    // replaced (when neither the text nor a field holds a separator, and no
    // blanks are lost to skipping).
    const std::string replaced = replace_column(entry, rules, column, text);
    if (!separators.empty() && !(skip && separators.joiner() == " ")) {
        std::vector<std::string_view> text_fields;
        split_columns(text, rules, text_fields);
        const bool plain_text = text_fields.size() == 1 && (text.empty() || text[0] != ' ' || !skip) &&
                                (text.empty() || !in.lead.is_lead(text.back()));
        bool plain_fields = true;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!fields[i].empty() && (fields[i][0] == ' ' && skip)) plain_fields = false;
            if (!fields[i].empty() && in.lead.is_lead(fields[i].back())) plain_fields = false;
        }
        if (plain_text && plain_fields) {
            std::vector<std::string_view> after;
            split_columns(replaced, rules, after);
            const std::size_t want = column >= 0 && static_cast<std::size_t>(column) >= fields.size()
                                         ? static_cast<std::size_t>(column) + 1
                                         : fields.size();
            check(after.size() == want);
            for (std::size_t i = 0; i < want; ++i) {
                const std::string_view expect = static_cast<int>(i) == column ? text
                                                : i < fields.size()           ? fields[i]
                                                                              : std::string_view();
                check(after[i] == expect);
            }
        }
    } else if (separators.empty()) {
        // No separators: one field, replaced whole by column 0; a later
        // column adds empty fields and the text with nothing between.
        check(replaced == (column == 0  ? std::string(text)
                           : column > 0 ? std::string(entry) + std::string(text)
                                        : std::string(entry)));
    }

    // Rejoining: the fields in order, one separator between non-empty
    // prefixes.
    const std::string rejoined = rejoin_columns(entry, rules, "\x01");
    std::string expect;
    for (const std::string_view f : fields) {
        if (!expect.empty()) expect += '\x01';
        expect += f;
    }
    check(rejoined == expect);

    for (int mode = 0; mode < 3; ++mode) {
        const TextMatcher match(text, match_mode(mode), in.lead);
        check(match(entry) == slow_match(entry, text, match_mode(mode), in.lead));
        for (const std::string_view f : fields) check(match(f) == slow_match(f, text, match_mode(mode), in.lead));
    }
    return 0;
}
