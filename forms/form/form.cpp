// Placeholder until the Form object is built.
#include "forms/form/form.h"

#include <stdexcept>

namespace torvane {
ComPtr<IUnknown> create_form_object() { throw std::logic_error("not built"); }
}  // namespace torvane
