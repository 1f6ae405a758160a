
' ---- assertion library, appended to every .vbs test by run_script.sh ----
' Non-ASCII text is printed escaped (\xHH per code-page byte pair), since
' echoing it can crash the host.
Dim AssertFailures, AssertChecks

Function Esc(value)
    Dim s, i, c, a, out
    If IsNull(value) Then Esc = "Null" : Exit Function
    If IsEmpty(value) Then Esc = "Empty" : Exit Function
    If IsObject(value) Then Esc = "<object>" : Exit Function
    s = CStr(value)
    out = ""
    For i = 1 To Len(s)
        c = Mid(s, i, 1)
        a = Asc(c)
        If a < 0 Then a = a + 65536
        If a < 32 Or a > 126 Then
            out = out & "\x" & Hex(a)
        Else
            out = out & c
        End If
    Next
    Esc = "[" & TypeName(value) & "] " & out
End Function

Sub Check(condition, message)
    AssertChecks = AssertChecks + 1
    If Not condition Then
        AssertFailures = AssertFailures + 1
        WScript.Echo "FAIL: " & message
    End If
End Sub

' Equal in type family and value: strings with strings, numbers with
' numbers, Null with Null.
Sub CheckEq(actual, expected, message)
    Dim same
    AssertChecks = AssertChecks + 1
    If IsNull(expected) Or IsNull(actual) Then
        same = IsNull(expected) And IsNull(actual)
    ElseIf VarType(expected) = vbString Or VarType(actual) = vbString Then
        same = (VarType(expected) = VarType(actual)) And (CStr(actual) = CStr(expected))
    Else
        same = (actual = expected)
    End If
    If Not same Then
        AssertFailures = AssertFailures + 1
        WScript.Echo "FAIL: " & message & ": got " & Esc(actual) & ", want " & Esc(expected)
    End If
End Sub

' Runs after an "On Error Resume Next" call: checks that it failed with the
' given Err.Number (0 means: any error) or description, then clears Err.
Sub CheckErr(number, description, message)
    AssertChecks = AssertChecks + 1
    If Err.Number = 0 And Err.Description = "" Then
        AssertFailures = AssertFailures + 1
        WScript.Echo "FAIL: " & message & ": no error"
    ElseIf number <> 0 And Err.Number <> number Then
        AssertFailures = AssertFailures + 1
        WScript.Echo "FAIL: " & message & ": error " & Err.Number & ", want " & number
    ElseIf description <> "" And Err.Description <> description Then
        AssertFailures = AssertFailures + 1
        WScript.Echo "FAIL: " & message & ": description " & Esc(Err.Description) & ", want " & Esc(description)
    End If
    Err.Clear
End Sub

Sub CheckNoErr(message)
    AssertChecks = AssertChecks + 1
    If Err.Number <> 0 Or Err.Description <> "" Then
        AssertFailures = AssertFailures + 1
        WScript.Echo "FAIL: " & message & ": error " & Err.Number & " " & Esc(Err.Description)
    End If
    Err.Clear
End Sub

' Builds code-page text from byte codes: Sjis(&H83, &H5C) is one katakana.
Function Sjis(lead, trail)
    Sjis = Chr(lead * 256 + trail)
End Function

Sub Done()
    If AssertChecks = 0 Then
        WScript.Echo "FAIL: no checks ran"
        WScript.Quit 1
    End If
    If AssertFailures > 0 Then
        WScript.Echo AssertFailures & " of " & AssertChecks & " checks failed"
        WScript.Quit 1
    End If
    WScript.Echo "ALL PASSED (" & AssertChecks & " checks)"
    WScript.Quit 0
End Sub

' True when the process's ANSI code page is the double-byte 932.
Function Cp932()
    Dim probe
    On Error Resume Next
    probe = Chr(&H8140)
    Cp932 = (Err.Number = 0)
    Err.Clear
End Function

' The description of the read-only error under code page 932.
Function ReadOnlyText()
    ReadOnlyText = Chr(&H93C7) & Chr(&H82DD) & Chr(&H8EE6) & Chr(&H82E8) & Chr(&H90EA) & Chr(&H9770) & _
        Chr(&HCC) & Chr(&HDF) & Chr(&HDB) & Chr(&HCA) & Chr(&HDF) & Chr(&HC3) & Chr(&HA8) & Chr(&H82C9) & _
        Chr(&H82CD) & Chr(&H8F91) & Chr(&H82AB) & Chr(&H8D9E) & Chr(&H82DF) & Chr(&H82DC) & Chr(&H82B9) & _
        Chr(&H82F1) & Chr(&H8142)
End Function
