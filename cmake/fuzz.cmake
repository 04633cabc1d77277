# Fuzz build (ORVIX_FUZZ, clang): one libFuzzer program per corpus folder of
# tests/fuzz/corpus, over the simulated machine. Configured by scripts/fuzz
# into out/fuzz-build; the native and Windows builds never include this.
orvix_sources(SIM_SOURCES src/platform/sim)
add_library(orvix_sim STATIC ${SIM_SOURCES})
target_link_libraries(orvix_sim PUBLIC orvix_core)

file(GLOB FUZZ_ENTRY_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
list(FILTER FUZZ_ENTRY_SOURCES EXCLUDE REGEX "fuzz_main\\.cpp$")
add_library(orvix_fuzz_entries STATIC ${FUZZ_ENTRY_SOURCES})
target_link_libraries(orvix_fuzz_entries PUBLIC orvix_app orvix_sim)
target_include_directories(orvix_fuzz_entries PUBLIC ${CMAKE_SOURCE_DIR}/tests)

file(GLOB FUZZ_CORPORA LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/*)
foreach(corpus IN LISTS FUZZ_CORPORA)
  if(IS_DIRECTORY ${corpus})
    get_filename_component(name ${corpus} NAME)
    add_executable(fuzz_${name} tests/fuzz/fuzz_main.cpp)
    target_compile_definitions(fuzz_${name} PRIVATE ORVIX_FUZZ_TARGET="${name}")
    target_link_libraries(fuzz_${name} PRIVATE orvix_fuzz_entries)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  endif()
endforeach()
