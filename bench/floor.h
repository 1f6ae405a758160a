#pragma once
// The floor: the least a late-bound call can cost. A hand-written IDispatch
// with a switch in GetIDsOfNames and Invoke, no member table, no conversion
// beyond what the work needs, doing the same work as the library's
// IntS, FloatS, TickCount, AddTail and Value. Benchmarks only. It also knows the name
// "ProfileValue" (no member behind it), so that the lookup of the library's
// last member is timed against the floor's lookup of the same name.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace torvane::bench {

// {6F1B5E0A-3C7D-4E52-9A61-0B8D2F4C7E13}
inline constexpr CLSID CLSID_Floor = {0x6F1B5E0A, 0x3C7D, 0x4E52, {0x9A, 0x61, 0x0B, 0x8D, 0x2F, 0x4C, 0x7E, 0x13}};
inline constexpr wchar_t kFloorProgId[] = L"TorvaneBench.Floor";

enum FloorId : DISPID { kIntS = 1, kTickCount = 2, kAddTail = 3, kValue = 4, kProfileValue = 5, kFloatS = 6 };

class Floor final : public IDispatch {
public:
    Floor() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;

private:
    LONG refs_ = 1;
    std::vector<std::string> items_;
};

}  // namespace torvane::bench
