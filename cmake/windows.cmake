# Windows build: the Win32 backend, the programs and the tests run under Wine.
# Libraries Debian ships only for Linux come from the setup script's cache.
set(ORVIX_DEPS "$ENV{ORVIX_DEPS}")
if(NOT ORVIX_DEPS)
  set(ORVIX_DEPS /var/cache/orvix-deps)
endif()

add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_SOURCE_DIR}/out/win32)

orvix_sources(WIN32_SOURCES src/platform/win32)
add_library(orvix_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(orvix_win32 PUBLIC orvix_core advapi32 shell32 ole32 user32 comctl32)

add_executable(orvix src/app/orvix_main.cpp)
target_link_options(orvix PRIVATE -municode -s)
target_link_libraries(orvix PRIVATE orvix_app orvix_win32)

set(GTest_DIR ${ORVIX_DEPS}/googletest/lib/cmake/GTest)
find_package(GTest REQUIRED CONFIG)
orvix_sources(WINDOWS_TEST_SOURCES tests/windows)
add_executable(orvix_windows_tests ${WINDOWS_TEST_SOURCES})
target_link_libraries(orvix_windows_tests PRIVATE orvix_win32 GTest::gtest GTest::gtest_main)
target_include_directories(orvix_windows_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
