// File and path members of the ScriptDialog object: version resources,
// directory trees, temporary names, attributes and time stamps, extension
// replacement, copying and moving, 'file:' addresses and special folders.
// Every member is stateless and reports failure through its result (0, -1,
// FALSE or Null); nothing here raises a script error of its own.
//
// Paths of any length are handed to the platform whole: the text work
// (path_text.h) runs on std::string, never in a fixed buffer, and the one
// platform call whose result buffer a long input could overrun
// (GetTempFileNameA) is guarded before it is made.
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "frame/text.h"
#include "frame/variant_args.h"
#include "scriptdialog/path_text.h"
#include "scriptdialog/scriptdialog.h"

namespace torvane {
namespace {

enum class VersionState { missing, directory, no_resource, unreadable, ok };

struct FileVersion {
    VersionState state;
    DWORD ms = 0;  // first number in the high word, second in the low word
    DWORD ls = 0;  // third and fourth
};

FileVersion read_file_version(const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return {VersionState::missing};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {VersionState::directory};
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return {VersionState::no_resource};
    std::vector<char> block(static_cast<std::size_t>(size) + 1);
    if (!::GetFileVersionInfoA(path, 0, size, block.data())) return {VersionState::unreadable};
    void* info = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!::VerQueryValueA(block.data(), root, &info, &length) || !info || length < sizeof(VS_FIXEDFILEINFO))
        return {VersionState::unreadable};
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, info, sizeof fixed);
    // A block without the signature is damaged: its numbers mean nothing.
    if (fixed.dwSignature != VS_FFI_SIGNATURE) return {VersionState::unreadable};
    return {VersionState::ok, fixed.dwFileVersionMS, fixed.dwFileVersionLS};
}

PathKind probe_path(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::directory : PathKind::file;
}

bool create_one_directory(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

MakeResult make_one_directory(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) return MakeResult::made;
    return ::GetLastError() == ERROR_ALREADY_EXISTS ? MakeResult::exists : MakeResult::failed;
}

// The text of an optional argument: `fallback` when absent, empty when it
// does not convert, cut at an embedded zero as the platform would read it.
std::string text_or(const VARIANT& v, const char* fallback) {
    std::string text;
    switch (text_arg(v, text)) {
        case ArgState::absent: return fallback;
        case ArgState::unconvertible: return std::string();
        case ArgState::value: break;
    }
    return text.substr(0, text.find('\0'));
}

// Bytes taken by the first three characters of `text`: all that the
// platform puts of a prefix into a temporary name.
std::size_t first_characters(const std::string& text, std::size_t count) {
    const LeadBytes& lead = ansi_lead_bytes();
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < text.size(); ++n) i += lead.char_len(text, i);
    return i;
}

Variant file_time(const char* path, bool creation) {
    // Read sharing only: a file that someone holds open for writing, or a
    // directory, does not open and gives Null.
    UniqueFile file(
        ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Variant::null();
    FILETIME created{}, accessed{}, written{};
    if (!::GetFileTime(file.get(), &created, &accessed, &written)) return Variant::null();
    FILETIME local{};
    SYSTEMTIME fields{};
    DATE date = 0;  // 30 December 1899 when the stamp does not convert
    if (::FileTimeToLocalFileTime(creation ? &created : &written, &local) && ::FileTimeToSystemTime(&local, &fields)) {
        fields.wMilliseconds = 0;
        if (!::SystemTimeToVariantTime(&fields, &date)) date = 0;
    }
    return Variant::date(date);
}

Variant text_result(std::string_view text) { return Variant::bstr(to_bstr(text)); }

}  // namespace

// The second and fourth version numbers, packed: 1.2.3.4 gives 0x00020004.
std::int32_t CTorvane_ScriptDialog::getFileVersion(const char* path) {
    const FileVersion v = read_file_version(path);
    if (v.state != VersionState::ok) return 0;
    return static_cast<std::int32_t>(((v.ms & 0xFFFFu) << 16) | (v.ls & 0xFFFFu));
}

// 1 when the file's version is at least major.minor, 0 when it is lower or
// cannot be read, -1 for a directory or a file without a version resource.
std::int16_t CTorvane_ScriptDialog::versionCheck(const char* path, std::int16_t major, std::int16_t minor, std::int16_t,
                                                 std::int16_t) {
    const FileVersion v = read_file_version(path);
    switch (v.state) {
        case VersionState::missing:
        case VersionState::unreadable: return 0;
        case VersionState::directory:
        case VersionState::no_resource: return -1;
        case VersionState::ok: break;
    }
    const std::uint32_t wanted =
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(major)) << 16) | static_cast<std::uint16_t>(minor);
    return v.ms >= wanted ? 1 : 0;
}

bool CTorvane_ScriptDialog::createDirectory(const char* path) {
    return create_directory_tree(path, ansi_lead_bytes(),
                                 DirectoryOps{probe_path, create_one_directory, make_one_directory});
}

// The platform's answer whatever its length; empty when it has none.
std::string CTorvane_ScriptDialog::getTempPath() {
    std::vector<char> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(static_cast<std::size_t>(n) + 1);  // n is the size needed
    }
    return std::string();
}

Variant CTorvane_ScriptDialog::getTempFileName(const VARIANT& directory, const VARIANT& prefix) {
    const std::string dir = text_or(directory, ".");
    const std::string pre = text_or(prefix, "tmp");
    // The platform writes the folder, "\\", up to three characters of the
    // prefix, four hex digits and ".tmp" into a MAX_PATH buffer and does not
    // check the folder's length: refuse what would not fit.
    if (dir.size() > MAX_PATH - 14 || dir.size() + 1 + first_characters(pre, 3) + 8 >= MAX_PATH) return Variant::null();
    char name[MAX_PATH] = {};
    if (!::GetTempFileNameA(dir.c_str(), pre.c_str(), 0, name)) return Variant::null();
    return text_result(std::string_view(name, strnlen(name, MAX_PATH)));
}

std::int32_t CTorvane_ScriptDialog::getFileAttributes(const char* path) {
    return static_cast<std::int32_t>(::GetFileAttributesA(path));
}

Variant CTorvane_ScriptDialog::getFileLastWriteTime(const char* path) { return file_time(path, false); }

Variant CTorvane_ScriptDialog::getFileCreationTime(const char* path) { return file_time(path, true); }

std::string CTorvane_ScriptDialog::changeExtensionName(const char* path, const char* extension) {
    return change_extension(path, extension, ansi_lead_bytes());
}

// A copy onto the source itself (under any spelling) fails in the platform,
// which opens the source without write sharing before it opens the target:
// MoveFile then deletes nothing.
bool CTorvane_ScriptDialog::copyFile(const char* source, const char* target, const VARIANT& fail_if_exists) {
    const bool fail = opt_i2(fail_if_exists).value_or(0) != 0;
    return ::CopyFileA(source, target, fail ? TRUE : FALSE) != FALSE;
}

// Always a copy and a deletion; a source that cannot be deleted stays, and
// the move still counts as done.
bool CTorvane_ScriptDialog::moveFile(const char* source, const char* target, const VARIANT& fail_if_exists) {
    if (!copyFile(source, target, fail_if_exists)) return false;
    ::DeleteFileA(source);
    return true;
}

Variant CTorvane_ScriptDialog::getLocalPathName(const char* text) {
    const std::optional<std::string> path = decode_local_path(text, ansi_lead_bytes(), utf8_to_ansi);
    if (!path) return Variant::null();
    return text_result(*path);
}

// The library sets no main window, so the shell gets no owner.
Variant CTorvane_ScriptDialog::getSpecialFolderPath(std::int32_t folder) {
    UniqueItemIdList list;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, list.put())) || !list) return Variant::null();
    char path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListA(list.get(), path)) return Variant::null();  // a virtual folder
    return text_result(std::string_view(path, strnlen(path, MAX_PATH)));
}

}  // namespace torvane
