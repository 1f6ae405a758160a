#pragma once
// A fresh folder of a test's own under the temporary directory, removed with
// everything in it when the owner goes. File tests create their files only
// inside one.
#include <string>

namespace torvane::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path without a trailing backslash, and a name inside it.
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Writes `bytes` to a new file (replacing one that exists).
void write_file(const std::wstring& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string read_file(const std::wstring& path);
bool exists(const std::wstring& path);

// Makes the folder the current directory while the owner lives.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::wstring& path);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::wstring previous_;
};

}  // namespace torvane::test
