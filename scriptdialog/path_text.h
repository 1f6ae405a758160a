#pragma once
// Path texts of the file members: extension replacement, 'file:' address
// decoding and the walk that creates a directory tree from the top down.
// Platform-free; the code page enters as its lead-byte table, and every scan
// steps character by character, so that a trail byte equal to '\\', '/', '.'
// or ':' never counts as one of those characters.
//
// None of these works in a fixed buffer: a text of any length is processed in
// full, and whatever the platform cannot take is refused by the platform.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/mbcs.h"
#include "scriptdialog/url_text.h"

namespace torvane {

// The path with its extension replaced by `extension` (given without its
// dot). The extension dot is the last '.' that comes after the last '\\' or
// '/' and is not the path's first character; without one, "." and the
// extension are appended to the whole path. An empty extension leaves the
// result ending in the dot.
std::string change_extension(std::string_view path, std::string_view extension, const LeadBytes& lead);

// A local path ("C:/dir/x") or a 'file:' address ("file:///C:/My%20Files")
// turned into a local path with backslashes; nullopt for anything else.
//  - exactly one ':' : it must be the second character (a drive letter);
//  - exactly two ':' : the text must start with "file:" (any case); after the
//    slashes that follow, a drive letter and ':' must come;
//  - any other count : nullopt, as for an empty text.
// The path from the drive letter on is decoded by decode_address_path
// (url_text.h): '/' becomes '\\', escapes of UTF-8 text are converted with
// `to_code_page`, other "%XY" escapes become bytes, and a decoded zero byte
// ends the result.
std::optional<std::string> decode_local_path(std::string_view text, const LeadBytes& lead,
                                             const Utf8ToCodePage& to_code_page);

// What the directory walk asks of the file system.
enum class PathKind { missing, file, directory };
enum class MakeResult { made, exists, failed };
struct DirectoryOps {
    std::function<PathKind(const std::string&)> probe;
    std::function<bool(const std::string&)> create;  // one directory; false when it fails
    // Optional: one directory, telling a name that exists already apart
    // from a failure. With it, plain drive paths take one pass (below).
    std::function<MakeResult(const std::string&)> make;
};

// Creates `path` and every missing directory above it, top down, one per
// round, and answers whether the path finally is a directory. Only '\\'
// separates components. Each round finds the longest leading part, cut at a
// backslash, that exists, and creates that part plus its next component;
// then the whole path is tested again. When no leading part exists (a
// relative name, "\\dir" on the current drive, a missing drive), the first
// component is created as it stands. A path that names an existing file
// followed by a trailing backslash, a failed create, or a round that makes
// no progress ends the walk with false.
//
// Names that lead back to what exists (".", "..", the empty name of a
// doubled backslash) are walked through like any other: "W\\a\\.\\b",
// "W\\g\\h\\." and "W\\e\\\\f" end as directories. Only below a
// directory just made, where plain names (below) cannot exist yet, does a
// round skip the tests of the whole path and of longer leading parts.
//
// A plain drive path ("X:\\" and components that are not empty, not "." or
// "..", do not end in '.' or ' ' and hold none of / * ? : " < > |; a doubled
// backslash counts as one, trailing backslashes are dropped) has no leading
// part that exists below a missing one, so the walk's rounds come to making
// each leading part in turn from the top. With `ops.make` such a path takes
// that one pass: every leading part is made or found existing, and no
// missing name is ever looked up (a failed lookup costs a search through the
// folder on some file systems). A make that fails hands over to the rounds
// above, from where the pass got to.
bool create_directory_tree(std::string_view path, const LeadBytes& lead, const DirectoryOps& ops);

// The backslashes that end the leading parts of a plain drive path (the one
// after "X:", the later ones of a doubled backslash and trailing ones
// excluded); nullopt for any other path.
std::optional<std::vector<std::size_t>> plain_drive_path_separators(std::string_view path, const LeadBytes& lead);

}  // namespace torvane
