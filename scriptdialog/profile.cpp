// ProfileValue: one named value in the fixed section of the profile file
// named by ProfilePath. No cache of our own: every read and write goes to
// the platform's profile calls, and a write is flushed to the file at once,
// so that other programs reading the file see it.
//
// A key or value that the file cannot hold as one entry of the section
// (profile_text.h) never reaches the platform: such a key reads as empty,
// and a write with one is lost like a failed write, leaving the file as it
// was. Written, it would add lines, sections or keys of its own.
#include <cstring>

#include "frame/module.h"
#include "frame/text.h"
#include "resources/resource_ids.h"
#include "scriptdialog/profile_text.h"
#include "scriptdialog/scriptdialog.h"

namespace torvane {

namespace {
// Values read back are cut to this many bytes (with the terminator).
constexpr DWORD kReadBuffer = 260;

// The platform's profile calls keep the file name in fixed buffers of
// MAX_PATH characters (Wine's overrun its stack with longer ones): a longer
// ProfilePath names no usable file, like an empty one.
bool usable(const std::string& path) { return !path.empty() && path.size() < MAX_PATH; }
}  // namespace

std::string CTorvane_ScriptDialog::getProfileValue(const char* key, const VARIANT&) {
    if (!usable(profile_path_) || !profile_key_fits(key)) return std::string();
    const std::string section = module::load_string_ansi(IDS_PROFILE_SECTION);
    char value[kReadBuffer] = {};
    const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key, "", value, kReadBuffer, profile_path_.c_str());
    // The count may cover bytes the platform did not fill when it gave up
    // on a value too long for the buffer: the text ends at its terminator.
    std::size_t length = strnlen(value, n < kReadBuffer ? n : kReadBuffer - 1);
    // A value cut to the buffer ends on a whole character.
    if (length + 1 >= kReadBuffer) length = whole_characters(std::string_view(value, length), ansi_lead_bytes());
    return std::string(value, length);
}

void CTorvane_ScriptDialog::putProfileValue(const char* key, const VARIANT&, const char* value) {
    if (!usable(profile_path_) || !profile_key_fits(key) || !profile_value_fits(value)) return;
    const std::string section = module::load_string_ansi(IDS_PROFILE_SECTION);
    // A failed write (read-only file, missing folder) is not reported.
    if (::WritePrivateProfileStringA(section.c_str(), key, value, profile_path_.c_str()))
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, profile_path_.c_str());
}

}  // namespace torvane
