#include "list/text_file.h"

#include <cstdio>
#include <new>

namespace torvane {
namespace {

bool usable_path(std::string_view path) { return !path.empty() && path.find('\0') == std::string_view::npos; }

}  // namespace

bool read_whole_file(std::string_view path, std::string& bytes) {
    if (!usable_path(path)) return false;
    const std::string name(path);
    UniqueFile file(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    if (static_cast<unsigned long long>(size.QuadPart) >= bytes.max_size()) throw std::bad_alloc();
    std::string data;
    data.resize(static_cast<std::size_t>(size.QuadPart));
    // The file may shrink or grow while it is read: read to its end.
    std::size_t got = 0;
    for (;;) {
        if (got == data.size()) data.resize(got + 65536);
        const std::size_t want = data.size() - got;
        DWORD n = 0;
        if (!::ReadFile(file.get(), &data[got], want > 0x40000000 ? 0x40000000 : static_cast<DWORD>(want), &n, nullptr))
            return false;
        if (n == 0) break;
        got += n;
    }
    data.resize(got);
    bytes.swap(data);
    return true;
}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::discard() noexcept {
    if (temp_.empty()) return;
    file_.reset();
    ::DeleteFileA(temp_.c_str());
    temp_.clear();
}

bool ReplacingFile::create(std::string_view target) {
    discard();
    if (!usable_path(target)) return false;
    target_.assign(target);
    // A name of its own beside the target: the target's name, a number, ".tmp".
    static LONG counter = 0;
    for (int attempt = 0; attempt < 32; ++attempt) {
        char suffix[40];
        const unsigned long n = static_cast<unsigned long>(::InterlockedIncrement(&counter)) ^
                                (static_cast<unsigned long>(::GetCurrentProcessId()) << 12) ^ ::GetTickCount();
        std::snprintf(suffix, sizeof suffix, ".%08lx.tmp", n & 0xFFFFFFFFul);
        std::string name = target_ + suffix;
        file_.reset(::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_) {
            temp_ = std::move(name);
            // Only a disk file can stand in for the target (CON.x.tmp is the console).
            if (::GetFileType(file_.get()) != FILE_TYPE_DISK) {
                discard();
                return false;
            }
            return true;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

bool ReplacingFile::write(std::string_view bytes) {
    if (!file_) return false;
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD n = 0;
        if (!::WriteFile(file_.get(), bytes.data(), chunk, &n, nullptr) || n == 0) {
            discard();
            return false;
        }
        bytes.remove_prefix(n);
    }
    return true;
}

bool ReplacingFile::commit() {
    if (!file_) return false;
    const bool flushed = ::FlushFileBuffers(file_.get()) != FALSE;
    file_.reset();
    if (!flushed ||
        !::MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        discard();
        return false;
    }
    temp_.clear();
    return true;
}

}  // namespace torvane
