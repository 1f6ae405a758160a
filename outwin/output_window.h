#pragma once
// The Output window object.
#include <windows.h>

#include "frame/raii.h"

namespace torvane {

// A new Output window object with its (hidden) window; the pointer carries its
// one reference.
ComPtr<IUnknown> create_output_window_object();

}  // namespace torvane
