# Windows build: the Win32 backend, the programs and the tests run under Wine.
# Libraries Debian ships only for Linux come from the setup script's cache.
set(ORVIX_DEPS "$ENV{ORVIX_DEPS}")
if(NOT ORVIX_DEPS)
  set(ORVIX_DEPS /var/cache/orvix-deps)
endif()

add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601)
# Both builds ship from the same sources: out/win32 and out/win64.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVIX_WINDOWS_OUT ${CMAKE_SOURCE_DIR}/out/win64)
  set(ORVIX_GTEST_PREFIX ${ORVIX_DEPS}/googletest-x86_64)
else()
  set(ORVIX_WINDOWS_OUT ${CMAKE_SOURCE_DIR}/out/win32)
  set(ORVIX_GTEST_PREFIX ${ORVIX_DEPS}/googletest)
endif()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${ORVIX_WINDOWS_OUT})
include(${CMAKE_SOURCE_DIR}/cmake/language.cmake)
orvix_language_files(${ORVIX_WINDOWS_OUT}/Language)

orvix_sources(WIN32_SOURCES src/platform/win32)
add_library(orvix_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(orvix_win32 PUBLIC orvix_core advapi32 shell32 ole32 user32 comctl32 version crypt32 winhttp)

# Version resources of the programs, from the project's version.
enable_language(RC)
function(orvix_version_resource target description)
  set(ORVIX_FILE_DESCRIPTION "${description}")
  set(ORVIX_INTERNAL_NAME "${target}")
  configure_file(${CMAKE_SOURCE_DIR}/src/app/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()

add_executable(orvix src/app/orvix_main.cpp)
orvix_version_resource(orvix "Orvix Uninstaller console")
target_link_options(orvix PRIVATE -municode -s)
target_link_libraries(orvix PRIVATE orvix_app orvix_win32)

# The automation program of the GUI tests and scripts/screenshots: drives the
# desktop program's windows with window messages (one per build, since it
# lays out the list and tree structures it places in the program's memory
# as its own build does).
file(GLOB AUTOMATION_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/gui/automation/*.cpp)
add_executable(orvix_automation ${AUTOMATION_SOURCES})
target_include_directories(orvix_automation PRIVATE ${CMAKE_SOURCE_DIR}/tests/gui)
target_link_options(orvix_automation PRIVATE -municode -s)
target_link_libraries(orvix_automation PRIVATE user32 comctl32)

# OrvixUninstaller.exe: the desktop program, a GUI-subsystem program over
# the windows of src/ui. It starts asInvoker: the tests and the automation
# drive it without an elevation prompt, and the installed copy's shortcut
# asks for administrator rights where a removal needs them.
orvix_sources(UI_SOURCES src/ui)
add_library(orvix_ui STATIC ${UI_SOURCES})
target_link_libraries(orvix_ui PUBLIC orvix_win32 comctl32 comdlg32 uxtheme gdi32 ole32 oleaut32 uuid)
set(ORVIX_EXECUTION_LEVEL asInvoker)
set(ORVIX_MANIFEST_FILE ${CMAKE_CURRENT_BINARY_DIR}/OrvixUninstaller.manifest)
set(ORVIX_ICON_FILE ${CMAKE_SOURCE_DIR}/src/app/resources/orvix.ico)
configure_file(${CMAKE_SOURCE_DIR}/src/app/resources/OrvixUninstaller.manifest.in ${ORVIX_MANIFEST_FILE} @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/src/app/resources/OrvixUninstaller.rc.in
               ${CMAKE_CURRENT_BINARY_DIR}/OrvixUninstaller.rc @ONLY)
add_executable(OrvixUninstaller WIN32 src/app/orvix_uninstaller_main.cpp ${CMAKE_CURRENT_BINARY_DIR}/OrvixUninstaller.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/OrvixUninstaller.rc PROPERTIES
                            OBJECT_DEPENDS "${ORVIX_MANIFEST_FILE};${ORVIX_ICON_FILE}")
orvix_version_resource(OrvixUninstaller "Orvix Uninstaller")
target_link_options(OrvixUninstaller PRIVATE -municode -mwindows -s)
target_link_libraries(OrvixUninstaller PRIVATE orvix_ui)

set(GTest_DIR ${ORVIX_GTEST_PREFIX}/lib/cmake/GTest)
find_package(GTest REQUIRED CONFIG)
orvix_sources(WINDOWS_TEST_SOURCES tests/windows)
add_executable(orvix_windows_tests ${WINDOWS_TEST_SOURCES})
target_link_libraries(orvix_windows_tests PRIVATE orvix_ui orvix_win32 GTest::gtest GTest::gtest_main)
target_include_directories(orvix_windows_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)

# Helper programs of the Windows tests; the tests find them beside
# orvix_windows_tests.exe.
add_executable(orvix_test_sleeper tests/windows/programs/sleeper.cpp tests/windows/programs/sleeper.rc)
target_link_options(orvix_test_sleeper PRIVATE -municode -mwindows -s)

# stdcall exports under their plain names (no "@N" decoration).
add_library(orvix_test_echo SHARED tests/windows/programs/echo_exports.cpp)
set_target_properties(orvix_test_echo PROPERTIES PREFIX "")
target_link_options(orvix_test_echo PRIVATE -static -s -Wl,--kill-at)
add_library(orvix_test_statistics SHARED tests/windows/programs/statistics_recorder.cpp)
set_target_properties(orvix_test_statistics PROPERTIES PREFIX "")
target_link_options(orvix_test_statistics PRIVATE -static -s -Wl,--kill-at)
# An in-process COM server that regsvr32 registers as an Internet Explorer
# helper object and toolbar.
add_library(orvix_test_browser_helper SHARED tests/windows/programs/browser_helper.cpp)
set_target_properties(orvix_test_browser_helper PROPERTIES PREFIX "")
target_link_options(orvix_test_browser_helper PRIVATE -static -s -Wl,--kill-at)
target_link_libraries(orvix_test_browser_helper PRIVATE advapi32)
add_dependencies(orvix_windows_tests orvix_test_sleeper orvix_test_echo orvix_test_statistics orvix_test_browser_helper)
orvix_version_resource(orvix_windows_tests "Orvix Uninstaller Windows tests")

# A copy of the sleeper signed with a throw-away certificate, for the signer
# name; the tests skip that check where the signing tools are missing.
find_program(ORVIX_OPENSSL openssl)
find_program(ORVIX_OSSLSIGNCODE osslsigncode)
if(ORVIX_OPENSSL AND ORVIX_OSSLSIGNCODE)
  set(signed ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/orvix_test_signed.exe)
  set(signer_key ${CMAKE_CURRENT_BINARY_DIR}/test_signer_key.pem)
  set(signer_cert ${CMAKE_CURRENT_BINARY_DIR}/test_signer_cert.pem)
  add_custom_command(OUTPUT ${signed}
    COMMAND ${ORVIX_OPENSSL} req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=Orvix Test Signer"
            -keyout ${signer_key} -out ${signer_cert}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${signed}
    COMMAND ${ORVIX_OSSLSIGNCODE} sign -certs ${signer_cert} -key ${signer_key}
            -in $<TARGET_FILE:orvix_test_sleeper> -out ${signed}
    DEPENDS orvix_test_sleeper
    VERBATIM)
  add_custom_target(orvix_test_signed DEPENDS ${signed})
  add_dependencies(orvix_windows_tests orvix_test_signed)
endif()

# Sample programs and their installers for the end-to-end tests, made once,
# by the 32-bit build (they hold 32- and 64-bit programs of their own).
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  include(${CMAKE_SOURCE_DIR}/tests/samples/samples.cmake)
endif()
