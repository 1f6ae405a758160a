// The examples of docs/reference.md in JScript, one section per member (each
// section starts with "// == Object.Member" and prints what the reference
// shows). Run a section on its own: copy it into a .js file and run it with
// cscript //nologo.

// == OutputWindow.Visible
var w = new ActiveXObject("TorvaneScriptDialog").CreateOutputWindow();
if (!w.Visible) WScript.Echo("hidden at first");
w.Visible = true;
if (w.Visible) WScript.Echo("shown");

// == OutputWindow.Enable
var w = new ActiveXObject("TorvaneScriptDialog").CreateOutputWindow();
w.Enable = false;
if (!w.Enable) WScript.Echo("disabled");

// == OutputWindow.Text
var sd = new ActiveXObject("TorvaneScriptDialog");
var w = sd.CreateOutputWindow();
w.Visible = true;
for (var i = 1; i <= 3; i++) {
    w.Text = w.Text + "line " + i + "\r\n";
    sd.DoEvents();
}
WScript.Echo(w.Text.length, w.Text.substr(0, 6));

// == OutputWindow.PosX
var w = new ActiveXObject("TorvaneScriptDialog").CreateOutputWindow();
w.PosX = 40;
WScript.Echo(w.PosX);

// == OutputWindow.PosY
var w = new ActiveXObject("TorvaneScriptDialog").CreateOutputWindow();
w.PosY = 30;
WScript.Echo(w.PosY);

// == OutputWindow.Width
var w = new ActiveXObject("TorvaneScriptDialog").CreateOutputWindow();
w.Width = 300;
WScript.Echo(w.Width);

// == OutputWindow.Height
var w = new ActiveXObject("TorvaneScriptDialog").CreateOutputWindow();
w.Height = 200;
WScript.Echo(w.Height);

// == OutputWindow.Title
var w = new ActiveXObject("TorvaneScriptDialog").CreateOutputWindow();
w.Title = "Backup log";
WScript.Echo(w.Title);

// == OutputWindow.AppendText
var sd = new ActiveXObject("TorvaneScriptDialog");
var w = sd.CreateOutputWindow();
w.Visible = true;
for (var i = 1; i <= 3; i++) {
    w.AppendText("line " + i + "\r\n");
    sd.DoEvents();
}
w.AppendText("done");
WScript.Echo(w.Text.length, w.Text.substr(w.Text.length - 4));
