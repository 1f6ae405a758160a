// Placeholder until the List object is built.
#include "list/list.h"

#include <stdexcept>

namespace torvane {
ComPtr<IUnknown> create_list_object() { throw std::logic_error("not built"); }
}  // namespace torvane
