# Cross toolchain for the 64-bit Windows build.
set(ORVIX_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# GCC's hot/cold splitting of functions breaks exceptions under SEH: one
# thrown from a function's cold part (a [[noreturn]] raise on an unlikely
# path) is not caught by that function's own handler. Seen as a registry read
# whose caught type error came back as an empty string.
set(CMAKE_C_FLAGS_INIT "-fno-reorder-blocks-and-partition")
set(CMAKE_CXX_FLAGS_INIT "-fno-reorder-blocks-and-partition")
