// ProfileValue: one named value in the fixed section of the profile file
// named by ProfilePath. No cache: every read and write goes to the file.
#include <vector>

#include "frame/module.h"
#include "resources/resource_ids.h"
#include "scriptdialog/scriptdialog.h"

namespace torvane {

namespace {
// Values read back are cut to this many bytes (with the terminator).
constexpr DWORD kReadBuffer = 260;
}

std::string CTorvane_ScriptDialog::getProfileValue(const char* key, const VARIANT&) {
    if (profile_path_.empty()) return std::string();
    const std::string section = module::load_string_ansi(IDS_PROFILE_SECTION);
    char value[kReadBuffer] = {};
    const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key, "", value, kReadBuffer, profile_path_.c_str());
    return std::string(value, n < kReadBuffer ? n : kReadBuffer - 1);
}

void CTorvane_ScriptDialog::putProfileValue(const char* key, const VARIANT&, const char* value) {
    if (profile_path_.empty()) return;
    const std::string section = module::load_string_ansi(IDS_PROFILE_SECTION);
    // A failed write (read-only file, missing folder) is not reported.
    ::WritePrivateProfileStringA(section.c_str(), key, value, profile_path_.c_str());
}

}  // namespace torvane
