// Module entry point and the registration exports. DllGetClassObject and
// DllCanUnloadNow live beside the class factory (factory.cpp).
#include <windows.h>

#include "frame/module.h"
#include "frame/registration.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        torvane::module::init(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return torvane::register_class(HKEY_CLASSES_ROOT); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return torvane::unregister_class(HKEY_CLASSES_ROOT); }
