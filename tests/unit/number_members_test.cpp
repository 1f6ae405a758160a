// FloatS, IntS, IsEqual and IsPointEqual through IDispatch: result types and
// how the optional last argument falls back to the object's settings.
#include <gtest/gtest.h>

#include <limits>

#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

std::wstring text(const CallResult& r) {
    EXPECT_EQ(S_OK, r.hr);
    return as_wstring(r.value);
}

bool boolean(const CallResult& r) {
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_BOOL, r.value.vt());
    return r.value.get().boolVal != VARIANT_FALSE;
}

VARIANT error_value(SCODE code) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_ERROR;
    v.scode = code;
    return v;
}

TEST(NumberMembers, FloatSDigitsArgumentAndDefault) {
    auto sd = new_script_dialog();
    EXPECT_EQ(L"3.142", text(call(sd.get(), L"FloatS", Args().r8(3.14159))));
    EXPECT_EQ(L"3", text(call(sd.get(), L"FloatS", Args().r8(3.14159).i2(0))));
    EXPECT_EQ(L"2", text(call(sd.get(), L"FloatS", Args().r8(2).empty())));
    EXPECT_EQ(L"2.000", text(call(sd.get(), L"FloatS", Args().r8(2).null())));
    EXPECT_EQ(L"2.000", text(call(sd.get(), L"FloatS", Args().r8(2).str(L"x"))));
    EXPECT_EQ(L"2.000", text(call(sd.get(), L"FloatS", Args().r8(2).i4(40000))));
    EXPECT_EQ(L"2.000", text(call(sd.get(), L"FloatS", Args().r8(2).variant(error_value(E_FAIL)))));
    EXPECT_EQ(L"2.00", text(call(sd.get(), L"FloatS", Args().r8(2).str(L"2"))));
    EXPECT_EQ(L"2.00", text(call(sd.get(), L"FloatS", Args().r8(2).r8(1.6))));
    VARIANT target;
    ::VariantInit(&target);
    target.vt = VT_I2;
    target.iVal = 1;
    EXPECT_EQ(L"2.0", text(call(sd.get(), L"FloatS", Args().r8(2).byref(&target))));
    EXPECT_EQ(S_OK, put(sd.get(), L"DefaultFS", Args().i2(1)).hr);
    EXPECT_EQ(L"3.1", text(call(sd.get(), L"FloatS", Args().r8(3.14159))));
    EXPECT_EQ(S_OK, put(sd.get(), L"DefaultFS", Args().i2(-2)).hr);
    EXPECT_EQ(L"123457", text(call(sd.get(), L"FloatS", Args().r8(1234.5678))));
    EXPECT_EQ(L"12", text(call(sd.get(), L"FloatS", Args().str(L"12.3").i2(0))));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, call(sd.get(), L"FloatS", Args().str(L"abc")).hr);
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(L"-Infinity", text(call(sd.get(), L"FloatS", Args().r8(-inf).i2(2))));
    EXPECT_EQ(L"NaN", text(call(sd.get(), L"FloatS", Args().r8(std::numeric_limits<double>::quiet_NaN()))));
}

TEST(NumberMembers, IntSWidthArgumentAndDefault) {
    auto sd = new_script_dialog();
    EXPECT_EQ(L"07", text(call(sd.get(), L"IntS", Args().i4(7))));
    EXPECT_EQ(L"00007", text(call(sd.get(), L"IntS", Args().i4(7).i2(5))));
    EXPECT_EQ(L"-0007", text(call(sd.get(), L"IntS", Args().i4(-7).i2(5))));
    EXPECT_EQ(L"    7", text(call(sd.get(), L"IntS", Args().i4(7).i2(-5))));
    EXPECT_EQ(L"7", text(call(sd.get(), L"IntS", Args().i4(7).empty())));
    EXPECT_EQ(L"07", text(call(sd.get(), L"IntS", Args().i4(7).null())));
    EXPECT_EQ(L"07", text(call(sd.get(), L"IntS", Args().i4(7).str(L"wide"))));
    EXPECT_EQ(L"02", text(call(sd.get(), L"IntS", Args().r8(2.5))));
    EXPECT_EQ(S_OK, put(sd.get(), L"DefaultIS", Args().i2(-3)).hr);
    EXPECT_EQ(L"  7", text(call(sd.get(), L"IntS", Args().i4(7))));
    EXPECT_EQ(32767u, text(call(sd.get(), L"IntS", Args().i4(1).i2(32767))).size());
    EXPECT_EQ(32768u, text(call(sd.get(), L"IntS", Args().i4(1).i2(-32768))).size());
    auto three = call(sd.get(), L"IntS", Args().i4(1).i2(2).i2(3));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, three.hr);
    EXPECT_EQ(1u, three.arg_err);
}

TEST(NumberMembers, IsEqualToleranceArgumentAndDefault) {
    auto sd = new_script_dialog();
    EXPECT_TRUE(boolean(call(sd.get(), L"IsEqual", Args().r8(1.0005).r8(1))));
    EXPECT_FALSE(boolean(call(sd.get(), L"IsEqual", Args().r8(1.0011).r8(1))));
    EXPECT_TRUE(boolean(call(sd.get(), L"IsEqual", Args().r8(1.001).r8(1).r8(0.001))));
    EXPECT_FALSE(boolean(call(sd.get(), L"IsEqual", Args().r8(1).r8(1).i4(-1))));
    EXPECT_TRUE(boolean(call(sd.get(), L"IsEqual", Args().r8(1).r8(1).i4(0))));
    // Empty converts to 0; Null, an error value and text that is no number
    // fall back to DefaultTolerance.
    EXPECT_FALSE(boolean(call(sd.get(), L"IsEqual", Args().r8(1.0005).r8(1).empty())));
    EXPECT_TRUE(boolean(call(sd.get(), L"IsEqual", Args().r8(1.0005).r8(1).null())));
    EXPECT_TRUE(boolean(call(sd.get(), L"IsEqual", Args().r8(1.0005).r8(1).str(L"near"))));
    EXPECT_TRUE(boolean(call(sd.get(), L"IsEqual", Args().r8(1.0005).r8(1).variant(error_value(E_FAIL)))));
    EXPECT_TRUE(boolean(call(sd.get(), L"IsEqual", Args().r8(1.5).r8(1).str(L"0.5"))));
    EXPECT_EQ(S_OK, put(sd.get(), L"DefaultTolerance", Args().r8(-1)).hr);
    EXPECT_FALSE(boolean(call(sd.get(), L"IsEqual", Args().r8(1).r8(1))));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(boolean(call(sd.get(), L"IsEqual", Args().r8(nan).r8(1).r8(10))));
}

TEST(NumberMembers, IsPointEqual) {
    auto sd = new_script_dialog();
    EXPECT_TRUE(boolean(call(sd.get(), L"IsPointEqual", Args().r8(0).r8(0).r8(3).r8(4).r8(5))));
    EXPECT_FALSE(boolean(call(sd.get(), L"IsPointEqual", Args().r8(0).r8(0).r8(3).r8(4).r8(4.99))));
    EXPECT_TRUE(boolean(call(sd.get(), L"IsPointEqual", Args().r8(0).r8(0).r8(0.0005).r8(0))));
    EXPECT_FALSE(boolean(call(sd.get(), L"IsPointEqual", Args().r8(0).r8(0).r8(0.0005).r8(0).empty())));
    EXPECT_FALSE(boolean(call(sd.get(), L"IsPointEqual", Args().r8(1).r8(1).r8(1).r8(1).r8(-1))));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(boolean(call(sd.get(), L"IsPointEqual", Args().r8(nan).r8(0).r8(3).r8(4))));
}

}  // namespace
