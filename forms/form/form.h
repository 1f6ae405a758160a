#pragma once
// The Form object (CFormObj).
#include <windows.h>

#include "frame/raii.h"

namespace torvane {

// A new Form object without items or window; the pointer carries its one
// reference.
ComPtr<IUnknown> create_form_object();

}  // namespace torvane
