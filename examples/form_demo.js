// A form from JScript: a name field with OK and Cancel. The form is shown
// modelessly and waits up to five seconds for a button, then closes itself,
// so the demo never blocks; the script then reads the value back.
// (ExecuteForm would show the same form modally and wait for the user.)
var sd = new ActiveXObject("TorvaneScriptDialog");
var f = sd.CreateForm();
f.FormTitle = "Form demo";
f.DefineLabel("Enter your name and press OK (closes by itself in 5 s).");
var name = f.DefineEdit("Name", "Taro");
var buttons = f.DefineButton("OK;Cancel", 1);

f.ComposeForm();
var ev = f.WaitEvent(500);
while (ev !== null && ev !== 1 && ev !== 2 && ev !== -1) ev = f.WaitEvent(500);
f.DestroyForm();

if (ev === null) WScript.Echo("No button within 5 seconds: the form closed itself.");
else WScript.Echo("Event: " + ev + (ev === 1 ? " (OK)" : ev === 2 ? " (Cancel)" : " (closed)"));
WScript.Echo("Name: " + f.Value(name));
WScript.Echo("Changed by the user: " + f.IsModify(name));
