' FloatS, IntS, IsEqual and IsPointEqual as a VBScript author uses them.
Option Explicit
Dim sd
Set sd = CreateObject("TorvaneScriptDialog")

CheckEq sd.FloatS(3.14159), "3.142", "FloatS with DefaultFS"
CheckEq TypeName(sd.FloatS(1)), "String", "FloatS gives a string"
CheckEq sd.FloatS(3.14159, 0), "3", "no fraction digits"
CheckEq sd.FloatS(2, Null), "2.000", "Null digits use DefaultFS"
CheckEq sd.FloatS(2, Empty), "2", "Empty digits are 0"
CheckEq sd.FloatS(2, "x"), "2.000", "unconvertible digits use DefaultFS"
CheckEq sd.FloatS(-0.0001, 3), "-0.000", "negative zero text"
CheckEq sd.FloatS(1234.5678, -2), "123457", "negative count"
CheckEq sd.FloatS(-0.5, -1), "-5", "negative count of a negative value"
CheckEq sd.FloatS(1.2345, -3), "1235", "shift by three"
CheckEq sd.FloatS(0.125, 2), "0.13", "half up on the digits"
CheckEq Len(sd.FloatS(-1, 190)), 193, "190 fraction digits"
CheckEq Len(sd.FloatS(1.5, -308)), 309, "shift by 308"
CheckEq sd.FloatS(1, -57), "1" & String(57, "0"), "shift by 57: the nearest power of ten"
CheckEq sd.FloatS(1, -308), "1" & String(308, "0"), "shift by 308: the nearest power of ten"
CheckEq sd.FloatS(1, -33), "99999999999999995" & String(16, "0"), "shift by 33: 17 digits of the nearest power"
CheckEq sd.FloatS(7.377, -27), "73769999999999993" & String(11, "0"), "the product rounded once"
sd.DefaultFS = 1
CheckEq sd.FloatS(3.14159), "3.1", "DefaultFS 1"

CheckEq sd.IntS(7), "07", "IntS with DefaultIS"
CheckEq sd.IntS(7, 5), "00007", "zero padding"
CheckEq sd.IntS(-7, 5), "-0007", "sign before the zeros"
CheckEq sd.IntS(7, -5), "    7", "blank padding"
CheckEq sd.IntS(12345, 3), "12345", "wider than the width"
CheckEq sd.IntS(2.5), "02", "2.5 arrives as 2"
CheckEq sd.IntS(7, Empty), "7", "Empty width is 0"
CheckEq sd.IntS(7, Null), "07", "Null width uses DefaultIS"
CheckEq sd.IntS(7, 70000), "07", "width beyond 16 bits uses DefaultIS"
CheckEq Len(sd.IntS(1, 32767)), 32767, "the widest zero padding"

CheckEq sd.IsEqual(1.0005, 1), True, "within the default tolerance"
CheckEq sd.IsEqual(1.0011, 1), False, "outside the default tolerance"
CheckEq sd.IsEqual(1.001, 1, 0.001), True, "bound included"
CheckEq sd.IsEqual(1, 1, -1), False, "negative tolerance"
CheckEq sd.IsEqual(1.0005, 1, Empty), False, "Empty tolerance is 0"
CheckEq sd.IsEqual(1.0005, 1, "near"), True, "unconvertible tolerance uses DefaultTolerance"
CheckEq sd.IsPointEqual(0, 0, 3, 4, 5), True, "distance equal to the tolerance"
CheckEq sd.IsPointEqual(0, 0, 3, 4, 4.99), False, "distance beyond the tolerance"
CheckEq sd.IsPointEqual(0, 0, 0.0005, 0), True, "default tolerance for points"
sd.DefaultTolerance = 0
CheckEq sd.IsEqual(1.0005, 1), False, "DefaultTolerance 0"

On Error Resume Next
Dim r
r = sd.IntS(1, 2, 3)
CheckErr 450, "", "IntS with three arguments"
r = sd.FloatS("abc")
CheckErr 13, "", "FloatS of a text that is no number"
On Error GoTo 0
Done
