#pragma once
// The enumerator that For Each (VBScript) and Enumerator (JScript) get from
// a List's _NewEnum: an IEnumVARIANT over a snapshot of the entries taken
// when it was made, handing each out as a string. Clones share the snapshot
// and start where their original stood. Changing the list after that does
// not change what an enumerator hands out.
#include <windows.h>
#include <oleauto.h>

#include "frame/raii.h"
#include "list/entry_text.h"

namespace torvane {

// Throws std::bad_alloc.
ComPtr<IUnknown> create_entry_enumerator(const EntryStore& entries);

// Enumerators alive (for tests).
LONG entry_enumerators_alive() noexcept;

}  // namespace torvane
