// Path texts under a double-byte and a single-byte code page. "\x83\x5C"
// (a katakana) and "\x95\x5C" (a kanji) are code-page-932 characters whose
// trail byte is the backslash; under 1252 each is two characters.
#include <gtest/gtest.h>

#include <map>

#include "scriptdialog/path_text.h"
#include "scriptdialog/profile_text.h"

using namespace torvane;

namespace {

const LeadBytes kCp932 = LeadBytes::cp932();
const LeadBytes kCp1252 = LeadBytes::single_byte();

// UTF-8 runs come back as the same bytes: these cases are about the rest.
std::string kept(std::string_view utf8) { return std::string(utf8); }
const Utf8ToCodePage kBytesKept = kept;

struct ExtCase {
    const char* path;
    const char* ext;
    const char* want;
};

TEST(ChangeExtension, ReplacesTheLastDotOfTheLastComponent) {
    const ExtCase cases[] = {
        {"C:\\dir.x\\name", "txt", "C:\\dir.x\\name.txt"},
        {"a.b.c", "d", "a.b.d"},
        {"name.old", "", "name."},
        {".profile", "x", ".profile.x"},  // the first character is never the dot
        {"dir/a.b/c", "e", "dir/a.b/c.e"},
        {"dir\\.hidden", "e", "dir\\.e"},
        {"", "txt", ".txt"},
        {"name.", "txt", "name.txt"},
        {"name", "tar.gz", "name.tar.gz"},
        // "\x95\x5C" (a kanji) ends in 0x5C: still no separator under 932.
        {"a.b\x95\x5C", "c", "a.c"},
        {"\x83\x5C.txt", "doc", "\x83\x5C.doc"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].want, change_extension(cases[i].path, cases[i].ext, kCp932)) << "case " << i;
    // Under 1252 the same bytes are two characters, the second a backslash.
    EXPECT_EQ("a.b\x95\x5C.c", change_extension("a.b\x95\x5C", "c", kCp1252));
    // A lead byte at the very end stands alone and does not swallow anything.
    EXPECT_EQ("a.x", change_extension("a.\x83", "x", kCp932));
}

TEST(ChangeExtension, LongPathsAreProcessedWhole) {
    const std::string dir(400, 'd');
    const std::string ext(300, 'e');
    EXPECT_EQ(dir + "\\n." + ext, change_extension(dir + "\\n.old", ext, kCp932));
    EXPECT_EQ(dir + "." + ext, change_extension(dir, ext, kCp932));
}

struct DecodeCase {
    const char* text;
    const char* want;  // nullptr: no local path
};

TEST(DecodeLocalPath, ColonRulesAndDecoding) {
    const DecodeCase cases[] = {
        {"file:///C:/My%20Files/a.txt", "C:\\My Files\\a.txt"},
        {"C:/x/y", "C:\\x\\y"},
        {"FILE:c:/x", "c:\\x"},
        {"File:C:", "C:"},
        {"C:\\a%41", "C:\\aA"},
        {"C:\\a%zzb", "C:\\a"},    // a non-hexadecimal pair reads as 0 and ends the text
        {"C:\\a%4", "C:\\a\x04"},  // one character left
        {"C:\\a%", "C:\\a"},       // none left: 0
        {"C:\\a% 7b",
         "C:\\a\x07"
         "b"},  // a leading blank is read past
        {"C:\\a%-1b",
         "C:\\a\xFF"
         "b"},                      // a sign is read; the low 8 bits stay
        {"C:\\a%4g", "C:\\a\x04"},  // reading stops at the first non-digit; both skipped
        {"C:\\a%2F", "C:\\a/"},     // decoded bytes are not decoded again
        {"C:\\%e3%81", "C:\\\xE3\x81"},
        {"", nullptr},
        {"relative\\path", nullptr},
        {"\\\\server\\share\\x", nullptr},
        {":", nullptr},
        {"::", nullptr},
        {":::", nullptr},
        {"ab:/x", nullptr},        // one colon, not a drive letter
        {"http://C:/x", nullptr},  // two colons, another scheme
        {"file://server/share/x:y", nullptr},
        {"file:///", nullptr},
        {"file:C", nullptr},
        {"file:C:x:y", nullptr},  // three colons
        {"file:///C:/a/b:c", nullptr},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto got = decode_local_path(cases[i].text, kCp932, kBytesKept);
        if (cases[i].want == nullptr)
            EXPECT_FALSE(got.has_value()) << "case " << i << ": " << got.value_or("");
        else
            EXPECT_EQ(cases[i].want, got.value_or("<none>")) << "case " << i;
    }
}

TEST(DecodeLocalPath, StepsCharacterByCharacter) {
    // A trail byte is copied with its lead byte, never converted.
    EXPECT_EQ("C:\\\x83\x5C\\x", decode_local_path("C:/\x83\x5C/x", kCp932, kBytesKept).value());
    // "\x83:" is one character under 932: the colon in it does not count.
    EXPECT_FALSE(decode_local_path("\x83:/x", kCp932, kBytesKept).has_value());
    EXPECT_FALSE(decode_local_path("C:\x83:", kCp1252, kBytesKept).has_value());
    EXPECT_EQ("C:\x83:", decode_local_path("C:\x83:", kCp932, kBytesKept).value());
    // A "%" escape that reaches into a double-byte character takes it whole.
    EXPECT_EQ(
        "C:\\\x0A"
        "b",
        decode_local_path("C:\\%A\x83\x5C"
                          "b",
                          kCp932, kBytesKept)
            .value());
    // A text that ends in a lead byte.
    EXPECT_EQ("C:\\\x83", decode_local_path("C:/\x83", kCp932, kBytesKept).value());
    // A zero byte ends the text.
    EXPECT_EQ("C:\\a", decode_local_path(std::string_view("C:/a\0b:c", 8), kCp932, kBytesKept).value());
}

TEST(DecodeLocalPath, LongTextsAreDecodedWhole) {
    std::string text = "file:///C:";
    std::string want = "C:";
    for (int i = 0; i < 200; ++i) {
        text += "/%41b";
        want += "\\Ab";
    }
    EXPECT_EQ(want, decode_local_path(text, kCp932, kBytesKept).value());
}

// A file system of names in memory.
class FakeFs {
public:
    std::map<std::string, PathKind> entries{{"C:", PathKind::directory}};
    std::vector<std::string> created;
    bool create_fails = false;
    bool create_hidden = false;  // created directories do not show

    DirectoryOps ops() {
        return DirectoryOps{[this](const std::string& p) {
                                auto it = entries.find(p);
                                if (it != entries.end()) return it->second;
                                // A trailing backslash finds directories only.
                                if (p.empty() || p.back() != '\\') return PathKind::missing;
                                it = entries.find(p.substr(0, p.size() - 1));
                                return (it != entries.end() && it->second == PathKind::directory) ? PathKind::directory
                                                                                                  : PathKind::missing;
                            },
                            [this](const std::string& p) {
                                created.push_back(p);
                                if (create_fails) return false;
                                if (!create_hidden) entries[p] = PathKind::directory;
                                return true;
                            }};
    }
};

// The same file system, able to tell an existing name from a failure (the
// one-pass road for plain drive paths). It counts the lookups of missing
// names, which the pass never needs.
struct MakingFs : FakeFs {
    std::vector<std::string> made;
    int missing_probes = 0;
    std::string refuse;  // a name whose make fails even when it exists
    const LeadBytes* lead = &kCp932;

    // The last separating backslash, found character by character.
    std::size_t last_separator(const std::string& p) const {
        std::size_t cut = std::string::npos;
        for (std::size_t i = 0; i < p.size(); i += lead->char_len(p, i))
            if (p[i] == '\\' && lead->char_len(p, i) == 1) cut = i;
        return cut;
    }

    DirectoryOps ops() {
        DirectoryOps o = FakeFs::ops();
        auto probe = o.probe;
        o.probe = [this, probe](const std::string& p) {
            const PathKind k = probe(p);
            if (k == PathKind::missing) ++missing_probes;
            return k;
        };
        o.make = [this](const std::string& p) {
            made.push_back(p);
            if (p == refuse) return MakeResult::failed;
            if (entries.count(p)) return MakeResult::exists;
            const std::size_t cut = last_separator(p);
            const auto parent = entries.find(p.substr(0, cut));
            if (cut == std::string::npos || parent == entries.end() || parent->second != PathKind::directory ||
                create_fails)
                return MakeResult::failed;
            entries[p] = PathKind::directory;
            created.push_back(p);
            return MakeResult::made;
        };
        return o;
    }
};

TEST(CreateDirectoryTree, PlainDrivePathsTakeOnePass) {
    MakingFs fs;
    fs.entries["C:\\a"] = PathKind::directory;
    EXPECT_TRUE(create_directory_tree("C:\\a\\b\\c", kCp932, fs.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}), fs.made);
    EXPECT_EQ((std::vector<std::string>{"C:\\a\\b", "C:\\a\\b\\c"}), fs.created);
    EXPECT_EQ(0, fs.missing_probes);

    // Existing: a directory is true, a file false, nothing made.
    fs.entries["C:\\a\\f"] = PathKind::file;
    fs.made.clear();
    fs.created.clear();
    EXPECT_TRUE(create_directory_tree("C:\\a\\b", kCp932, fs.ops()));
    EXPECT_FALSE(create_directory_tree("C:\\a\\f", kCp932, fs.ops()));
    EXPECT_TRUE(fs.created.empty());

    // Below a file: the pass stops and the rounds answer false.
    fs.create_fails = true;  // as the platform does below a file
    EXPECT_FALSE(create_directory_tree("C:\\a\\f\\x\\y", kCp932, fs.ops()));
    EXPECT_EQ(0u, fs.entries.count("C:\\a\\f\\x"));

    // Japanese names whose trail byte is 0x5C are single components.
    const std::string so = "\x83\x5C";
    MakingFs jp;
    EXPECT_TRUE(create_directory_tree("C:\\" + so + "\\" + so, kCp932, jp.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\" + so, "C:\\" + so + "\\" + so}), jp.created);
    EXPECT_EQ(jp.created, jp.made);
}

TEST(CreateDirectoryTree, AFailedMakeHandsOverToTheRounds) {
    // An existing folder the platform will not "make" (access denied): the
    // rounds take over from there and finish the path.
    MakingFs fs;
    fs.entries["C:\\locked"] = PathKind::directory;
    fs.refuse = "C:\\locked";
    EXPECT_TRUE(create_directory_tree("C:\\locked\\x\\y", kCp932, fs.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\locked\\x", "C:\\locked\\x\\y"}), fs.created);

    // Halfway: what the pass made stays, the rounds make the rest.
    MakingFs half;
    half.refuse = "C:\\p\\q";
    EXPECT_TRUE(create_directory_tree("C:\\p\\q\\r", kCp932, half.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\p", "C:\\p\\q", "C:\\p\\q\\r"}), half.created);
}

TEST(CreateDirectoryTree, OtherPathsTakeTheRounds) {
    // Paths whose leading parts need not exist in order, and paths the
    // platform rewrites, never take the pass.
    for (const char* path : {"C:\\a\\..\\b", "C:\\a\\.\\b", "C:\\a.\\b", "C:\\a \\b", "C:\\a\\b\\.", "C:\\a/b",
                             "C:\\a*\\b", "C:\\a:s", "C:a\\b", "\\\\srv\\share\\x", "rel\\x", "C:\\", "C:\\\\"}) {
        MakingFs fs;
        create_directory_tree(path, kCp932, fs.ops());
        EXPECT_TRUE(fs.made.empty()) << path;
        EXPECT_FALSE(plain_drive_path_separators(path, kCp932).has_value()) << path;
    }
    EXPECT_EQ((std::vector<std::size_t>{4, 6}), plain_drive_path_separators("C:\\a\\b\\c", kCp932).value());
    // A doubled backslash separates once; trailing ones end nothing.
    EXPECT_EQ((std::vector<std::size_t>{4, 7}), plain_drive_path_separators("C:\\a\\\\b\\c\\\\", kCp932).value());
    EXPECT_EQ((std::vector<std::size_t>{}), plain_drive_path_separators("C:\\\\a\\", kCp932).value());
    // Under 1252 the trail byte 0x5C separates.
    EXPECT_EQ((std::vector<std::size_t>{4}), plain_drive_path_separators("C:\\\x83\x5C"
                                                                         "b",
                                                                         kCp1252)
                                                 .value());
    EXPECT_EQ((std::vector<std::size_t>{}), plain_drive_path_separators("C:\\\x83\x5C"
                                                                        "b",
                                                                        kCp932)
                                                .value());
}

TEST(CreateDirectoryTree, CreatesFromTheTopDown) {
    FakeFs fs;
    fs.entries["C:\\a"] = PathKind::directory;
    EXPECT_TRUE(create_directory_tree("C:\\a\\b\\c", kCp932, fs.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\a\\b", "C:\\a\\b\\c"}), fs.created);

    FakeFs trailing;
    trailing.entries["C:\\a"] = PathKind::directory;
    EXPECT_TRUE(create_directory_tree("C:\\a\\b\\c\\", kCp932, trailing.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\a\\b", "C:\\a\\b\\c"}), trailing.created);

    FakeFs drive;  // only the drive prefix exists
    EXPECT_TRUE(create_directory_tree("C:\\x\\y", kCp932, drive.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\x", "C:\\x\\y"}), drive.created);
}

TEST(CreateDirectoryTree, ExistingPaths) {
    FakeFs fs;
    fs.entries["C:\\d"] = PathKind::directory;
    fs.entries["C:\\f"] = PathKind::file;
    EXPECT_TRUE(create_directory_tree("C:\\d", kCp932, fs.ops()));
    EXPECT_FALSE(create_directory_tree("C:\\f", kCp932, fs.ops()));
    EXPECT_FALSE(create_directory_tree("C:\\f\\", kCp932, fs.ops()));  // a file and a trailing backslash
    EXPECT_TRUE(fs.created.empty());
    // Below a file the platform refuses to create.
    fs.create_fails = true;
    EXPECT_FALSE(create_directory_tree("C:\\f\\sub", kCp932, fs.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\f\\sub"}), fs.created);
}

TEST(CreateDirectoryTree, TrailBytesAreNoSeparators) {
    const std::string so = "\x83\x5C";  // ends in 0x5C
    FakeFs fs;
    EXPECT_TRUE(create_directory_tree("C:\\" + so + "\\" + so, kCp932, fs.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\" + so, "C:\\" + so + "\\" + so}), fs.created);

    FakeFs single;  // under 1252 the same bytes end in a trailing backslash
    EXPECT_TRUE(create_directory_tree("C:\\" + so, kCp1252, single.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\\x83"}), single.created);
}

TEST(CreateDirectoryTree, NothingExisting) {
    FakeFs relative;
    relative.entries.clear();
    EXPECT_TRUE(create_directory_tree("new\\sub", kCp932, relative.ops()));
    EXPECT_EQ((std::vector<std::string>{"new", "new\\sub"}), relative.created);

    FakeFs rooted;
    rooted.entries.clear();
    EXPECT_TRUE(create_directory_tree("\\top\\sub", kCp932, rooted.ops()));
    EXPECT_EQ((std::vector<std::string>{"\\top", "\\top\\sub"}), rooted.created);

    FakeFs missing_drive;
    missing_drive.create_fails = true;
    EXPECT_FALSE(create_directory_tree("Q:\\x\\y", kCp932, missing_drive.ops()));
    EXPECT_EQ((std::vector<std::string>{"Q:"}), missing_drive.created);

    FakeFs slashes;  // forward slashes do not separate: one component
    EXPECT_TRUE(create_directory_tree("C:/p/q", kCp932, slashes.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:/p/q"}), slashes.created);

    FakeFs empty;
    EXPECT_FALSE(create_directory_tree("", kCp932, empty.ops()));
    EXPECT_TRUE(empty.created.empty());
}

TEST(CreateDirectoryTree, EndsWhenCreatedDirectoriesDoNotShow) {
    FakeFs fs;
    fs.create_hidden = true;
    EXPECT_FALSE(create_directory_tree("C:\\a\\b\\c", kCp932, fs.ops()));
    EXPECT_EQ((std::vector<std::string>{"C:\\a"}), fs.created);
}

TEST(CreateDirectoryTree, LongPathsAreWalkedWhole) {
    std::string path = "C:";
    std::vector<std::string> want;
    for (int i = 0; i < 60; ++i) {
        path += "\\dir" + std::to_string(i);
        want.push_back(path);
    }
    FakeFs fs;
    EXPECT_TRUE(create_directory_tree(path, kCp932, fs.ops()));
    EXPECT_EQ(want, fs.created);
}

TEST(CreateDirectoryTree, LooksForTheExistingPartOnce) {
    // Each new level costs one create and one probe of what it made, not a
    // new search from the whole path down.
    FakeFs fs;
    fs.entries["C:\\base"] = PathKind::directory;
    int probes = 0;
    DirectoryOps ops = fs.ops();
    auto probe = ops.probe;
    ops.probe = [&](const std::string& p) {
        ++probes;
        return probe(p);
    };
    EXPECT_TRUE(create_directory_tree("C:\\base\\a\\b\\c\\d\\e", kCp932, ops));
    EXPECT_EQ((std::vector<std::string>{"C:\\base\\a", "C:\\base\\a\\b", "C:\\base\\a\\b\\c", "C:\\base\\a\\b\\c\\d",
                                        "C:\\base\\a\\b\\c\\d\\e"}),
              fs.created);
    // The whole path; C:\base\a\b\c\d down to C:\base; four new levels
    // below others; the whole path at the end.
    EXPECT_EQ(1 + 5 + 4 + 1, probes);
}

// A file system that resolves names as the platform does: "." stays, ".."
// goes up, doubled and trailing backslashes count once or not at all. A
// trailing backslash finds directories only. Creating a name that exists, or
// below one that is no directory, fails.
struct ResolvingFs {
    std::map<std::string, PathKind> entries{{"C:", PathKind::directory}, {"C:\\w", PathKind::directory}};
    std::vector<std::string> created;  // resolved names
    int missing_probes = 0;

    static std::string resolve(const std::string& p) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= p.size(); ++i) {
            if (i < p.size() && p[i] != '\\') continue;
            const std::string part = p.substr(start, i - start);
            start = i + 1;
            if (part == "..") {
                if (parts.size() > 1) parts.pop_back();
            } else if (!(part.empty() && !parts.empty()) && part != ".") {
                parts.push_back(part);
            }
        }
        std::string out;
        for (const std::string& part : parts) out += (out.empty() ? "" : "\\") + part;
        return out;
    }
    PathKind probe(const std::string& p) const {
        const auto it = entries.find(resolve(p));
        if (it == entries.end()) return PathKind::missing;
        if (!p.empty() && p.back() == '\\' && it->second != PathKind::directory) return PathKind::missing;
        return it->second;
    }
    MakeResult make(const std::string& p) {
        const std::string name = resolve(p);
        if (entries.count(name)) return MakeResult::exists;
        const auto parent = entries.find(name.substr(0, name.rfind('\\')));
        if (name.find('\\') == std::string::npos || parent == entries.end() || parent->second != PathKind::directory)
            return MakeResult::failed;
        entries[name] = PathKind::directory;
        created.push_back(name);
        return MakeResult::made;
    }
    DirectoryOps ops(bool with_make) {
        DirectoryOps o{[this](const std::string& p) {
                           const PathKind k = probe(p);
                           if (k == PathKind::missing) ++missing_probes;
                           return k;
                       },
                       [this](const std::string& p) { return make(p) == MakeResult::made; }};
        if (with_make) o.make = [this](const std::string& p) { return make(p); };
        return o;
    }
};

TEST(CreateDirectoryTree, NamesThatLeadBackToWhatExists) {
    struct Case {
        const char* path;
        std::vector<std::string> made;
    };
    const Case cases[] = {
        {"C:\\w\\a\\.\\b", {"C:\\w\\a", "C:\\w\\a\\b"}},
        {"C:\\w\\g\\h\\.", {"C:\\w\\g", "C:\\w\\g\\h"}},
        {"C:\\w\\e\\\\f", {"C:\\w\\e", "C:\\w\\e\\f"}},
        {"C:\\w\\i\\j\\..\\k\\", {"C:\\w\\i", "C:\\w\\i\\k"}},  // "i\\j\\.." is "i"
        {"C:\\w\\m\\n\\.\\.\\o", {"C:\\w\\m", "C:\\w\\m\\n", "C:\\w\\m\\n\\o"}},
        {"C:\\w\\p\\q\\", {"C:\\w\\p", "C:\\w\\p\\q"}},
        {"C:\\w\\r\\s\\\\", {"C:\\w\\r", "C:\\w\\r\\s"}},
        {"C:\\w\\\\t\\\\\\u", {"C:\\w\\t", "C:\\w\\t\\u"}},
        {"C:\\w\\v\\..\\..\\w\\x", {"C:\\w\\x"}},
    };
    for (bool with_make : {false, true})
        for (const Case& c : cases) {
            ResolvingFs fs;
            EXPECT_TRUE(create_directory_tree(c.path, kCp932, fs.ops(with_make))) << c.path << " " << with_make;
            EXPECT_EQ(c.made, fs.created) << c.path << " " << with_make;
            EXPECT_EQ(PathKind::directory, fs.probe(c.path)) << c.path;
            // Again, now that it exists: true, nothing made.
            fs.created.clear();
            EXPECT_TRUE(create_directory_tree(c.path, kCp932, fs.ops(with_make))) << c.path;
            EXPECT_TRUE(fs.created.empty()) << c.path;
        }
    // Doubled and trailing backslashes take the one pass: no missing name
    // is looked up.
    for (const char* path : {"C:\\w\\e\\\\f", "C:\\w\\p\\q\\", "C:\\w\\\\t\\\\\\u"}) {
        ResolvingFs fs;
        EXPECT_TRUE(create_directory_tree(path, kCp932, fs.ops(true))) << path;
        EXPECT_EQ(0, fs.missing_probes) << path;
    }
    // A file on the way still fails, however it is reached.
    for (const char* path : {"C:\\w\\f\\.\\x", "C:\\w\\f\\\\x", "C:\\w\\y\\..\\f\\x", "C:\\w\\f\\", "C:\\w\\f\\\\"}) {
        for (bool with_make : {false, true}) {
            ResolvingFs fs;
            fs.entries["C:\\w\\f"] = PathKind::file;
            EXPECT_FALSE(create_directory_tree(path, kCp932, fs.ops(with_make))) << path << " " << with_make;
            EXPECT_EQ(PathKind::file, fs.entries["C:\\w\\f"]);
        }
    }
}

TEST(WholeCharacters, DropsAHalfCharacterAtTheEnd) {
    EXPECT_EQ(0u, whole_characters("", kCp932));
    EXPECT_EQ(3u, whole_characters("abc", kCp932));
    EXPECT_EQ(3u, whole_characters("a\x83\x5C", kCp932));
    EXPECT_EQ(3u, whole_characters("a\x83\x5C\x83", kCp932));
    EXPECT_EQ(0u, whole_characters("\x83", kCp932));
    EXPECT_EQ(4u, whole_characters("a\x83\x5C\x83", kCp1252));
    // A trail byte that happens to be a lead byte value is part of its pair.
    EXPECT_EQ(2u, whole_characters("\x83\x83", kCp932));
    EXPECT_EQ(2u, whole_characters("\x83\x83\x83", kCp932));
}

}  // namespace
