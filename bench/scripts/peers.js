// The List from JScript against Scripting.Dictionary and JScript arrays
// doing the same work.
var sd = new ActiveXObject("TorvaneScriptDialog");
var quick = WScript.Arguments.length > 0;
var N = quick ? 1000 : 100000, REPS = quick ? 3 : 7, SEARCHES = quick ? 2 : 40;
var list = sd.CreateList(), dict = new ActiveXObject("Scripting.Dictionary"), arr = [];
var texts = [];
for (var i = 0; i < 1024; i++) texts.push("item" + (10000000 + i * 7919 % 10000000).toString().substring(1));

// Text keys, made beforehand: Wine's Dictionary takes distinct numeric keys
// for the same key after a few hundred of them.
var keys = [];
for (var i = 0; i < Math.max(N, 1024); i++) keys.push("k" + i);

benchHead("List from JScript against Scripting.Dictionary (text keys) and JScript arrays, microseconds per call");
benchRow("JS List.AddTail(text)", N, REPS,
         function (n) { list.RemoveAll(); for (var i = 0; i < n; i++) list.AddTail(texts[i & 1023]); },
         function (n) { dict = new ActiveXObject("Scripting.Dictionary"); for (var i = 0; i < n; i++) dict.Add(keys[i], texts[i & 1023]); },
         "Dictionary.Add(key, text)");
benchRow("JS List.AddTail(text)", N, REPS,
         function (n) { list.RemoveAll(); for (var i = 0; i < n; i++) list.AddTail(texts[i & 1023]); },
         function (n) { arr = []; for (var i = 0; i < n; i++) arr.push(texts[i & 1023]); },
         "array.push(text)");

// N entries in each for the reads.
list.RemoveAll(); dict = new ActiveXObject("Scripting.Dictionary"); arr = [];
for (var i = 0; i < N; i++) { list.AddTail(texts[i & 1023]); dict.Add(keys[i], texts[i & 1023]); arr.push(texts[i & 1023]); }
var v;
benchRow("JS List.Value(i)", N, REPS, function (n) { for (var i = 0; i < n; i++) v = list.Value(i); },
         function (n) { for (var i = 0; i < n; i++) v = dict.Item(keys[i]); }, "Dictionary.Item(key)");
benchRow("JS List.Value(i)", N, REPS, function (n) { for (var i = 0; i < n; i++) v = list.Value(i); },
         function (n) { for (var i = 0; i < n; i++) v = arr[i]; }, "array[i]");

// Searches where nothing matches: every entry is looked at.
var label = "JS List.Find over " + N + " entries (per search)";
benchRow(label, SEARCHES, REPS, function (n) { for (var k = 0; k < n; k++) v = list.Find(0, -1, "zz9"); },
         function (n) {
             for (var k = 0; k < n; k++) {
                 v = -1;
                 for (var i = 0; i < arr.length; i++) if (arr[i].indexOf("zz9") >= 0) { v = i; break; }
             }
         }, "loop of indexOf over an array", quick ? 1 : 3);
var joined = "\n" + arr.join("\n") + "\n";
benchRow(label, SEARCHES, REPS, function (n) { for (var k = 0; k < n; k++) v = list.Find(0, -1, "zz9"); },
         function (n) { for (var k = 0; k < n; k++) v = joined.indexOf("zz9"); }, "indexOf on the joined text");
var keyed = new ActiveXObject("Scripting.Dictionary");
for (var i = 0; i < N; i++) keyed.Add(keys[i], i);
// Repeated equality searches of an unchanged list are answered from its
// index (the warm-up's second search builds it).
benchRow("JS List.Find(.., 2) (equals) over " + N, SEARCHES * 1000, REPS,
         function (n) { for (var k = 0; k < n; k++) v = list.Find(0, -1, "zz9", 2); },
         function (n) { for (var k = 0; k < n; k++) v = keyed.Exists("zz9"); }, "Dictionary.Exists (hashed)");

// Columns.
var rows = sd.CreateList(), split = [], cols = new ActiveXObject("Scripting.Dictionary");
rows.ColSeparateChar = ",";
for (var i = 0; i < 1024; i++) { rows.AddTail("alpha,beta" + i + ",gamma"); split.push("alpha,beta" + i + ",gamma"); cols.Add(keys[i], "alpha,beta" + i + ",gamma"); }
benchRow("JS List.ColValue(i, 1)", N, REPS, function (n) { for (var i = 0; i < n; i++) v = rows.ColValue(i & 1023, 1); },
         function (n) { for (var i = 0; i < n; i++) v = split[i & 1023].split(",")[1]; }, "array[i].split(\",\")[1]");
benchRow("JS List.ColValue(i, 1)", N, REPS, function (n) { for (var i = 0; i < n; i++) v = rows.ColValue(i & 1023, 1); },
         function (n) { for (var i = 0; i < n; i++) v = cols.Item(keys[i & 1023]).split(",")[1]; },
         "Dictionary.Item(key).split(\",\")[1]");
WScript.Echo("END");
