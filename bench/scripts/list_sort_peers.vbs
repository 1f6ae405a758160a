' VBScript peers of List.Sort and List.LoadFile, timed alone (Wine's
' VBScript cannot call the List): a quicksort of a VBScript array of the same
' kind of texts, and a loop of the file-system object's ReadLine into an
' array. Set them beside the JScript rows of List.Sort and List.LoadFile.
' Milliseconds per sort or load.
Option Explicit
' (no "Dim x()": Wine's VBScript crashes on ReDim of such an array)
Dim fso, quick, base, sizes, k, n, src, a, r, t0, t1, lines, path, x, i, f, reps, times, line
Set fso = CreateObject("Scripting.FileSystemObject")
quick = WScript.Arguments.Count > 0
reps = 1
Randomize
base = fso.GetSpecialFolder(2) & "\torvane-bench-vbsort-" & Int(Rnd * 1000000)
fso.CreateFolder base

Sub QuickSort(a, lo, hi)
    Dim i, j, p, t
    Do While hi - lo > 0
        p = a((lo + hi) \ 2) : i = lo : j = hi
        Do While i <= j
            Do While a(i) < p : i = i + 1 : Loop
            Do While a(j) > p : j = j - 1 : Loop
            If i <= j Then t = a(i) : a(i) = a(j) : a(j) = t : i = i + 1 : j = j - 1
        Loop
        ' the smaller side by recursion, the larger by the loop
        If j - lo < hi - i Then
            QuickSort a, lo, j : lo = i
        Else
            QuickSort a, i, hi : hi = j
        End If
    Loop
End Sub

' The same texts as the JScript benchmark makes.
Sub MakeTexts(n)
    Dim i, x
    ReDim src(n - 1)
    x = 12345
    For i = 0 To n - 1
        x = (x * 69069 + 1) Mod 16777216
        src(i) = "item" & Hex(x)
    Next
End Sub

Sub Row(label, peer, unit, figures, count)
    BenchSort figures, count
    WScript.Echo "ROW" & vbTab & label & vbTab & peer & vbTab & unit & vbTab & "-" & vbTab & "-" & vbTab & "-" & _
        vbTab & BenchNumber(figures(count \ 2)) & vbTab & BenchNumber(figures(0)) & vbTab & _
        BenchNumber(figures(count - 1)) & vbTab & "-"
End Sub

BenchHead "VBScript peers of List.Sort and List.LoadFile (timed alone), milliseconds per sort or load"
' Wine's VBScript takes seconds per 10^4 texts: 10^6 would take many minutes.
If quick Then sizes = Array(1000) Else sizes = Array(10000, 100000)
For k = 0 To UBound(sizes)
    n = sizes(k)
    MakeTexts n
    ReDim times(reps - 1)
    For r = 0 To reps - 1
        ' (copied by hand: assigning one array to another crashes Wine's VBScript)
        ReDim a(n - 1)
        For i = 0 To n - 1 : a(i) = src(i) : Next
        t0 = Timer : QuickSort a, 0, n - 1 : t1 = Timer
        times(r) = (t1 - t0) * 1000
    Next
    Row "VBS quicksort of an array of " & n & " texts", "(peer of JS List.Sort)", "ms", times, reps
Next

' 10^5 lines (about 100 us a line here): set it beside the List's 10^6 per line.
lines = 100000 : If quick Then lines = 1000
MakeTexts lines
path = base & "\lines.txt"
Set f = fso.CreateTextFile(path, True)
For i = 0 To lines - 1 : f.WriteLine src(i) : Next
f.Close
ReDim times(reps - 1)
For r = 0 To reps - 1
    ReDim a(lines - 1)
    t0 = Timer
    Set f = fso.OpenTextFile(path, 1)
    i = 0
    Do While Not f.AtEndOfStream
        a(i) = f.ReadLine : i = i + 1
    Loop
    f.Close
    t1 = Timer
    times(r) = (t1 - t0) * 1000000 / lines
Next
Row "VBS ReadLine loop into an array, " & lines & " lines (us per line)", "(peer of JS List.LoadFile)", "us", times, reps
fso.DeleteFolder base, True
WScript.Echo "END"
