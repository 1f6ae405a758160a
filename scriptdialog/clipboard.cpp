// ClipboardText of the ScriptDialog object: the clipboard's text as Unicode
// text (CF_UNICODETEXT), which the platform also makes from the other text
// formats another program put there.
//
// Another program may hold the clipboard open for a moment (a clipboard
// viewer reading it, a copy in progress): opening retries for about half a
// second before the member gives up.
#include <cwchar>

#include "frame/text.h"
#include "frame/variant_args.h"
#include "scriptdialog/scriptdialog.h"

namespace torvane {
namespace {

constexpr int kOpenAttempts = 25;
constexpr DWORD kOpenPause = 20;  // milliseconds between attempts

void open_clipboard(ClipboardOpened& clipboard, HWND owner) noexcept {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (attempt) ::Sleep(kOpenPause);
        if (::OpenClipboard(owner)) {
            clipboard.opened();
            return;
        }
    }
}

// A window of this thread to own what the member puts on the clipboard (an
// open clipboard without an owner refuses new data). Message-only: nothing
// on the screen or in the taskbar.
UniqueHwnd clipboard_owner() noexcept {
    return UniqueHwnd(::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
}

}  // namespace

// The text up to its first zero, in the code page; Null when the clipboard
// holds no text or cannot be opened. The block's size bounds the text: a
// program may have put text there without its terminating zero.
Variant CTorvane_ScriptDialog::getClipboardText() {
    ClipboardOpened clipboard;
    open_clipboard(clipboard, nullptr);
    if (!clipboard) return Variant::null();
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return Variant::null();
    const GlobalLocked locked(data);
    if (!locked.get()) return Variant::null();
    const auto* text = static_cast<const wchar_t*>(locked.get());
    const std::size_t length = wcsnlen(text, ::GlobalSize(data) / sizeof(wchar_t));
    return Variant::bstr(to_bstr(to_ansi(text, length)));
}

// The script's text as it came, without the detour through the code page, so
// that characters the code page lacks reach other programs whole. A value
// that converts to no text (Null, an object without a default value), or a
// clipboard that stays held, leaves the clipboard as it was.
void CTorvane_ScriptDialog::putClipboardText(const VARIANT& value) {
    Variant text;
    if (FAILED(change_type(text.ptr(), value, VT_BSTR))) return;
    const BSTR s = text.get().bstrVal;
    const std::size_t length = s ? wcsnlen(s, ::SysStringLen(s)) : 0;

    UniqueHglobal block(::GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(wchar_t)));
    if (!block) return;
    {
        const GlobalLocked locked(block.get());
        if (!locked.get()) return;
        auto* out = static_cast<wchar_t*>(locked.get());
        if (length) std::wmemcpy(out, s, length);
        out[length] = L'\0';
    }
    const UniqueHwnd owner = clipboard_owner();
    ClipboardOpened clipboard;
    open_clipboard(clipboard, owner.get());
    if (!clipboard || !::EmptyClipboard()) return;
    // The system owns the block once it has taken it.
    if (::SetClipboardData(CF_UNICODETEXT, block.get())) block.release();
}

}  // namespace torvane
