# Sources of countries/ (see the top CMakeLists.txt for the lists): the
# country lists of data/countries, built in as a table, and their reading.
file(GLOB COUNTRY_LISTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/countries/*.txt)
set(COUNTRY_TEXTS ${CMAKE_BINARY_DIR}/countries/CountryTexts.cpp)
add_custom_command(OUTPUT ${COUNTRY_TEXTS}
  COMMAND ${CMAKE_COMMAND} -DDIR=${CMAKE_SOURCE_DIR}/data/countries -DOUT=${COUNTRY_TEXTS}
          -P ${CMAKE_SOURCE_DIR}/countries/embed.cmake
  DEPENDS ${COUNTRY_LISTS} ${CMAKE_SOURCE_DIR}/countries/embed.cmake
  COMMENT "Building in the country lists")
# For a core compiled again in another folder (tests/fuzz) to wait for it.
add_custom_target(tolvari_country_texts DEPENDS ${COUNTRY_TEXTS})
list(APPEND CORE_SOURCES countries/Countries.cpp ${COUNTRY_TEXTS})
