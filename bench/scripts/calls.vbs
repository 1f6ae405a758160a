' Late-bound calls from VBScript: the library against the floor object.
' (Wine's VBScript cannot call objects handed out as VT_UNKNOWN, so the List
' rows are measured from JScript.)
Option Explicit
Dim sd, floor, n, reps
Set sd = CreateObject("TorvaneScriptDialog")
Set floor = CreateObject("TorvaneBench.Floor")
n = 100000 : reps = 7
If WScript.Arguments.Count > 0 Then n = 1000 : reps = 3
WScript.Echo "VBScript calls: ms per 1000 calls, library | peer | ratio"

Function Median(a, count)
    Dim i, j, t
    For i = 0 To count - 1
        For j = i + 1 To count - 1
            If a(j) < a(i) Then t = a(i) : a(i) = a(j) : a(j) = t
        Next
    Next
    Median = a(count \ 2)
End Function

Function Fix3(x)
    Dim s : s = FormatNumber(x, 3, -1, 0, 0)
    Fix3 = Space(9 - Len(s)) & s
End Function

Sub Row(label, kind)
    Dim ta(20), tb(20), ratio(20), r, i, t0, t1, t2, x, y, v
    For r = 0 To reps - 1
        t0 = Timer
        Select Case kind
        Case 1 : For i = 1 To n : v = sd.TickCount : Next
        Case 2 : For i = 1 To n : v = sd.IntS(123456, 10) : Next
        End Select
        t1 = Timer
        Select Case kind
        Case 1 : For i = 1 To n : v = floor.TickCount : Next
        Case 2 : For i = 1 To n : v = floor.IntS(123456, 10) : Next
        End Select
        t2 = Timer
        x = (t1 - t0) * 1000 : y = (t2 - t1) * 1000
        If x < 0.5 Then x = 0.5
        If y < 0.5 Then y = 0.5
        ta(r) = x * 1000 / n : tb(r) = y * 1000 / n : ratio(r) = x / y
    Next
    label = label & " vs floor"
    label = label & Space(52 - Len(label))
    WScript.Echo label & " " & Fix3(Median(ta, reps)) & " " & Fix3(Median(tb, reps)) & " " & Fix3(Median(ratio, reps)) & "x"
End Sub

Row "VBS TickCount", 1
Row "VBS IntS(123456, 10)", 2
