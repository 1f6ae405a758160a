#pragma once
// Self-registration of the ProgID and class under a classes root.
#include <windows.h>

#include <string>

namespace torvane {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
std::string guid_string(const GUID& guid);

// The module path written as InProcServer32: the short form of the full path,
// or the full path when it has no short form.
std::string server_path();

// Writes the class entries under `root` (HKEY_CLASSES_ROOT, or a user's
// Software\Classes). Returns S_OK, or SELFREG_E_CLASS when a write failed;
// entries written before the failure stay.
HRESULT register_class(HKEY root);

// Removes the entries that register_class wrote, where they still name this
// library; entries of another library, or keys that others extended, stay.
HRESULT unregister_class(HKEY root);

}  // namespace torvane
