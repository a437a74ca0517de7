# Registers the end-to-end tests with ctest in the native build. They run
# tolvari_e2e.exe of the Windows build under test under Wine on a display of
# their own.
set(E2E_EXE ${TOLVARI_E2E_DIR}/tests/e2e/tolvari_e2e.exe)

add_test(NAME e2e_setup COMMAND ${E2E_SESSION} start ${E2E_STATE} ${E2E_PREFIX})
add_test(NAME e2e_cleanup COMMAND ${E2E_SESSION} stop ${E2E_STATE} ${E2E_PREFIX})
set_tests_properties(e2e_setup PROPERTIES FIXTURES_SETUP wine RESOURCE_LOCK wine TIMEOUT 300)
set_tests_properties(e2e_cleanup PROPERTIES FIXTURES_CLEANUP wine RESOURCE_LOCK wine)

# One ctest entry per e2e source file, covering the suites it defines, so
# that a failure is easy to place and a new file needs no registration.
file(GLOB E2E_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_e2e.cpp)
foreach(file ${E2E_FILES})
  get_filename_component(name ${file} NAME_WE)
  string(REGEX REPLACE "_e2e$" "" name "${name}")
  file(STRINGS ${file} lines REGEX "^(TEST|TEST_F|TEST_P)\\(")
  set(filter "")
  foreach(line ${lines})
    string(REGEX REPLACE "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${line}")
    if(NOT filter MATCHES "(^|:)\\*${suite}\\.\\*")
      if(filter)
        string(APPEND filter ":")
      endif()
      string(APPEND filter "*${suite}.*")
    endif()
  endforeach()
  add_test(NAME e2e.${name}
           COMMAND ${E2E_SESSION} exec ${E2E_STATE} ${E2E_PREFIX} ${E2E_EXE} --gtest_filter=${filter})
  set_tests_properties(e2e.${name} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine LABELS e2e TIMEOUT 900
    ENVIRONMENT "TOLVARI_EXE=${TOLVARI_E2E_DIR}/Tolvari.exe")
endforeach()

# The program is a 32-bit GUI executable that needs no DLL beyond Windows' own;
# so is the x86-64 build where that is the one tested.
add_test(NAME exe.imports COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exe ${TOLVARI_WIN32_DIR}/Tolvari.exe)
# The import companion beside it is a console program.
add_test(NAME exe.import-imports
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exe ${TOLVARI_WIN32_DIR}/TolvariImport.exe console)
if(NOT TOLVARI_E2E_DIR STREQUAL TOLVARI_WIN32_DIR)
  add_test(NAME exe.imports64 COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exe ${TOLVARI_E2E_DIR}/Tolvari.exe)
  add_test(NAME exe.import-imports64
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exe ${TOLVARI_E2E_DIR}/TolvariImport.exe console)
endif()

# The release zip, made by the same script as `make dist` and unpacked into a
# fresh folder, where e2e.Dist starts it. Where the tests run the x86-64
# build, the zip's PE32 program is checked and that build's takes its place.
set(DIST_UNZIPPED ${CMAKE_BINARY_DIR}/dist-unzipped)
set(DIST_RUN_EXE "")
if(NOT TOLVARI_E2E_DIR STREQUAL TOLVARI_WIN32_DIR)
  set(DIST_RUN_EXE ${TOLVARI_E2E_DIR}/Tolvari.exe)
endif()
add_test(NAME dist.unzip
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/dist ${TOLVARI_WIN32_DIR}/Tolvari.exe
                 ${CMAKE_BINARY_DIR}/dist ${DIST_UNZIPPED} ${DIST_RUN_EXE})
set_tests_properties(dist.unzip PROPERTIES FIXTURES_SETUP dist)
if(TEST e2e.Dist)
  set_property(TEST e2e.Dist APPEND PROPERTY FIXTURES_REQUIRED dist)
  set_property(TEST e2e.Dist APPEND PROPERTY ENVIRONMENT TOLVARI_DIST_DIR=${DIST_UNZIPPED})
endif()

# The export as calendar programs read it (Debian's python3 with
# python3-icalendar), and imported back: by the native tool, and by the
# Windows one under Wine, which must write the same.
find_program(ICAL_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
set(EXPORT_CHECK ${ICAL_PYTHON} ${CMAKE_SOURCE_DIR}/tests/e2e/export_check.py ${CMAKE_SOURCE_DIR}/data/Tolvari.dat
                 $<TARGET_FILE:tolvari_gen>)
add_test(NAME export.native COMMAND ${EXPORT_CHECK} $<TARGET_FILE:tolvari-import>)
add_test(NAME export.wine
         COMMAND ${EXPORT_CHECK} ${E2E_SESSION} exec ${E2E_STATE} ${E2E_PREFIX} ${TOLVARI_E2E_DIR}/TolvariImport.exe)
set_tests_properties(export.native PROPERTIES LABELS e2e TIMEOUT 300)

# --add-calendar with each country's list, by both tools.
set(COUNTRIES_CHECK ${ICAL_PYTHON} ${CMAKE_SOURCE_DIR}/tests/e2e/countries_check.py ${CMAKE_SOURCE_DIR}/data/Tolvari.dat
                    ${CMAKE_SOURCE_DIR}/data/countries)
add_test(NAME countries.native COMMAND ${COUNTRIES_CHECK} $<TARGET_FILE:tolvari-import>)
add_test(NAME countries.wine
         COMMAND ${COUNTRIES_CHECK} ${E2E_SESSION} exec ${E2E_STATE} ${E2E_PREFIX} ${TOLVARI_E2E_DIR}/TolvariImport.exe)
set_tests_properties(countries.native PROPERTIES LABELS e2e TIMEOUT 300)
set_tests_properties(countries.wine PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine LABELS e2e TIMEOUT 600)
set_tests_properties(export.wine PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine LABELS e2e TIMEOUT 600)
