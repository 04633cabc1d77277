# The language files beside the programs: English.lng written from the
# message table by a small program built for this machine (in the Windows
# build too, where the programs cannot run), the translations of Language/
# copied beside it.
set(ORVIX_ENGLISH_WRITER_SOURCES
    ${CMAKE_SOURCE_DIR}/src/language/tools/write_english_lng.cpp
    ${CMAKE_SOURCE_DIR}/src/language/english_language_file.cpp
    ${CMAKE_SOURCE_DIR}/src/language/messages.cpp
    ${CMAKE_SOURCE_DIR}/src/language/window_texts.cpp)
file(GLOB ORVIX_FORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/language/forms/*.cpp)
list(APPEND ORVIX_ENGLISH_WRITER_SOURCES ${ORVIX_FORM_SOURCES})

function(orvix_language_files folder)
  if(CMAKE_CROSSCOMPILING)
    find_program(ORVIX_HOST_CXX NAMES c++ g++ REQUIRED)
    set(writer ${CMAKE_CURRENT_BINARY_DIR}/write_english_lng)
    file(GLOB headers ${CMAKE_SOURCE_DIR}/src/language/*.h ${CMAKE_SOURCE_DIR}/src/language/*.inc
         ${CMAKE_SOURCE_DIR}/src/language/forms/*.h)
    add_custom_command(OUTPUT ${writer}
      COMMAND ${ORVIX_HOST_CXX} -std=c++20 -I${CMAKE_SOURCE_DIR}/src ${ORVIX_ENGLISH_WRITER_SOURCES} -o ${writer}
      DEPENDS ${ORVIX_ENGLISH_WRITER_SOURCES} ${headers} ${CMAKE_SOURCE_DIR}/src/platform/texts.h
      VERBATIM)
  else()
    add_executable(orvix_write_english_lng ${ORVIX_ENGLISH_WRITER_SOURCES})
    target_include_directories(orvix_write_english_lng PRIVATE ${CMAKE_SOURCE_DIR}/src)
    set(writer $<TARGET_FILE:orvix_write_english_lng>)
  endif()

  add_custom_command(OUTPUT ${folder}/English.lng
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${writer} ${folder}/English.lng
    DEPENDS ${writer}
    VERBATIM)
  set(outputs ${folder}/English.lng)
  file(GLOB translations CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Language/*.lng)
  foreach(translation IN LISTS translations)
    get_filename_component(name ${translation} NAME)
    add_custom_command(OUTPUT ${folder}/${name}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${translation} ${folder}/${name}
      DEPENDS ${translation} ${folder}/English.lng
      VERBATIM)
    list(APPEND outputs ${folder}/${name})
  endforeach()
  add_custom_target(orvix_language_files ALL DEPENDS ${outputs})
endfunction()
