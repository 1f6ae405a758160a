// ClipboardText and Version of the ScriptDialog object: what other programs
// find on the clipboard after a put, what a get makes of what they left
// there, a clipboard held by another thread, and the library's own version.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "frame/module.h"
#include "resources/version.h"
#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

bool cp932() { return ::GetACP() == 932; }

// ---- the clipboard as another program sees it

struct RawClipboard {
    RawClipboard() { opened = ::OpenClipboard(nullptr) != FALSE; }
    ~RawClipboard() {
        if (opened) ::CloseClipboard();
    }
    bool opened;
};

// CF_UNICODETEXT as it is, or "<none>".
std::wstring raw_unicode_text() {
    RawClipboard c;
    if (!c.opened) return L"<not opened>";
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return L"<none>";
    const GlobalLocked locked(data);
    return locked.get() ? std::wstring(static_cast<const wchar_t*>(locked.get())) : L"<unlocked>";
}

// Puts `bytes` (its size as given, no terminator added) in `format`.
void raw_put(UINT format, const void* bytes, std::size_t size) {
    UniqueHglobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
    ASSERT_TRUE(block);
    {
        const GlobalLocked locked(block.get());
        ASSERT_TRUE(locked.get());
        std::memcpy(locked.get(), bytes, size);
    }
    const UniqueHwnd owner(
        ::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(::OpenClipboard(owner.get()));
    ::EmptyClipboard();
    if (::SetClipboardData(format, block.get())) block.release();
    ::CloseClipboard();
}

void raw_empty() {
    RawClipboard c;
    ASSERT_TRUE(c.opened);
    ::EmptyClipboard();
}

CallResult clipboard_text(IDispatch* sd) { return get(sd, L"ClipboardText"); }

TEST(ClipboardText, PutGivesOtherProgramsUnicodeText) {
    auto sd = new_script_dialog();
    ASSERT_EQ(S_OK, put(sd.get(), L"ClipboardText", Args().str(L"abc\r\ndef")).hr);
    EXPECT_EQ(L"abc\r\ndef", raw_unicode_text());
    EXPECT_EQ(L"abc\r\ndef", as_wstring(clipboard_text(sd.get()).value));

    // Whole: characters the code page lacks too (U+0E01 is in neither 932
    // nor 1252; "表ソ" carry the trail byte 0x5C in 932).
    const std::wstring mixed = L"\x8868\x30bd\x0e01!";
    ASSERT_EQ(S_OK, put(sd.get(), L"ClipboardText", Args().str(mixed.c_str())).hr);
    EXPECT_EQ(mixed, raw_unicode_text());
    // Read back through the code page: its default character stands in.
    EXPECT_EQ(cp932() ? std::wstring(L"\x8868\x30bd?!")
                      : std::wstring(L"??"
                                     L"?!"),
              as_wstring(clipboard_text(sd.get()).value));

    // A zero ends the text, as other programs read it.
    ASSERT_EQ(S_OK, put(sd.get(), L"ClipboardText", Args().str_len(L"ab\0cd", 5)).hr);
    EXPECT_EQ(L"ab", raw_unicode_text());
}

TEST(ClipboardText, PutConvertsItsValue) {
    auto sd = new_script_dialog();
    ASSERT_EQ(S_OK, put(sd.get(), L"ClipboardText", Args().i4(12)).hr);
    EXPECT_EQ(L"12", raw_unicode_text());
    // Empty is the empty text, which is still text.
    ASSERT_EQ(S_OK, put(sd.get(), L"ClipboardText", Args().empty()).hr);
    EXPECT_EQ(L"", raw_unicode_text());
    auto empty = clipboard_text(sd.get());
    EXPECT_EQ(VT_BSTR, empty.value.vt());
    EXPECT_EQ(L"", as_wstring(empty.value));
    // No text at all: the clipboard stays as it was.
    put(sd.get(), L"ClipboardText", Args().str(L"kept"));
    EXPECT_EQ(S_OK, put(sd.get(), L"ClipboardText", Args().null()).hr);
    EXPECT_EQ(L"kept", raw_unicode_text());
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, get(sd.get(), L"ClipboardText", Args().i4(1)).hr);
}

TEST(ClipboardText, GetIsNullWithoutText) {
    auto sd = new_script_dialog();
    raw_empty();
    auto none = clipboard_text(sd.get());
    EXPECT_EQ(S_OK, none.hr);
    EXPECT_EQ(VT_NULL, none.value.vt());

    const UINT own = ::RegisterClipboardFormatW(L"TorvaneTestBytes");
    const char bytes[] = "not text";
    raw_put(own, bytes, sizeof bytes);
    EXPECT_EQ(VT_NULL, clipboard_text(sd.get()).value.vt());
}

TEST(ClipboardText, GetReadsWhatOtherProgramsLeft) {
    auto sd = new_script_dialog();
    // Code-page text only: the platform offers it as Unicode text too.
    const char ansi[] = "plain";
    raw_put(CF_TEXT, ansi, sizeof ansi);
    EXPECT_EQ(L"plain", as_wstring(clipboard_text(sd.get()).value));
    if (cp932()) {
        const char sjis[] = "\x95\x5C\x83\x5C";
        raw_put(CF_TEXT, sjis, sizeof sjis);
        EXPECT_EQ(L"\x8868\x30bd", as_wstring(clipboard_text(sd.get()).value));
    }
    // Unicode text without its terminating zero: the block's end bounds it
    // (Wine puts a zero in its last character).
    const wchar_t unterminated[] = {L'x', L'y', L'z'};
    raw_put(CF_UNICODETEXT, unterminated, sizeof unterminated);
    const std::wstring got = as_wstring(clipboard_text(sd.get()).value);
    EXPECT_EQ(L"xy", got.substr(0, 2));
    EXPECT_LE(got.size(), 16u);
}

// Another thread holds the clipboard open for `hold_ms`, with a window of its
// own, as another program would.
class Holder {
public:
    explicit Holder(DWORD hold_ms) : ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this, hold_ms] {
            const UniqueHwnd window(
                ::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
            const bool opened = ::OpenClipboard(window.get()) != FALSE;
            ::SetEvent(ready_.get());
            ::Sleep(hold_ms);
            if (opened) ::CloseClipboard();
        });
        ::WaitForSingleObject(ready_.get(), INFINITE);
    }
    ~Holder() { thread_.join(); }

private:
    UniqueHandle ready_;
    std::thread thread_;
};

TEST(ClipboardText, RetriesWhileAnotherProgramBrieflyHoldsIt) {
    auto sd = new_script_dialog();
    put(sd.get(), L"ClipboardText", Args().str(L"before"));
    {
        Holder brief(150);
        ASSERT_EQ(S_OK, put(sd.get(), L"ClipboardText", Args().str(L"after the wait")).hr);
    }
    EXPECT_EQ(L"after the wait", raw_unicode_text());
    {
        Holder brief(150);
        EXPECT_EQ(L"after the wait", as_wstring(clipboard_text(sd.get()).value));
    }
}

TEST(ClipboardText, GivesUpOnAClipboardHeldLong) {
    auto sd = new_script_dialog();
    put(sd.get(), L"ClipboardText", Args().str(L"unchanged"));
    {
        Holder long_hold(2500);
        auto r = clipboard_text(sd.get());
        EXPECT_EQ(S_OK, r.hr);
        EXPECT_EQ(VT_NULL, r.value.vt());
        EXPECT_EQ(S_OK, put(sd.get(), L"ClipboardText", Args().str(L"lost")).hr);
    }
    EXPECT_EQ(L"unchanged", raw_unicode_text());
}

// ---- Version

TEST(Version, IsTheLibrarysOwnFileVersion) {
    auto sd = new_script_dialog();
    auto v = get(sd.get(), L"Version");
    ASSERT_EQ(S_OK, v.hr);
    ASSERT_EQ(VT_BSTR, v.value.vt());
    EXPECT_EQ(std::string(TORVANE_VERSION_TEXT), as_ansi(v.value));

    // The same numbers as the file's version resource read from disk.
    const std::wstring path = module::file_path();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::wstring want =
        std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
        L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(want, as_wstring(v.value));
}

TEST(Version, IsReadOnly) {
    auto sd = new_script_dialog();
    auto ro = put(sd.get(), L"Version", Args().str(L"9.9.9.9"));
    EXPECT_EQ(DISP_E_EXCEPTION, ro.hr);
    EXPECT_EQ(61837, ro.excep.wCode);
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, get(sd.get(), L"Version", Args().i4(1)).hr);
    EXPECT_EQ(std::string(TORVANE_VERSION_TEXT), as_ansi(get(sd.get(), L"Version").value));
}

}  // namespace
