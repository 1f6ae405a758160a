// The Form object from JScript: definitions, values, the modified test, the
// two misuse errors and a modeless window that the script closes itself.
var sd = new ActiveXObject("TorvaneScriptDialog");
var f = sd.CreateForm();

var definingOnly = "\u30d5\u30a9\u30fc\u30e0\u3092\u5b9f\u884c\u4e2d\u306b\u5b9a\u7fa9\u3059\u308b" +
                   "\u3053\u3068\u306f\u3067\u304d\u307e\u305b\u3093";
var notRunning = "\u30d5\u30a9\u30fc\u30e0\u304c\u5b9f\u884c\u3055\u308c\u3066\u3044\u307e\u305b\u3093";

eq(f.DefineLabel("Please enter"), 0, "first index");
eq(f.DefineEdit("Name", "Taro"), 1, "edit index");
eq(f.DefineEdit("Memo", null, "3"), 2, "three-row edit");
eq(f.DefineButton("OK;Cancel"), 3, "buttons");
eq(f.DefineCheckButton("a;b;c", "101", 1), 4, "check group");
eq(f.DefineRadioButton("x;y", 1), 5, "radio group");
eq(f.DefineComboBox("Fruit", "kiwi", "apple;pear"), 6, "combo box");
eq(f.DefineDropdownList("Size", 2, "S;M;L"), 7, "drop-down list");
eq(f.DefineListBox("a;b;c", "2;0", 2, 1), 8, "list box");
eq(f.DefineEditButton("Find", "", "Go", 50), 9, "edit button");
eq(f.DefineFileEdit("File"), 10, "file edit");

eq(f.Value(1), "Taro", "edit value before composing");
eq(f(1), "Taro", "the default member reads Value");
eq(f.Value(3), "", "push buttons have no value");
eq(f.Value(64), "", "index 64");
eq(f.Value(-1), "", "index -1");
eq(f.IsModify(70), false, "IsModify outside the slots");
eq(f.IsModify(4), true, "a check group's baseline starts empty");
eq(f.IsModify(5), false, "radio group before composing");
f.Value(1, "Hanako");
eq(f.Value(1), "Hanako", "edit value written");
eq(f.IsModify(1), false, "a written value is not a modification");
eq(f.EnableForm, false, "EnableForm without a window");
f.EnableForm = true;

var e = throws(function () { f.DestroyForm(); }, "DestroyForm without a window");
if (e) eq(e.description, notRunning, "not-running description");
e = throws(function () { f.WaitEvent(); }, "WaitEvent without a window");
e = throws(function () { var x = f.Enable(1); }, "Enable without a window");

f.FormTitle = "Basics";
eq(f.ComposeForm(), 1, "composed");
eq(f.EnableForm, true, "EnableForm with a window");
e = throws(function () { f.DefineLabel("late"); }, "DefineLabel while composed");
if (e) eq(e.description, definingOnly, "defining-only description");
throws(function () { f.ClearAllControls(); }, "ClearAllControls while composed");
throws(function () { f.ComposeForm(); }, "ComposeForm twice");
throws(function () { f.ExecuteForm(); }, "ExecuteForm while composed");
eq(f.WaitEvent(), null, "nothing queued");
eq(f.WaitEvent(-5), null, "negative timeout");
eq(f.WaitEvent(1), null, "short timeout");
eq(f.Value(1), "Hanako", "value shown");
eq(f.Value(4), "101", "check digits");
eq(f.Value(5), "1", "radio selection");
eq(f.Value(6), "kiwi", "combo text");
eq(f.Value(7), "2", "drop-down selection");
eq(f.Value(8), "0;2", "list box selection, ascending");
eq(f.Enable(1), 1, "enabled");
eq(f.Enable(63), 0, "no item");
f.Value(8, "1");
eq(f.Value(8), "0;1;2", "selection added to");
f.DestroyForm();
eq(f.Value(8), "0;1;2", "list box value kept");
f.ClearAllControls();
eq(f.DefineLabel("again"), 0, "index 0 after ClearAllControls");
done();
