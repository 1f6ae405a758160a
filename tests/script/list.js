// The List object from JScript (the object that CreateList returns cannot be
// called from Wine's VBScript): storage, the default member, columns,
// ChangeTerminateChar and search, under code page 932 and 1252.
var sd = new ActiveXObject("TorvaneScriptDialog");
var l = sd.CreateList();

function all(list) {
    var out = [];
    for (var i = 0; i < list.Count; i++) out.push(list.Value(i));
    return out.join("|");
}

// A new list.
eq(l.Count, 0, "new list is empty");
eq(l.LastValue, null, "LastValue of an empty list is Null");
eq(l.Value(0), null, "Value(0) of an empty list is Null");
eq(l.RemoveHead(), -1, "RemoveHead on an empty list");
eq(l.RemoveTail(), -1, "RemoveTail on an empty list");
eq(l.ColSeparateChar, " \t", "initial separators");
eq(l.ColSeparateShortSpace, true, "short spaces are skipped at first");
eq(l.ColReturnNull, false, "ColReturnNull starts False");
l.ColReturnNull = true;
eq(l.ColReturnNull, true, "ColReturnNull is stored");

// Storage.
eq(l.AddTail("b"), 0, "AddTail returns 0");
eq(l.AddHead("a"), 0, "AddHead returns 0");
eq(l.Insert(5, "f"), 0, "Insert beyond the end returns 0");
eq(all(l), "a|b||||f", "Insert beyond the end fills with empty entries");
eq(l.Insert(-1, "neg"), -1, "Insert at a negative index does nothing");
eq(l.Count, 6, "count after the refused Insert");
eq(l(1), "b", "the object itself reads Value");
eq(l.Value(6), null, "Value past the end is Null");
eq(l.Value(-1), null, "Value at -1 is Null");
eq(l.Remove(7), 5, "Remove out of range returns count-1");
eq(l.Remove(2), 4, "Remove returns the new count-1");
eq(l.RemoveHead(), 3, "RemoveHead returns the new count-1");
eq(l.RemoveTail(), 2, "RemoveTail returns the new count-1");
eq(all(l), "b||", "entries after the removals");
l.Value(5, 12);
eq(l.Value(5), "12", "a number is stored as its text");
eq(l.Count, 6, "Value put extends the list");
l.Value(-1, "x");
eq(l.Count, 6, "Value put at -1 changes nothing");
l.Value(0, null);
eq(l.Value(0), "", "Null stores an empty entry");
// Only Value and LastValue take Null as text: the members whose text is
// required refuse it with a type mismatch and leave the list as it was.
var before = l.Count;
var refusals = [["AddTail", function () { l.AddTail(null); }], ["AddHead", function () { l.AddHead(null); }],
                ["Insert", function () { l.Insert(1, null); }], ["ColValue put", function () { l.ColValue(1, 0, null); }]];
for (var r = 0; r < refusals.length; r++) {
    var refused = throws(refusals[r][1], refusals[r][0] + " of Null fails");
    if (refused) eq(refused.number >>> 0, 0x80020005, refusals[r][0] + " of Null is a type mismatch");
}
eq(l.Count, before, "refused Nulls add nothing");
l.LastValue = "last";
eq(l.Value(5), "last", "LastValue put replaces the last entry");
eq(l.LastValue, "last", "LastValue get");
var e = throws(function () { l.Count = 3; }, "Count is read-only");
if (e) eq(e.description, "\u8aad\u307f\u53d6\u308a\u5c02\u7528\uff8c\uff9f\uff9b\uff8a\uff9f\uff83\uff68\u306b\u306f" +
          "\u66f8\u304d\u8fbc\u3081\u307e\u305b\u3093\u3002", "read-only description");
l.RemoveAll();
eq(l.Count, 0, "RemoveAll empties the list");
l.LastValue = "one";
eq(all(l), "one", "LastValue put on an empty list creates entry 0");

// Columns.
l.RemoveAll();
l.AddTail("a  b");
l.AddTail("");
l.AddTail("a\tb");
l.AddTail("a \tb");
eq(l.ColCount(0), 2, "two spaces are one separator with short-space skipping");
eq(l.ColCount(1), 1, "an empty entry has one field");
eq(l.ColCount(3), 3, "a tab after skipped spaces still ends a field");
eq(l.ColCount(9), 0, "ColCount out of range");
eq(l.ColValue(0, 1), "b", "ColValue");
eq(l.ColValue(0, 5), "", "ColValue beyond the fields");
eq(l.ColValue(0, -1), "", "ColValue of column -1");
l.ColSeparateShortSpace = false;
eq(l.ColCount(0), 3, "without skipping, two spaces make an empty field");
l.ColSeparateShortSpace = true;
l.ColValue(2, 0, "x");
eq(l.Value(2), "x b", "ColValue put joins with the first separator");
l.ColValue(1, 2, "z");
eq(l.Value(1), "  z", "ColValue put adds empty fields");
l.ColValue(-1, 0, "new");
eq(l.Value(4), "new", "ColValue put at -1 appends an entry");
l.ColValue(7, 0, "far");
eq(all(l), "a  b|  z|x b|a \tb|new|||far", "ColValue put beyond the end extends the list");
l.ColSeparateChar = "";
eq(l.ColCount(0), 0, "no separators: ColCount 0");
eq(l.ColValue(0, 0), "", "no separators: ColValue get is empty");
l.ColValue(2, 2, "+");
eq(l.Value(2), "x b+", "no separators: the new text is appended");
l.ColSeparateChar = " \t";

// ChangeTerminateChar.
l.RemoveAll();
eq(l.ChangeTerminateChar(0, -1, ","), false, "ChangeTerminateChar on an empty list");
l.AddTail(" a b");
l.AddTail("a  b");
eq(l.ChangeTerminateChar(1, 0, ","), true, "start after end is TRUE");
eq(all(l), " a b|a  b", "start after end changes nothing");
eq(l.ChangeTerminateChar(0, 0, ","), true, "ChangeTerminateChar");
eq(l.Value(0), "a,b", "leading empty fields vanish");
l.ColSeparateShortSpace = false;
l.ChangeTerminateChar(1, 1, ",");
eq(l.Value(1), "a,,b", "empty fields inside keep their separators");
eq(l.ChangeTerminateChar(0, -1, ",", true), true, "make default");
eq(l.ColSeparateChar, ",", "make default sets the separators");
eq(l.ColCount(1), 3, "the new separator splits");
l.ChangeTerminateChar(0, -1, "|", "no");
eq(l.ColSeparateChar, ",", "an unconvertible make-default leaves the setting");
eq(l.Value(1), "a||b", "entries rejoined with the new separator");
l.ColSeparateChar = " \t";
l.ColSeparateShortSpace = true;

// Find and FindCol.
l.RemoveAll();
l.AddTail("");
l.AddTail("cab");
l.AddTail("abc");
l.AddTail("ab");
l.AddTail("x ab");
eq(l.Find(0, -1, "ab"), 1, "Find anywhere");
eq(l.Find(0, -1, "ab", 1), 2, "Find prefix");
eq(l.Find(0, -1, "ab", 2), 3, "Find exact");
eq(l.Find(0, -1, "ab", "2"), 3, "mode from a string");
eq(l.Find(0, -1, "ab", "two"), 1, "unconvertible mode is 0");
eq(l.Find(0, -1, "ab", null), 1, "Null mode is 0");
eq(l.Find(2, 1, "ab"), -1, "start after end");
eq(l.Find(0, -1, "AB"), -1, "case-sensitive");
eq(l.Find(0, -1, "", 2), 0, "empty text, exact: the empty entry");
eq(l.FindCol(0, -1, 1, "ab", 2), 4, "FindCol exact");
eq(l.FindCol(0, -1, 1, "", 2), 0, "FindCol beyond the fields compares an empty text");
// An empty subject contains nothing under a double-byte code page; under a
// single-byte one the plain byte search finds the empty text in it.
eq(l.Find(0, -1, ""), cp932() ? 1 : 0, "empty text, mode 0");
eq(l.FindCol(0, -1, 5, "", 1), cp932() ? -1 : 0, "empty text in missing fields, mode 1");

if (cp932()) {
    // U+30BD is 0x83 0x5C: its trail byte is the backslash. U+30A2 is
    // 0x83 0x41: its trail byte is "A".
    var j = sd.CreateList();
    j.ColSeparateChar = "\\";
    j.AddTail("\u30bd");
    j.AddTail("\u30bd\\\u65e5\u672c");
    j.AddTail("\u30a2\u30a2");
    eq(j.ColCount(0), 1, "a trail byte never separates");
    eq(j.ColCount(1), 2, "the backslash after a double-byte character separates");
    eq(j.ColValue(1, 1), "\u65e5\u672c", "Japanese field");
    eq(j.Find(0, -1, "\\"), 1, "a trail byte is not found as a backslash");
    eq(j.Find(0, -1, "A"), -1, "a trail byte is not found as A");
    eq(j.Find(0, -1, "\u672c", 0), 1, "Japanese text found");
    eq(j.FindCol(0, -1, 1, "\u65e5", 1), 1, "Japanese prefix in a column");
    j.ColValue(0, 1, "\u30bd");
    eq(j.Value(0), "\u30bd\\\u30bd", "ColValue put keeps double-byte characters");
    j.ChangeTerminateChar(0, -1, "\u30fb");
    eq(j.Value(1), "\u30bd\u30fb\u65e5\u672c", "a Japanese separator");
    j.ColSeparateChar = "\u30bd ";
    eq(j.ColCount(1), 1, "a double-byte character in the setting separates nothing");
    j.ColValue(2, 1, "y");
    eq(j.Value(2), "\u30a2\u30a2 y", "the joiner is the first single-byte separator");
} else {
    // Under 1252 the same bytes are two characters: 0x83 is U+0192.
    var w = sd.CreateList();
    w.ColSeparateChar = "\\";
    w.AddTail("\u0192\\");
    eq(w.ColCount(0), 2, "single-byte code page: 0x5C always separates");
    eq(w.Find(0, -1, "\\"), 0, "single-byte code page: the backslash is found");
    w.Value(1, "\u00e9t\u00e9");
    eq(w.Find(0, -1, "t\u00e9", 2), -1, "exact match needs the whole entry");
    eq(w.Find(0, -1, "t\u00e9", 0), 1, "accented text found");
}

done();
