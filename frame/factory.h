#pragma once
// The class factory of the one creatable class and the module's exports.
#include <windows.h>

namespace torvane {

// The factory's reference count (1 while no client holds it).
LONG factory_ref_count() noexcept;

}  // namespace torvane

extern "C" {
HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out);
HRESULT STDAPICALLTYPE DllCanUnloadNow();
}
