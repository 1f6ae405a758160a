# Native build of the platform-free text code: unit tests under AddressSanitizer
# and UndefinedBehaviorSanitizer, and libFuzzer targets when building with clang.

find_package(GTest REQUIRED)

set(TORVANE_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)

add_library(torvane_text STATIC ${TORVANE_TEXT_SOURCES})
target_include_directories(torvane_text PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(torvane_text PRIVATE -Wall -Wextra ${TORVANE_SANITIZE})
target_link_options(torvane_text PUBLIC ${TORVANE_SANITIZE})

file(GLOB TORVANE_TEXT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/text/*.cpp)
add_executable(text_tests ${TORVANE_TEXT_TESTS})
target_compile_options(text_tests PRIVATE ${TORVANE_SANITIZE})
target_link_libraries(text_tests PRIVATE torvane_text GTest::gtest_main)
add_test(NAME text_tests COMMAND text_tests)
set_tests_properties(text_tests PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/CMakeLists.txt)
  add_subdirectory(tests/fuzz)
endif()

# The set-up's package installation against a mirror in trouble (stand-in
# apt-get, apt-cache and dpkg; nothing is installed for real).
add_test(NAME setup_apt COMMAND bash ${CMAKE_SOURCE_DIR}/tests/setup/apt_setup_test.sh)
