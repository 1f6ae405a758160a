#pragma once
// The one boundary between automation strings (UTF-16) and the library's
// multibyte text in the process's ANSI code page.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "frame/mbcs.h"
#include "frame/raii.h"

namespace torvane {

// Lead bytes of the process's ANSI code page; built once when the module loads.
const LeadBytes& ansi_lead_bytes() noexcept;
void init_ansi_lead_bytes() noexcept;

// UTF-16 to ANSI over the full length (embedded zeros kept). Characters that
// the code page lacks become the code page's default character. Throws
// std::bad_alloc when memory runs out.
std::string to_ansi(const wchar_t* text, std::size_t length);
std::string to_ansi(BSTR text);  // a null string gives ""
// UTF-8 to ANSI, likewise (malformed sequences become U+FFFD first).
std::string utf8_to_ansi(std::string_view utf8);

// The same conversions appended to a text held elsewhere (the conversions
// that the platform-free file code takes). Throw std::bad_alloc.
void append_wide(std::string_view ansi, std::u16string& out);
void append_ansi(std::u16string_view wide, std::string& out);

// ANSI to a new automation string. Throws std::bad_alloc.
UniqueBstr to_bstr(std::string_view ansi);
UniqueBstr to_bstr(const wchar_t* text);

}  // namespace torvane
