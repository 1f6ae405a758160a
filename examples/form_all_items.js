// Every kind of form item, shown modelessly for up to five seconds (or until
// a push button, Esc or the close box), then every value read back.
var sd = new ActiveXObject("TorvaneScriptDialog");
var f = sd.CreateForm();
f.FormTitle = "Every item kind";
f.AcceptDropFile = 1;

var items = [
    ["Label", f.DefineLabel("Every item kind; drop files here too.")],
    ["Edit", f.DefineEdit("Edit", "text")],
    ["Multi-line edit", f.DefineEdit("Notes", "line one", 3)],
    ["Edit button", f.DefineEditButton("Search", "", "Find", 50)],
    ["File edit", f.DefineFileEdit("File", "", "Browse...", 0, "Text files|*.txt|")],
    ["Check boxes", f.DefineCheckButton("Bold;Italic;Underline", "100", 1)],
    ["Toggle buttons", f.DefineCheckButton("A;B;C", "010")],
    ["Radio buttons", f.DefineRadioButton("Small;Medium;Large", 1)],
    ["Combo box", f.DefineComboBox("Fruit", "kiwi", "apple;pear;plum")],
    ["Drop-down list", f.DefineDropdownList("Size", 0, "S;M;L")],
    ["List box", f.DefineListBox("red;green;blue;white", "1;3", 3, 1)],
    ["Push buttons", f.DefineButton("OK;Cancel", 100)]
];

f.ComposeForm();
var ev, events = [];
for (var i = 0; i < 10; i++) {
    ev = f.WaitEvent(50);
    if (ev === null) continue;
    events.push(ev);
    if (ev === 100 || ev === 101 || ev === -1) break;
}
f.DestroyForm();

WScript.Echo("Events: " + (events.length ? events.join(", ") : "none"));
for (var k = 0; k < items.length; k++) {
    var index = items[k][1];
    WScript.Echo(items[k][0] + " (index " + index + "): \"" + f.Value(index) + "\"" +
                 (f.IsModify(index) ? ", changed" : ""));
}
WScript.Echo("Dropped files: \"" + f.DropFiles + "\"");
