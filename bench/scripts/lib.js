// Shared by the JScript benchmarks (appended by bench/run.sh): times two
// loops in alternating repetitions and prints one table row as a
// tab-separated record for bench/format_table.awk.
function benchNow() { return new Date().getTime(); }

function benchHead(text) { WScript.Echo("HEAD\t" + text); }
function benchNote(text) { WScript.Echo("NOTE\t" + text); }

function benchNumber(x) { return x.toPrecision(4); }

function benchSummary(v) {
    v.sort(function (p, q) { return p - q; });
    return [v[Math.floor(v.length / 2)], v[0], v[v.length - 1]];
}

// a, b: functions running `n` calls each. Prints the median microseconds per
// call of each over `reps` repetitions with the lowest and highest
// repetition, and the median ratio of the times per call. b may be null: a
// alone is timed. nb: how many calls b runs (default n), for a peer much
// faster per call than the clock's millisecond.
function benchRow(name, n, reps, a, b, peerName, nb) {
    var ta = [], tb = [], ratios = [];
    if (!nb) nb = n;
    a(Math.min(n, 1000)); if (b) b(Math.min(nb, 1000));  // warm up
    for (var r = 0; r < reps; r++) {
        var t0 = benchNow(); a(n); var t1 = benchNow(); if (b) b(nb); var t2 = benchNow();
        var x = Math.max(t1 - t0, 0.5) * 1000 / n, y = Math.max(t2 - t1, 0.5) * 1000 / nb;
        ta.push(x); tb.push(y); ratios.push(x / y);
    }
    var sa = benchSummary(ta), sb = benchSummary(tb), sr = benchSummary(ratios);
    var line = ["ROW", name, b ? peerName : "-", "us",
                benchNumber(sa[0]), benchNumber(sa[1]), benchNumber(sa[2])];
    if (b) line = line.concat([benchNumber(sb[0]), benchNumber(sb[1]), benchNumber(sb[2]), sr[0].toFixed(3)]);
    else line = line.concat(["-", "-", "-", "-"]);
    WScript.Echo(line.join("\t"));
}
