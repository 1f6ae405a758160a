// The examples of docs/reference.md in JScript, one section per member (each
// section starts with "// == Object.Member" and prints what the reference
// shows). Run a section on its own: copy it into a .js file and run it with
// cscript //nologo.

// == List.Count
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
WScript.Echo(l.Count);
l.AddTail("a"); l.AddTail("b");
WScript.Echo(l.Count);

// == List.Value
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.Value(2, 12);
WScript.Echo(l.Count, "[" + l.Value(0) + "]", l(2));
if (l.Value(5) === null) WScript.Echo("no entry 5");
l.Value(0, true);
WScript.Echo(l(0));
l.Value(2, null);
WScript.Echo("[" + l(2) + "]");

// == List.LastValue
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
if (l.LastValue === null) WScript.Echo("empty");
l.LastValue = "one";
l.AddTail("two");
l.LastValue = "three";
WScript.Echo(l.Count, l.Value(0), l.Value(1));

// == List.AddHead
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddHead("b");
l.AddHead("a");
WScript.Echo(l.Value(0), l.Value(1));

// == List.AddTail
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
WScript.Echo(l.AddTail("a"));
l.AddTail("b");
WScript.Echo(l.Count, l.LastValue);
try {
    l.AddTail(null);
} catch (e) {
    if (e.number == -2147352571) WScript.Echo("Null refused:", l.Count);
}
var value = null;
l.AddTail(value == null ? "" : value);
WScript.Echo(l.Count);

// == List.Insert
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a"); l.AddTail("c");
l.Insert(1, "b");
WScript.Echo(l.Value(0), l.Value(1), l.Value(2));
l.Insert(5, "f");
WScript.Echo(l.Count, l.Value(5));
WScript.Echo(l.Insert(-1, "x"), l.Count);

// == List.RemoveHead
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a"); l.AddTail("b");
WScript.Echo(l.RemoveHead(), l.Value(0));
WScript.Echo(l.RemoveHead(), l.RemoveHead());

// == List.RemoveTail
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a"); l.AddTail("b"); l.AddTail("c");
WScript.Echo(l.RemoveTail(), l.LastValue);

// == List.Remove
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a"); l.AddTail("b"); l.AddTail("c");
WScript.Echo(l.Remove(7), l.Count);
WScript.Echo(l.Remove(1), l.Value(0), l.Value(1));

// == List.RemoveAll
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a"); l.AddTail("b");
l.RemoveAll();
WScript.Echo(l.Count);

// == List.ColSeparateChar
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a,b;c");
l.ColSeparateChar = ",;";
WScript.Echo(l.ColCount(0), l.ColValue(0, 2));
l.ColValue(0, 1, "B");
WScript.Echo(l(0));

// == List.ColSeparateShortSpace
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a  b");
WScript.Echo(l.ColCount(0));
l.ColSeparateShortSpace = false;
WScript.Echo(l.ColCount(0));

// == List.ColReturnNull
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.ColReturnNull = true;
if (l.ColReturnNull) WScript.Echo("stored");

// == List.ColCount
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("name  size\tdate");
l.AddTail("");
WScript.Echo(l.ColCount(0), l.ColCount(1), l.ColCount(2));

// == List.ColValue
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("apple\t3");
WScript.Echo(l.ColValue(0, 0), l.ColValue(0, 1), "[" + l.ColValue(0, 5) + "]");
l.ColValue(0, 1, "5");
l.ColValue(0, 3, "red");
WScript.Echo("[" + l.Value(0) + "]");

// == List.ChangeTerminateChar
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a b c");
l.AddTail(" x  y");
if (l.ChangeTerminateChar(0, -1, ",", true)) WScript.Echo(l.Value(0), l.Value(1));
WScript.Echo(l.ColSeparateChar, l.ColCount(0));

// == List.Find
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("cab"); l.AddTail("abc"); l.AddTail("ab");
WScript.Echo(l.Find(0, -1, "ab"), l.Find(0, -1, "ab", 1), l.Find(0, -1, "ab", 2));
WScript.Echo(l.Find(1, -1, "cab"), l.Find(2, 1, "ab"));
WScript.Echo(l.Find(0, -1, "ab", 7));

// == List.FindCol
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("apple 3");
l.AddTail("pear 5");
l.AddTail("plum 5");
WScript.Echo(l.FindCol(0, -1, 1, "5", 2), l.FindCol(2, -1, 1, "5", 2), l.FindCol(0, -1, 0, "x"));

// == List.Sort
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("pear 3"); l.AddTail("Apple 10"); l.AddTail("fig 2");
if (l.Sort()) WScript.Echo(l(0) + ", " + l(1) + ", " + l(2));
l.Sort(1, 2);
WScript.Echo(l(0) + ", " + l(1) + ", " + l(2));
l.Sort(1, 3);
WScript.Echo(l(0) + ", " + l(1) + ", " + l(2));
if (!l.Sort(0, 8)) WScript.Echo("mode 8 refused");

// == List.LoadFile
var fso = new ActiveXObject("Scripting.FileSystemObject");
var f = fso.CreateTextFile("in.txt", true);
f.Write("alpha\r\nbeta\n\ngamma\r\n");
f.Close();
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
WScript.Echo(l.LoadFile("in.txt"), "[" + l(2) + "]", l(3));
WScript.Echo(l.LoadFile("missing.txt"), l.Count);

// == List.SaveFile
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("one"); l.AddTail("two");
if (l.SaveFile("out.txt", "utf-16le", "\n")) WScript.Echo("saved");
var fso = new ActiveXObject("Scripting.FileSystemObject");
WScript.Echo(fso.GetFile("out.txt").Size);
if (!l.SaveFile("no\\such\\folder\\out.txt")) WScript.Echo("not saved");

// == List._NewEnum
var l = new ActiveXObject("TorvaneScriptDialog").CreateList();
l.AddTail("a"); l.AddTail("b"); l.AddTail("c");
for (var e = new Enumerator(l); !e.atEnd(); e.moveNext()) {
    WScript.Echo(e.item());
    l.RemoveAll();
}
WScript.Echo(l.Count);
