// Shell, common dialog and system members of the ScriptDialog object: the
// file and folder dialogs, MessageBox, ShellExecute with waiting, key state,
// ExitWindows, DoEvents, Sleep, the wait cursor and FindWindow.
//
// The members keep no state. Texts from scripts have any length: every
// buffer handed to the platform is sized from the text, and the file dialog's
// name buffer is far larger than any path the platform produces. Only the
// verb, file and directory of ShellExecute must fit the platform's MAX_PATH
// buffers; a longer one is a failed launch.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "frame/module.h"
#include "frame/text.h"
#include "frame/variant_args.h"
#include "resources/resource_ids.h"
#include "scriptdialog/file_filter_text.h"
#include "scriptdialog/scriptdialog.h"
#include "scriptdialog/shell_rules.h"

namespace torvane {

namespace shell {
namespace {
ExitWindowsFn g_exit_windows = nullptr;
}
void set_exit_windows_function(ExitWindowsFn fn) noexcept { g_exit_windows = fn; }
}  // namespace shell

namespace {

// The library sets no main window, so its dialogs have no owner.
HWND owner_window() noexcept { return nullptr; }

// Room for the chosen file's name: the platform's longest path in UTF-16
// units, each of which may take two bytes in the ANSI code page.
constexpr std::size_t kFileBufferBytes = 2 * 32768;

Variant string_result(const std::string& ansi) { return Variant::bstr(to_bstr(ansi)); }

Variant file_dialog(bool save, const VARIANT& file, const VARIANT& filter_arg, const VARIANT& directory) {
    // 1. The initial name.
    std::string initial;
    if (text_arg(file, initial) != ArgState::value) initial.clear();

    // 2. Filter and default extension.
    std::string filter, default_ext;
    std::string script_filter;
    switch (text_arg(filter_arg, script_filter)) {
        case ArgState::absent: filter = module::load_string_ansi(IDS_FILTER_ALL_FILES); break;
        case ArgState::unconvertible: break;
        case ArgState::value:
            filter = append_all_files_filter(script_filter, module::load_string_ansi(IDS_FILTER_ALL_FILES_ADDED));
            default_ext = filter_default_extension(filter, ansi_lead_bytes());
            break;
    }
    const std::string filter_list = filter_for_platform(filter, ansi_lead_bytes());

    // 3. The dialog opens where the current directory is.
    std::string dir;
    if (text_arg(directory, dir) == ArgState::value && !dir.empty() && dir.find('\0') == std::string::npos)
        ::SetCurrentDirectoryA(dir.c_str());

    // 4. The dialog. The buffer holds any initial name in full.
    std::vector<char> name(std::max(kFileBufferBytes, initial.size() + 1), '\0');
    initial.copy(name.data(), initial.size());

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_window();
    ofn.lpstrFilter = filter_list.empty() ? nullptr : filter_list.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(std::min<std::size_t>(name.size(), 0x7FFFFFFF));
    ofn.lpstrDefExt = default_ext.empty() ? nullptr : default_ext.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const BOOL ok = save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);

    // 5. The chosen path, or Null.
    name.back() = '\0';
    if (!ok || name[0] == '\0') return Variant::null();
    return string_result(std::string(name.data()));
}

// BrowseForFolder: select the initial folder once the dialog is ready.
int CALLBACK browse_callback(HWND dialog, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

Variant CTorvane_ScriptDialog::getOpenFileName(const VARIANT& file, const VARIANT& filter, const VARIANT& directory) {
    return file_dialog(false, file, filter, directory);
}

Variant CTorvane_ScriptDialog::getSaveFileName(const VARIANT& file, const VARIANT& filter, const VARIANT& directory) {
    return file_dialog(true, file, filter, directory);
}

Variant CTorvane_ScriptDialog::browseForFolder(const VARIANT& initial_arg) {
    std::string initial;
    switch (text_arg(initial_arg, initial)) {
        case ArgState::absent: {
            const DWORD n = ::GetCurrentDirectoryA(0, nullptr);
            std::vector<char> cwd(n + 1, '\0');
            if (n && ::GetCurrentDirectoryA(n + 1, cwd.data()) <= n) initial = cwd.data();
            break;
        }
        case ArgState::unconvertible: initial.clear(); break;
        case ArgState::value:
            // Only the text before an embedded zero can name a folder.
            initial.resize(std::char_traits<char>::length(initial.c_str()));
            break;
    }

    char display_name[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.hwndOwner = owner_window();
    bi.pidlRoot = nullptr;
    bi.pszDisplayName = display_name;
    bi.lpszTitle = nullptr;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = &browse_callback;
    bi.lParam = reinterpret_cast<LPARAM>(initial.c_str());
    UniqueItemIdList item(::SHBrowseForFolderA(&bi));
    if (!item) return Variant::null();

    // The platform's path buffer is MAX_PATH bytes: a longer path fails here
    // and gives Null.
    char path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListA(item.get(), path)) return Variant::null();
    path[MAX_PATH - 1] = '\0';
    return string_result(path);
}

std::int16_t CTorvane_ScriptDialog::messageBox(const char* text, const VARIANT& caption_arg, const VARIANT& style_arg) {
    std::string caption;
    switch (text_arg(caption_arg, caption)) {
        case ArgState::absent: caption = module::load_string_ansi(IDS_ERROR_CAPTION); break;
        case ArgState::unconvertible: caption.clear(); break;
        case ArgState::value: break;
    }
    std::int16_t v = 0;
    const UINT style =
        i2_arg(style_arg, v) == ArgState::value ? shell::message_box_style(v) : shell::kDefaultMessageBoxStyle;
    const int id = ::MessageBoxA(owner_window(), text, caption.c_str(), style | MB_TASKMODAL | MB_SETFOREGROUND);
    return shell::message_box_answer(id);
}

namespace {

// %NAME% references expanded through the platform; the text as it is when
// expansion fails.
std::optional<std::string> expand_environment(std::optional<std::string> text) {
    if (!text) return text;
    const DWORD n = ::ExpandEnvironmentStringsA(text->c_str(), nullptr, 0);
    if (n == 0) return text;
    std::string out(n, '\0');
    const DWORD got = ::ExpandEnvironmentStringsA(text->c_str(), out.data(), n);
    if (got == 0 || got > n) return text;
    out.resize(std::char_traits<char>::length(out.c_str()));
    return out;
}

// The verb, the file and the directory name things that the platform holds in
// path buffers of MAX_PATH bytes; a longer one cannot be launched (and the
// shell is not safe with it).
bool fits_path_buffer(const std::optional<std::string>& text) noexcept {
    return !text || std::char_traits<char>::length(text->c_str()) < MAX_PATH;
}

}  // namespace

std::int16_t CTorvane_ScriptDialog::shellExecute(const VARIANT& verb_arg, const VARIANT& file_arg,
                                                 const VARIANT& parameters_arg, const VARIANT& directory_arg,
                                                 const VARIANT& show_arg, const VARIANT& wait_arg) {
    // Every argument is converted before the environment is read: a
    // conversion may run script code. The four texts are none when absent or
    // not convertible. The shell expands %NAME% in the file and directory
    // too; expanding first lets their length be checked as they will be used.
    const std::optional<std::string> verb = opt_text(verb_arg);
    std::optional<std::string> file = opt_text(file_arg);
    const std::optional<std::string> parameters = opt_text(parameters_arg);
    std::optional<std::string> directory = opt_text(directory_arg);
    const int show = shell::show_command(opt_i2(show_arg).value_or(1));
    std::int16_t wait = opt_i2(wait_arg).value_or(0);
    if (!fits_path_buffer(verb) || !fits_path_buffer(file) || !fits_path_buffer(directory)) return -1;
    file = expand_environment(std::move(file));
    directory = expand_environment(std::move(directory));
    if (!fits_path_buffer(file) || !fits_path_buffer(directory)) return -1;

    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_DOENVSUBST;
    info.hwnd = nullptr;
    info.lpVerb = verb ? verb->c_str() : "OPEN";
    info.lpFile = file ? file->c_str() : nullptr;
    info.lpParameters = parameters ? parameters->c_str() : nullptr;
    info.lpDirectory = directory ? directory->c_str() : nullptr;
    info.nShow = show;

    if (!::ShellExecuteExA(&info)) return -1;
    UniqueHandle process(info.hProcess);
    if (wait == 0 || (wait < 0 && wait != -1)) return 1;
    // No process came back (the document went to a program already running).
    if (!process) return 2;

    // Polls of 100 milliseconds. The process's end is read from its handle,
    // so a process whose exit code happens to equal STILL_ACTIVE counts as
    // ended too.
    for (;;) {
        const DWORD r = ::WaitForSingleObject(process.get(), 100);
        if (r == WAIT_OBJECT_0) return 0;
        if (r != WAIT_TIMEOUT) return 2;
        if (wait == -1) continue;
        if (--wait <= 0) return 1;
    }
}

std::int16_t CTorvane_ScriptDialog::getAsyncKeyState(std::int16_t key) {
    return static_cast<std::int16_t>(::GetAsyncKeyState(shell::async_key(key)));
}

bool CTorvane_ScriptDialog::exitWindows(std::int16_t mode) {
    const shell::ExitWindowsFn fn = shell::g_exit_windows ? shell::g_exit_windows : &::ExitWindowsEx;
    return fn(shell::exit_windows_flags(mode), 0) != FALSE;
}

// A quit message belongs to the host's loop: it is posted again, and the
// pumping stops there.
std::int16_t CTorvane_ScriptDialog::doEvents() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}

// A negative count returns at once: passed on, it would be a pause of
// about 49 days (or, for -1, without end).
void CTorvane_ScriptDialog::sleep(std::int16_t milliseconds) {
    if (milliseconds > 0)
        ::Sleep(static_cast<DWORD>(milliseconds));
    else if (milliseconds == 0)
        ::Sleep(0);
}

void CTorvane_ScriptDialog::waitCursor(std::int16_t on) {
    ::SetCursor(::LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

Variant CTorvane_ScriptDialog::findWindow(const char* class_name, const char* title) {
    const HWND found = ::FindWindowA(class_name, *title ? title : nullptr);
    if (!found) return Variant::null();
    // Window handles carry 32 significant bits on every platform.
    return Variant::i4(HandleToLong(found));
}

}  // namespace torvane
