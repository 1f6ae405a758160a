// Path texts against slow references:
//  - change_extension keeps the path up to its extension dot (a '.' on a
//    character start, not the first character, after every separator) and
//    appends the extension; without such a dot, the whole path, "." and the
//    extension;
//  - decode_local_path agrees with a reference that splits the text into
//    characters first and reads each "%XY" with strtol, when UTF-8 runs
//    convert to their own bytes; the runs it hands over are valid UTF-8;
//  - create_directory_tree, over a file system held in memory, creates only
//    leading parts of the path cut at its separators, each once and top
//    down, ends, and answers true exactly when the path is then a directory;
//    over a file system that resolves ".", ".." and doubled or trailing
//    backslashes as the platform does and holds no files, "C:\\" followed by
//    the text always ends as a directory, with and without the one pass;
//  - whole_characters (profile values read through a buffer) cuts at most
//    one byte, a lead byte that stood alone at the end, and the cut ends on a
//    character boundary.
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "scriptdialog/path_text.h"
#include "scriptdialog/profile_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace torvane;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

std::vector<std::string> characters(std::string_view s, const LeadBytes& lead) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size(); i += lead.char_len(s, i)) out.emplace_back(s.substr(i, lead.char_len(s, i)));
    return out;
}

std::string slow_change_extension(std::string_view path, std::string_view ext, const LeadBytes& lead) {
    const std::vector<std::string> chars = characters(path, lead);
    std::size_t keep = std::string::npos, at = 0;
    for (std::size_t k = 0; k < chars.size(); at += chars[k].size(), ++k) {
        if (k == 0) continue;
        if (chars[k] == ".") keep = at;
        if (chars[k] == "\\" || chars[k] == "/") keep = std::string::npos;
    }
    if (keep == std::string::npos) return std::string(path) + "." + std::string(ext);
    return std::string(path.substr(0, keep + 1)) + std::string(ext);
}

std::optional<std::string> slow_decode(std::string_view text, const LeadBytes& lead) {
    text = text.substr(0, text.find('\0'));
    const std::vector<std::string> chars = characters(text, lead);
    std::vector<std::size_t> colons;
    for (std::size_t k = 0; k < chars.size(); ++k)
        if (chars[k] == ":") colons.push_back(k);
    std::size_t start = 0;
    if (colons.size() == 1) {
        if (colons[0] != 1 || chars[0].size() != 1) return std::nullopt;
    } else if (colons.size() == 2) {
        std::string scheme;
        for (std::size_t k = 0; k < colons[0]; ++k) scheme += chars[k];
        for (char& c : scheme)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (scheme != "file") return std::nullopt;
        std::size_t k = colons[0] + 1;
        while (k < chars.size() && chars[k] == "/") ++k;
        if (k + 1 >= chars.size() || chars[k + 1] != ":") return std::nullopt;
        start = k;
    } else {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t k = start; k < chars.size();) {
        if (chars[k] == "/") {
            out += '\\';
            ++k;
        } else if (chars[k] == "%") {
            std::string digits;
            std::size_t n = 0;
            for (++k; n < 2 && k < chars.size(); ++n, ++k) digits += chars[k];
            const long v = std::strtol(digits.c_str(), nullptr, 16);
            const char byte = static_cast<char>(static_cast<unsigned long>(v) & 0xFF);
            if (byte == '\0') break;
            out += byte;
        } else {
            out += chars[k++];
        }
    }
    return out;
}

struct MemoryFs {
    std::set<std::string> dirs, files, refused;
    std::vector<std::string> created;
    PathKind probe(const std::string& p) const {
        if (dirs.count(p)) return PathKind::directory;
        if (files.count(p)) return PathKind::file;
        return PathKind::missing;
    }
    bool create(const std::string& p) {
        created.push_back(p);
        if (probe(p) != PathKind::missing || refused.count(p)) return false;
        dirs.insert(p);
        return true;
    }
};

void check_tree(std::string_view path, unsigned char flags, const LeadBytes& lead) {
    // Cuts of the path at its separators (character starts only).
    std::vector<std::size_t> cuts;
    for (std::size_t i = 0; i < path.size(); i += lead.char_len(path, i))
        if (path[i] == '\\' && lead.char_len(path, i) == 1) cuts.push_back(i);
    MemoryFs fs;
    for (std::size_t k = 0; k < cuts.size(); ++k) {
        const std::string part(path.substr(0, cuts[k]));
        const unsigned bit = 1u << (k % 7);
        if (flags & bit) (k % 3 == 2 ? fs.files : fs.dirs).insert(part);
        if ((flags & 0x80) && k == cuts.size() / 2) fs.refused.insert(part);
    }
    const std::size_t before = fs.created.size();
    DirectoryOps ops{[&](const std::string& p) { return fs.probe(p); },
                     [&](const std::string& p) { return fs.create(p); }};
    const bool made = create_directory_tree(path, lead, ops);
    check(made == (fs.probe(std::string(path)) == PathKind::directory));
    check(fs.created.size() - before <= cuts.size() + 1);
    std::size_t last = 0;
    for (const std::string& c : fs.created) {
        check(c.size() > last || (last == 0 && !c.empty()));
        last = c.size();
        check(std::string_view(c) == path.substr(0, c.size()));
        check(c.size() == path.size() || (path[c.size()] == '\\' && fuzz::boundary(path, c.size(), lead)));
    }
}

// Names resolved as the platform resolves them, character by character: "."
// stays, ".." goes up (never above the drive), empty names go.
std::string resolve(std::string_view p, const LeadBytes& lead) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < p.size(); i += lead.char_len(p, i)) {
        if (p[i] == '\\' && lead.char_len(p, i) == 1)
            parts.emplace_back();
        else
            parts.back().append(p.substr(i, lead.char_len(p, i)));
    }
    std::vector<std::string> kept;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (k == 0) {
            kept.push_back(parts[0]);
        } else if (parts[k] == "..") {
            if (kept.size() > 1) kept.pop_back();
        } else if (!parts[k].empty() && parts[k] != ".") {
            kept.push_back(parts[k]);
        }
    }
    std::string out = kept[0];
    for (std::size_t k = 1; k < kept.size(); ++k) out += "\\" + kept[k];
    return out;
}

void check_resolving(std::string_view text, const LeadBytes& lead, bool with_make) {
    const std::string path = "C:\\" + std::string(text);
    std::set<std::string> dirs{"C:"};
    auto make = [&](const std::string& p) {
        const std::string name = resolve(p, lead);
        if (dirs.count(name)) return MakeResult::exists;
        // The parent: the name without its last component.
        std::size_t cut = std::string::npos;
        for (std::size_t i = 0; i < name.size(); i += lead.char_len(name, i))
            if (name[i] == '\\' && lead.char_len(name, i) == 1) cut = i;
        if (cut == std::string::npos || !dirs.count(name.substr(0, cut))) return MakeResult::failed;
        dirs.insert(name);
        return MakeResult::made;
    };
    DirectoryOps ops{
        [&](const std::string& p) { return dirs.count(resolve(p, lead)) ? PathKind::directory : PathKind::missing; },
        [&](const std::string& p) { return make(p) == MakeResult::made; }};
    if (with_make) ops.make = make;
    check(create_directory_tree(path, lead, ops));
    check(dirs.count(resolve(path, lead)) == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in = fuzz::take_input(data, size);
    const std::string_view path = fuzz::next_text(in.rest);
    const std::string_view ext = fuzz::next_text(in.rest);

    const std::string changed = change_extension(path, ext, in.lead);
    check(changed == slow_change_extension(path, ext, in.lead));

    // With UTF-8 runs converted to their own bytes, the result is that of
    // byte-wise decoding; with every run marked, the marks hold valid UTF-8
    // and, unmarked, give the same text.
    const std::optional<std::string> decoded =
        decode_local_path(path, in.lead, [](std::string_view utf8) { return std::string(utf8); });
    const std::optional<std::string> slow = slow_decode(path, in.lead);
    check(decoded.has_value() == slow.has_value());
    if (decoded) {
        check(*decoded == *slow);
        check(decoded->find('\0') == std::string::npos);
        const std::optional<std::string> marked = decode_local_path(path, in.lead, [](std::string_view utf8) {
            check(is_valid_utf8(utf8));
            return "\x01" + std::string(utf8) + "\x02";
        });
        check(marked.has_value());
        const auto unmarked = [](const std::string& text) {
            std::string out;
            for (const char c : text)
                if (c != '\x01' && c != '\x02') out.push_back(c);
            return out;
        };
        check(unmarked(*marked) == unmarked(*decoded));
    }

    // The walk probes every leading part each round: long paths add time,
    // not cases.
    if (path.size() <= 512) {
        check_tree(path, in.flags, in.lead);
        check_resolving(path, in.lead, (in.flags & 2) != 0);
    }

    const std::size_t whole = whole_characters(path, in.lead);
    check(whole == path.size() ||
          (whole + 1 == path.size() && in.lead.is_lead(path.back()) && fuzz::boundary(path, whole, in.lead)));
    if (!path.empty() && in.lead.is_lead(path.back()) && fuzz::boundary(path, path.size() - 1, in.lead))
        check(whole + 1 == path.size());
    return 0;
}
