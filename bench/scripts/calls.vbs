' Late-bound calls from VBScript: the library against the floor object.
' (Wine's VBScript cannot call objects handed out as VT_UNKNOWN, so the List
' rows are measured from JScript.)
Option Explicit
Dim sd, floor, n, reps
Set sd = CreateObject("TorvaneScriptDialog")
Set floor = CreateObject("TorvaneBench.Floor")
n = 100000 : reps = 7
If WScript.Arguments.Count > 0 Then n = 1000 : reps = 3

Sub BenchSide(kind, side, count)
    Dim i, v
    Select Case kind * 2 + side
    Case 2 : For i = 1 To count : v = sd.TickCount : Next
    Case 3 : For i = 1 To count : v = floor.TickCount : Next
    Case 4 : For i = 1 To count : v = sd.IntS(123456, 10) : Next
    Case 5 : For i = 1 To count : v = floor.IntS(123456, 10) : Next
    End Select
End Sub

BenchHead "VBScript calls, microseconds per call"
BenchRow "VBS TickCount", "floor", 1, n, reps, 2
BenchRow "VBS IntS(123456, 10)", "floor", 2, n, reps, 2
WScript.Echo "END"
