# zlib (deflate, inflate, CRC-32) for the archive format: Debian's library in
# the native build, the static mingw-w64 one in the Windows build.
if(WIN32)
  target_link_libraries(orvix_core PUBLIC z)
else()
  find_package(ZLIB REQUIRED)
  target_link_libraries(orvix_core PUBLIC ZLIB::ZLIB)
endif()
