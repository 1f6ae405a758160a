// A first look at the library from JScript.
var sd = new ActiveXObject("TorvaneScriptDialog");

WScript.Echo("Default fraction digits: " + sd.DefaultFS);
sd.DefaultFS = "5";
WScript.Echo("After setting them to \"5\": " + sd.DefaultFS);
WScript.Echo("Milliseconds since the system started: " + sd.TickCount);
// The library's errors carry a Japanese description; JScript shows it in
// e.description (see "Errors and how to test for them" in docs/reference.md).
try {
    sd.TickCount = 0;
} catch (e) {
    WScript.Echo("TickCount is read-only: assigning it fails with \"" + e.description + "\"");
}
