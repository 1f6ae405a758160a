// Script code run by an argument conversion (an object's valueOf) while a
// Form member works: the member checks the form again afterwards, and a form
// whose last reference the script drops meanwhile stays whole until the call
// returns.
var sd = new ActiveXObject("TorvaneScriptDialog");
var f = sd.CreateForm();

var composer = { valueOf: function () { f.ComposeForm(); return 2; } };
var e = throws(function () { f.DefineEdit("caption", "text", composer); }, "composed during the conversion");
eq(f.Value(0), "", "no item was defined");
f.DestroyForm();

var filler = { valueOf: function () { f.DefineLabel("first"); return 7; } };
eq(f.DefineEditButton("c", "t", "b", filler), 1, "the next free index");
eq(f.Value(0), "first", "the label took index 0");

f.ComposeForm();
var g = f;
var dropper = { valueOf: function () { g = null; f = null; CollectGarbage(); return 1; } };
eq(g.WaitEvent(dropper), null, "WaitEvent answers after the form was let go");
CollectGarbage();

var h = sd.CreateForm();
eq(h.DefineButton("a;b"), 0, "a fresh form works");
// Any index: an empty answer, or a conversion error of the dispatch layer
// (type mismatch, overflow) before the form sees it.
var odd = [null, "", "abc", -1, true, "70", 64.4, -32768, 1e10, -1e10, {}, [1, 2]];
for (var i = 0; i < odd.length; i++) {
    var answer;
    try {
        answer = h.Value(odd[i]);
    } catch (err) {
        answer = (err.number >>> 0).toString(16);
        check(answer === "80020005" || answer === "8002000a", "refused index " + i + ": " + answer);
        continue;
    }
    eq(answer, "", "Value of an odd index " + i);
}
eq(h.Value(0), "", "button group value");
done();
