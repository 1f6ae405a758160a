' Shell and system members that need no user: Sleep, DoEvents, key state,
' the wait cursor, FindWindow and launches that fail before the shell runs.
Option Explicit
Dim sd, r
Set sd = CreateObject("TorvaneScriptDialog")

' A negative count returns at once (the script would hang otherwise).
sd.Sleep 0
sd.Sleep 5
sd.Sleep -1
sd.Sleep -32768

CheckEq sd.DoEvents(), 0, "DoEvents returns 0"
CheckEq TypeName(sd.GetASyncKeyState(-1)), "Integer", "GetASyncKeyState gives a 16-bit integer"
CheckEq sd.GetASyncKeyState(65) And &H8000, 0, "the A key is up"

sd.WaitCursor 1
sd.WaitCursor 0

Check IsNull(sd.FindWindow("TorvaneNoSuchClass", "")), "FindWindow of an unknown class is Null"
Check IsNull(sd.FindWindow("TorvaneNoSuchClass", "no such title")), "FindWindow with an unknown title is Null"

' A file name beyond the platform's path buffers is a failed launch.
CheckEq sd.ShellExecute("open", String(300, "x")), -1, "ShellExecute of an over-long name"
CheckEq sd.ShellExecute("open", String(5000, "x"), "", "", 1, -1), -1, "ShellExecute of a very long name"

On Error Resume Next
sd.Sleep 40000
CheckErr 6, "", "Sleep beyond 16 bits overflows"
r = sd.ExitWindows("later")
CheckErr 13, "", "ExitWindows with a text is a type mismatch"
On Error GoTo 0

Done
