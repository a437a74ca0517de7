# Writes OUT, the list files DIR/*.txt as C++ string literals (cmake -P), so
# that TolvariImport carries the country lists inside it.
file(GLOB lists ${DIR}/*.txt)
list(SORT lists)
set(rows "")
foreach(list ${lists})
  get_filename_component(code ${list} NAME_WE)
  file(READ ${list} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  # 40 bytes a line.
  string(REGEX REPLACE "((\\\\x[0-9a-f][0-9a-f]){40})" "\\1\"\n     \"" escaped "${escaped}")
  string(APPEND rows "    {\"${code}\",\n     \"${escaped}\"},\n")
endforeach()
list(LENGTH lists count)
file(WRITE ${OUT}.new "// Made by countries/embed.cmake from data/countries/*.txt; do not edit.
#include \"countries/CountryTexts.h\"

extern const CountryText kCountryTexts[] = {
${rows}};
extern const int kCountryTextCount = ${count};
")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.new ${OUT})
file(REMOVE ${OUT}.new)
