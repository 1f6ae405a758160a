// Script objects as arguments of the List members: their valueOf (read when
// the library converts them) changes the list in the middle of the call, and
// each member works on the list as that code left it.
var sd = new ActiveXObject("TorvaneScriptDialog"), l = sd.CreateList();

function fill(n) {
    l.RemoveAll();
    for (var i = 0; i < n; i++) l.AddTail("entry" + i);
}
function all() {
    var out = [];
    for (var i = 0; i < l.Count; i++) out.push(l.Value(i));
    return out.join("|");
}
// An object whose valueOf runs `action`, then answers `value`.
function code(action, value) {
    return { valueOf: function () { action(); return value; }, toString: function () { action(); return String(value); } };
}
function emptyIt() { l.RemoveAll(); }

fill(3000);
eq(l.Find(0, -1, "zzz", code(emptyIt, 0)), -1, "Find on a list emptied by its mode");
eq(l.Count, 0, "the mode emptied the list");
fill(3000);
eq(l.Find(0, -1, "entry2999", code(emptyIt, 2)), -1, "exact Find on a list emptied by its mode");
fill(3000);
eq(l.FindCol(0, -1, 0, "zzz", code(emptyIt, 0)), -1, "FindCol on a list emptied by its mode");
fill(3000);
eq(l.Find(0, 2999, "entry2048", code(function () { while (l.Count > 1000) l.RemoveTail(); }, 2)), -1,
   "Find on a list shrunk by its mode");
eq(l.Count, 1000, "the mode shrank the list");
eq(l.Find(0, -1, "late", code(function () { l.AddTail("late"); }, 2)), 1000, "an entry the mode added is found");

fill(1);
l.Value(0, "a b");
eq(l.ChangeTerminateChar(0, -1, ",", code(function () { l.AddTail("c d"); }, 1)), true,
   "ChangeTerminateChar with an entry added by its flag");
eq(all(), "a,b|c,d", "the added entry is rejoined too");
eq(l.ChangeTerminateChar(0, -1, ";", code(emptyIt, 1)), false, "ChangeTerminateChar on a list emptied by its flag");
eq(l.ColSeparateChar, ",", "the setting stays when nothing was changed");

fill(3);
l.LastValue(code(emptyIt, "v"));
eq(all(), "v", "LastValue put after its value emptied the list");
fill(3);
l.LastValue(code(function () { l.RemoveTail(); }, "w"));
eq(all(), "entry0|w", "LastValue put after its value removed the last entry");
l.Value(3, code(emptyIt, "z"));
eq(all(), "|||z", "Value put after its value emptied the list");

done();
