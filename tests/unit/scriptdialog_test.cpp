// The ScriptDialog object through IDispatch: its table, settings and the
// members of its own.
#include <gtest/gtest.h>

#include "frame/guids.h"
#include "frame/module.h"
#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

// The table's order is the interface: ids are positions.
const wchar_t* const kMembers[] = {
    L"DefaultFS",
    L"DefaultIS",
    L"DefaultTolerance",
    L"ProfilePath",
    L"TickCount",
    L"About",
    L"GetOpenFileName",
    L"GetSaveFileName",
    L"ShellExecute",
    L"GetASyncKeyState",
    L"BrowseForFolder",
    L"CreateForm",
    L"VersionCheck",
    L"CreateDirectory",
    L"GetFileVersion",
    L"ExitWindows",
    L"GetSpecialFolderPath",
    L"CreateOutputWindow",
    L"DoEvents",
    L"Sleep",
    L"GetTempPath",
    L"GetTempFileName",
    L"GetFileAttributes",
    L"GetFileLastWriteTime",
    L"GetFileCreationTime",
    L"MessageBox",
    L"FloatS",
    L"IntS",
    L"IsEqual",
    L"IsPointEqual",
    L"CreateList",
    L"ChangeExtensionName",
    L"CopyFile",
    L"MoveFile",
    L"WaitCursor",
    L"GetLocalPathName",
    L"FindWindow",
    L"ProfileValue",
    L"ClipboardText",
    L"Version",
};

TEST(ScriptDialog, MemberIdsAreTablePositions) {
    auto sd = new_script_dialog();
    for (std::size_t i = 0; i < std::size(kMembers); ++i)
        EXPECT_EQ(static_cast<DISPID>(i + 1), id_of(sd.get(), kMembers[i])) << "member " << i;
    EXPECT_EQ(DISPID_UNKNOWN, id_of(sd.get(), L"Value"));
}

TEST(ScriptDialog, NoDefaultMember) {
    auto sd = new_script_dialog();
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, invoke(sd.get(), DISPID_VALUE, DISPATCH_PROPERTYGET).hr);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              invoke(sd.get(), static_cast<DISPID>(std::size(kMembers) + 1), DISPATCH_METHOD).hr);
}

TEST(ScriptDialog, InitialSettings) {
    auto sd = new_script_dialog();
    auto fs = get(sd.get(), L"DefaultFS");
    ASSERT_EQ(VT_I2, fs.value.vt());
    EXPECT_EQ(3, fs.value.get().iVal);
    auto is = get(sd.get(), L"DefaultIS");
    ASSERT_EQ(VT_I2, is.value.vt());
    EXPECT_EQ(2, is.value.get().iVal);
    auto tol = get(sd.get(), L"DefaultTolerance");
    ASSERT_EQ(VT_R8, tol.value.vt());
    EXPECT_EQ(0.001, tol.value.get().dblVal);
    EXPECT_EQ(L"", as_wstring(get(sd.get(), L"ProfilePath").value));
}

TEST(ScriptDialog, SettingsConvertAndKeepOldValueOnFailure) {
    auto sd = new_script_dialog();
    EXPECT_EQ(S_OK, put(sd.get(), L"DefaultFS", Args().str(L"5")).hr);
    EXPECT_EQ(5, get(sd.get(), L"DefaultFS").value.get().iVal);
    auto overflow = put(sd.get(), L"DefaultFS", Args().i4(40000));
    EXPECT_EQ(DISP_E_OVERFLOW, overflow.hr);
    EXPECT_EQ(0u, overflow.arg_err);
    EXPECT_EQ(5, get(sd.get(), L"DefaultFS").value.get().iVal);
    EXPECT_EQ(S_OK, put(sd.get(), L"DefaultFS", Args().i4(-1)).hr);
    EXPECT_EQ(-1, get(sd.get(), L"DefaultFS").value.get().iVal);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, put(sd.get(), L"DefaultTolerance", Args().str(L"x")).hr);
    EXPECT_EQ(0.001, get(sd.get(), L"DefaultTolerance").value.get().dblVal);
}

TEST(ScriptDialog, ObjectsKeepSeparateSettings) {
    auto a = new_script_dialog();
    auto b = new_script_dialog();
    put(a.get(), L"DefaultIS", Args().i2(9));
    put(b.get(), L"ProfilePath", Args().str(L"b.ini"));
    EXPECT_EQ(2, get(b.get(), L"DefaultIS").value.get().iVal);
    EXPECT_EQ(L"", as_wstring(get(a.get(), L"ProfilePath").value));
}

TEST(ScriptDialog, TickCountIsReadOnlyDouble) {
    auto sd = new_script_dialog();
    auto t = get(sd.get(), L"TickCount");
    ASSERT_EQ(S_OK, t.hr);
    EXPECT_EQ(VT_R8, t.value.vt());
    EXPECT_GT(t.value.get().dblVal, 0.0);

    auto ro = put(sd.get(), L"TickCount", Args().r8(1));
    EXPECT_EQ(DISP_E_EXCEPTION, ro.hr);
    EXPECT_EQ(61837, ro.excep.wCode);
    EXPECT_EQ(0x6F18Du, ro.excep.dwHelpContext);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, put(sd.get(), L"TickCount", Args().str(L"soon")).hr);

    auto args = get(sd.get(), L"TickCount", Args().i4(1));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, args.hr);
    EXPECT_EQ(0xFFFFFFFFu, args.arg_err) << "the argument error is left alone";
}

TEST(ScriptDialog, ModuleLockFollowsObjects) {
    const LONG before = module::lock_count();
    {
        auto sd = new_script_dialog();
        EXPECT_EQ(before + 1, module::lock_count());
    }
    EXPECT_EQ(before, module::lock_count());
}

TEST(ScriptDialog, AnswersItsThreeInterfaces) {
    auto sd = new_script_dialog();
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &IID_IScriptDialog}) {
        IUnknown* p = nullptr;
        ASSERT_EQ(S_OK, sd->QueryInterface(*iid, reinterpret_cast<void**>(&p)));
        EXPECT_EQ(static_cast<IUnknown*>(sd.get()), p);
        EXPECT_EQ(1u, p->Release());
    }
    IUnknown* p = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(E_NOINTERFACE, sd->QueryInterface(IID_IListEx, reinterpret_cast<void**>(&p)));
    EXPECT_EQ(nullptr, p);
}

}  // namespace
