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
