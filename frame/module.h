#pragma once
// Module state: the instance handle, the names used in script errors, the
// lock count that DllCanUnloadNow consults and the count of live objects.

#include <windows.h>

#include <string>

namespace torvane::module {

// Called once when the module loads (and by test programs that link the
// library's code directly, with their own instance).
void init(HINSTANCE instance) noexcept;

HINSTANCE instance() noexcept;
// The module's file name without directory and extension: the source of
// script errors.
const std::wstring& app_name() noexcept;
// The module's full path with its extension replaced by ".HLP".
const std::wstring& help_path() noexcept;
// The module's full path.
const std::wstring& file_path() noexcept;

// Lock count: ScriptDialog objects and the class factory's LockServer.
void lock() noexcept;
void unlock() noexcept;
LONG lock_count() noexcept;

// Every scriptable object alive, of any class. The module stays loaded while
// any exists, so that a List, Form or Output window object outlives the
// ScriptDialog object that made it even when the host frees unused libraries.
void object_created() noexcept;
void object_destroyed() noexcept;
LONG live_objects() noexcept;

// String resources of the module; empty when missing.
std::wstring load_string(UINT id);
std::string load_string_ansi(UINT id);

}  // namespace torvane::module
