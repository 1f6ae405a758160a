// Entry point of the Windows test programs: the library's code is linked in,
// so its module state is initialised with this program's instance (whose
// resources are the library's).
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "frame/module.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    torvane::module::init(::GetModuleHandleW(nullptr));
    ::OleInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
