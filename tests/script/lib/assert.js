
// ---- assertion library, appended to every .js test by run_script.sh ----
// Non-ASCII text is printed escaped (\uXXXX), since echoing it can crash the
// host.
var assertFailures = 0, assertChecks = 0;

function esc(value) {
    if (value === null) return "null";
    if (value === undefined) return "undefined";
    var t = typeof value;
    var s = String(value), out = "";
    for (var i = 0; i < s.length; i++) {
        var c = s.charCodeAt(i);
        if (c < 32 || c > 126) {
            var h = c.toString(16);
            while (h.length < 4) h = "0" + h;
            out += "\\u" + h;
        } else {
            out += s.charAt(i);
        }
    }
    return "[" + t + "] " + out;
}

function check(condition, message) {
    assertChecks++;
    if (!condition) {
        assertFailures++;
        WScript.Echo("FAIL: " + message);
    }
}

// Strict equality: a string never equals a number.
function eq(actual, expected, message) {
    assertChecks++;
    if (actual !== expected) {
        assertFailures++;
        WScript.Echo("FAIL: " + message + ": got " + esc(actual) + ", want " + esc(expected));
    }
}

// Calls fn and checks that it throws; returns the error (or null).
function throws(fn, message) {
    assertChecks++;
    try {
        fn();
    } catch (e) {
        return e;
    }
    assertFailures++;
    WScript.Echo("FAIL: " + message + ": no error");
    return null;
}

function done() {
    if (assertChecks === 0) {
        WScript.Echo("FAIL: no checks ran");
        WScript.Quit(1);
    }
    if (assertFailures > 0) {
        WScript.Echo(assertFailures + " of " + assertChecks + " checks failed");
        WScript.Quit(1);
    }
    WScript.Echo("ALL PASSED (" + assertChecks + " checks)");
    WScript.Quit(0);
}
