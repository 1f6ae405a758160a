' A form from VBScript: a name field with OK and Cancel, shown modelessly;
' it waits up to five seconds for a button, then closes itself, and the
' script reads the value back. (ExecuteForm would wait for the user.)
' Windows only: the Form object is handed out as a plain object reference,
' which Wine's VBScript cannot call; under Wine use form_demo.js.
Option Explicit
Dim sd, f, nameIndex, ev, tries
Set sd = CreateObject("TorvaneScriptDialog")
Set f = sd.CreateForm()
f.FormTitle = "Form demo"
f.DefineLabel "Enter your name and press OK (closes by itself in 5 s)."
nameIndex = f.DefineEdit("Name", "Taro")
f.DefineButton "OK;Cancel", 1

f.ComposeForm
ev = f.WaitEvent(500)
tries = 0
Do While Not IsNull(ev) And ev <> 1 And ev <> 2 And ev <> -1 And tries < 100
    ev = f.WaitEvent(500)
    tries = tries + 1
Loop
f.DestroyForm

If IsNull(ev) Then
    WScript.Echo "No button within 5 seconds: the form closed itself."
Else
    WScript.Echo "Event: " & ev
End If
WScript.Echo "Name: " & f.Value(nameIndex)
WScript.Echo "Changed by the user: " & f.IsModify(nameIndex)
