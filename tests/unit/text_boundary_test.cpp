// The text boundary between automation strings and ANSI text: whichever way
// a text takes (plain ASCII without the platform, or the platform's
// conversion), the result is the platform's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/text.h"

using namespace torvane;

namespace {

std::string platform_ansi(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring platform_wide(const std::string& a) {
    if (a.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_ACP, 0, a.data(), static_cast<int>(a.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, a.data(), static_cast<int>(a.size()), out.data(), n);
    return out;
}

}  // namespace

TEST(TextBoundary, EveryPathAnswersAsThePlatform) {
    std::wstring ascii;
    for (wchar_t c = 0; c < 0x80; ++c) ascii += c;  // zeros included
    const std::vector<std::wstring> texts = {L"",
                                             L"AddTail",
                                             ascii,
                                             L"abc\x00e9",
                                             L"\x65e5\x672c",
                                             L"a\x30bd\\b",
                                             std::wstring(1000, L'x') + L"\x00ff",
                                             std::wstring(3, L'\x7f') + L"\x0080"};
    for (const std::wstring& w : texts) {
        const std::string a = to_ansi(w.data(), w.size());
        EXPECT_EQ(platform_ansi(w), a) << w.size();
        UniqueBstr back = to_bstr(a);
        EXPECT_EQ(platform_wide(a), std::wstring(back.get(), ::SysStringLen(back.get()))) << w.size();
    }
    // ANSI bytes of every value, alone and after ASCII.
    for (int b = 1; b < 256; ++b) {
        const std::string a = "ab" + std::string(1, static_cast<char>(b));
        UniqueBstr w = to_bstr(a);
        EXPECT_EQ(platform_wide(a), std::wstring(w.get(), ::SysStringLen(w.get()))) << b;
    }
}
