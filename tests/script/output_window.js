// The Output window object from JScript (Wine's VBScript cannot call objects
// handed out as VT_UNKNOWN): properties, default value and conversion errors.
var sd = new ActiveXObject("TorvaneScriptDialog");
var w = sd.CreateOutputWindow();

eq(w.Visible, false, "a new window is hidden");
eq(w.Enable, true, "a new window is enabled");
eq(w.Text, "", "a new window is empty");
if (cp932()) {
    eq(w.Title, "\u30a2\u30a6\u30c8\u30d7\u30c3\u30c8\u30a6\u30a3\u30f3\u30c9\u30a6", "initial title");
}

w.Text = "abc";
eq(w.Text, "abc", "Text round trip");
eq("" + w, "abc", "the default value is Text");
w.Text = "one\r\ntwo\nthree";
eq(w.Text, "one\r\ntwo\nthree", "line ends are kept as given");
w.Text = w.Text + "\r\nfour";
eq(w.Text, "one\r\ntwo\nthree\r\nfour", "appending by reading and assigning");
w.Text = 42;
eq(w.Text, "42", "a number becomes its text");
throws(function () { w.Text = null; }, "Null is no text");
eq(w.Text, "42", "text kept after Null");
w.Text = "";
eq(w.Text, "", "empty text empties the box");
if (cp932()) {
    w.Text = "\u65e5\u672c\u8a9e\u30bd\u8868";
    eq(w.Text, "\u65e5\u672c\u8a9e\u30bd\u8868", "Japanese text round trip");
}

w.Text = "a";
w.AppendText("b\r\n");
w.AppendText(7);
eq(w.Text, "ab\r\n7", "AppendText adds exactly its text");
throws(function () { w.AppendText(null); }, "Null is no text for AppendText");
eq(w.Text, "ab\r\n7", "text kept after AppendText(Null)");
if (cp932()) {
    w.AppendText("\u8868\u30bd");
    eq(w.Text, "ab\r\n7\u8868\u30bd", "AppendText of Japanese text");
}

w.Width = 300;
eq(w.Width, 300, "Width");
w.Height = 150;
eq(w.Height, 150, "Height");
w.PosX = 10;
w.PosY = 20;
eq(w.PosX, 10, "PosX");
eq(w.PosY, 20, "PosY");
throws(function () { w.PosX = 40000; }, "PosX beyond 16 bits");
throws(function () { w.Width = -70000; }, "Width beyond 16 bits");
eq(w.PosX, 10, "PosX kept after the overflow");
eq(w.Width, 300, "Width kept after the overflow");

w.Visible = true;
eq(w.Visible, true, "shown");
sd.DoEvents();
w.Visible = false;
eq(w.Visible, false, "hidden again");
w.Enable = false;
eq(w.Enable, false, "disabled");
w.Title = "Progress";
eq(w.Title, "Progress", "Title");

// Every call makes a new window.
w.Text = "first";
var w2 = sd.CreateOutputWindow();
w2.Text = "second";
eq(w.Text, "first", "windows are independent");
eq(w2.Text, "second", "the second window has its own text");
w = null;
w2 = null;
CollectGarbage();

done();
