' A first look at the library from VBScript: create the object, change a
' setting, read it back.
Option Explicit
Dim sd
Set sd = CreateObject("TorvaneScriptDialog")

WScript.Echo "Default fraction digits:", sd.DefaultFS
sd.DefaultFS = "5"
WScript.Echo "After setting them to ""5"":", sd.DefaultFS
WScript.Echo "Tolerance used by IsEqual:", sd.DefaultTolerance
WScript.Echo "Milliseconds since the system started:", sd.TickCount
