// ProfileValue through IDispatch against INI files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/disp.h"
#include "support/temp_folder.h"

using namespace torvane;
using namespace torvane::test;

namespace {

const wchar_t kSection[] = L"TorvaneScriptDialogData";
const wchar_t kSo[] = L"\u30BD";  // two bytes in code page 932

std::wstring read_value(IDispatch* sd, const wchar_t* key) {
    auto r = get(sd, L"ProfileValue", Args().str(key));
    EXPECT_EQ(S_OK, r.hr);
    return as_wstring(r.value);
}

void write_value(IDispatch* sd, const wchar_t* key, const std::wstring& value) {
    EXPECT_EQ(S_OK, put(sd, L"ProfileValue", Args().str(key).missing().str(value.c_str())).hr);
}

void use_profile(IDispatch* sd, const std::wstring& path) {
    ASSERT_EQ(S_OK, put(sd, L"ProfilePath", Args().str(path.c_str())).hr);
}

TEST(ProfileValue, NothingHappensWithoutAProfilePath) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    CurrentDirectory here(tmp.path());
    write_value(sd.get(), L"TorvaneNoPathKey", L"1");
    EXPECT_EQ(L"", read_value(sd.get(), L"TorvaneNoPathKey"));
    wchar_t found[16] = {};
    ::GetProfileStringW(kSection, L"TorvaneNoPathKey", L"absent", found, 16);
    EXPECT_STREQ(L"absent", found);
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(tmp.path())));
}

TEST(ProfileValue, WritesTheFixedSectionAndReadsBack) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring ini = tmp / L"settings.ini";
    use_profile(sd.get(), ini);
    EXPECT_EQ(L"", read_value(sd.get(), L"A")) << "no file yet";
    EXPECT_FALSE(exists(ini));
    write_value(sd.get(), L"A", L"1");
    // The write reaches the file at once.
    const std::string text = read_file(ini);
    EXPECT_NE(std::string::npos, text.find("[TorvaneScriptDialogData]")) << text;
    EXPECT_NE(std::string::npos, text.find("A=1")) << text;
    EXPECT_EQ(L"1", read_value(sd.get(), L"A"));
    EXPECT_EQ(L"", read_value(sd.get(), L"Missing"));

    // The second parameter changes nothing, in either direction.
    EXPECT_EQ(S_OK, put(sd.get(), L"ProfileValue", Args().str(L"A").str(L"Other").str(L"2")).hr);
    EXPECT_EQ(L"2", as_wstring(get(sd.get(), L"ProfileValue", Args().str(L"A").i4(7)).value));
    // A method call with the value last is a put.
    EXPECT_EQ(
        S_OK,
        invoke(sd.get(), id_of(sd.get(), L"ProfileValue"), DISPATCH_METHOD, Args().str(L"A").missing().str(L"3")).hr);
    EXPECT_EQ(L"3", read_value(sd.get(), L"A"));

    // Other sections of the file are not read.
    ::WritePrivateProfileStringW(L"Other", L"Z", L"elsewhere", ini.c_str());
    EXPECT_EQ(L"", read_value(sd.get(), L"Z"));
}

TEST(ProfileValue, EmptyValuesKeepTheirKey) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring ini = tmp / L"empty.ini";
    use_profile(sd.get(), ini);
    write_value(sd.get(), L"B", L"x");
    write_value(sd.get(), L"B", L"");
    EXPECT_EQ(L"", read_value(sd.get(), L"B"));
    wchar_t keys[64] = {};
    ::GetPrivateProfileStringW(kSection, nullptr, L"", keys, 64, ini.c_str());
    EXPECT_STREQ(L"B", keys);
    EXPECT_NE(std::string::npos, read_file(ini).find("B=")) << read_file(ini);
}

TEST(ProfileValue, LongValuesReadBackCutTo259Bytes) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    use_profile(sd.get(), tmp / L"long.ini");
    std::wstring value;
    for (int i = 0; i < 300; ++i) value += static_cast<wchar_t>(L'a' + i % 26);
    write_value(sd.get(), L"Long", value);
    const std::wstring got = read_value(sd.get(), L"Long");
    EXPECT_EQ(value.substr(0, 259), got);
}

TEST(ProfileValue, CutsFallOnWholeCharacters) {
    if (::GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    auto sd = new_script_dialog();
    TempFolder tmp;
    use_profile(sd.get(), tmp / L"japanese.ini");
    std::wstring so150;
    for (int i = 0; i < 150; ++i) so150 += kSo;
    // 1 + 129 * 2 = 259 bytes fit exactly; after 2 + 128 * 2 = 258 bytes the
    // next character would end beyond byte 259 and is left out whole.
    write_value(sd.get(), L"Odd", L"a" + so150);
    write_value(sd.get(), L"Even", L"ab" + so150);
    EXPECT_EQ(L"a" + so150.substr(0, 129), read_value(sd.get(), L"Odd"));
    EXPECT_EQ(L"ab" + so150.substr(0, 128), read_value(sd.get(), L"Even"));
    // Japanese keys and short values round-trip.
    const std::wstring key = std::wstring(kSo) + L"key";
    write_value(sd.get(), key.c_str(), so150.substr(0, 10));
    EXPECT_EQ(so150.substr(0, 10), read_value(sd.get(), key.c_str()));
}

// Keys and values that the file cannot hold as one entry of the section are
// not written: the file stays as it was, byte for byte.
TEST(ProfileValue, EntriesTheFileCannotHoldAreRefused) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    const std::wstring ini = tmp / L"hostile.ini";
    use_profile(sd.get(), ini);
    write_value(sd.get(), L"A", L"1");
    write_value(sd.get(), L"K", L"old");
    write_value(sd.get(), L"B", L"2");
    write_value(sd.get(), L"0123", L"short key");
    ::WritePrivateProfileStringW(L"Other", L"Z", L"elsewhere", ini.c_str());
    const std::string before = read_file(ini);
    const struct {
        std::wstring key, value;
    } refused[] = {
        {L"K", L"new\r\n[Other]"},
        {L"A", L"x\r\nB=injected"},
        {L"A", L"x\nB=injected"},
        {L"A", L"x\rB=injected"},
        {L"K\r\n[Other]\r\nZ", L"v"},
        {L"New\nB", L"v"},
        {L"B=x", L"v"},
        {L"[Other]", L"v"},
        {L" [Other", L"v"},
        {L";K", L"v"},
        {L"", L"v"},
        {L"  ", L"v"},
        {L"K", std::wstring(32767, L'v')},
        {L"K", std::wstring(40000, L'v')},
        {L"K", std::wstring(65536 + 3, L'v')},
        {std::wstring(32767, L'k'), L"v"},
        {L"0123" + std::wstring(65536, L'k'), L"v"},  // its length modulo 65,536 is "0123"'s
    };
    for (const auto& r : refused) {
        write_value(sd.get(), r.key.c_str(), r.value);
        EXPECT_EQ(before, read_file(ini)) << "key of " << r.key.size() << ", value of " << r.value.size();
    }
    EXPECT_EQ(L"1", read_value(sd.get(), L"A"));
    EXPECT_EQ(L"old", read_value(sd.get(), L"K"));
    EXPECT_EQ(L"2", read_value(sd.get(), L"B"));
    EXPECT_EQ(L"short key", read_value(sd.get(), L"0123"));
    // Such keys name nothing to read either.
    EXPECT_EQ(L"", read_value(sd.get(), (L"0123" + std::wstring(65536, L'k')).c_str()));
    EXPECT_EQ(L"", read_value(sd.get(), L"[Other]"));
    EXPECT_EQ(L"", read_value(sd.get(), L"K\r\n"));

    // Just below the limit, and texts that only look unusual, are written.
    write_value(sd.get(), L"K", std::wstring(32766, L'v'));
    EXPECT_EQ(std::wstring(259, L'v'), read_value(sd.get(), L"K"));
    write_value(sd.get(), L"x[1];y", L"a=b;[c]");
    EXPECT_EQ(L"a=b;[c]", read_value(sd.get(), L"x[1];y"));
    EXPECT_EQ(L"1", read_value(sd.get(), L"A"));
    EXPECT_EQ(L"2", read_value(sd.get(), L"B"));
}

}  // namespace

// A profile path longer than the platform's profile calls take (they keep
// the path in fixed buffers of their own): reads give "", writes do nothing,
// and neither may harm the host.
TEST(ProfileValue, OverlongProfilePathsAreRefused) {
    auto sd = new_script_dialog();
    TempFolder tmp;
    CurrentDirectory here(tmp.path());
    for (std::size_t len : {260u, 1000u, 70000u}) {
        const std::wstring path(len, L'x');
        use_profile(sd.get(), path);
        write_value(sd.get(), L"k", L"v");
        EXPECT_EQ(L"", read_value(sd.get(), L"k")) << len;
    }
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(tmp.path())));
}
