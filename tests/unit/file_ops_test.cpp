// The file and path members through IDispatch, against real files in a
// temporary folder of each test's own. Japanese names run only under code
// page 932, where the library's text is Shift-JIS.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cmath>

#include "frame/raii.h"
#include "resources/version.h"
#include "support/disp.h"
#include "support/temp_folder.h"

using namespace torvane;
using namespace torvane::test;

namespace {

const wchar_t kSo[] = L"\u30BD";  // 0x83 0x5C in code page 932

bool cp932() { return ::GetACP() == 932; }

std::wstring program_folder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.rfind(L'\\'));
}

std::wstring versioned_exe() { return program_folder() + L"\\versioned.exe"; }
std::wstring library_dll() { return program_folder() + L"\\" TEXT(TORVANE_FILE_NAME); }

// A drive letter that names no drive.
std::wstring missing_drive() {
    const DWORD drives = ::GetLogicalDrives();
    for (int d = 25; d >= 3; --d)
        if (!(drives & (1u << d))) return std::wstring(1, static_cast<wchar_t>(L'A' + d)) + L":";
    return L"";
}

SHORT call_i2(IDispatch* sd, const wchar_t* name, Args args) {
    auto r = call(sd, name, args);
    EXPECT_EQ(S_OK, r.hr) << name;
    EXPECT_EQ(VT_I2, r.value.vt()) << name;
    return r.value.get().iVal;
}

LONG call_i4(IDispatch* sd, const wchar_t* name, Args args) {
    auto r = call(sd, name, args);
    EXPECT_EQ(S_OK, r.hr) << name;
    EXPECT_EQ(VT_I4, r.value.vt()) << name;
    return r.value.get().lVal;
}

bool call_bool(IDispatch* sd, const wchar_t* name, Args args) {
    auto r = call(sd, name, args);
    EXPECT_EQ(S_OK, r.hr) << name;
    EXPECT_EQ(VT_BOOL, r.value.vt()) << name;
    return r.value.get().boolVal != VARIANT_FALSE;
}

bool is_directory(const std::wstring& path) {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FileVersion, PacksTheSecondAndFourthNumbers) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    write_file(tmp / L"plain.txt", "no version here");
    EXPECT_EQ(0x00020004, call_i4(sd.get(), L"GetFileVersion", Args().str(versioned_exe().c_str())));
    EXPECT_EQ(0, call_i4(sd.get(), L"GetFileVersion", Args().str((tmp / L"plain.txt").c_str())));
    EXPECT_EQ(0, call_i4(sd.get(), L"GetFileVersion", Args().str(tmp.path().c_str())));
    EXPECT_EQ(0, call_i4(sd.get(), L"GetFileVersion", Args().str((tmp / L"missing.exe").c_str())));
    EXPECT_EQ(0, call_i4(sd.get(), L"GetFileVersion", Args().str(std::wstring(600, L'x').c_str())));
}

TEST(FileVersion, ADamagedBlockReadsAsUnreadable) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    // The helper with the signature of its fixed version information broken.
    std::string bytes = read_file(versioned_exe());
    const std::string signature("\xBD\x04\xEF\xFE", 4);
    const std::size_t at = bytes.find(signature);
    ASSERT_NE(std::string::npos, at);
    bytes[at] = '\0';
    const std::wstring damaged = tmp / L"damaged.exe";
    write_file(damaged, bytes);
    EXPECT_EQ(0, call_i4(sd.get(), L"GetFileVersion", Args().str(damaged.c_str())));
    EXPECT_EQ(0, call_i2(sd.get(), L"VersionCheck", Args().str(damaged.c_str()).i2(0).i2(0).i2(0).i2(0)));
}

TEST(VersionCheck, ComparesMajorAndMinorUnsigned) {
    auto sd = new_script_dialog();
    const std::wstring exe = versioned_exe();  // 1.2.3.4
    struct Case {
        SHORT major, minor, third, fourth, want;
    };
    const Case cases[] = {
        {1, 2, 0, 0, 1},
        {1, 3, 0, 0, 0},
        {0, 9, 0, 0, 1},
        {1, 2, 9, 9, 1},
        {2, 0, 0, 0, 0},
        {1, 1, 9, 9, 1},
        {0, 0, 0, 0, 1},
        // Negative numbers are large unsigned ones: 65535.x and 1.65535.
        {-1, 0, 0, 0, 0},
        {1, -1, 0, 0, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(c.want, call_i2(sd.get(), L"VersionCheck",
                                  Args().str(exe.c_str()).i2(c.major).i2(c.minor).i2(c.third).i2(c.fourth)))
            << "case " << i;
    }
    // The library's own version resource says 1.0.0.0.
    const std::wstring dll = library_dll();
    EXPECT_EQ(1, call_i2(sd.get(), L"VersionCheck", Args().str(dll.c_str()).i2(1).i2(0).i2(0).i2(0)));
    EXPECT_EQ(0, call_i2(sd.get(), L"VersionCheck", Args().str(dll.c_str()).i2(1).i2(1).i2(0).i2(0)));
    EXPECT_EQ(0, call_i4(sd.get(), L"GetFileVersion", Args().str(dll.c_str())));

    TempFolder tmp;
    write_file(tmp / L"plain.txt", "no version here");
    EXPECT_EQ(-1, call_i2(sd.get(), L"VersionCheck", Args().str(tmp.path().c_str()).i2(0).i2(0).i2(0).i2(0)));
    EXPECT_EQ(-1, call_i2(sd.get(), L"VersionCheck", Args().str((tmp / L"plain.txt").c_str()).i2(0).i2(0).i2(0).i2(0)));
    EXPECT_EQ(0, call_i2(sd.get(), L"VersionCheck", Args().str((tmp / L"none").c_str()).i2(0).i2(0).i2(0).i2(0)));
}

TEST(CreateDirectoryMember, CreatesEveryMissingLevel) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring a = tmp / L"a";
    ASSERT_TRUE(::CreateDirectoryW(a.c_str(), nullptr));
    EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str((a + L"\\b\\c").c_str())));
    EXPECT_TRUE(is_directory(a + L"\\b\\c"));
    EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str((a + L"\\x\\y\\z\\").c_str())));
    EXPECT_TRUE(is_directory(a + L"\\x\\y\\z"));
    // Existing directories, with and without the backslash.
    EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str(a.c_str())));
    EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str((a + L"\\").c_str())));
    // A doubled backslash.
    EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str((a + L"\\\\d").c_str())));
    EXPECT_TRUE(is_directory(a + L"\\d"));
}

TEST(CreateDirectoryMember, DotsAndDoubledBackslashesEndAsDirectories) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring w = tmp.path();
    struct Case {
        const wchar_t* tail;
        const wchar_t* made;  // the directory it names
    };
    const Case cases[] = {
        {L"\\a\\.\\b", L"\\a\\b"},       {L"\\g\\h\\.", L"\\g\\h"},          {L"\\e\\\\f", L"\\e\\f"},
        {L"\\i\\j\\..\\k\\", L"\\i\\k"}, {L"\\m\\n\\.\\.\\o", L"\\m\\n\\o"}, {L"\\p\\q\\\\", L"\\p\\q"},
        {L"\\\\r\\\\s", L"\\r\\s"},
    };
    for (const Case& c : cases) {
        const std::wstring path = w + c.tail;
        EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str(path.c_str()))) << path;
        EXPECT_TRUE(is_directory(w + c.made)) << path;
        EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str(path.c_str()))) << path;
    }
    // Through a file it still fails, and the file stays.
    const std::wstring f = tmp / L"f";
    write_file(f, "x");
    for (const wchar_t* tail : {L"\\f\\.\\x", L"\\f\\\\x", L"\\y\\..\\f\\x", L"\\f\\\\"})
        EXPECT_FALSE(call_bool(sd.get(), L"CreateDirectory", Args().str((w + tail).c_str()))) << (w + tail);
    EXPECT_EQ("x", read_file(f));
}

TEST(CreateDirectoryMember, FilesAndMissingDrivesFail) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring f = tmp / L"file.txt";
    write_file(f, "x");
    EXPECT_FALSE(call_bool(sd.get(), L"CreateDirectory", Args().str(f.c_str())));
    EXPECT_FALSE(call_bool(sd.get(), L"CreateDirectory", Args().str((f + L"\\").c_str())));
    EXPECT_FALSE(call_bool(sd.get(), L"CreateDirectory", Args().str((f + L"\\sub\\deeper").c_str())));
    EXPECT_EQ("x", read_file(f));
    const std::wstring drive = missing_drive();
    ASSERT_FALSE(drive.empty());
    EXPECT_FALSE(call_bool(sd.get(), L"CreateDirectory", Args().str((drive + L"\\x\\y").c_str())));
    EXPECT_FALSE(call_bool(sd.get(), L"CreateDirectory", Args().str(L"")));
}

TEST(CreateDirectoryMember, LongPathsFailSafely) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    // Levels of 100 characters: the first fits, the path as a whole does not.
    std::wstring path = tmp.path();
    for (int i = 0; i < 6; ++i) path += L"\\" + std::wstring(100, static_cast<wchar_t>(L'a' + i));
    EXPECT_FALSE(call_bool(sd.get(), L"CreateDirectory", Args().str(path.c_str())));
    EXPECT_FALSE(call_bool(sd.get(), L"CreateDirectory", Args().str(std::wstring(5000, L'\\').c_str())));
}

TEST(CreateDirectoryMember, RelativeNamesStartAtTheCurrentDirectory) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    CurrentDirectory here(tmp.path());
    EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str(L"rel\\sub")));
    EXPECT_TRUE(is_directory(tmp / L"rel\\sub"));
}

TEST(CreateDirectoryMember, TrailBytesThatAreBackslashes) {
    if (!cp932()) GTEST_SKIP() << "needs code page 932";
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring so = kSo;
    const std::wstring path = tmp / (so + L"\\" + so + so + L"\\" + so);
    EXPECT_TRUE(call_bool(sd.get(), L"CreateDirectory", Args().str(path.c_str())));
    EXPECT_TRUE(is_directory(tmp / so));
    EXPECT_TRUE(is_directory(tmp / (so + L"\\" + so + so)));
    EXPECT_TRUE(is_directory(path));
}

TEST(TempPath, IsThePlatformsWithItsBackslash) {
    auto sd = new_script_dialog();
    wchar_t want[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, want);
    auto r = call(sd.get(), L"GetTempPath");
    ASSERT_EQ(S_OK, r.hr);
    const std::wstring got = as_wstring(r.value);
    EXPECT_EQ(std::wstring(want), got);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(L'\\', got.back());
}

std::wstring base_name(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

TEST(TempFileName, DefaultsToTmpInTheCurrentDirectory) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    CurrentDirectory here(tmp.path());
    auto first = call(sd.get(), L"GetTempFileName");
    auto second = call(sd.get(), L"GetTempFileName", Args().null().null());
    ASSERT_EQ(VT_BSTR, first.value.vt());
    ASSERT_EQ(VT_BSTR, second.value.vt());
    const std::wstring a = as_wstring(first.value), b = as_wstring(second.value);
    EXPECT_NE(a, b);
    for (const std::wstring& name : {a, b}) {
        EXPECT_EQ(0u, base_name(name).find(L"tmp")) << name;
        EXPECT_TRUE(exists(tmp / base_name(name))) << name;
    }
}

TEST(TempFileName, FolderAndPrefixAreConverted) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    auto named = call(sd.get(), L"GetTempFileName", Args().str(tmp.path().c_str()).str(L"abcdef"));
    const std::wstring name = as_wstring(named.value);
    EXPECT_EQ(0u, name.find(tmp / L"abc")) << name;
    EXPECT_TRUE(exists(name));
    // A number converts to its text; a value that does not convert is empty.
    auto numbered = call(sd.get(), L"GetTempFileName", Args().str(tmp.path().c_str()).i4(42));
    EXPECT_EQ(0u, base_name(as_wstring(numbered.value)).find(L"42"));
    auto unconvertible = call(sd.get(), L"GetTempFileName", Args().str(tmp.path().c_str()).unknown(sd.get()));
    const std::wstring bare = base_name(as_wstring(unconvertible.value));
    // One to four hex digits (the platform does not pad them) and ".tmp".
    EXPECT_TRUE(bare.size() >= 5 && bare.size() <= 8) << bare;
    // A folder that does not exist.
    auto missing = call(sd.get(), L"GetTempFileName", Args().str((tmp / L"none").c_str()));
    EXPECT_EQ(S_OK, missing.hr);
    EXPECT_EQ(VT_NULL, missing.value.vt());
}

TEST(TempFileName, FoldersTooLongForTheNameGiveNull) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    // Folders of exactly 246 and 247 characters (ASCII: bytes too).
    const std::size_t base = tmp.path().size() + 1;
    ASSERT_LT(base + 10, 246u);
    const std::wstring fits = tmp.path() + L"\\" + std::wstring(246 - base, L'f');
    const std::wstring over = tmp.path() + L"\\" + std::wstring(247 - base, L'g');
    ASSERT_TRUE(::CreateDirectoryW(fits.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(over.c_str(), nullptr));
    auto ok = call(sd.get(), L"GetTempFileName", Args().str(fits.c_str()));
    ASSERT_EQ(VT_BSTR, ok.value.vt());
    // "\", the prefix "tmp", one to four unpadded hex digits and ".tmp".
    const std::size_t length = as_wstring(ok.value).size();
    EXPECT_TRUE(length >= 246u + 9u && length <= 246u + 12u) << length;
    EXPECT_EQ(VT_NULL, call(sd.get(), L"GetTempFileName", Args().str(over.c_str())).value.vt());
    EXPECT_EQ(VT_NULL, call(sd.get(), L"GetTempFileName", Args().str(std::wstring(3000, L'd').c_str())).value.vt());
    if (cp932()) {
        // Three double-byte prefix characters take six bytes: 246 + 1 + 6 + 8
        // would not fit, and a shorter folder does.
        const std::wstring prefix = std::wstring(kSo) + kSo + kSo;
        EXPECT_EQ(VT_NULL, call(sd.get(), L"GetTempFileName", Args().str(fits.c_str()).str(prefix.c_str())).value.vt());
        auto dbcs = call(sd.get(), L"GetTempFileName", Args().str(tmp.path().c_str()).str(prefix.c_str()));
        ASSERT_EQ(VT_BSTR, dbcs.value.vt());
        EXPECT_EQ(0u, base_name(as_wstring(dbcs.value)).find(prefix));
    }
}

TEST(FileAttributes, AreThePlatformsValue) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring f = tmp / L"f.txt";
    write_file(f, "x");
    EXPECT_EQ(static_cast<LONG>(::GetFileAttributesW(f.c_str())),
              call_i4(sd.get(), L"GetFileAttributes", Args().str(f.c_str())));
    EXPECT_TRUE(call_i4(sd.get(), L"GetFileAttributes", Args().str(tmp.path().c_str())) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(-1, call_i4(sd.get(), L"GetFileAttributes", Args().str((tmp / L"none").c_str())));
    EXPECT_EQ(-1, call_i4(sd.get(), L"GetFileAttributes", Args().str(std::wstring(4000, L'z').c_str())));
}

// The local date of a UTC file time, milliseconds dropped.
DATE local_date(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME st{};
    ::FileTimeToLocalFileTime(&utc, &local);
    ::FileTimeToSystemTime(&local, &st);
    st.wMilliseconds = 0;
    DATE d = 0;
    ::SystemTimeToVariantTime(&st, &d);
    return d;
}

TEST(FileTimes, AreLocalDatesOfWholeSeconds) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring f = tmp / L"stamped.txt";
    write_file(f, "x");
    // 2021-06-15 10:20:30.750 UTC.
    SYSTEMTIME st{2021, 6, 2, 15, 10, 20, 30, 750};
    FILETIME written{};
    ASSERT_TRUE(::SystemTimeToFileTime(&st, &written));
    FILETIME created{}, accessed{}, now{};
    {
        UniqueFile h(::CreateFileW(f.c_str(), FILE_WRITE_ATTRIBUTES | GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(h);
        ASSERT_TRUE(::SetFileTime(h.get(), nullptr, nullptr, &written));
        ASSERT_TRUE(::GetFileTime(h.get(), &created, &accessed, &now));
    }
    auto w = call(sd.get(), L"GetFileLastWriteTime", Args().str(f.c_str()));
    ASSERT_EQ(VT_DATE, w.value.vt());
    EXPECT_EQ(local_date(written), w.value.get().date);
    const double seconds = w.value.get().date * 86400.0;
    EXPECT_NEAR(0.0, seconds - std::round(seconds), 1e-3) << "whole seconds";
    auto c = call(sd.get(), L"GetFileCreationTime", Args().str(f.c_str()));
    ASSERT_EQ(VT_DATE, c.value.vt());
    EXPECT_EQ(local_date(created), c.value.get().date);
}

TEST(FileTimes, NullWhenTheFileDoesNotOpenForReading) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring f = tmp / L"busy.txt";
    write_file(f, "x");
    for (const wchar_t* member : {L"GetFileLastWriteTime", L"GetFileCreationTime"}) {
        EXPECT_EQ(VT_NULL, call(sd.get(), member, Args().str(tmp.path().c_str())).value.vt()) << member;
        EXPECT_EQ(VT_NULL, call(sd.get(), member, Args().str((tmp / L"none").c_str())).value.vt()) << member;
        EXPECT_EQ(VT_NULL, call(sd.get(), member, Args().str(std::wstring(2000, L'n').c_str())).value.vt()) << member;
        {
            // Held open for writing (others may read and write too).
            UniqueFile writer(::CreateFileW(f.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(writer);
            EXPECT_EQ(VT_NULL, call(sd.get(), member, Args().str(f.c_str())).value.vt()) << member;
        }
        {
            // Held open for reading only: the stamp is readable.
            UniqueFile reader(
                ::CreateFileW(f.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(reader);
            EXPECT_EQ(VT_DATE, call(sd.get(), member, Args().str(f.c_str())).value.vt()) << member;
        }
    }
}

TEST(ChangeExtensionName, ThroughTheObject) {
    auto sd = new_script_dialog();
    EXPECT_EQ(L"C:\\dir.x\\name.txt",
              as_wstring(call(sd.get(), L"ChangeExtensionName", Args().str(L"C:\\dir.x\\name").str(L"txt")).value));
    EXPECT_EQ(L"name.", as_wstring(call(sd.get(), L"ChangeExtensionName", Args().str(L"name.old").str(L"")).value));
    // Longer than any path: processed whole.
    const std::wstring dir(300, L'd'), ext(300, L'e');
    EXPECT_EQ(dir + L"\\a." + ext,
              as_wstring(
                  call(sd.get(), L"ChangeExtensionName", Args().str((dir + L"\\a.b").c_str()).str(ext.c_str())).value));
    if (cp932()) {
        const std::wstring so = kSo;
        EXPECT_EQ(L"a." + so + L"x", as_wstring(call(sd.get(), L"ChangeExtensionName",
                                                     Args().str((L"a.b" + so).c_str()).str((so + L"x").c_str()))
                                                    .value));
    }
}

TEST(CopyFileMember, OverwritesUnlessToldNotTo) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring src = tmp / L"src.txt", dst = tmp / L"dst.txt";
    write_file(src, "source");
    EXPECT_TRUE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str(dst.c_str())));
    EXPECT_EQ("source", read_file(dst));

    write_file(dst, "target");
    EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str(dst.c_str()).boolean(true)));
    EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str(dst.c_str()).str(L"1")));
    EXPECT_EQ("target", read_file(dst));
    EXPECT_TRUE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str(dst.c_str()).boolean(false)));
    EXPECT_EQ("source", read_file(dst));
    // Null and an unconvertible text count as absent: overwrite.
    write_file(dst, "target");
    EXPECT_TRUE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str(dst.c_str()).null()));
    EXPECT_EQ("source", read_file(dst));
    write_file(dst, "target");
    EXPECT_TRUE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str(dst.c_str()).str(L"yes")));
    EXPECT_EQ("source", read_file(dst));
}

TEST(CopyFileMember, FailuresLeaveFilesAlone) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring src = tmp / L"src.txt", dst = tmp / L"dst.txt";
    write_file(src, "source");
    EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str((tmp / L"none").c_str()).str(dst.c_str())));
    EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str(tmp.path().c_str()).str(dst.c_str())));
    EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str((tmp / L"no\\dst.txt").c_str())));
    EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str((missing_drive() + L"\\x.txt").c_str())));
    EXPECT_FALSE(exists(dst));
    {
        UniqueFile locked(::CreateFileW(src.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked);
        EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str(dst.c_str())));
    }
    EXPECT_FALSE(exists(dst));
    // Onto itself, under its own name or another spelling of it.
    EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str(src.c_str())));
    EXPECT_FALSE(call_bool(sd.get(), L"CopyFile", Args().str(src.c_str()).str((tmp / L".\\SRC.TXT").c_str())));
    EXPECT_EQ("source", read_file(src));
}

TEST(MoveFileMember, CopiesThenDeletes) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring src = tmp / L"src.txt", dst = tmp / L"dst.txt";
    write_file(src, "source");
    EXPECT_TRUE(call_bool(sd.get(), L"MoveFile", Args().str(src.c_str()).str(dst.c_str())));
    EXPECT_FALSE(exists(src));
    EXPECT_EQ("source", read_file(dst));

    // Told not to overwrite: both stay as they are.
    write_file(src, "again");
    EXPECT_FALSE(call_bool(sd.get(), L"MoveFile", Args().str(src.c_str()).str(dst.c_str()).i2(1)));
    EXPECT_EQ("again", read_file(src));
    EXPECT_EQ("source", read_file(dst));

    // Onto itself: nothing is lost.
    EXPECT_FALSE(call_bool(sd.get(), L"MoveFile", Args().str(src.c_str()).str(src.c_str())));
    EXPECT_EQ("again", read_file(src));

    // A source that cannot be deleted stays, and the move still succeeds.
    {
        UniqueFile reader(
            ::CreateFileW(src.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        EXPECT_TRUE(call_bool(sd.get(), L"MoveFile", Args().str(src.c_str()).str(dst.c_str())));
    }
    EXPECT_EQ("again", read_file(src));
    EXPECT_EQ("again", read_file(dst));

    // A locked source: no copy, no deletion.
    {
        UniqueFile locked(::CreateFileW(src.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked);
        EXPECT_FALSE(call_bool(sd.get(), L"MoveFile", Args().str(src.c_str()).str((tmp / L"third.txt").c_str())));
    }
    EXPECT_TRUE(exists(src));
    EXPECT_FALSE(exists(tmp / L"third.txt"));
}

TEST(LocalPathName, NullOrText) {
    auto sd = new_script_dialog();
    auto decoded = call(sd.get(), L"GetLocalPathName", Args().str(L"file:///C:/My%20Files/a.txt"));
    EXPECT_EQ(L"C:\\My Files\\a.txt", as_wstring(decoded.value));
    for (const wchar_t* text : {L"", L"\\\\server\\share", L"http://C:/x"}) {
        auto r = call(sd.get(), L"GetLocalPathName", Args().str(text));
        EXPECT_EQ(S_OK, r.hr);
        EXPECT_EQ(VT_NULL, r.value.vt()) << text;
    }
    if (cp932()) {
        const std::wstring so = kSo;
        EXPECT_EQ(
            L"C:\\" + so + L"\\x",
            as_wstring(call(sd.get(), L"GetLocalPathName", Args().str((L"file:C:/" + so + L"/x").c_str())).value));
    }
}

// Browsers write UTF-8 escapes; older programs the code page's bytes.
TEST(LocalPathName, Utf8EscapesBecomeCodePageText) {
    auto sd = new_script_dialog();
    const auto decoded = [&](const wchar_t* text) {
        return as_wstring(call(sd.get(), L"GetLocalPathName", Args().str(text)).value);
    };
    if (cp932()) {
        EXPECT_EQ(L"C:\\\x8868.txt", decoded(L"file:///C:/%E8%A1%A8.txt"));
        EXPECT_EQ(L"C:\\\x8868.txt", decoded(L"file:///C:/%95%5C.txt"));
        EXPECT_EQ(L"C:\\\x8868\\\x8868 \x30bd", decoded(L"file:///C:/%95%5C/%E8%A1%A8%20%E3%82%BD"));
    } else {
        EXPECT_EQ(L"C:\\caf\xe9.txt", decoded(L"file:///C:/caf%C3%A9.txt"));
        EXPECT_EQ(L"C:\\?.txt", decoded(L"file:///C:/%E8%A1%A8.txt"));  // not in the code page
        EXPECT_EQ(L"C:\\\xe9t\xe9", decoded(L"file:///C:/%E9t%E9"));    // code-page bytes, not UTF-8
    }
}

TEST(SpecialFolderPath, FileSystemFoldersOnly) {
    auto sd = new_script_dialog();
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(0,
              lstrcmpiW(windows,
                        as_wstring(call(sd.get(), L"GetSpecialFolderPath", Args().i4(CSIDL_WINDOWS)).value).c_str()));
    EXPECT_EQ(VT_BSTR, call(sd.get(), L"GetSpecialFolderPath", Args().i4(CSIDL_APPDATA)).value.vt());
    EXPECT_EQ(VT_NULL, call(sd.get(), L"GetSpecialFolderPath", Args().i4(CSIDL_DRIVES)).value.vt());
    EXPECT_EQ(VT_NULL, call(sd.get(), L"GetSpecialFolderPath", Args().i4(0x7FFF)).value.vt());
    EXPECT_EQ(VT_NULL, call(sd.get(), L"GetSpecialFolderPath", Args().i4(-1)).value.vt());
}

}  // namespace
