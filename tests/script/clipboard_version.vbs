' ClipboardText and Version as a VBScript author uses them: text through the
' clipboard, Japanese text in the code page, Null without text, Version
' read-only.
Option Explicit
Dim sd, sd2, kanji, parts, i
Set sd = CreateObject("TorvaneScriptDialog")
Set sd2 = CreateObject("TorvaneScriptDialog")

sd.ClipboardText = "from a script" & vbCrLf & "second line"
CheckEq sd.ClipboardText, "from a script" & vbCrLf & "second line", "round trip with a line break"
CheckEq sd2.ClipboardText, "from a script" & vbCrLf & "second line", "another object reads the same clipboard"
CheckEq TypeName(sd.ClipboardText), "String", "text comes back as a string"
sd.ClipboardText = 12.5
CheckEq sd.ClipboardText, CStr(12.5), "a number is written as its text"
sd.ClipboardText = ""
CheckEq sd.ClipboardText, "", "the empty text is text"
sd.ClipboardText = "kept"
sd.ClipboardText = Null
CheckEq sd.ClipboardText, "kept", "Null leaves the clipboard as it was"

If Cp932() Then
    ' "表ソ": both carry the trail byte 0x5C in code page 932.
    kanji = Chr(&H955C) & Chr(&H835C)
    sd.ClipboardText = kanji
    CheckEq sd.ClipboardText, kanji, "Japanese text round trip"
End If

CheckEq TypeName(sd.Version), "String", "Version is a string"
parts = Split(sd.Version, ".")
CheckEq UBound(parts), 3, "four numbers"
For i = 0 To 3
    Check IsNumeric(parts(i)), "part " & i & " is a number"
Next
If Cp932() Then
    On Error Resume Next
    sd.Version = "9.9.9.9"
    CheckErr 0, ReadOnlyText(), "assigning Version is the read-only error"
    On Error GoTo 0
End If
Check sd.Version <> "9.9.9.9", "Version unchanged"

Done
