// The number members from JScript: what VBScript cannot easily pass (NaN,
// infinities) and the JScript view of the results (numbers.vbs has the rest).
var sd = new ActiveXObject("TorvaneScriptDialog");

eq(sd.FloatS(3.14159), "3.142", "FloatS with DefaultFS");
eq(sd.FloatS(1.005, 2), "1.00", "1.005 is 1.0049999999999999");
eq(sd.FloatS(2, null), "2.000", "Null digits use DefaultFS");
eq(sd.FloatS(2, "1"), "2.0", "digits from a string");
eq(sd.FloatS(1 / 0, 2), "Infinity", "infinity");
eq(sd.FloatS(-1 / 0, -2), "-Infinity", "minus infinity");
eq(sd.FloatS(NaN, 2), "NaN", "NaN");
eq(sd.FloatS(0.1, 25), "0.1000000000000000100000000", "beyond 17 digits come zeros");
eq(sd.FloatS(1, 30000).length, 30002, "counts far beyond 190");
eq(sd.FloatS(2.5e-300, -400).length, 101, "a shift beyond the double range");

eq(sd.IntS(-7, 5), "-0007", "the sign counts in the width");
eq(sd.IntS(1, -32768).length, 32768, "the widest blank padding");

eq(sd.IsEqual(1.001, 1, 0.001), true, "bound included");
eq(sd.IsEqual(NaN, 1, 10), false, "NaN is never equal");
eq(sd.IsEqual(1, 1, NaN), false, "a NaN tolerance is never met");
eq(sd.IsEqual(1.5, 1, "0.5"), true, "tolerance from a string");
eq(sd.IsPointEqual(NaN, 0, 3, 4), true, "a NaN distance compares as equal");
eq(sd.IsPointEqual(0, 0, 3e200, 4e200, 5e200), true, "huge coordinates keep their distance");
eq(sd.IsPointEqual(0, 0, 3e-200, 4e-200, 4.9e-200), false, "tiny coordinates keep their distance");

throws(function () { sd.FloatS("abc"); }, "a value that is no number");
done();
