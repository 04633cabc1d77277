# libgcrypt (MD5, AES) for the core: Debian's Linux library in the native
# build, the static mingw-w64 libraries in the Windows build (libgpg-error
# needs Winsock there).
if(WIN32)
  target_link_libraries(orvix_core PUBLIC gcrypt gpg-error ws2_32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(GCRYPT REQUIRED IMPORTED_TARGET libgcrypt)
  target_link_libraries(orvix_core PUBLIC PkgConfig::GCRYPT)
endif()
