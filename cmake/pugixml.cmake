# pugixml for the core (Opera's widget files): Debian's library in the native
# builds; the Windows builds compile the sources that scripts/setup keeps in
# its cache (Debian ships pugixml only for Linux).
if(WIN32)
  set(ORVIX_PUGIXML_DIR "$ENV{ORVIX_DEPS}")
  if(NOT ORVIX_PUGIXML_DIR)
    set(ORVIX_PUGIXML_DIR /var/cache/orvix-deps)
  endif()
  add_library(orvix_pugixml STATIC ${ORVIX_PUGIXML_DIR}/pugixml/pugixml.cpp)
  target_include_directories(orvix_pugixml SYSTEM PUBLIC ${ORVIX_PUGIXML_DIR}/pugixml)
  target_link_libraries(orvix_core PUBLIC orvix_pugixml)
else()
  find_package(pugixml REQUIRED CONFIG)
  target_link_libraries(orvix_core PUBLIC pugixml::pugixml)
endif()
