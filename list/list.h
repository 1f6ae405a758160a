#pragma once
// The List object (CListExObj).
#include <windows.h>

#include "frame/raii.h"

namespace torvane {

// A new, empty List object; the pointer carries its one reference.
ComPtr<IUnknown> create_list_object();

}  // namespace torvane
