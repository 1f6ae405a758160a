// The examples of docs/reference.md in JScript, one section per member (each
// section starts with "// == Object.Member" and prints what the reference
// shows). Run a section on its own: copy it into a .js file and run it with
// cscript //nologo.

// == Form.DefineLabel
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineLabel("Step 1 of 3");
WScript.Echo(i, f.Value(i));

// == Form.DefineEdit
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineEdit("Name", "Taro");
var j = f.DefineEdit("Notes", "", 3);
WScript.Echo(i, j, f.Value(i), "[" + f.Value(j) + "]");

// == Form.DefineEditButton
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineEditButton("Code", "A-100", "Check", 50);
WScript.Echo(i, f.Value(i));

// == Form.DefineFileEdit
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineFileEdit("Input", "C:\\data\\in.csv", "...", 0, "CSV|*.csv|");
WScript.Echo(i, f.Value(i));

// == Form.DefineButton
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
f.DefineEdit("Name");
var i = f.DefineButton("OK;Cancel", 100);
WScript.Echo(i, "[" + f.Value(i) + "]");

// == Form.DefineCheckButton
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineCheckButton("Bold;Italic;Underline", "010", true);
WScript.Echo(i, f.Value(i));

// == Form.DefineRadioButton
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineRadioButton("Small;Medium;Large", 1, true);
WScript.Echo(i, f.Value(i));

// == Form.DefineComboBox
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineComboBox("Colour", "green", "red;blue");
WScript.Echo(i, f.Value(i));

// == Form.DefineDropdownList
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineDropdownList("Size", 2, "S;M;L");
var j = f.DefineDropdownList("Unit", null, "mm;cm");
WScript.Echo(f.Value(i), f.Value(j));

// == Form.DefineListBox
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineListBox("Tokyo;Osaka;Nagoya;Sapporo", "0;2", 4, true);
WScript.Echo(i, f.Value(i));

// == Form.ClearAllControls
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
f.DefineLabel("a");
f.DefineLabel("b");
f.ClearAllControls();
WScript.Echo(f.DefineLabel("c"), f.Value(0));

// == Form.ComposeForm
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
f.DefineLabel("Working...");
WScript.Echo(f.ComposeForm());
f.DestroyForm();

// == Form.WaitEvent
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
f.DefineLabel("Press Esc to stop");
var stopIndex = f.DefineButton("Stop");
f.ComposeForm();
for (var n = 1; n <= 3; n++) {
    var e = f.WaitEvent(10);
    if (e !== null && (e == -1 || e == stopIndex)) break;
}
f.DestroyForm();
WScript.Echo("stopped after", n - 1, "rounds");

// == Form.DestroyForm
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineEdit("Name", "Hanako");
f.ComposeForm();
f.Value(i, "Jiro");
f.DestroyForm();
WScript.Echo(f.Value(i));
try { f.DestroyForm(); } catch (e) { WScript.Echo("no window to destroy"); }

// == Form.Value
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineEdit("Name");
f.Value(i, "Saburo");
WScript.Echo(f.Value(i), f(i), "[" + f.Value(64) + "]");

// == Form.Enable
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineEdit("Name");
f.ComposeForm();
WScript.Echo(f.Enable(i));
f.Enable(i, 0);
WScript.Echo(f.Enable(i));
f.DestroyForm();

// == Form.IsModify
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
var i = f.DefineEdit("Name", "Taro");
if (!f.IsModify(i)) WScript.Echo("unchanged");

// == Form.FormTitle
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
f.FormTitle = "Settings";
WScript.Echo(f.FormTitle);

// == Form.EnableForm
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
f.DefineLabel("Please wait");
if (!f.EnableForm) WScript.Echo("no window yet");
f.ComposeForm();
f.EnableForm = false;
if (!f.EnableForm) WScript.Echo("disabled");
f.DestroyForm();

// == Form.AcceptDropFile
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
f.AcceptDropFile = 1;
f.DefineLabel("Drop files here");
WScript.Echo(f.AcceptDropFile);

// == Form.DropFiles
var f = new ActiveXObject("TorvaneScriptDialog").CreateForm();
WScript.Echo("[" + f.DropFiles + "]");
f.DropFiles = "C:\\a.txt;C:\\b.txt";
WScript.Echo(f.DropFiles.split(";").length);
