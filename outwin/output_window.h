#pragma once
// The Output window object (COutputWindowObj): a script's own small window
// with one multi-line text box for its running output.
#include <windows.h>

#include "frame/raii.h"

namespace torvane {

// A new Output window object with its (hidden, centred) window; the pointer
// carries its one reference.
ComPtr<IUnknown> create_output_window_object();

}  // namespace torvane
