#include "list/column_text.h"

#include <limits>

namespace torvane {
namespace {

// Calls on_field(view) for each field in order until it returns false.
template <typename OnField> void walk_fields(std::string_view entry, const ColumnRules& rules, OnField&& on_field) {
    const char* p = entry.data();
    const char* const end = p + entry.size();
    const char* start = p;
    while (p < end) {
        const std::size_t n = rules.lead.char_len(p, end);
        if (n == 1 && rules.separators.contains(static_cast<unsigned char>(*p))) {
            if (!on_field(std::string_view(start, static_cast<std::size_t>(p - start)))) return;
            ++p;
            if (rules.skip_short_space)
                while (p < end && *p == ' ') ++p;
            start = p;
            continue;
        }
        p += n;
    }
    on_field(std::string_view(start, static_cast<std::size_t>(end - start)));
}

}  // namespace

SeparatorSet::SeparatorSet(std::string_view text, const LeadBytes& lead) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = lead.char_len(text, i);
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (n == 1 && !lead.is_lead(c)) {
            if (count_ == 0) joiner_ = text[i];
            if (!set_[c]) ++count_;
            set_[c] = true;
        }
        i += n;
    }
}

void split_columns(std::string_view entry, const ColumnRules& rules, std::vector<std::string_view>& fields) {
    fields.clear();
    walk_fields(entry, rules, [&](std::string_view f) {
        fields.push_back(f);
        return true;
    });
}

bool column_at(std::string_view entry, const ColumnRules& rules, int column, std::string_view& field) {
    if (column < 0) return false;
    int index = 0;
    bool found = false;
    walk_fields(entry, rules, [&](std::string_view f) {
        if (index++ == column) {
            field = f;
            found = true;
            return false;
        }
        return true;
    });
    return found;
}

std::int16_t count_columns(std::string_view entry, const ColumnRules& rules) {
    constexpr int kMax = std::numeric_limits<std::int16_t>::max();
    int count = 0;
    walk_fields(entry, rules, [&](std::string_view) { return ++count < kMax; });
    return static_cast<std::int16_t>(count);
}

std::string replace_column(std::string_view entry, const ColumnRules& rules, int column, std::string_view text) {
    std::vector<std::string_view> fields;
    split_columns(entry, rules, fields);
    if (column >= 0 && static_cast<std::size_t>(column) >= fields.size())
        fields.resize(static_cast<std::size_t>(column) + 1);
    const std::string_view joiner = rules.separators.joiner();
    std::size_t length = 0;
    for (std::size_t i = 0; i < fields.size(); ++i)
        length += (static_cast<int>(i) == column ? text.size() : fields[i].size()) + (i ? joiner.size() : 0);
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += joiner;
        out += static_cast<int>(i) == column ? text : fields[i];
    }
    return out;
}

std::string rejoin_columns(std::string_view entry, const ColumnRules& rules, std::string_view separator) {
    std::string out;
    walk_fields(entry, rules, [&](std::string_view f) {
        if (!out.empty()) out += separator;
        out += f;
        return true;
    });
    return out;
}

MatchMode match_mode(int mode) {
    switch (mode) {
        case 1: return MatchMode::prefix;
        case 2: return MatchMode::exact;
        default: return MatchMode::contains;
    }
}

bool has_lead_bytes(const LeadBytes& lead) {
    for (int c = 0; c < 256; ++c)
        if (lead.is_lead(static_cast<unsigned char>(c))) return true;
    return false;
}

TextMatcher::TextMatcher(std::string_view text, MatchMode mode, const LeadBytes& lead)
    : text_(text), mode_(mode), lead_(lead), multibyte_(has_lead_bytes(lead)) {}

// The bytes of the text lie at `start`, a character boundary: whether they end
// on one too (the text's last character is whole in the subject).
bool TextMatcher::at_boundaries(std::string_view subject, std::size_t start) const {
    const std::size_t end = start + text_.size();
    std::size_t p = start;
    while (p < end) p += lead_.char_len(subject, p);
    return p == end;
}

namespace {

// string_view::find, with the first byte looked for inline: most entries are
// short, and a call into the C library per entry costs more than the search.
std::size_t find_bytes(std::string_view subject, std::string_view text, std::size_t from) {
    const std::size_t n = text.size();
    if (n == 0) return from <= subject.size() ? from : std::string_view::npos;
    if (subject.size() < n) return std::string_view::npos;
    const char first = text[0];
    const char* s = subject.data();
    for (std::size_t p = from, last = subject.size() - n; p <= last; ++p)
        if (s[p] == first && (n == 1 || subject.compare(p + 1, n - 1, text.substr(1)) == 0)) return p;
    return std::string_view::npos;
}

}  // namespace

bool TextMatcher::compare(std::string_view subject) const {
    if (mode_ == MatchMode::exact) return subject == text_;
    if (!multibyte_) {
        if (mode_ == MatchMode::prefix) return subject.substr(0, text_.size()) == text_;
        return find_bytes(subject, text_, 0) != std::string_view::npos;
    }
    if (subject.empty()) return false;
    if (mode_ == MatchMode::prefix)
        return subject.size() >= text_.size() && subject.compare(0, text_.size(), text_) == 0 &&
               at_boundaries(subject, 0);
    // Candidates come from a byte search; the boundary cursor then steps
    // character by character up to each, so the whole walk stays linear.
    std::size_t boundary = 0;
    for (std::size_t from = 0;;) {
        const std::size_t found = find_bytes(subject, text_, from);
        if (found == std::string_view::npos) return false;
        while (boundary < found) boundary += lead_.char_len(subject, boundary);
        if (boundary == found && at_boundaries(subject, found)) return true;
        from = found + 1;
    }
}

}  // namespace torvane
