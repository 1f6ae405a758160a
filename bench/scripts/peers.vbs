' The ScriptDialog object's members against the same work done with
' VBScript's own functions and Scripting.FileSystemObject, from VBScript.
' Also the VBScript array, Split and InStr peers of the List (timed alone:
' Wine's VBScript cannot call the List; compare them with the JScript List
' rows).
Option Explicit
Dim sd, fso, n, reps, quick, base, src, counter, arr(100000), big, last
Set sd = CreateObject("TorvaneScriptDialog")
Set fso = CreateObject("Scripting.FileSystemObject")
quick = WScript.Arguments.Count > 0
n = 100000 : reps = 7
If quick Then n = 1000 : reps = 3
last = 99999 : If quick Then last = 9999

' A temporary folder for the file rows, removed at the end.
Randomize
base = fso.GetSpecialFolder(2) & "\torvane-bench-" & Int(Rnd * 1000000)
fso.CreateFolder base
fso.CreateFolder base & "\lib"
fso.CreateFolder base & "\fso"
src = base & "\source.txt"
With fso.CreateTextFile(src, True)
    .Write String(1024, "x")
    .Close
End With
counter = 0

Sub BenchSide(kind, side, count)
    Dim i, v, p, k
    Select Case kind * 2 + side
    Case 2 : For i = 1 To count : v = sd.IntS(i, 10) : Next
    Case 3 : For i = 1 To count : v = Right("0000000000" & i, 10) : Next
    Case 4 : For i = 1 To count : v = sd.FloatS(i * 1.25, 3) : Next
    Case 5 : For i = 1 To count : v = FormatNumber(i * 1.25, 3, -1, 0, 0) : Next
    Case 6 : For i = 1 To count : v = sd.CopyFile(src, base & "\lib\copy.txt") : Next
    Case 7 : For i = 1 To count : fso.CopyFile src, base & "\fso\copy.txt", True : Next
    Case 8
        For i = 1 To count
            counter = counter + 1
            v = sd.CreateDirectory(base & "\lib\d" & counter & "\a\b\c\d")
        Next
    Case 9
        For i = 1 To count
            counter = counter + 1
            p = base & "\fso\d" & counter
            fso.CreateFolder p
            For Each k In Array("a", "b", "c", "d")
                p = p & "\" & k
                fso.CreateFolder p
            Next
        Next
    ' the same, each batch of trees in a new, small parent folder
    Case 40
        counter = counter + 1 : k = base & "\lib\p" & counter : fso.CreateFolder k
        For i = 1 To count : v = sd.CreateDirectory(k & "\d" & i & "\a\b\c\d") : Next
    Case 41
        counter = counter + 1 : k = base & "\fso\p" & counter : fso.CreateFolder k
        For i = 1 To count
            p = k & "\d" & i
            fso.CreateFolder p
            For Each v In Array("a", "b", "c", "d")
                p = p & "\" & v
                fso.CreateFolder p
            Next
        Next
    Case 10 : For i = 1 To count : v = sd.GetTempFileName(base & "\lib", "tmp") : Next
    Case 11 : For i = 1 To count : fso.CreateTextFile(base & "\fso\" & fso.GetTempName(), True).Close : Next
    Case 12 : For i = 1 To count : v = sd.GetFileAttributes(src) : Next
    Case 13 : For i = 1 To count : v = fso.GetFile(src).Attributes : Next
    ' VBScript peers of the List, timed alone
    Case 15 : For i = 0 To count - 1 : arr(i Mod 100000) = "item0000123" : Next
    Case 17 : For i = 0 To count - 1 : v = arr(i Mod 100000) : Next
    Case 19
        For k = 1 To count
            For i = 0 To last
                If InStr(arr(i), "zz9") > 0 Then Exit For
            Next
        Next
    Case 21 : For i = 1 To count : v = InStr(big, vbLf & "zz9") : Next
    Case 23 : For i = 0 To count - 1 : v = Split("alpha,beta,gamma", ",")(1) : Next
    End Select
End Sub

Dim files : files = 500 : If quick Then files = 10
BenchHead "ScriptDialog members from VBScript against VBScript functions and Scripting.FileSystemObject, microseconds per call"
BenchRow "VBS IntS(i, 10)", "Right(""0000000000"" & i, 10)", 1, n, reps, 2
BenchRow "VBS FloatS(x, 3)", "FormatNumber(x, 3, -1, 0, 0)", 2, n, reps, 2
BenchRow "VBS CopyFile (1 KB, replacing)", "fso.CopyFile", 3, files, reps, 2
BenchRow "VBS CreateDirectory (5 new levels, parent grows)", "fso.CreateFolder x5", 4, files \ 5, reps, 2
BenchRow "VBS CreateDirectory (5 new levels, small parent)", "fso.CreateFolder x5", 20, 20, reps, 2
BenchRow "VBS GetTempFileName (creates the file)", "GetTempName+CreateTextFile", 5, files, reps, 2
BenchRow "VBS GetFileAttributes", "fso.GetFile().Attributes", 6, files * 10, reps, 2

BenchHead "VBScript peers of the List, timed alone (compare with the JScript List rows), microseconds per call"
BenchSide 7, 1, 100000
big = vbLf & Join2(arr) & vbLf
BenchRow "VBS array: arr(i) = text", "VBScript array", 7, n, reps, 1
BenchRow "VBS array: v = arr(i)", "VBScript array", 8, n, reps, 1
BenchRow "VBS InStr over " & (last + 1) & " entries (per search)", "loop of InStr", 9, 1, reps, 1
BenchRow "VBS InStr over 100000 joined entries (per search)", "InStr on one text", 10, 20, reps, 1
BenchRow "VBS ColValue(i, 1) peer", "Split(text, "","")(1)", 11, n, reps, 1

fso.DeleteFolder base, True
WScript.Echo "END"

' Wine's VBScript has no Join.
Function Join2(a)
    Dim i, parts(99), j, s
    For j = 0 To 99
        s = ""
        For i = j * 1000 To j * 1000 + 999
            s = s & arr(i) & vbLf
        Next
        parts(j) = s
    Next
    s = ""
    For j = 0 To 99 : s = s & parts(j) : Next
    Join2 = s
End Function
