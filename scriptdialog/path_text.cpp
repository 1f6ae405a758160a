#include "scriptdialog/path_text.h"

#include <vector>

namespace torvane {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool is_single(std::string_view s, std::size_t i, const LeadBytes& lead, char c) {
    return s[i] == c && lead.char_len(s, i) == 1;
}

bool equals_ascii_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::string change_extension(std::string_view path, std::string_view extension, const LeadBytes& lead) {
    // The last '.', '\\' or '/' after the first character decides.
    std::size_t dot = npos;
    for (std::size_t i = 0; i < path.size(); i += lead.char_len(path, i)) {
        if (i == 0 || lead.char_len(path, i) != 1) continue;
        if (path[i] == '.')
            dot = i;
        else if (path[i] == '\\' || path[i] == '/')
            dot = npos;
    }
    std::string result;
    if (dot != npos) {
        result.reserve(dot + 1 + extension.size());
        result.append(path.substr(0, dot + 1));
    } else {
        result.reserve(path.size() + 1 + extension.size());
        result.append(path).push_back('.');
    }
    result.append(extension);
    return result;
}

std::optional<std::string> decode_local_path(std::string_view text, const LeadBytes& lead,
                                             const Utf8ToCodePage& to_code_page) {
    // A zero byte ends the text, as it ends a string handed over by a script.
    text = text.substr(0, text.find('\0'));
    if (text.empty()) return std::nullopt;

    std::size_t colons = 0, first_colon = npos;
    for (std::size_t i = 0; i < text.size(); i += lead.char_len(text, i)) {
        if (!is_single(text, i, lead, ':')) continue;
        if (colons++ == 0) first_colon = i;
    }

    std::size_t start = 0;
    if (colons == 1) {
        if (first_colon != 1) return std::nullopt;
    } else if (colons == 2) {
        if (!equals_ascii_nocase(text.substr(0, first_colon), "file")) return std::nullopt;
        std::size_t p = first_colon + 1;
        while (p < text.size() && text[p] == '/') ++p;
        if (p >= text.size()) return std::nullopt;
        const std::size_t q = p + lead.char_len(text, p);
        if (q >= text.size() || !is_single(text, q, lead, ':')) return std::nullopt;
        start = p;
    } else {
        return std::nullopt;
    }

    return decode_address_path(text.substr(start), lead, to_code_page);
}

namespace {

// A component that names one entry as it is written: not empty, not "." or
// "..", not ending in '.' or ' ' (which the platform strips), none of
// / * ? : " < > |. Inside a directory just made, such a name cannot exist.
bool plain_component(std::string_view path, std::size_t start, std::size_t end, const LeadBytes& lead) {
    const std::string_view part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    std::size_t last = npos;  // the last character, when single-byte
    for (std::size_t i = start; i < end;) {
        const std::size_t n = lead.char_len(path, i);
        if (n == 1) {
            if (std::string_view("/*?:\"<>|").find(path[i]) != npos) return false;
            last = i;
        } else {
            last = npos;
        }
        i += n;
    }
    return last == npos || (path[last] != '.' && path[last] != ' ');
}

// The end of the path without its trailing backslashes.
std::size_t without_trailing_backslashes(std::string_view path, const std::vector<std::size_t>& separators) {
    std::size_t end = path.size();
    for (auto it = separators.rbegin(); it != separators.rend() && *it + 1 == end; ++it) end = *it;
    return end;
}

// Offsets of the separating backslashes, found character by character.
std::vector<std::size_t> backslashes(std::string_view path, const LeadBytes& lead) {
    std::vector<std::size_t> separators;
    for (std::size_t i = 0; i < path.size(); i += lead.char_len(path, i))
        if (is_single(path, i, lead, '\\')) separators.push_back(i);
    return separators;
}

}  // namespace

std::optional<std::vector<std::size_t>> plain_drive_path_separators(std::string_view path, const LeadBytes& lead) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() < 4 || !letter(path[0]) || path[1] != ':' || path[2] != '\\') return std::nullopt;
    const std::vector<std::size_t> all = backslashes(path, lead);
    const std::size_t end = without_trailing_backslashes(path, all);
    std::vector<std::size_t> separators;
    std::size_t start = 3;  // of the current component, after a run of backslashes
    for (std::size_t k = 1; k <= all.size(); ++k) {
        const std::size_t at = k < all.size() ? all[k] : end;
        if (at > end) break;
        if (at == start) {  // a doubled backslash: one separator
            ++start;
            continue;
        }
        if (!plain_component(path, start, at, lead)) return std::nullopt;
        if (at == end) break;
        separators.push_back(at);
        start = at + 1;
    }
    if (start >= end) return std::nullopt;  // "X:\" alone
    return separators;
}

bool create_directory_tree(std::string_view path_view, const LeadBytes& lead, const DirectoryOps& ops) {
    const std::string path(path_view);
    const std::vector<std::size_t> separators = backslashes(path, lead);
    const std::size_t end_of_names = without_trailing_backslashes(path, separators);
    if (ops.make) {
        if (const auto plain = plain_drive_path_separators(path, lead)) {
            MakeResult made = MakeResult::failed;
            for (std::size_t k = 0; k <= plain->size(); ++k) {
                made = ops.make(path.substr(0, k < plain->size() ? (*plain)[k] : end_of_names));
                if (made == MakeResult::failed) break;
            }
            if (made == MakeResult::made) return true;
            if (made == MakeResult::exists) return ops.probe(path) == PathKind::directory;
        }
    }
    PathKind kind = ops.probe(path);
    if (kind != PathKind::missing) return kind == PathKind::directory;

    // The components from plain_tail on are all plain (trailing backslashes
    // aside): below a directory just made, none of them exists yet. Before
    // it, a name may lead back to what exists (".", "..", a doubled
    // backslash, a name the platform trims).
    std::size_t plain_tail = end_of_names;
    for (auto it = separators.rbegin(); it != separators.rend(); ++it) {
        if (*it >= end_of_names) continue;
        if (!plain_component(path, *it + 1, plain_tail, lead)) break;
        plain_tail = *it;
    }

    std::size_t created_end = 0;
    std::size_t cut = npos;
    bool known = false;  // cut is a directory just made: no need to look for it
    for (;;) {
        if (!known) {
            // The longest leading part, cut at a backslash, that exists.
            cut = npos;
            for (auto it = separators.rbegin(); it != separators.rend(); ++it) {
                if (*it == 0) break;  // the empty text before a leading backslash
                if (ops.probe(path.substr(0, *it)) != PathKind::missing) {
                    cut = *it;
                    break;
                }
            }
            // An existing file (or a directory that refuses the backslash)
            // followed by the path's trailing backslash.
            if (cut != npos && cut + 1 == path.size()) return false;
        }
        known = false;

        // The next component ends at the first backslash behind the cut
        // (behind the first character when nothing exists).
        const std::size_t after = (cut == npos) ? 0 : cut;
        std::size_t end = path.size();
        for (std::size_t s : separators)
            if (s > after) {
                end = s;
                break;
            }
        // A round must reach further than the one before; anything else
        // means the file system does not show what it made.
        if (end <= created_end) return false;
        if (!ops.create(path.substr(0, end))) return false;
        created_end = end;

        // Nothing lies below a directory just made: when it shows and only
        // plain names follow, the next round starts from it, without probing
        // the whole path and every longer leading part again (each failed
        // probe costs a look through a folder on some file systems).
        if (end >= plain_tail && end < end_of_names && ops.probe(path.substr(0, end)) == PathKind::directory) {
            cut = end;
            known = true;
            continue;
        }
        kind = ops.probe(path);
        if (kind != PathKind::missing) return kind == PathKind::directory;
    }
}

}  // namespace torvane
