# Native build: the simulated machine and the unit tests.
orvix_sources(SIM_SOURCES src/platform/sim)
add_library(orvix_sim STATIC ${SIM_SOURCES})
target_link_libraries(orvix_sim PUBLIC orvix_core)

# The language files as the Windows build ships them, for a look at English.lng.
include(${CMAKE_SOURCE_DIR}/cmake/language.cmake)
orvix_language_files(${CMAKE_BINARY_DIR}/Language)

find_package(GTest REQUIRED)
orvix_sources(NATIVE_TEST_SOURCES tests/native tests/fuzz)
# The fuzz entry points are replayed over their corpora; libFuzzer's main is
# only for the fuzz build.
list(FILTER NATIVE_TEST_SOURCES EXCLUDE REGEX "tests/fuzz/fuzz_main\\.cpp$")
add_executable(orvix_native_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(orvix_native_tests PRIVATE orvix_app orvix_sim GTest::gtest GTest::gtest_main)
target_include_directories(orvix_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# The native tests that read fixture files of the source tree.
set_source_files_properties(tests/native/software_info_sample_test.cpp tests/native/fuzz_corpus_test.cpp
                            PROPERTIES COMPILE_DEFINITIONS ORVIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# The shipped translations and the English.lng that this build writes.
set_source_files_properties(tests/native/language_files_test.cpp PROPERTIES COMPILE_DEFINITIONS
                            "ORVIX_SOURCE_DIR=\"${CMAKE_SOURCE_DIR}\";ORVIX_BINARY_DIR=\"${CMAKE_BINARY_DIR}\"")
add_dependencies(orvix_native_tests orvix_language_files)
# Files that real browsers wrote (DESIGN.md: ../shared/fixtures beside the
# main checkout; a worktree finds them one level further up). Tests that need
# them skip where the folder is missing.
set(ORVIX_FIXTURES_DIR ${CMAKE_SOURCE_DIR}/../shared/fixtures)
if(NOT IS_DIRECTORY ${ORVIX_FIXTURES_DIR})
  set(ORVIX_FIXTURES_DIR ${CMAKE_SOURCE_DIR}/../../shared/fixtures)
endif()
set_source_files_properties(tests/native/browser_fixtures.cpp PROPERTIES COMPILE_DEFINITIONS
                            ORVIX_FIXTURES_DIR="${ORVIX_FIXTURES_DIR}")
# The cleaners' switch over a real profile, for tests/browsers/real_browsers.py.
add_executable(orvix_profile_switch tests/browsers/profile_switch.cpp tests/native/browser_fixtures.cpp)
target_link_libraries(orvix_profile_switch PRIVATE orvix_app orvix_sim)
target_include_directories(orvix_profile_switch PRIVATE ${CMAKE_SOURCE_DIR}/tests)

enable_testing()
add_test(NAME native COMMAND orvix_native_tests)

# End-to-end tests: native programs that drive Wine, installing what the
# Windows build made in out/win32 into fresh prefixes (run after both builds).
# tests/gui drives the desktop program through its windows.
orvix_sources(E2E_TEST_SOURCES tests/e2e tests/gui)
add_executable(orvix_e2e_tests ${E2E_TEST_SOURCES})
target_link_libraries(orvix_e2e_tests PRIVATE GTest::gtest GTest::gtest_main)
target_include_directories(orvix_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(orvix_e2e_tests PRIVATE ORVIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# Benchmarks: programs that print figures; never part of the test run.
add_executable(orvix_bench_enumeration bench/enumeration_bench.cpp)
target_link_libraries(orvix_bench_enumeration PRIVATE orvix_app orvix_sim)
add_executable(orvix_bench_addons_list bench/addons_list_bench.cpp)
target_link_libraries(orvix_bench_addons_list PRIVATE orvix_app orvix_sim)

# The leftover-scan machine: into the simulation for the native benchmark,
# into a .reg file and a file tree for the Wine one.
add_library(orvix_bench_machine STATIC bench/leftover_machine.cpp)
target_include_directories(orvix_bench_machine PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/src)
add_executable(orvix_bench_leftover_scan bench/leftover_scan_bench.cpp)
target_link_libraries(orvix_bench_leftover_scan PRIVATE orvix_app orvix_sim orvix_bench_machine)
add_executable(orvix_bench_leftover_machine bench/leftover_machine_export.cpp)
target_link_libraries(orvix_bench_leftover_machine PRIVATE orvix_bench_machine)

# The safety property over random hostile machines: a few hundred in the
# native suite, the long run as a benchmark.
add_library(orvix_safety_property STATIC bench/hostile_machine.cpp bench/safety_property.cpp)
target_include_directories(orvix_safety_property PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(orvix_safety_property PUBLIC orvix_app orvix_sim)
target_link_libraries(orvix_native_tests PRIVATE orvix_safety_property)
add_executable(orvix_bench_safety_property bench/safety_property_bench.cpp)
target_link_libraries(orvix_bench_safety_property PRIVATE orvix_safety_property)

# Unoptimised, the sanitized libraries ran the safety property's machines and
# the fault sweeps several times slower; the tests themselves compile faster
# without optimisation, and -O1 keeps the reports readable.
if(ORVIX_SANITIZE)
  foreach(library orvix_core orvix_app orvix_sim orvix_safety_property)
    target_compile_options(${library} PRIVATE $<$<CONFIG:Debug>:-O1>)
  endforeach()
endif()
