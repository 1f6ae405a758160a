// The ScriptDialog object from JScript: settings, read-only errors, the
// objects it creates.
var sd = new ActiveXObject("TorvaneScriptDialog");

eq(sd.DefaultFS, 3, "initial DefaultFS");
eq(sd.DefaultIS, 2, "initial DefaultIS");
eq(sd.DefaultTolerance, 0.001, "initial DefaultTolerance");
eq(sd.ProfilePath, "", "initial ProfilePath");

sd.DefaultFS = "5";
eq(sd.DefaultFS, 5, "DefaultFS from a string");
var e = throws(function () { sd.DefaultFS = 40000; }, "DefaultFS = 40000");
eq(sd.DefaultFS, 5, "DefaultFS kept after the overflow");

if (cp932()) {
    sd.ProfilePath = "\u65e5\u672c\u8a9e.ini";
    eq(sd.ProfilePath, "\u65e5\u672c\u8a9e.ini", "ProfilePath keeps Japanese text");
}

eq(typeof sd.TickCount, "number", "TickCount is a number");
e = throws(function () { sd.TickCount = 1; }, "TickCount is read-only");
if (e) {
    eq(e.description, "\u8aad\u307f\u53d6\u308a\u5c02\u7528\uff8c\uff9f\uff9b\uff8a\uff9f\uff83\uff68\u306b\u306f" +
       "\u66f8\u304d\u8fbc\u3081\u307e\u305b\u3093\u3002", "read-only description");
}
throws(function () { sd.NoSuchMember(); }, "unknown member");
throws(function () { sd.CreateList = 1; }, "a put addressed to a method");

done();
