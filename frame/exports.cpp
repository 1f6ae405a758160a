// Module entry point and the registration exports. DllGetClassObject and
// DllCanUnloadNow live beside the class factory (factory.cpp).
#include <windows.h>

#include <cstdlib>

#include "frame/module.h"
#include "frame/raii.h"
#include "frame/registration.h"

// Every exception is caught where a call enters the library, so terminate
// only ends a process that is already broken. The C++ runtime's own handler
// would print the exception's name first, and bring its name demangler
// (about 46 KB) into the library for that.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        torvane::module::init(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return torvane::register_class(HKEY_CLASSES_ROOT); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return torvane::unregister_class(HKEY_CLASSES_ROOT); }

// Per-user registration, for users who cannot write HKEY_CLASSES_ROOT:
//   regsvr32 /n /i:user X.dll      writes the entries under HKCU\Software\Classes
//   regsvr32 /u /n /i:user X.dll   removes them
// Without the "user" command line it acts as DllRegisterServer and
// DllUnregisterServer do.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR command_line) {
    if (!command_line || ::lstrcmpiW(command_line, L"user") != 0)
        return install ? DllRegisterServer() : DllUnregisterServer();
    torvane::UniqueHkey classes;
    const LONG opened = ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                          nullptr, classes.put(), nullptr);
    if (opened != ERROR_SUCCESS) return HRESULT_FROM_WIN32(opened);
    return install ? torvane::register_class(classes.get()) : torvane::unregister_class(classes.get());
}
