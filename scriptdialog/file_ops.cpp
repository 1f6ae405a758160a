// Placeholder until the file members are built: each answers with the
// internal error.
#include <stdexcept>

#include "scriptdialog/scriptdialog.h"

namespace torvane {

std::int16_t CTorvane_ScriptDialog::versionCheck(const char*, std::int16_t, std::int16_t, std::int16_t, std::int16_t) {
    throw std::logic_error("not built");
}
bool CTorvane_ScriptDialog::createDirectory(const char*) { throw std::logic_error("not built"); }
std::int32_t CTorvane_ScriptDialog::getFileVersion(const char*) { throw std::logic_error("not built"); }
Variant CTorvane_ScriptDialog::getSpecialFolderPath(std::int32_t) { throw std::logic_error("not built"); }
std::string CTorvane_ScriptDialog::getTempPath() { throw std::logic_error("not built"); }
Variant CTorvane_ScriptDialog::getTempFileName(const VARIANT&, const VARIANT&) { throw std::logic_error("not built"); }
std::int32_t CTorvane_ScriptDialog::getFileAttributes(const char*) { throw std::logic_error("not built"); }
Variant CTorvane_ScriptDialog::getFileLastWriteTime(const char*) { throw std::logic_error("not built"); }
Variant CTorvane_ScriptDialog::getFileCreationTime(const char*) { throw std::logic_error("not built"); }
std::string CTorvane_ScriptDialog::changeExtensionName(const char*, const char*) { throw std::logic_error("not built"); }
bool CTorvane_ScriptDialog::copyFile(const char*, const char*, const VARIANT&) { throw std::logic_error("not built"); }
bool CTorvane_ScriptDialog::moveFile(const char*, const char*, const VARIANT&) { throw std::logic_error("not built"); }
Variant CTorvane_ScriptDialog::getLocalPathName(const char*) { throw std::logic_error("not built"); }

}  // namespace torvane
