# A quick run of the benchmark programs on 1,000 generated records:
#   cmake -DPEERGEN=... -DHARNESS=... -DLOWERBOUND=... -DWORK=dir -P smoke.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${PEERGEN} 1000 ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "tolvari_peergen failed: ${rc}")
endif()
foreach(file Tolvari.dat calendar.txt remind.rem pal.pal birthdays)
  if(NOT EXISTS ${WORK}/${file})
    message(FATAL_ERROR "tolvari_peergen wrote no ${file}")
  endif()
endforeach()

execute_process(COMMAND ${HARNESS} ${WORK}/Tolvari.dat 2025 3 5 --stats
                RESULT_VARIABLE rc OUTPUT_VARIABLE report ERROR_VARIABLE stats)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "tolvari_harness failed: ${rc}\n${stats}")
endif()
string(FIND "${report}" "Wednesday, March  5, 2025\n" at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "unexpected report:\n${report}")
endif()
string(REGEX MATCH "entries ([0-9]+)" _ "${stats}")
set(entries ${CMAKE_MATCH_1})

execute_process(COMMAND ${LOWERBOUND} ${WORK}/Tolvari.dat 2025 3 5
                RESULT_VARIABLE rc OUTPUT_VARIABLE matches)
string(STRIP "${matches}" matches)
if(NOT rc EQUAL 0 OR NOT matches EQUAL entries OR entries EQUAL 0)
  message(FATAL_ERROR "the report names ${entries} entries, the lower bound found ${matches}")
endif()
file(REMOVE_RECURSE ${WORK})
