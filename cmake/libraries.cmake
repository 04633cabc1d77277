# nlohmann-json (header-only) and SQLite 3 for the core. Natively both come
# from Debian's packages; the Windows builds see nlohmann-json through a
# private include folder that links only its own headers (all of /usr/include
# would pull the Linux libc headers into the cross build), and link the SQLite
# that scripts/setup built for their compiler. Only the few sources that use
# them get their include folders, so the other sources keep their flags.
set(ORVIX_JSON_SOURCES ${CMAKE_SOURCE_DIR}/src/formats/json_tree.cpp)
set(ORVIX_SQLITE_SOURCES ${CMAKE_SOURCE_DIR}/src/addons/sqlite_db.cpp
                         ${CMAKE_SOURCE_DIR}/src/addons/sqlite_platform_vfs.cpp)
if(WIN32)
  set(ORVIX_JSON_INCLUDE ${CMAKE_BINARY_DIR}/third_party_include)
  file(MAKE_DIRECTORY ${ORVIX_JSON_INCLUDE})
  file(CREATE_LINK /usr/include/nlohmann ${ORVIX_JSON_INCLUDE}/nlohmann SYMBOLIC)
  set_source_files_properties(${ORVIX_JSON_SOURCES} PROPERTIES INCLUDE_DIRECTORIES ${ORVIX_JSON_INCLUDE})

  set(ORVIX_DEPS_DIR "$ENV{ORVIX_DEPS}")
  if(NOT ORVIX_DEPS_DIR)
    set(ORVIX_DEPS_DIR /var/cache/orvix-deps)
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ORVIX_SQLITE_PREFIX ${ORVIX_DEPS_DIR}/sqlite-x86_64)
  else()
    set(ORVIX_SQLITE_PREFIX ${ORVIX_DEPS_DIR}/sqlite)
  endif()
  set_source_files_properties(${ORVIX_SQLITE_SOURCES} PROPERTIES INCLUDE_DIRECTORIES ${ORVIX_SQLITE_PREFIX}/include)
  target_link_libraries(orvix_core PRIVATE ${ORVIX_SQLITE_PREFIX}/lib/libsqlite3.a)
else()
  # Debian's headers are in the compiler's own search path.
  target_link_libraries(orvix_core PRIVATE sqlite3)
endif()
