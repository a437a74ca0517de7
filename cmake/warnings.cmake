# Warnings apply to our own targets only, not to GoogleTest built from source.
option(TOLVARI_WERROR "Treat compiler warnings as errors" OFF)
function(tolvari_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wformat=2 -Wformat-security)
  if(TOLVARI_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
