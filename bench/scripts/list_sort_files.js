// List.Sort and List.LoadFile from JScript against JScript's own work on the
// same texts: Array.prototype.sort of an array, and a loop of the
// file-system object's ReadLine with AddTail. Each repetition starts from the
// same unsorted texts (loaded untimed); times are milliseconds per sort or
// per load.
var sd = new ActiveXObject("TorvaneScriptDialog");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var quick = WScript.Arguments.length > 0;
var REPS = quick ? 1 : 3;
var base = fso.GetSpecialFolder(2).Path + "\\torvane-bench-sort-" + Math.floor(Math.random() * 1000000);
fso.CreateFolder(base);

// Texts in a fixed pseudo-random order, as a file the list loads untimed.
function texts(n) {
    var out = [], x = 12345;
    for (var i = 0; i < n; i++) {
        x = (x * 1103515245 + 12345) % 2147483648;
        out.push("item" + x.toString(36));
    }
    return out;
}
function writeLines(path, lines) {
    var f = fso.CreateTextFile(path, true);
    f.Write(lines.join("\r\n") + "\r\n");
    f.Close();
}

// One row: `a` and `b` each timed after their untimed `prepareA`/`prepareB`,
// in alternating repetitions; milliseconds, or per unit of work when `ua`
// and `ub` give each side's units per millisecond figure (lines / 1000 for
// microseconds per line).
function msRow(name, peer, reps, prepareA, a, prepareB, b, ua, ub) {
    var ta = [], tb = [], ratios = [];
    for (var r = 0; r < reps; r++) {
        prepareA(); var t0 = benchNow(); a(); var t1 = benchNow();
        prepareB(); var t2 = benchNow(); b(); var t3 = benchNow();
        var x = Math.max(t1 - t0, 0.5) / (ua || 1), y = Math.max(t3 - t2, 0.5) / (ub || 1);
        ta.push(x); tb.push(y); ratios.push(x / y);
    }
    var sa = benchSummary(ta), sb = benchSummary(tb), sr = benchSummary(ratios);
    WScript.Echo(["ROW", name, peer, ua ? "us" : "ms", benchNumber(sa[0]), benchNumber(sa[1]), benchNumber(sa[2]),
                  benchNumber(sb[0]), benchNumber(sb[1]), benchNumber(sb[2]), sr[0].toFixed(3)].join("\t"));
}

benchHead("List.Sort and List.LoadFile from JScript, milliseconds per sort or load");
var list = sd.CreateList(), arr, copy;
var sizes = quick ? [1000, 10000] : [100000, 1000000];
for (var k = 0; k < sizes.length; k++) {
    var n = sizes[k], src = texts(n), path = base + "\\sort" + n + ".txt";
    writeLines(path, src);
    msRow("JS List.Sort() of " + n + " entries (locale order)", "array.sort() (code units)", REPS,
          function () { list.LoadFile(path); }, function () { list.Sort(); },
          function () { copy = src.slice(); }, function () { copy.sort(); });
}

// Ignoring case: a sort with a compare function (Wine's JScript has no
// localeCompare) costs seconds per 10^4 texts, so this row is smaller.
var m = quick ? 1000 : 10000, few = texts(m), fewPath = base + "\\few.txt";
writeLines(fewPath, few);
msRow("JS List.Sort(-1, 4) of " + m + " entries (ignore case)", "array.sort(lower-cased compare)", REPS,
      function () { list.LoadFile(fewPath); }, function () { list.Sort(-1, 4); },
      function () { copy = few.slice(); },
      function () {
          copy.sort(function (p, q) {
              var x = p.toLowerCase(), y = q.toLowerCase();
              return x < y ? -1 : x > y ? 1 : 0;
          });
      });

// Loading: the List reads 10^6 lines; the script loop, about a hundred times
// slower per line, reads 10^5 (times per line, both linear in the lines).
var lines = quick ? 10000 : 1000000, loopLines = quick ? 1000 : 100000;
var linesPath = base + "\\lines.txt", loopPath = base + "\\loop.txt";
var lineTexts = texts(lines);
writeLines(linesPath, lineTexts);
writeLines(loopPath, lineTexts.slice(0, loopLines));
msRow("JS List.LoadFile of " + lines + " lines (us per line)", "ReadLine + AddTail, " + loopLines + " lines", REPS,
      function () { list.RemoveAll(); }, function () { list.LoadFile(linesPath); },
      function () { list.RemoveAll(); },
      function () {
          var f = fso.OpenTextFile(loopPath, 1);
          while (!f.AtEndOfStream) list.AddTail(f.ReadLine());
          f.Close();
      }, lines / 1000, loopLines / 1000);
list.RemoveAll();
fso.DeleteFolder(base, true);
WScript.Echo("END");
