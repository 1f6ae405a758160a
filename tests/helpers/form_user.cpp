// Acts as the user of a form that a script shows: waits (up to 20 s) for a
// visible dialog with the given caption, types a text into its first edit
// box, then clicks the button with the given caption.
//   form_user.exe CAPTION TEXT BUTTON
// Exit code 0 when it clicked, 1 when the form never came, 2 on bad use.
#include <windows.h>

#include <string>

namespace {

struct Find {
    const char* caption;
    HWND found;
};

BOOL CALLBACK find_form(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    char text[256] = {};
    ::GetWindowTextA(hwnd, text, 256);
    if (::IsWindowVisible(hwnd) && ::lstrcmpA(text, f->caption) == 0) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND child_of_class(HWND parent, const char* cls, const char* text) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        char name[64] = {}, caption[256] = {};
        ::GetClassNameA(c, name, 64);
        ::GetWindowTextA(c, caption, 256);
        if (::lstrcmpiA(name, cls) == 0 && (!text || ::lstrcmpA(caption, text) == 0)) return c;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    for (int i = 0; i < 400; ++i) {
        Find f{argv[1], nullptr};
        ::EnumWindows(&find_form, reinterpret_cast<LPARAM>(&f));
        if (f.found) {
            HWND edit = child_of_class(f.found, "Edit", nullptr);
            HWND button = child_of_class(f.found, "Button", argv[3]);
            if (edit && button) {
                ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
                ::PostMessageW(f.found, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                               reinterpret_cast<LPARAM>(button));
                return 0;
            }
        }
        ::Sleep(50);
    }
    return 1;
}
