#pragma once
// The number rules of the shell and system members: how a script's numbers
// become message box styles, show commands, virtual keys and log-off flags,
// and how a message box answer becomes the script's three-valued result.
#include <windows.h>

#include <cstdint>

namespace torvane::shell {

// MessageBox style from a script's style number: the ones digit (with the
// sign of the number) picks the buttons, the tens digit the icon. Without a
// usable number: OK with the stop icon. Task-modal and foreground are added
// by the caller.
constexpr UINT message_box_style(std::int16_t v) {
    UINT buttons = MB_OK;
    switch (v % 10) {
        case 1: buttons = MB_OKCANCEL; break;
        case 2: buttons = MB_YESNO; break;
        case 3: buttons = MB_YESNOCANCEL; break;
        case 4: buttons = MB_RETRYCANCEL; break;
        case 5: buttons = MB_ABORTRETRYIGNORE; break;
        default: break;
    }
    UINT icon = 0;
    switch (v / 10) {
        case 1: icon = MB_ICONSTOP; break;
        case 2: icon = MB_ICONINFORMATION; break;
        case 3: icon = MB_ICONQUESTION; break;
        default: break;
    }
    return buttons | icon;
}
inline constexpr UINT kDefaultMessageBoxStyle = MB_OK | MB_ICONSTOP;

// 1 for OK, Yes or Retry; 0 for No or Ignore; -1 for anything else (Cancel,
// Abort, a failed call).
constexpr std::int16_t message_box_answer(int id) {
    switch (id) {
        case IDOK:
        case IDYES:
        case IDRETRY: return 1;
        case IDNO:
        case IDIGNORE: return 0;
        default: return -1;
    }
}

// Show command of ShellExecute. 2 and 3 are maximised and minimised (the
// platform's own numbers are the other way round).
constexpr int show_command(std::int16_t v) {
    switch (v) {
        case 0: return SW_HIDE;
        case 2: return SW_SHOWMAXIMIZED;
        case 3: return SW_SHOWMINIMIZED;
        case 4: return SW_SHOWMINNOACTIVE;
        default: return SW_SHOWNORMAL;
    }
}

// Virtual key of GetASyncKeyState: positive numbers are keys, the others
// select fixed keys.
constexpr int async_key(std::int16_t v) {
    if (v > 0) return v;
    if (v == -1) return VK_PAUSE;
    if (v == -2) return VK_SCROLL;
    return VK_F10;
}

// ExitWindowsEx flags: the low four bits choose the action, a mode above 15
// adds the force flag.
constexpr UINT exit_windows_flags(std::int16_t mode) {
    UINT flags = EWX_LOGOFF;
    switch (mode & 0xF) {
        case 1: flags = EWX_POWEROFF; break;
        case 2: flags = EWX_REBOOT; break;
        case 3: flags = EWX_SHUTDOWN; break;
        default: break;
    }
    if (mode > 15) flags |= EWX_FORCE;
    return flags;
}

// The platform call that ExitWindows makes. Tests put a recorder here, since
// the real call ends every process of the session; null restores the
// platform's function.
using ExitWindowsFn = BOOL(WINAPI*)(UINT flags, DWORD reason);
void set_exit_windows_function(ExitWindowsFn fn) noexcept;

}  // namespace torvane::shell
