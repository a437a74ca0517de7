# Registers the end-to-end suites with ctest in the native build. They run
# tolvari_e2e.exe of the Win32 build under Wine on a display of their own.
set(E2E_STATE ${CMAKE_BINARY_DIR}/e2e-session)
set(E2E_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(E2E_SESSION ${CMAKE_SOURCE_DIR}/scripts/e2e-session)
set(E2E_EXE ${TOLVARI_WIN32_DIR}/tests/e2e/tolvari_e2e.exe)

add_test(NAME e2e_setup COMMAND ${E2E_SESSION} start ${E2E_STATE} ${E2E_PREFIX})
add_test(NAME e2e_cleanup COMMAND ${E2E_SESSION} stop ${E2E_STATE} ${E2E_PREFIX})
set_tests_properties(e2e_setup PROPERTIES FIXTURES_SETUP wine RESOURCE_LOCK wine TIMEOUT 300)
set_tests_properties(e2e_cleanup PROPERTIES FIXTURES_CLEANUP wine RESOURCE_LOCK wine)

# One ctest entry per suite (gtest filter), so failures are easy to place.
set(E2E_SUITES
  Startup
  "Ways/StartupClose")
foreach(suite ${E2E_SUITES})
  string(REPLACE "/" "_" name "${suite}")
  add_test(NAME e2e.${name}
           COMMAND ${E2E_SESSION} exec ${E2E_STATE} ${E2E_PREFIX} ${E2E_EXE}
                   --gtest_filter=${suite}.*)
  set_tests_properties(e2e.${name} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine LABELS e2e TIMEOUT 600
    ENVIRONMENT "TOLVARI_EXE=${TOLVARI_WIN32_DIR}/Tolvari.exe")
endforeach()

# The program is a 32-bit GUI executable that needs no DLL beyond Windows' own.
add_test(NAME exe.imports COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exe ${TOLVARI_WIN32_DIR}/Tolvari.exe)
