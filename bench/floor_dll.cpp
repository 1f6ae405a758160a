// The floor object as a registered in-process server, so that script loops
// can create it by ProgID ("TorvaneBench.Floor") beside the library.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include <string>

#include "bench/floor.h"
#include "frame/raii.h"

using namespace torvane;
using namespace torvane::bench;

namespace {

HINSTANCE g_instance;

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* floor = new Floor();
        const HRESULT hr = floor->QueryInterface(riid, out);
        floor->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

std::wstring clsid_text() {
    wchar_t text[64];
    ::StringFromGUID2(CLSID_Floor, text, 64);
    return text;
}

bool set_value(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    UniqueHkey key;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (clsid != CLSID_Floor) {
        *out = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(riid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(g_instance, path, MAX_PATH);
    const std::wstring clsid = L"CLSID\\" + clsid_text();
    const bool ok = set_value(HKEY_CLASSES_ROOT, clsid + L"\\InprocServer32", nullptr, path) &&
                    set_value(HKEY_CLASSES_ROOT, clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                    set_value(HKEY_CLASSES_ROOT, clsid + L"\\ProgID", nullptr, kFloorProgId) &&
                    set_value(HKEY_CLASSES_ROOT, std::wstring(kFloorProgId) + L"\\CLSID", nullptr, clsid_text());
    return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid_text()).c_str());
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kFloorProgId);
    return S_OK;
}
