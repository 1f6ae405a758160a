// The DLL's exports as a client sees them: the class factory, the unload
// test and self-registration. The DLL is loaded from the test program's
// folder; registration runs against a scratch key that stands in for
// HKEY_CLASSES_ROOT, so the prefix's real registration is never touched.
#include <gtest/gtest.h>

#include <olectl.h>

#include <string>

#include "frame/guids.h"
#include "frame/raii.h"
#include "resources/version.h"
#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using NoArgFn = HRESULT(STDAPICALLTYPE*)();
using InstallFn = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);

class Dll {
public:
    Dll() : module_(::LoadLibraryA(TORVANE_FILE_NAME)) {
        if (!module_) return;
        get_class_object = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(module_, "DllGetClassObject"));
        can_unload = reinterpret_cast<NoArgFn>(::GetProcAddress(module_, "DllCanUnloadNow"));
        register_server = reinterpret_cast<NoArgFn>(::GetProcAddress(module_, "DllRegisterServer"));
        unregister_server = reinterpret_cast<NoArgFn>(::GetProcAddress(module_, "DllUnregisterServer"));
        install = reinterpret_cast<InstallFn>(::GetProcAddress(module_, "DllInstall"));
    }
    ~Dll() {
        if (module_) ::FreeLibrary(module_);
    }
    bool loaded() const {
        return module_ && get_class_object && can_unload && register_server && unregister_server && install;
    }
    std::string path() const {
        char buffer[MAX_PATH * 4] = {};
        ::GetModuleFileNameA(module_, buffer, sizeof buffer);
        return buffer;
    }
    ComPtr<IClassFactory> factory() const {
        ComPtr<IClassFactory> f;
        get_class_object(CLSID_TorvaneScriptDialog, IID_IClassFactory, reinterpret_cast<void**>(f.put()));
        return f;
    }

    GetClassObjectFn get_class_object = nullptr;
    NoArgFn can_unload = nullptr;
    NoArgFn register_server = nullptr;
    NoArgFn unregister_server = nullptr;
    InstallFn install = nullptr;

private:
    HMODULE module_;
};

TEST(Exports, ClassObjectOnlyForTheClassAndItsInterfaces) {
    Dll dll;
    ASSERT_TRUE(dll.loaded());
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, dll.get_class_object(IID_IDispatch, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, dll.get_class_object(CLSID_TorvaneScriptDialog, IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);
    ASSERT_EQ(S_OK, dll.get_class_object(CLSID_TorvaneScriptDialog, IID_IUnknown, &out));
    static_cast<IUnknown*>(out)->Release();
}

TEST(Exports, CreateInstance) {
    Dll dll;
    ASSERT_TRUE(dll.loaded());
    auto factory = dll.factory();
    ASSERT_TRUE(factory);

    IDispatch* object = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)));
    EXPECT_EQ(2u, object->AddRef()) << "the caller holds the only reference";
    EXPECT_EQ(1u, object->Release());
    EXPECT_EQ(DISPID(1), id_of(object, L"DefaultFS"));
    // Script errors name the DLL as their source.
    auto error = put(object, L"TickCount", Args().r8(1));
    ASSERT_EQ(DISP_E_EXCEPTION, error.hr);
    std::string name = TORVANE_FILE_NAME;
    name = name.substr(0, name.rfind('.'));
    EXPECT_EQ(std::wstring(name.begin(), name.end()), std::wstring(error.excep.bstrSource));
    EXPECT_EQ(0u, object->Release());

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IDispatch, nullptr));

    auto outer = new_script_dialog();
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer.get(), IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
    factory.reset();
    EXPECT_EQ(S_OK, dll.can_unload()) << "a refused aggregation leaves no object or lock behind";
}

TEST(Exports, CanUnloadNowWhileAnythingIsHeld) {
    Dll dll;
    ASSERT_TRUE(dll.loaded());
    EXPECT_EQ(S_OK, dll.can_unload());

    auto factory = dll.factory();
    EXPECT_EQ(S_FALSE, dll.can_unload()) << "a client holds the factory";
    ASSERT_EQ(S_OK, factory->LockServer(TRUE));
    ComPtr<IDispatch> object;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.put())));
    factory.reset();
    EXPECT_EQ(S_FALSE, dll.can_unload()) << "locked and an object alive";
    object.reset();
    EXPECT_EQ(S_FALSE, dll.can_unload()) << "still locked";
    dll.factory()->LockServer(FALSE);
    EXPECT_EQ(S_OK, dll.can_unload());

    // The static factory never drops below its own reference.
    auto f = dll.factory();
    IClassFactory* raw = f.get();
    raw->AddRef();
    EXPECT_EQ(2u, raw->Release());
    f.reset();
    EXPECT_EQ(1u, raw->Release());
    EXPECT_EQ(S_OK, dll.can_unload());
}

// ---------------------------------------------------------------------------
// Registration, against a scratch key standing in for HKEY_CLASSES_ROOT.

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dll_.loaded());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                   root_.put(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_CLASSES_ROOT, root_.get()));
        clsid_ = "CLSID\\{B622E810-2DAB-4772-B019-EF507E01F324}";
    }
    void TearDown() override {
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        root_.reset();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    }
    std::string value(const std::string& key) {
        char buffer[1024] = {};
        LONG size = sizeof buffer;
        if (::RegQueryValueA(root_.get(), key.c_str(), buffer, &size) != ERROR_SUCCESS) return "<missing>";
        return buffer;
    }
    bool exists(const std::string& key) {
        UniqueHkey h;
        return ::RegOpenKeyExA(root_.get(), key.c_str(), 0, KEY_READ, h.put()) == ERROR_SUCCESS;
    }
    // Whether the other registry view holds the class (the other build
    // registered in this prefix): the ProgID key, which both views share,
    // then stays when this build is removed.
    static bool other_view_has_class() {
        const REGSAM other = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
        UniqueHkey h;
        return ::RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{B622E810-2DAB-4772-B019-EF507E01F324}\\InProcServer32", 0,
                               KEY_READ | other, h.put()) == ERROR_SUCCESS;
    }
    std::string short_path() {
        const std::string full = dll_.path();
        char buffer[MAX_PATH * 4] = {};
        const DWORD n = ::GetShortPathNameA(full.c_str(), buffer, sizeof buffer);
        return n ? std::string(buffer) : full;
    }

    static constexpr const char* kScratch = "Software\\TorvaneTests\\Classes";
    Dll dll_;
    UniqueHkey root_;
    std::string clsid_;
};

TEST_F(Registration, WritesExactlyTheClassEntries) {
    ASSERT_EQ(S_OK, dll_.register_server());
    EXPECT_EQ("TorvaneScriptDialog", value("TorvaneScriptDialog"));
    EXPECT_EQ("{B622E810-2DAB-4772-B019-EF507E01F324}", value("TorvaneScriptDialog\\CLSID"));
    EXPECT_EQ("TorvaneScriptDialog", value(clsid_));
    EXPECT_EQ("TorvaneScriptDialog", value(clsid_ + "\\ProgID"));
    EXPECT_EQ(short_path(), value(clsid_ + "\\InProcServer32"));

    // Nothing else: two keys under the root, one under the ProgID, two under
    // the CLSID, and no named values anywhere.
    auto count = [&](const std::string& key, DWORD& subkeys, DWORD& values) {
        UniqueHkey h;
        ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(root_.get(), key.c_str(), 0, KEY_READ, h.put()));
        ::RegQueryInfoKeyA(h.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                           nullptr, nullptr);
    };
    DWORD subkeys = 0, values = 0;
    count("CLSID", subkeys, values);
    EXPECT_EQ(1u, subkeys);
    count("TorvaneScriptDialog", subkeys, values);
    EXPECT_EQ(1u, subkeys);
    EXPECT_EQ(1u, values) << "only the default value";
    count(clsid_, subkeys, values);
    EXPECT_EQ(2u, subkeys);
    count(clsid_ + "\\InProcServer32", subkeys, values);
    EXPECT_EQ(0u, subkeys);
    EXPECT_EQ(1u, values) << "no threading model";
}

TEST_F(Registration, KeepsExistingNamesAndRewritesTheLinks) {
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueA(root_.get(), "TorvaneScriptDialog", REG_SZ, "Mine", 4));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueA(root_.get(), "TorvaneScriptDialog\\CLSID", REG_SZ, "{0}", 3));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueA(root_.get(), (clsid_ + "\\InProcServer32").c_str(), REG_SZ, "old.dll", 7));
    ASSERT_EQ(S_OK, dll_.register_server());
    ASSERT_EQ(S_OK, dll_.register_server()) << "registering twice";
    EXPECT_EQ("Mine", value("TorvaneScriptDialog"));
    EXPECT_EQ("{B622E810-2DAB-4772-B019-EF507E01F324}", value("TorvaneScriptDialog\\CLSID"));
    EXPECT_EQ(short_path(), value(clsid_ + "\\InProcServer32"));
}

TEST_F(Registration, UnregisterRemovesOnlyWhatNamesThisLibrary) {
    const bool other_build = other_view_has_class();
    ASSERT_EQ(S_OK, dll_.register_server());
    ASSERT_EQ(S_OK, dll_.unregister_server());
    EXPECT_EQ(other_build, exists("TorvaneScriptDialog")) << "the ProgID goes with the last registration";
    EXPECT_FALSE(exists(clsid_));
    EXPECT_TRUE(exists("CLSID")) << "the parent key stays";
    EXPECT_EQ(S_OK, dll_.unregister_server()) << "nothing left to remove";

    // Another copy of the library registered: unregistering this one leaves it.
    ASSERT_EQ(S_OK, dll_.register_server());
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegSetValueA(root_.get(), (clsid_ + "\\InProcServer32").c_str(), REG_SZ, "C:\\other.dll", 12));
    EXPECT_EQ(S_OK, dll_.unregister_server());
    EXPECT_EQ("C:\\other.dll", value(clsid_ + "\\InProcServer32"));
    EXPECT_TRUE(exists("TorvaneScriptDialog\\CLSID"));

    // Keys that others extended keep their additions.
    ASSERT_EQ(S_OK, dll_.register_server());
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueA(root_.get(), "TorvaneScriptDialog\\Extra", REG_SZ, "x", 1));
    EXPECT_EQ(S_OK, dll_.unregister_server());
    EXPECT_FALSE(exists(clsid_));
    EXPECT_EQ(other_build, exists("TorvaneScriptDialog\\CLSID"));
    EXPECT_EQ("x", value("TorvaneScriptDialog\\Extra"));
}

TEST_F(Registration, AFailedWriteIsReported) {
    // The classes root is a key that has been deleted under its open handle:
    // every write beneath it fails.
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch));
    EXPECT_EQ(SELFREG_E_CLASS, dll_.register_server());
}

// Per-user registration writes the same entries under the user's classes.
TEST(PerUserRegistration, InstallAndUninstall) {
    Dll dll;
    ASSERT_TRUE(dll.loaded());
    const char* scratch = "Software\\TorvaneTests\\User";
    ::RegDeleteTreeA(HKEY_CURRENT_USER, scratch);
    UniqueHkey user;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, scratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                               user.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_CURRENT_USER, user.get()));

    const HRESULT installed = dll.install(TRUE, L"User");
    char value[512] = {};
    LONG size = sizeof value;
    const LONG found = ::RegQueryValueA(user.get(), "Software\\Classes\\TorvaneScriptDialog\\CLSID", value, &size);
    const HRESULT removed = dll.install(FALSE, L"user");
    UniqueHkey gone;
    const LONG after = ::RegOpenKeyExA(user.get(), "Software\\Classes\\TorvaneScriptDialog", 0, KEY_READ, gone.put());

    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    user.reset();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, scratch);

    EXPECT_EQ(S_OK, installed);
    EXPECT_EQ(ERROR_SUCCESS, found);
    EXPECT_STREQ("{B622E810-2DAB-4772-B019-EF507E01F324}", value);
    EXPECT_EQ(S_OK, removed);
    EXPECT_NE(ERROR_SUCCESS, after);
}

}  // namespace
