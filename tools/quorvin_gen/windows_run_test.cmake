# quorvin-gen.exe run under the Windows build's emulator (Wine), in a folder
# with a Japanese name and with Japanese file names: the wide command line,
# -o, the binary standard output and the exit code of a missing project.
#
#   cmake -DEMULATOR=<command list> -DPROGRAM=quorvin-gen.exe -DDIR=<folder>
#         -DEXPECTED=<the build machine's output for 設計.mwd> -P windows_run_test.cmake
foreach(required EMULATOR PROGRAM DIR EXPECTED)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "${required} is not set")
  endif()
endforeach()

file(REMOVE ${DIR}/出力.cpp ${DIR}/stdout.cpp)

execute_process(COMMAND ${EMULATOR} ${PROGRAM} -o 出力.cpp 設計.mwd
                WORKING_DIRECTORY ${DIR} RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "quorvin-gen -o failed (${status}): ${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DIR}/出力.cpp ${EXPECTED}
                RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "${DIR}/出力.cpp differs from ${EXPECTED}")
endif()

execute_process(COMMAND ${EMULATOR} ${PROGRAM} 設計.mwd
                WORKING_DIRECTORY ${DIR} OUTPUT_FILE ${DIR}/stdout.cpp
                RESULT_VARIABLE status ERROR_VARIABLE err)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DIR}/stdout.cpp ${EXPECTED}
                RESULT_VARIABLE different)
if(NOT status EQUAL 0 OR different)
  message(FATAL_ERROR "standard output (status ${status}) differs from ${EXPECTED}: ${err}")
endif()

execute_process(COMMAND ${EMULATOR} ${PROGRAM} ない.mwd
                WORKING_DIRECTORY ${DIR} RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "^quorvin-gen: project file '.*ない\\.mwd' not found\r?\n$")
  message(FATAL_ERROR "a missing project gave status ${status} and the message '${err}'")
endif()
