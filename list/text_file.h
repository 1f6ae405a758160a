#pragma once
// Whole-file reads and writes for LoadFile and SaveFile. Paths are ANSI
// text; a path that is empty or holds a zero byte names no file.
#include <windows.h>

#include <string>
#include <string_view>

#include "frame/raii.h"

namespace torvane {

// The file's bytes. False when it cannot be opened or read, or is no disk
// file (a device such as CON or COM1 is never read). Throws std::bad_alloc.
bool read_whole_file(std::string_view path, std::string& bytes);

// A file written beside its target and then put in its place, so that the
// target is either as it was or wholly the new text. The new file is removed
// again when the write fails or is given up (destruction before commit).
class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    // Creates the new file in the target's folder. False when it cannot.
    bool create(std::string_view target);
    bool write(std::string_view bytes);
    // Flushes the new file and puts it in place of the target.
    bool commit();

private:
    void discard() noexcept;

    std::string target_, temp_;
    UniqueFile file_;
};

}  // namespace torvane
