
' Shared by the VBScript benchmarks (appended by bench/run.sh): times two
' sides of a piece of work in alternating repetitions and prints one table
' row as a tab-separated record for bench/format_table.awk. The script
' defines BenchSide(kind, side, n), which runs n calls of side 0 (the
' library) or side 1 (the peer) of the work numbered kind.

Sub BenchSort(a, count)
    Dim i, j, t
    For i = 0 To count - 1
        For j = i + 1 To count - 1
            If a(j) < a(i) Then t = a(i) : a(i) = a(j) : a(j) = t
        Next
    Next
End Sub

Function BenchNumber(x)
    BenchNumber = FormatNumber(x, 4, -1, 0, 0)
End Function

Function BenchFigures(a, count)
    BenchSort a, count
    BenchFigures = BenchNumber(a(count \ 2)) & vbTab & BenchNumber(a(0)) & vbTab & BenchNumber(a(count - 1))
End Function

Sub BenchHead(text)
    WScript.Echo "HEAD" & vbTab & text
End Sub

Sub BenchNote(text)
    WScript.Echo "NOTE" & vbTab & text
End Sub

' Microseconds per call of each side, median [lowest, highest] over reps
' repetitions, and the median ratio (library / peer). sides = 1 times the
' peer alone (no library member to compare in this engine).
Sub BenchRow(label, peer, kind, n, reps, sides)
    Dim ta(40), tb(40), ratio(40), r, t0, t1, t2, x, y, line
    If sides = 2 Then BenchSide kind, 0, 1
    BenchSide kind, 1, 1
    For r = 0 To reps - 1
        t0 = Timer
        If sides = 2 Then BenchSide kind, 0, n
        t1 = Timer
        BenchSide kind, 1, n
        t2 = Timer
        x = (t1 - t0) * 1000 : y = (t2 - t1) * 1000
        If x < 0.5 Then x = 0.5
        If y < 0.5 Then y = 0.5
        ta(r) = x * 1000 / n : tb(r) = y * 1000 / n : ratio(r) = x / y
    Next
    If sides = 2 Then
        line = "ROW" & vbTab & label & vbTab & peer & vbTab & "us" & vbTab & BenchFigures(ta, reps) & vbTab & _
               BenchFigures(tb, reps) & vbTab & BenchFigures(ratio, reps)
        ' keep only the median of the ratios
        Dim parts : parts = Split(line, vbTab)
        WScript.Echo parts(0) & vbTab & parts(1) & vbTab & parts(2) & vbTab & parts(3) & vbTab & parts(4) & vbTab & _
            parts(5) & vbTab & parts(6) & vbTab & parts(7) & vbTab & parts(8) & vbTab & parts(9) & vbTab & parts(10)
    Else
        WScript.Echo "ROW" & vbTab & label & vbTab & peer & vbTab & "us" & vbTab & "-" & vbTab & "-" & vbTab & "-" & _
            vbTab & BenchFigures(tb, reps) & vbTab & "-"
    End If
End Sub
