' File and path members as a VBScript author sees them, inside the test's
' own temporary folder (the current directory).
Option Explicit
Dim sd, fso, sh, here, so, dll, exe, clsid, f, g, t1, t2, name1, name2, d, stream, p, base

Set sd = CreateObject("TorvaneScriptDialog")
Set fso = CreateObject("Scripting.FileSystemObject")
Set sh = CreateObject("WScript.Shell")
here = fso.GetAbsolutePathName(".")

' ---- versions: the registered library (1.0.0.0) and the helper (1.2.3.4)
clsid = sh.RegRead("HKCR\TorvaneScriptDialog\CLSID\")
dll = sh.RegRead("HKCR\CLSID\" & clsid & "\InProcServer32\")
exe = fso.GetParentFolderName(dll) & "\versioned.exe"
Check fso.FileExists(exe), "the helper program sits beside the library"
CheckEq sd.GetFileVersion(exe), 131076, "GetFileVersion of 1.2.3.4"
CheckEq TypeName(sd.GetFileVersion(exe)), "Long", "GetFileVersion is a Long"
CheckEq sd.GetFileVersion(here), 0, "GetFileVersion of a folder"
CheckEq sd.VersionCheck(exe, 1, 2, 0, 0), 1, "1.2.3.4 is at least 1.2"
CheckEq sd.VersionCheck(exe, 1, 3, 0, 0), 0, "1.2.3.4 is below 1.3"
CheckEq sd.VersionCheck(exe, -1, 0, 0, 0), 0, "a negative major is a large unsigned one"
CheckEq sd.VersionCheck(dll, 1, 0, 0, 0), 1, "the library is 1.0"
CheckEq sd.VersionCheck(here, 0, 0, 0, 0), -1, "VersionCheck of a folder"
CheckEq TypeName(sd.VersionCheck(exe, 1, 2, 0, 0)), "Integer", "VersionCheck is an Integer"

' ---- CreateDirectory
fso.CreateFolder here & "\a"
CheckEq sd.CreateDirectory(here & "\a\b\c"), True, "CreateDirectory below an existing folder"
Check fso.FolderExists(here & "\a\b\c"), "every level was created"
CheckEq sd.CreateDirectory(here & "\x\y\"), True, "CreateDirectory with a trailing backslash"
Check fso.FolderExists(here & "\x\y"), "the trailing backslash made no difference"
CheckEq sd.CreateDirectory(here & "\a"), True, "CreateDirectory of an existing folder"
base = here & "\joined\"
CheckEq sd.CreateDirectory(base & "\new\sub"), True, "CreateDirectory of a base that ends in a backslash, joined with one"
Check fso.FolderExists(here & "\joined\new\sub"), "the doubled backslash counted once"
CheckEq sd.CreateDirectory(here & "\dot\.\sub"), True, "CreateDirectory through a ""."" component"
Check fso.FolderExists(here & "\dot\sub"), "the folder after the ""."" exists"
CheckEq sd.CreateDirectory(here & "\up\gone\..\kept\"), True, "CreateDirectory through a "".."" component"
Check fso.FolderExists(here & "\up\kept"), "the folder after the "".."" exists"
fso.CreateTextFile(here & "\file.txt").Close
CheckEq sd.CreateDirectory(here & "\file.txt"), False, "CreateDirectory of a file"
CheckEq sd.CreateDirectory(here & "\file.txt\"), False, "CreateDirectory of a file and a backslash"
CheckEq sd.CreateDirectory(here & "\file.txt\sub"), False, "CreateDirectory below a file"
CheckEq sd.CreateDirectory("rel\sub"), True, "CreateDirectory of a relative name"
Check fso.FolderExists(here & "\rel\sub"), "relative to the current directory"
CheckEq sd.CreateDirectory(here & String(400, "\") & "deep"), False, "a path longer than any folder"
If Cp932() Then
    so = Sjis(&H83, &H5C)
    CheckEq sd.CreateDirectory(here & "\" & so & "\" & so & so), True, "names whose trail byte is a backslash"
    Check fso.FolderExists(here & "\" & so & "\" & so & so), "the Japanese folders exist"
    Check Not fso.FolderExists(here & "\" & Chr(&H83)), "no folder was cut at a trail byte"
End If

' ---- temporary names
t1 = sd.GetTempPath()
CheckEq TypeName(t1), "String", "GetTempPath is a string"
CheckEq Right(t1, 1), "\", "GetTempPath ends with a backslash"
Check fso.FolderExists(t1), "GetTempPath names a folder"
name1 = sd.GetTempFileName()
name2 = sd.GetTempFileName()
CheckEq TypeName(name1), "String", "GetTempFileName is a string"
Check name1 <> name2, "two temporary names differ"
Check fso.FileExists(here & "\" & fso.GetFileName(name1)), "the temporary file is created in the current directory"
CheckEq Left(fso.GetFileName(name1), 3), "tmp", "the default prefix"
p = sd.GetTempFileName(here, "xyzw")
CheckEq Left(p, Len(here) + 4), here & "\xyz", "the folder and three characters of the prefix"
Check IsNull(sd.GetTempFileName(here & "\none")), "GetTempFileName in a missing folder"
Check IsNull(sd.GetTempFileName(String(300, "d"))), "GetTempFileName with a folder too long for a name"

' ---- attributes and time stamps
CheckEq sd.GetFileAttributes(here & "\none"), -1, "GetFileAttributes of a missing file"
Check 16 = (sd.GetFileAttributes(here) And 16), "a folder has the directory attribute"
CheckEq TypeName(sd.GetFileAttributes(here)), "Long", "GetFileAttributes is a Long"
Set f = fso.CreateTextFile(here & "\stamp.txt")
f.Write "x"
f.Close
d = sd.GetFileLastWriteTime(here & "\stamp.txt")
CheckEq TypeName(d), "Date", "GetFileLastWriteTime is a date"
g = fso.GetFile(here & "\stamp.txt").DateLastModified
CheckEq Year(d) & "-" & Month(d) & "-" & Day(d) & " " & Hour(d) & ":" & Minute(d) & ":" & Second(d), _
    Year(g) & "-" & Month(g) & "-" & Day(g) & " " & Hour(g) & ":" & Minute(g) & ":" & Second(g), "the local write time"
CheckEq TypeName(sd.GetFileCreationTime(here & "\stamp.txt")), "Date", "GetFileCreationTime is a date"
Check IsNull(sd.GetFileLastWriteTime(here & "\none")), "the write time of a missing file"
Check IsNull(sd.GetFileCreationTime(here)), "the creation time of a folder"

' ---- extensions
CheckEq sd.ChangeExtensionName("C:\dir.x\name", "txt"), "C:\dir.x\name.txt", "an extension added"
CheckEq Len(sd.ChangeExtensionName(String(300, "p"), String(300, "e"))), 601, "long paths are processed whole"

' ---- copying and moving
Set f = fso.CreateTextFile(here & "\src.txt")
f.Write "source"
f.Close
Set f = fso.CreateTextFile(here & "\dst.txt")
f.Write "target"
f.Close
CheckEq sd.CopyFile(here & "\src.txt", here & "\dst.txt", True), False, "CopyFile onto an existing file, told not to"
CheckEq fso.OpenTextFile(here & "\dst.txt").ReadAll, "target", "the target stays"
CheckEq sd.CopyFile(here & "\src.txt", here & "\dst.txt"), True, "CopyFile overwrites by default"
CheckEq fso.OpenTextFile(here & "\dst.txt").ReadAll, "source", "the target was overwritten"
CheckEq sd.CopyFile(here & "\none.txt", here & "\dst2.txt"), False, "CopyFile of a missing file"
CheckEq sd.MoveFile(here & "\src.txt", here & "\moved.txt", False), True, "MoveFile"
Check Not fso.FileExists(here & "\src.txt"), "the source is gone"
CheckEq fso.OpenTextFile(here & "\moved.txt").ReadAll, "source", "the moved content"
CheckEq sd.MoveFile(here & "\moved.txt", here & "\dst.txt", 1), False, "MoveFile onto an existing file, told not to"
Check fso.FileExists(here & "\moved.txt"), "the source stays when the move fails"
CheckEq sd.MoveFile(here & "\moved.txt", here & "\moved.txt"), False, "MoveFile onto itself"
CheckEq fso.OpenTextFile(here & "\moved.txt").ReadAll, "source", "moving onto itself loses nothing"

' ---- file: addresses
CheckEq sd.GetLocalPathName("file:///C:/My%20Files/a.txt"), "C:\My Files\a.txt", "a file: address"
CheckEq sd.GetLocalPathName("C:\a%4"), "C:\a" & Chr(4), "an escape cut short by the end"
Check IsNull(sd.GetLocalPathName("relative\path")), "a relative path"
Check IsNull(sd.GetLocalPathName("\\server\share\x")), "a network path"
Check IsNull(sd.GetLocalPathName(":::")), "only colons"

' ---- special folders
Check IsNull(sd.GetSpecialFolderPath(&H11)), "the virtual folder My Computer"
CheckEq LCase(sd.GetSpecialFolderPath(&H24)), LCase(fso.GetSpecialFolder(0).Path), "the Windows folder"

Done
