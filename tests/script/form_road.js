// The road of a script: an edit field and OK/Cancel buttons, executed
// modally; a helper program acts as the user (types, clicks OK); the script
// reads the value and the modified flag back.
var sd = new ActiveXObject("TorvaneScriptDialog");
var shell = new ActiveXObject("WScript.Shell");
var dll = String(shell.RegRead("HKCR\\CLSID\\{B622E810-2DAB-4772-B019-EF507E01F324}\\InprocServer32\\"));
var helper = dll.substring(0, dll.lastIndexOf("\\") + 1) + "form_user.exe";

var f = sd.CreateForm();
f.FormTitle = "Road test";
var edit = f.DefineEdit("Name", "start");
var buttons = f.DefineButton("OK;Cancel", 100);
eq(edit, 0, "edit index");
eq(buttons, 1, "button index");

shell.Run("\"" + helper + "\" \"Road test\" \"typed by the user\" OK", 0, false);
eq(f.ExecuteForm(), 100, "OK ends the run with the first event value");
eq(f.Value(edit), "typed by the user", "the edit value after the run");
eq(f.IsModify(edit), true, "changed by the user");
eq(f.EnableForm, false, "no window after the run");
throws(function () { f.WaitEvent(); }, "WaitEvent after the run");

// Cancel this time, with a value written before the run.
f.Value(edit, "second");
eq(f.IsModify(edit), false, "written value is the baseline");
shell.Run("\"" + helper + "\" \"Road test\" \"second\" Cancel", 0, false);
eq(f.ExecuteForm(), 101, "Cancel gives the second value");
eq(f.IsModify(edit), false, "same text as written");
done();
