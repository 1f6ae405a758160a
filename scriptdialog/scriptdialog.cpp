// The ScriptDialog object: member table, settings, TickCount, About, Version
// and the factories of the other three objects. Every ScriptDialog object holds the
// module lock from construction to destruction.
#include "scriptdialog/scriptdialog.h"

#include <cstring>
#include <vector>

#include "forms/form/form.h"
#include "frame/guids.h"
#include "frame/module.h"
#include "list/list.h"
#include "outwin/output_window.h"
#include "resources/resource_ids.h"

namespace torvane {

struct CTorvane_ScriptDialog::Members {
    using Self = CTorvane_ScriptDialog;
    // The position of a row is its dispatch id: never reorder.
    // clang-format off
    static constexpr DispEntry table[] = {
        /*  1 */ bound<&Self::default_fs_>                              ("DefaultFS",                              T_I2),
        /*  2 */ bound<&Self::default_is_>                              ("DefaultIS",                              T_I2),
        /*  3 */ bound<&Self::default_tolerance_>                       ("DefaultTolerance",                       T_R8),
        /*  4 */ bound<&Self::profile_path_>                            ("ProfilePath",                            T_BSTR),
        /*  5 */ readonly<&Self::tickCount>                             ("TickCount",                              T_R8),
        /*  6 */ method<&Self::about>                                   ("About",                                  T_R8),
        /*  7 */ method<&Self::getOpenFileName>                         ("GetOpenFileName",      P_VARIANT P_VARIANT P_VARIANT, T_VARIANT),
        /*  8 */ method<&Self::getSaveFileName>                         ("GetSaveFileName",      P_VARIANT P_VARIANT P_VARIANT, T_VARIANT),
        /*  9 */ method<&Self::shellExecute>                            ("ShellExecute",         P_VARIANT P_VARIANT P_VARIANT P_VARIANT P_VARIANT P_VARIANT, T_I2),
        /* 10 */ method<&Self::getAsyncKeyState>                        ("GetASyncKeyState",     P_I2,                   T_I2),
        /* 11 */ method<&Self::browseForFolder>                         ("BrowseForFolder",      P_VARIANT,              T_VARIANT),
        /* 12 */ method<&Self::createForm>                              ("CreateForm",                              T_UNKNOWN),
        /* 13 */ method<&Self::versionCheck>                            ("VersionCheck",         P_STR P_I2 P_I2 P_I2 P_I2, T_I2),
        /* 14 */ method<&Self::createDirectory>                         ("CreateDirectory",      P_STR,                  T_BOOL),
        /* 15 */ method<&Self::getFileVersion>                          ("GetFileVersion",       P_STR,                  T_I4),
        /* 16 */ method<&Self::exitWindows>                             ("ExitWindows",          P_I2,                   T_BOOL),
        /* 17 */ method<&Self::getSpecialFolderPath>                    ("GetSpecialFolderPath", P_I4,                   T_VARIANT),
        /* 18 */ method<&Self::createOutputWindow>                      ("CreateOutputWindow",                      T_UNKNOWN),
        /* 19 */ method<&Self::doEvents>                                ("DoEvents",                                T_I2),
        /* 20 */ method<&Self::sleep>                                   ("Sleep",                P_I2,                   T_EMPTY),
        /* 21 */ method<&Self::getTempPath>                             ("GetTempPath",                             T_BSTR),
        /* 22 */ method<&Self::getTempFileName>                         ("GetTempFileName",      P_VARIANT P_VARIANT,    T_VARIANT),
        /* 23 */ method<&Self::getFileAttributes>                       ("GetFileAttributes",    P_STR,                  T_I4),
        /* 24 */ method<&Self::getFileLastWriteTime>                    ("GetFileLastWriteTime", P_STR,                  T_VARIANT),
        /* 25 */ method<&Self::getFileCreationTime>                     ("GetFileCreationTime",  P_STR,                  T_VARIANT),
        /* 26 */ method<&Self::messageBox>                              ("MessageBox",           P_STR P_VARIANT P_VARIANT, T_I2),
        /* 27 */ method<&Self::floatS>                                  ("FloatS",               P_R8 P_VARIANT,         T_BSTR),
        /* 28 */ method<&Self::intS>                                    ("IntS",                 P_I4 P_VARIANT,         T_BSTR),
        /* 29 */ method<&Self::isEqual>                                 ("IsEqual",              P_R8 P_R8 P_VARIANT,    T_BOOL),
        /* 30 */ method<&Self::isPointEqual>                            ("IsPointEqual",         P_R8 P_R8 P_R8 P_R8 P_VARIANT, T_BOOL),
        /* 31 */ method<&Self::createList>                              ("CreateList",                              T_UNKNOWN),
        /* 32 */ method<&Self::changeExtensionName>                     ("ChangeExtensionName",  P_STR P_STR,            T_BSTR),
        /* 33 */ method<&Self::copyFile>                                ("CopyFile",             P_STR P_STR P_VARIANT,  T_BOOL),
        /* 34 */ method<&Self::moveFile>                                ("MoveFile",             P_STR P_STR P_VARIANT,  T_BOOL),
        /* 35 */ method<&Self::waitCursor>                              ("WaitCursor",           P_I2,                   T_EMPTY),
        /* 36 */ method<&Self::getLocalPathName>                        ("GetLocalPathName",     P_STR,                  T_VARIANT),
        /* 37 */ method<&Self::findWindow>                              ("FindWindow",           P_STR P_STR,            T_VARIANT),
        /* 38 */ property<&Self::getProfileValue, &Self::putProfileValue>("ProfileValue",        P_STR P_VARIANT,        T_BSTR),
        /* 39 */ property<&Self::getClipboardText, &Self::putClipboardText>("ClipboardText",                      T_VARIANT),
        /* 40 */ readonly<&Self::version>                               ("Version",                                T_BSTR),
    };
    // clang-format on
};

namespace {
LONG g_live = 0;
}

const ClassInfo CTorvane_ScriptDialog::kClass = {"CTorvane_ScriptDialog", &IID_IScriptDialog,
                                                 make_table(Members::table), &g_live};

LONG CTorvane_ScriptDialog::live_count() noexcept { return g_live; }

CTorvane_ScriptDialog::CTorvane_ScriptDialog() noexcept : DispatchObject(kClass) { module::lock(); }

CTorvane_ScriptDialog::~CTorvane_ScriptDialog() { module::unlock(); }

// Milliseconds since the system started, without the 49-day wrap of the
// 32-bit tick count.
double CTorvane_ScriptDialog::tickCount() { return static_cast<double>(::GetTickCount64()); }

double CTorvane_ScriptDialog::about() {
    const std::wstring text = module::load_string(IDS_ABOUT_TEXT);
    const std::wstring caption = module::load_string(IDS_ABOUT_CAPTION);
    ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
    return 1.0;
}

// "1.2.3.4", from the fixed part of the library's own version resource
// (read from the module in memory: no file is opened).
std::string CTorvane_ScriptDialog::version() {
    const HMODULE self = module::instance();
    const HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    const HGLOBAL loaded = found ? ::LoadResource(self, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return std::string();
    // VerQueryValue may write into the block: it gets a copy.
    const DWORD size = ::SizeofResource(self, found);
    std::vector<char> block(static_cast<const char*>(data), static_cast<const char*>(data) + size);
    void* info = nullptr;
    UINT length = 0;
    wchar_t root[] = L"\\";
    if (!::VerQueryValueW(block.data(), root, &info, &length) || !info || length < sizeof(VS_FIXEDFILEINFO))
        return std::string();
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, info, sizeof fixed);
    if (fixed.dwSignature != VS_FFI_SIGNATURE) return std::string();
    return std::to_string(HIWORD(fixed.dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed.dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed.dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed.dwFileVersionLS));
}

ComPtr<IUnknown> CTorvane_ScriptDialog::createForm() { return create_form_object(); }

ComPtr<IUnknown> CTorvane_ScriptDialog::createOutputWindow() { return create_output_window_object(); }

ComPtr<IUnknown> CTorvane_ScriptDialog::createList() { return create_list_object(); }

}  // namespace torvane
