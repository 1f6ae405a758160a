' ProfileValue against an INI file in the test's own folder.
Option Explicit
Dim sd, fso, here, ini, text, so, longValue, i

Set sd = CreateObject("TorvaneScriptDialog")
Set fso = CreateObject("Scripting.FileSystemObject")
here = fso.GetAbsolutePathName(".")
ini = here & "\settings.ini"

' Without a ProfilePath nothing is read or written.
sd.ProfileValue("TorvaneScriptTestKey") = "1"
CheckEq sd.ProfileValue("TorvaneScriptTestKey"), "", "no ProfilePath: an empty value"
Check Not fso.FileExists(ini), "no ProfilePath: no file"

sd.ProfilePath = ini
CheckEq sd.ProfileValue("A"), "", "a file that does not exist reads as empty"
sd.ProfileValue("A") = "1"
Check fso.FileExists(ini), "the first write creates the file"
text = fso.OpenTextFile(ini).ReadAll
Check InStr(text, "[TorvaneScriptDialogData]") > 0, "the fixed section is in the file"
Check InStr(text, "A=1") > 0, "the value is in the file"
CheckEq sd.ProfileValue("A"), "1", "the value reads back"
CheckEq TypeName(sd.ProfileValue("A")), "String", "values are strings"
CheckEq sd.ProfileValue("Missing"), "", "a missing key"
CheckEq sd.ProfileValue("A", "ignored"), "1", "the second parameter is ignored"

sd.ProfileValue("B") = ""
CheckEq sd.ProfileValue("B"), "", "an empty value"
Check InStr(fso.OpenTextFile(ini).ReadAll, "B=") > 0, "the key of an empty value stays"

sd.ProfileValue("N") = 12
CheckEq sd.ProfileValue("N"), "12", "a number is written as its text"

longValue = String(300, "v")
sd.ProfileValue("Long") = longValue
CheckEq Len(sd.ProfileValue("Long")), 259, "a long value reads back cut to 259 bytes"

If Cp932() Then
    so = Sjis(&H83, &H5C)
    longValue = "ab"
    For i = 1 To 150
        longValue = longValue & so
    Next
    sd.ProfileValue("Kana") = longValue
    CheckEq sd.ProfileValue("Kana"), Left(longValue, 130), "a cut ends on a whole character"
    sd.ProfileValue(so) = so & so
    CheckEq sd.ProfileValue(so), so & so, "Japanese keys and values"
End If

Done
