// FloatS, IntS, IsEqual and IsPointEqual from JScript.
var sd = new ActiveXObject("TorvaneScriptDialog");

eq(sd.FloatS(3.14159), "3.142", "FloatS with DefaultFS");
eq(sd.FloatS(3.14159, 0), "3", "FloatS with 0 digits");
eq(sd.FloatS(2.5, 0), "3", "halves round up");
eq(sd.FloatS(-2.5, 0), "-3", "negative halves round away from zero");
eq(sd.FloatS(0.125, 2), "0.13", "0.125 to 2 digits");
eq(sd.FloatS(1.005, 2), "1.00", "1.005 is 1.0049999999999999");
eq(sd.FloatS(-0.0001, 3), "-0.000", "the sign of a value rounding to zero stays");
eq(sd.FloatS(1234.5678, -2), "123457", "a negative count shifts the point");
eq(sd.FloatS(2, null), "2.000", "Null digits use DefaultFS");
eq(sd.FloatS(2, "x"), "2.000", "unconvertible digits use DefaultFS");
eq(sd.FloatS(2, "1"), "2.0", "digits from a string");
eq(sd.FloatS(1 / 0, 2), "Infinity", "infinity");
eq(sd.FloatS(-1 / 0, 2), "-Infinity", "minus infinity");
eq(sd.FloatS(NaN, 2), "NaN", "NaN");
eq(sd.FloatS(0.1, 25), "0.1000000000000000100000000", "beyond 17 digits come zeros");
eq(sd.FloatS(1, 190).length, 192, "190 fraction digits");
eq(sd.FloatS(1, 30000).length, 30002, "counts far beyond 190");
sd.DefaultFS = 1;
eq(sd.FloatS(3.14159), "3.1", "FloatS follows DefaultFS");

eq(sd.IntS(7), "07", "IntS with DefaultIS");
eq(sd.IntS(7, 5), "00007", "zero padding");
eq(sd.IntS(-7, 5), "-0007", "the sign counts in the width");
eq(sd.IntS(7, -5), "    7", "blank padding");
eq(sd.IntS(12345, 3), "12345", "no cut");
eq(sd.IntS(2.5), "02", "the value is rounded to even by the conversion");
eq(sd.IntS(5, "w"), "05", "unconvertible width uses DefaultIS");
eq(sd.IntS(5, 40000), "05", "width beyond 16 bits uses DefaultIS");
eq(sd.IntS(1, -32768).length, 32768, "the widest blank padding");

eq(sd.IsEqual(1.0005, 1), true, "within the default tolerance");
eq(sd.IsEqual(1.0011, 1), false, "outside the default tolerance");
eq(sd.IsEqual(1.001, 1, 0.001), true, "bound included");
eq(sd.IsEqual(1, 1, -1), false, "negative tolerance");
eq(sd.IsEqual(1, 1, 0), true, "zero tolerance");
eq(sd.IsEqual(NaN, 1, 10), false, "NaN is never equal");
eq(sd.IsEqual(1.0005, 1, null), true, "Null tolerance uses DefaultTolerance");
eq(sd.IsEqual(1.5, 1, "0.5"), true, "tolerance from a string");
eq(sd.IsPointEqual(0, 0, 3, 4, 5), true, "distance equals the tolerance");
eq(sd.IsPointEqual(0, 0, 3, 4, 4.99), false, "distance beyond the tolerance");
eq(sd.IsPointEqual(NaN, 0, 3, 4), true, "a NaN distance compares as equal");
eq(sd.IsPointEqual(0, 0, 3e200, 4e200, 5e200), true, "huge coordinates keep their distance");

throws(function () { sd.FloatS("abc"); }, "a value that is no number");
done();
