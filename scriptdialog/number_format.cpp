// FloatS, IntS, IsEqual and IsPointEqual: the optional last argument, when
// present and convertible (Empty converts to 0), replaces the object's
// setting; absent (omitted, Null, any error value) or unconvertible, the
// setting applies. The texts and comparisons are in number_text.cpp.
#include "scriptdialog/number_text.h"
#include "scriptdialog/scriptdialog.h"
#include "frame/variant_args.h"

namespace torvane {

std::string CTorvane_ScriptDialog::floatS(double value, const VARIANT& digits) {
    return float_text(value, opt_i2(digits).value_or(default_fs_));
}

std::string CTorvane_ScriptDialog::intS(std::int32_t value, const VARIANT& width) {
    return int_text(value, opt_i2(width).value_or(default_is_));
}

bool CTorvane_ScriptDialog::isEqual(double a, double b, const VARIANT& tolerance) {
    return numbers_equal(a, b, opt_r8(tolerance).value_or(default_tolerance_));
}

bool CTorvane_ScriptDialog::isPointEqual(double x1, double y1, double x2, double y2, const VARIANT& tolerance) {
    return points_equal(x1, y1, x2, y2, opt_r8(tolerance).value_or(default_tolerance_));
}

}  // namespace torvane
