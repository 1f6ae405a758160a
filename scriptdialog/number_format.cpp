// Placeholder until the number members are built: each answers with the
// internal error.
#include <stdexcept>

#include "scriptdialog/scriptdialog.h"

namespace torvane {

std::string CTorvane_ScriptDialog::floatS(double, const VARIANT&) { throw std::logic_error("not built"); }
std::string CTorvane_ScriptDialog::intS(std::int32_t, const VARIANT&) { throw std::logic_error("not built"); }
bool CTorvane_ScriptDialog::isEqual(double, double, const VARIANT&) { throw std::logic_error("not built"); }
bool CTorvane_ScriptDialog::isPointEqual(double, double, double, double, const VARIANT&) {
    throw std::logic_error("not built");
}

}  // namespace torvane
