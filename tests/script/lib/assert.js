
// ---- assertion library, appended to every .js test by run_script.sh ----
// Non-ASCII text is printed escaped (\uXXXX), since echoing it can crash the
// host.
//
// The library runs after the test's own statements, so its counters live in
// a function (hoisted with its body) rather than in top-level variables,
// which would still be undefined while the test runs.
function assertState() {
    if (!assertState.s) assertState.s = { failures: 0, checks: 0 };
    return assertState.s;
}

// True when the host runs under code page 932 (Japanese): a round trip of
// Japanese text through the library only holds there.
function cp932() {
    if (assertState.acp === undefined) {
        var shell = new ActiveXObject("WScript.Shell");
        assertState.acp = String(shell.RegRead(
            "HKLM\\System\\CurrentControlSet\\Control\\Nls\\CodePage\\ACP"));
    }
    return assertState.acp === "932";
}

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
    var st = assertState();
    st.checks++;
    if (!condition) {
        st.failures++;
        WScript.Echo("FAIL: " + message);
    }
}

// Strict equality: a string never equals a number.
function eq(actual, expected, message) {
    var st = assertState();
    st.checks++;
    if (actual !== expected) {
        st.failures++;
        WScript.Echo("FAIL: " + message + ": got " + esc(actual) + ", want " + esc(expected));
    }
}

// Calls fn and checks that it throws; returns the error (or null).
function throws(fn, message) {
    var st = assertState();
    st.checks++;
    try {
        fn();
    } catch (e) {
        return e;
    }
    st.failures++;
    WScript.Echo("FAIL: " + message + ": no error");
    return null;
}

function done() {
    var st = assertState();
    if (st.checks === 0) {
        WScript.Echo("FAIL: no checks ran");
        WScript.Quit(1);
    }
    if (st.failures > 0) {
        WScript.Echo(st.failures + " of " + st.checks + " checks failed");
        WScript.Quit(1);
    }
    WScript.Echo("ALL PASSED (" + st.checks + " checks)");
    WScript.Quit(0);
}
