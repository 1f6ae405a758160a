// Placeholder until the shell and dialog members are built: each answers with
// the internal error.
#include <stdexcept>

#include "scriptdialog/scriptdialog.h"

namespace torvane {

Variant CTorvane_ScriptDialog::getOpenFileName(const VARIANT&, const VARIANT&, const VARIANT&) {
    throw std::logic_error("not built");
}
Variant CTorvane_ScriptDialog::getSaveFileName(const VARIANT&, const VARIANT&, const VARIANT&) {
    throw std::logic_error("not built");
}
std::int16_t CTorvane_ScriptDialog::shellExecute(const VARIANT&, const VARIANT&, const VARIANT&, const VARIANT&,
                                                 const VARIANT&, const VARIANT&) {
    throw std::logic_error("not built");
}
std::int16_t CTorvane_ScriptDialog::getAsyncKeyState(std::int16_t) { throw std::logic_error("not built"); }
Variant CTorvane_ScriptDialog::browseForFolder(const VARIANT&) { throw std::logic_error("not built"); }
bool CTorvane_ScriptDialog::exitWindows(std::int16_t) { throw std::logic_error("not built"); }
std::int16_t CTorvane_ScriptDialog::doEvents() { throw std::logic_error("not built"); }
void CTorvane_ScriptDialog::sleep(std::int16_t) { throw std::logic_error("not built"); }
std::int16_t CTorvane_ScriptDialog::messageBox(const char*, const VARIANT&, const VARIANT&) {
    throw std::logic_error("not built");
}
void CTorvane_ScriptDialog::waitCursor(std::int16_t) { throw std::logic_error("not built"); }
Variant CTorvane_ScriptDialog::findWindow(const char*, const char*) { throw std::logic_error("not built"); }

}  // namespace torvane
