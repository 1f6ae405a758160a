// File and path members as a JScript author sees them, inside the test's own
// temporary folder (the current directory): result types, Null as null,
// Japanese names through UTF-16 strings.
var sd = new ActiveXObject("TorvaneScriptDialog");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var sh = new ActiveXObject("WScript.Shell");
var here = fso.GetAbsolutePathName(".");
var so = "\u30BD";  // 0x83 0x5C in code page 932: a trail byte that is a backslash

function write(path, text) {
    var f = fso.CreateTextFile(path, true);
    f.Write(text);
    f.Close();
}
function read(path) {
    var f = fso.OpenTextFile(path);
    var text = f.AtEndOfStream ? "" : f.ReadAll();
    f.Close();
    return text;
}

// Versions: numbers, and the I2 parameters are required.
var clsid = sh.RegRead("HKCR\\TorvaneScriptDialog\\CLSID\\");
var dll = sh.RegRead("HKCR\\CLSID\\" + clsid + "\\InProcServer32\\");
var exe = fso.GetParentFolderName(dll) + "\\versioned.exe";
eq(sd.VersionCheck(exe, "1", "3", 0, 0), 0, "numbers given as text convert");
throws(function () { sd.VersionCheck(exe, 1, 2); }, "VersionCheck needs all five arguments");
throws(function () { sd.VersionCheck(exe, 1, 65536, 0, 0); }, "a minor number beyond 16 bits overflows");

// Directories, with Japanese names where the code page has them.
eq(sd.CreateDirectory(here + "\\p\\q"), true, "CreateDirectory gives a boolean");
check(fso.FolderExists(here + "\\p\\q"), "both levels exist");
if (cp932()) {
    eq(sd.CreateDirectory(here + "\\" + so + so + "\\" + so + "\\"), true, "Japanese levels with a trailing backslash");
    check(fso.FolderExists(here + "\\" + so + so + "\\" + so), "the Japanese folders exist");
}

// Temporary files: the arguments are converted, null counts as absent.
var t = sd.GetTempFileName(null, null);
eq(typeof t, "string", "GetTempFileName gives a string");
eq(fso.GetFileName(t).substring(0, 3), "tmp", "the default prefix");
check(fso.FileExists(here + "\\" + fso.GetFileName(t)), "in the current directory");
var n = sd.GetTempFileName(here, 42);
eq(fso.GetFileName(n).substring(0, 2), "42", "a number prefix becomes its text");
eq(sd.GetTempFileName(here + "\\missing"), null, "a missing folder gives null");
if (cp932()) {
    var j = sd.GetTempFileName(here, so + so + so + so);
    eq(fso.GetFileName(j).substring(0, 3), so + so + so, "three Japanese prefix characters");
    check(fso.FileExists(j), "the Japanese temporary file exists");
}

// Time stamps: Wine's JScript cannot look at a date value at all (the
// VBScript test and the C++ tests check them); here only the null cases.
eq(sd.GetFileLastWriteTime(here + "\\missing.txt"), null, "no time for a missing file");
eq(sd.GetFileLastWriteTime(here), null, "no time for a folder");

// Extensions, attributes.
if (cp932()) eq(sd.ChangeExtensionName("x.y" + so, "z"), "x.z", "a trail byte is no separator");
eq(sd.GetFileAttributes(here + "\\missing.txt"), -1, "attributes of a missing file");

// Copying and moving with the third argument as a boolean.
write(here + "\\a.txt", "alpha");
write(here + "\\b.txt", "beta");
eq(sd.CopyFile(here + "\\a.txt", here + "\\b.txt", true), false, "no overwrite when told");
eq(read(here + "\\b.txt"), "beta", "the target stays");
eq(sd.MoveFile(here + "\\a.txt", here + "\\b.txt", false), true, "MoveFile overwrites when allowed");
eq(read(here + "\\b.txt"), "alpha", "the moved content");
check(!fso.FileExists(here + "\\a.txt"), "the source is gone");
if (cp932()) {
    write(here + "\\" + so + ".txt", "kana");
    eq(sd.MoveFile(here + "\\" + so + ".txt", here + "\\" + so + so + ".txt"), true, "Japanese names move");
    eq(read(here + "\\" + so + so + ".txt"), "kana", "the Japanese target has the content");
}

// file: addresses, special folders.
eq(sd.GetLocalPathName("file://server/share/x"), null, "a network address");
if (cp932()) eq(sd.GetLocalPathName("file:///C:/" + so + "/%41"), "C:\\" + so + "\\A", "Japanese text is copied whole");
eq(sd.GetSpecialFolderPath(0x11), null, "My Computer has no path");
eq(typeof sd.GetSpecialFolderPath(0x24), "string", "the Windows folder has one");

done();
