#include "frame/module.h"

#include "frame/text.h"

namespace torvane::module {
namespace {
HINSTANCE g_instance = nullptr;
std::wstring g_app_name;
std::wstring g_help_path;
std::wstring g_file_path;
volatile LONG g_locks = 0;
volatile LONG g_objects = 0;

std::wstring module_file_name(HINSTANCE instance) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
}  // namespace

void init(HINSTANCE instance) noexcept {
    g_instance = instance;
    init_ansi_lead_bytes();
    try {
        g_file_path = module_file_name(instance);
        const std::size_t slash = g_file_path.find_last_of(L"\\/:");
        const std::size_t name_start = slash == std::wstring::npos ? 0 : slash + 1;
        const std::size_t dot = g_file_path.find_last_of(L'.');
        const bool has_ext = dot != std::wstring::npos && dot > name_start;
        g_app_name = g_file_path.substr(name_start, (has_ext ? dot : g_file_path.size()) - name_start);
        g_help_path = g_file_path.substr(0, has_ext ? dot : g_file_path.size()) + L".HLP";
    } catch (...) {
        // Names stay empty; errors then carry no source.
    }
}

HINSTANCE instance() noexcept { return g_instance; }
const std::wstring& app_name() noexcept { return g_app_name; }
const std::wstring& help_path() noexcept { return g_help_path; }
const std::wstring& file_path() noexcept { return g_file_path; }

void lock() noexcept { ::InterlockedIncrement(&g_locks); }
void unlock() noexcept { ::InterlockedDecrement(&g_locks); }
LONG lock_count() noexcept { return g_locks; }

void object_created() noexcept { ::InterlockedIncrement(&g_objects); }
void object_destroyed() noexcept { ::InterlockedDecrement(&g_objects); }
LONG live_objects() noexcept { return g_objects; }

std::wstring load_string(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size the platform returns a read-only pointer to the
    // resource text itself (not terminated) and its length.
    const int n = ::LoadStringW(g_instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || text == nullptr) return std::wstring();
    return std::wstring(text, static_cast<std::size_t>(n));
}

std::string load_string_ansi(UINT id) {
    const std::wstring text = load_string(id);
    return to_ansi(text.data(), text.size());
}

}  // namespace torvane::module
