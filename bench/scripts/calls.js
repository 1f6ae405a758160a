// Late-bound calls from JScript: the library against the floor object.
var sd = new ActiveXObject("TorvaneScriptDialog");
var floor = new ActiveXObject("TorvaneBench.Floor");
var N = WScript.Arguments.length ? 1000 : 100000, REPS = WScript.Arguments.length ? 3 : 7;
benchHead("JScript calls, microseconds per call");
var v;
benchRow("JS TickCount", N, REPS, function (n) { for (var i = 0; i < n; i++) sd.TickCount; },
         function (n) { for (var i = 0; i < n; i++) floor.TickCount; }, "floor");
benchRow("JS IntS(123456, 10)", N, REPS, function (n) { for (var i = 0; i < n; i++) sd.IntS(123456, 10); },
         function (n) { for (var i = 0; i < n; i++) floor.IntS(123456, 10); }, "floor");
var list = null;
try { list = sd.CreateList(); } catch (e) { }
if (list) {
    benchRow("JS List.AddTail", N, REPS, function (n) { for (var i = 0; i < n; i++) list.AddTail("abc,def"); },
             function (n) { for (var i = 0; i < n; i++) floor.AddTail("abc,def"); }, "floor");
    benchRow("JS List.Value(i)", N, REPS, function (n) { for (var i = 0; i < n; i++) v = list.Value(i & 1023); },
             function (n) { for (var i = 0; i < n; i++) v = floor.Value(i & 1023); }, "floor");
} else {
    benchNote("JS List: CreateList not available");
}
WScript.Echo("END");
