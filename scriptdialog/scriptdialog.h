#pragma once
// The ScriptDialog object: the library's one creatable object. It holds four
// settings that scripts read and write as plain properties and carries the
// utility members. The member table is in scriptdialog.cpp; the handlers live
// in one source per group:
//   scriptdialog.cpp   settings, TickCount, About, Version, the three object
//                      factories
//   clipboard.cpp      ClipboardText
//   number_format.cpp  FloatS, IntS, IsEqual, IsPointEqual
//   file_ops.cpp       version, directory, temporary, attribute, time, copy,
//                      extension, local path and special folder members
//   shell_ops.cpp      file and folder dialogs, ShellExecute, MessageBox,
//                      key state, ExitWindows, DoEvents, Sleep, cursor,
//                      FindWindow
//   profile.cpp        ProfileValue
//
// Handlers use lower-camel names so that the platform's A/W macros
// (CreateDirectory, MessageBox ...) never rename them.
#include <cstdint>
#include <string>

#include "frame/dispatch.h"

namespace torvane {

class CTorvane_ScriptDialog final : public DispatchObject {
public:
    CTorvane_ScriptDialog() noexcept;
    ~CTorvane_ScriptDialog() override;

    static const ClassInfo kClass;
    static LONG live_count() noexcept;

    // Settings shared by several members (bound properties).
    std::int16_t default_fs() const noexcept { return default_fs_; }
    std::int16_t default_is() const noexcept { return default_is_; }
    double default_tolerance() const noexcept { return default_tolerance_; }
    const std::string& profile_path() const noexcept { return profile_path_; }

private:
    struct Members;

    // scriptdialog.cpp
    double tickCount();
    double about();
    ComPtr<IUnknown> createForm();
    ComPtr<IUnknown> createOutputWindow();
    ComPtr<IUnknown> createList();
    std::string version();

    // clipboard.cpp
    Variant getClipboardText();
    void putClipboardText(const VARIANT& value);

    // number_format.cpp
    std::string floatS(double value, const VARIANT& digits);
    std::string intS(std::int32_t value, const VARIANT& width);
    bool isEqual(double a, double b, const VARIANT& tolerance);
    bool isPointEqual(double x1, double y1, double x2, double y2, const VARIANT& tolerance);

    // file_ops.cpp
    std::int16_t versionCheck(const char* path, std::int16_t major, std::int16_t minor, std::int16_t third,
                              std::int16_t fourth);
    bool createDirectory(const char* path);
    std::int32_t getFileVersion(const char* path);
    Variant getSpecialFolderPath(std::int32_t folder);
    std::string getTempPath();
    Variant getTempFileName(const VARIANT& directory, const VARIANT& prefix);
    std::int32_t getFileAttributes(const char* path);
    Variant getFileLastWriteTime(const char* path);
    Variant getFileCreationTime(const char* path);
    std::string changeExtensionName(const char* path, const char* extension);
    bool copyFile(const char* source, const char* target, const VARIANT& fail_if_exists);
    bool moveFile(const char* source, const char* target, const VARIANT& fail_if_exists);
    Variant getLocalPathName(const char* text);

    // shell_ops.cpp
    Variant getOpenFileName(const VARIANT& file, const VARIANT& filter, const VARIANT& directory);
    Variant getSaveFileName(const VARIANT& file, const VARIANT& filter, const VARIANT& directory);
    std::int16_t shellExecute(const VARIANT& verb, const VARIANT& file, const VARIANT& parameters,
                              const VARIANT& directory, const VARIANT& show, const VARIANT& wait);
    std::int16_t getAsyncKeyState(std::int16_t key);
    Variant browseForFolder(const VARIANT& initial);
    bool exitWindows(std::int16_t mode);
    std::int16_t doEvents();
    void sleep(std::int16_t milliseconds);
    std::int16_t messageBox(const char* text, const VARIANT& caption, const VARIANT& style);
    void waitCursor(std::int16_t on);
    Variant findWindow(const char* class_name, const char* title);

    // profile.cpp
    std::string getProfileValue(const char* key, const VARIANT& unused);
    void putProfileValue(const char* key, const VARIANT& unused, const char* value);

    std::int16_t default_fs_ = 3;
    std::int16_t default_is_ = 2;
    double default_tolerance_ = 0.001;
    std::string profile_path_;
};

}  // namespace torvane
