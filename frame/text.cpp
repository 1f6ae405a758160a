// Conversions between automation strings and ANSI text. All lengths are
// checked against the platform's int-sized counts before conversion.
#include "frame/text.h"

#include <climits>
#include <new>

namespace torvane {
namespace {
LeadBytes g_lead_bytes;
}

const LeadBytes& ansi_lead_bytes() noexcept { return g_lead_bytes; }

void init_ansi_lead_bytes() noexcept {
    LeadBytes table;
    for (int c = 0; c < 256; ++c)
        table.set(static_cast<unsigned char>(c), ::IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE);
    g_lead_bytes = table;
}

// Every ANSI code page keeps ASCII as it is: plain ASCII text converts
// without the platform (member names, numbers and most script texts are).
template <typename C> bool all_ascii(const C* text, std::size_t length) noexcept {
    unsigned bits = 0;
    for (std::size_t i = 0; i < length; ++i) bits |= static_cast<unsigned>(text[i]);
    return bits < 0x80;
}

std::string to_ansi(const wchar_t* text, std::size_t length) {
    if (length == 0 || text == nullptr) return std::string();
    if (all_ascii(text, length)) {
        std::string out(length, '\0');
        for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<char>(text[i]);
        return out;
    }
    if (length > INT_MAX / 2) throw std::bad_alloc();
    const int n = static_cast<int>(length);
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, n, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, n, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string to_ansi(BSTR text) { return text ? to_ansi(text, ::SysStringLen(text)) : std::string(); }

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is wchar_t text here");

void append_wide(std::string_view ansi, std::u16string& out) {
    if (ansi.empty()) return;
    if (ansi.size() > INT_MAX) throw std::bad_alloc();
    const int n = static_cast<int>(ansi.size());
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, nullptr, 0);
    if (chars <= 0) return;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(chars));
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, reinterpret_cast<wchar_t*>(&out[at]), chars);
}

void append_ansi(std::u16string_view wide, std::string& out) {
    out += to_ansi(reinterpret_cast<const wchar_t*>(wide.data()), wide.size());
}

std::string utf8_to_ansi(std::string_view utf8) {
    if (utf8.empty()) return std::string();
    if (utf8.size() > INT_MAX / 2) throw std::bad_alloc();
    const int n = static_cast<int>(utf8.size());
    const int chars = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, nullptr, 0);
    if (chars <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, wide.data(), chars);
    return to_ansi(wide.data(), wide.size());
}

UniqueBstr to_bstr(std::string_view ansi) {
    if (ansi.size() > INT_MAX) throw std::bad_alloc();
    if (all_ascii(reinterpret_cast<const unsigned char*>(ansi.data()), ansi.size())) {
        UniqueBstr out(::SysAllocStringLen(nullptr, static_cast<UINT>(ansi.size())));
        if (!out) throw std::bad_alloc();
        for (std::size_t i = 0; i < ansi.size(); ++i) out.get()[i] = static_cast<unsigned char>(ansi[i]);
        return out;
    }
    const int n = static_cast<int>(ansi.size());
    const int chars = n ? ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, nullptr, 0) : 0;
    UniqueBstr out(::SysAllocStringLen(nullptr, static_cast<UINT>(chars > 0 ? chars : 0)));
    if (!out) throw std::bad_alloc();
    if (chars > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, out.get(), chars);
    return out;
}

UniqueBstr to_bstr(const wchar_t* text) {
    UniqueBstr out(::SysAllocString(text ? text : L""));
    if (!out) throw std::bad_alloc();
    return out;
}

}  // namespace torvane
