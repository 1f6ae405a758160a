' The ScriptDialog object as a VBScript author sees it: settings, TickCount,
' the dispatch layer's errors and name lookup.
Option Explicit
Dim sd, sd2, t1, t2
Set sd = CreateObject("TorvaneScriptDialog")

CheckEq sd.DefaultFS, 3, "initial DefaultFS"
CheckEq sd.DefaultIS, 2, "initial DefaultIS"
CheckEq sd.DefaultTolerance, 0.001, "initial DefaultTolerance"
CheckEq sd.ProfilePath, "", "initial ProfilePath"
CheckEq TypeName(sd.DefaultFS), "Integer", "DefaultFS is a 16-bit integer"
CheckEq TypeName(sd.DefaultTolerance), "Double", "DefaultTolerance is a double"
CheckEq TypeName(sd.ProfilePath), "String", "ProfilePath is a string"

sd.DefaultFS = "5"
CheckEq sd.DefaultFS, 5, "DefaultFS from the string 5"
sd.DefaultFS = -1
CheckEq sd.DefaultFS, -1, "DefaultFS -1 is stored as given"
sd.DefaultFS = 7

On Error Resume Next
sd.DefaultFS = 40000
CheckErr 6, "", "DefaultFS = 40000 overflows"
CheckEq sd.DefaultFS, 7, "DefaultFS keeps its value after the overflow"
sd.DefaultIS = "abc"
CheckErr 13, "", "DefaultIS = abc is a type mismatch"
CheckEq sd.DefaultIS, 2, "DefaultIS unchanged after the mismatch"
On Error GoTo 0

sd.DefaultTolerance = "0.5"
CheckEq sd.DefaultTolerance, 0.5, "DefaultTolerance from a string"
sd.ProfilePath = "C:\x\y.ini"
CheckEq sd.ProfilePath, "C:\x\y.ini", "ProfilePath round trip"
sd.ProfilePath = 12
CheckEq sd.ProfilePath, "12", "a number stored in ProfilePath becomes its text"

' Names are found whatever their case.
sd.defaultfs = 9
CheckEq sd.DEFAULTFS, 9, "case-insensitive names"

' Every object has its own settings.
Set sd2 = CreateObject("TorvaneScriptDialog")
CheckEq sd2.DefaultFS, 3, "a second object starts with its own DefaultFS"
sd2.DefaultIS = 11
CheckEq sd.DefaultIS, 2, "the first object's DefaultIS is untouched"

' TickCount: a double that moves forward, and cannot be assigned.
t1 = sd.TickCount
CheckEq TypeName(t1), "Double", "TickCount is a double"
t2 = sd.TickCount
Check t2 >= t1, "TickCount does not go back"

On Error Resume Next
sd.TickCount = 5
CheckErr 0, "", "assigning TickCount fails"
sd.TickCount = "no number"
CheckErr 13, "", "assigning an unconvertible value to TickCount is a type mismatch first"
sd.NoSuchMember
CheckErr 438, "", "an unknown member"
sd.About 1
CheckErr 450, "", "About takes no arguments"
sd.VersionCheck
CheckErr 449, "", "VersionCheck without its required path"
On Error GoTo 0

If Cp932() Then
    On Error Resume Next
    sd.TickCount = 5
    CheckErr 0, ReadOnlyText(), "the read-only description"
    On Error GoTo 0
End If

Done
