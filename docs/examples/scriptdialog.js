// The examples of docs/reference.md in JScript, one section per member (each
// section starts with "// == Object.Member" and prints what the reference
// shows). Run a section on its own: copy it into a .js file and run it with
// cscript //nologo.

// == ScriptDialog.CreateList
var sd = new ActiveXObject("TorvaneScriptDialog");
var l = sd.CreateList();
l.AddTail("first");
WScript.Echo(l.Count);

// == ScriptDialog.CreateForm
var sd = new ActiveXObject("TorvaneScriptDialog");
var f = sd.CreateForm();
WScript.Echo(f.DefineLabel("Hello"));

// == ScriptDialog.CreateOutputWindow
var sd = new ActiveXObject("TorvaneScriptDialog");
var w = sd.CreateOutputWindow();
w.Text = "Working...";
w.Visible = true;
WScript.Echo(w.Text);
