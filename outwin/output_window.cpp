// Placeholder until the Output window object is built.
#include "outwin/output_window.h"

#include <stdexcept>

namespace torvane {
ComPtr<IUnknown> create_output_window_object() { throw std::logic_error("not built"); }
}  // namespace torvane
