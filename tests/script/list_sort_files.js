// Sort, LoadFile, SaveFile and enumeration of the List from JScript, as a
// script author writes them (Wine's VBScript cannot call the List, so For
// Each is tested here through JScript's Enumerator, which asks the same
// _NewEnum).
var sd = new ActiveXObject("TorvaneScriptDialog");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var l = sd.CreateList();

function all(list) {
    var out = [];
    for (var i = 0; i < list.Count; i++) out.push(list.Value(i));
    return out.join("|");
}
function fill(list, texts) {
    list.RemoveAll();
    for (var i = 0; i < texts.length; i++) list.AddTail(texts[i]);
}

// Sort.
fill(l, ["pear", "Apple", "10", "9", "banana"]);
eq(l.Sort(), true, "Sort returns True");
eq(all(l), "10|9|Apple|banana|pear", "text order");
eq(l.Sort(-1, 3), true, "numbers, descending");
eq(all(l), "pear|banana|Apple|10|9", "descending is the reverse: texts first, then numbers");
eq(l.Sort(-1, 2), true, "numbers");
eq(all(l), "9|10|Apple|banana|pear", "numbers first, in value order");
fill(l, ["x 3", "y 1", "z 2"]);
eq(l.Sort(1, 2), true, "by column 1");
eq(all(l), "y 1|z 2|x 3", "ordered by the second field");
eq(l.Sort(0, 8), false, "an unknown mode bit is refused");
eq(l.Sort(-2), false, "a column below -1 is refused");
eq(l.Sort("first"), false, "a column that is no number is refused");
eq(all(l), "y 1|z 2|x 3", "a refused sort changes nothing");
// An argument whose valueOf empties the list: the sort sees the empty list.
eq(l.Sort({ valueOf: function () { l.RemoveAll(); return 0; } }), true, "Sort after valueOf");
eq(l.Count, 0, "the list the valueOf left");

// Enumerator over a snapshot.
fill(l, ["a", "b", "c"]);
var seen = [];
for (var e = new Enumerator(l); !e.atEnd(); e.moveNext()) {
    seen.push(e.item());
    l.RemoveAll();  // changing the list inside the loop is safe
}
eq(seen.join("|"), "a|b|c", "Enumerator walks the entries as they were");
var none = new Enumerator(sd.CreateList());
eq(none.atEnd(), true, "an empty list's Enumerator is at its end");
eq(typeof new Enumerator(l).item(), "undefined", "item past the end");

// Files.
var path = fso.GetAbsolutePathName("list.txt");
fill(l, ["one", "two", ""]);
eq(l.SaveFile(path), true, "SaveFile");
eq(fso.GetFile(path).Size, 12, "ANSI, each entry followed by CR LF");
var back = sd.CreateList();
back.AddTail("old");
eq(back.LoadFile(path), 3, "LoadFile returns the count");
eq(all(back), "one|two|", "the entries back");
eq(l.SaveFile(path, "utf-16le", "\n"), true, "SaveFile as UTF-16LE");
var t = fso.OpenTextFile(path, 1, false, -1);
eq(t.ReadAll(), "one\ntwo\n\n", "UTF-16 text other programs read");
t.Close();
eq(back.LoadFile(path), 3, "the mark decides");
eq(all(back), "one|two|", "the entries from UTF-16");
eq(back.LoadFile(fso.GetAbsolutePathName("missing.txt")), -1, "a missing file");
eq(all(back), "one|two|", "a failed LoadFile keeps the list");
eq(back.LoadFile(path, "klingon"), -1, "an unknown encoding");
eq(back.SaveFile(fso.GetAbsolutePathName(".") + "\\no\\such\\dir.txt"), false, "a folder that does not exist");
if (cp932()) {
    fill(l, ["\u8868", "\u30bd"]);
    eq(l.SaveFile(path, "utf-8"), true, "UTF-8 without a mark");
    eq(fso.GetFile(path).Size, 10, "two three-byte characters and two line ends");
    eq(back.LoadFile(path), 2, "valid UTF-8 is read as UTF-8");
    eq(all(back), "\u8868|\u30bd", "Japanese text through UTF-8");
}
done();
