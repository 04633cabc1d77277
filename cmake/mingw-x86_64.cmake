# Cross toolchain for the 64-bit Windows build.
set(ORVIX_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
