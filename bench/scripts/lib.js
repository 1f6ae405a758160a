// Shared by the JScript benchmarks (appended by bench/run.sh): times two
// loops in alternating repetitions and prints one table row.
function benchNow() { return new Date().getTime(); }

// a, b: functions running `n` calls each. Prints the median milliseconds per
// 1000 calls of each over `reps` repetitions, and the median ratio.
function benchRow(name, n, reps, a, b, peerName) {
    var ta = [], tb = [], ratios = [];
    a(Math.min(n, 1000)); b(Math.min(n, 1000));  // warm up
    for (var r = 0; r < reps; r++) {
        var t0 = benchNow(); a(n); var t1 = benchNow(); b(n); var t2 = benchNow();
        var x = Math.max(t1 - t0, 0.5), y = Math.max(t2 - t1, 0.5);
        ta.push(x * 1000 / n); tb.push(y * 1000 / n); ratios.push(x / y);
    }
    function median(v) { v.sort(function (p, q) { return p - q; }); return v[Math.floor(v.length / 2)]; }
    function fix(x) { var s = x.toFixed(3); while (s.length < 9) s = " " + s; return s; }
    var label = name + " vs " + peerName;
    while (label.length < 52) label += " ";
    WScript.Echo(label + " " + fix(median(ta)) + " " + fix(median(tb)) + " " + fix(median(ratios)) + "x");
}
