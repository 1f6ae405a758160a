// Registry entries of the class. The first group (the ProgID and CLSID keys'
// own names) is written only where missing, so an existing name stays; the
// second group (the links between ProgID, CLSID and the module) is always
// rewritten. Nothing else is written.
//
// The 32-bit and the 64-bit build register the same class, each in its own
// registry view, under one ProgID key that both views share. Removing one
// build removes its own class entries and leaves the ProgID to the other.
#include "frame/registration.h"

#include <olectl.h>

#include <cstdio>

#include "frame/guids.h"
#include "frame/module.h"
#include "frame/raii.h"

namespace torvane {
namespace {

bool key_has_value(HKEY root, const std::string& key) {
    LONG size = 0;
    return ::RegQueryValueA(root, key.c_str(), nullptr, &size) == ERROR_SUCCESS;
}

bool read_value(HKEY root, const std::string& key, std::string& out) {
    LONG size = 0;
    if (::RegQueryValueA(root, key.c_str(), nullptr, &size) != ERROR_SUCCESS || size <= 0) return false;
    std::string value(static_cast<std::size_t>(size), '\0');
    if (::RegQueryValueA(root, key.c_str(), value.data(), &size) != ERROR_SUCCESS) return false;
    value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
    out = value;
    return true;
}

bool write_value(HKEY root, const std::string& key, const std::string& value) {
    return ::RegSetValueA(root, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
}

std::string module_path_ansi() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(module::instance(), path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool has_subkeys(HKEY root, const std::string& key) {
    UniqueHkey h;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, h.put()) != ERROR_SUCCESS) return false;
    DWORD subkeys = 0;
    if (::RegQueryInfoKeyA(h.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS)
        return true;
    return subkeys != 0;
}

// True when the class is registered in the other registry view under root:
// the one the other build of the library (32-bit beside 64-bit) writes its
// class entries to. Where there is no other view the flag is ignored, the
// key asked for is this view's, and the caller has just removed it.
bool class_in_other_view(HKEY root, const std::string& server_key) {
    const REGSAM other = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    UniqueHkey h;
    return ::RegOpenKeyExA(root, server_key.c_str(), 0, KEY_READ | other, h.put()) == ERROR_SUCCESS;
}

}  // namespace

std::string guid_string(const GUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                  g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

std::string server_path() {
    const std::string full = module_path_ansi();
    const DWORD need = ::GetShortPathNameA(full.c_str(), nullptr, 0);
    if (need == 0) return full;
    std::string shortened(need, '\0');
    const DWORD n = ::GetShortPathNameA(full.c_str(), shortened.data(), need);
    if (n == 0 || n >= need) return full;
    shortened.resize(n);
    return shortened;
}

HRESULT register_class(HKEY root) {
    try {
        const std::string clsid = guid_string(CLSID_TorvaneScriptDialog);
        const std::string progid = kProgId;
        const std::string clsid_key = "CLSID\\" + clsid;

        const std::string named_keys[] = {progid, clsid_key};
        for (const std::string& key : named_keys)
            if (!key_has_value(root, key) && !write_value(root, key, progid)) return SELFREG_E_CLASS;

        const std::pair<std::string, std::string> links[] = {
            {progid + "\\CLSID", clsid},
            {clsid_key + "\\ProgID", progid},
            {clsid_key + "\\InProcServer32", server_path()},
        };
        for (const auto& [key, value] : links)
            if (!write_value(root, key, value)) return SELFREG_E_CLASS;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT unregister_class(HKEY root) {
    try {
        const std::string clsid = guid_string(CLSID_TorvaneScriptDialog);
        const std::string progid = kProgId;
        const std::string clsid_key = "CLSID\\" + clsid;
        const std::string server_key = clsid_key + "\\InProcServer32";

        std::string registered;
        if (!read_value(root, server_key, registered)) return S_OK;  // nothing of ours there
        const bool ours = ::lstrcmpiA(registered.c_str(), server_path().c_str()) == 0 ||
                          ::lstrcmpiA(registered.c_str(), module_path_ansi().c_str()) == 0;
        if (!ours) return S_OK;  // another copy of the library is registered: leave it

        ::RegDeleteKeyA(root, server_key.c_str());
        std::string value;
        if (read_value(root, clsid_key + "\\ProgID", value) && value == progid)
            ::RegDeleteKeyA(root, (clsid_key + "\\ProgID").c_str());
        if (!has_subkeys(root, clsid_key)) ::RegDeleteKeyA(root, clsid_key.c_str());

        // The ProgID key is one for both views: it goes only with the last
        // registration of the class.
        if (read_value(root, progid + "\\CLSID", value) && ::lstrcmpiA(value.c_str(), clsid.c_str()) == 0 &&
            !class_in_other_view(root, server_key)) {
            ::RegDeleteKeyA(root, (progid + "\\CLSID").c_str());
            if (!has_subkeys(root, progid)) ::RegDeleteKeyA(root, progid.c_str());
        }
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace torvane
