# Builds a copy of the worked example and checks that the window source is
# generated, compiled, and generated again when the project file changes.
#
#   cmake -DSOURCE_ROOT=... -DGENERATOR=... -DTOOLCHAIN=<file or empty>
#         -DWORK_DIR=... -P example_test.cmake
foreach(required SOURCE_ROOT GENERATOR WORK_DIR)
  if(NOT ${required})
    message(FATAL_ERROR "${required} is not set")
  endif()
endforeach()

set(example ${WORK_DIR}/source)
set(build ${WORK_DIR}/build)
file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${SOURCE_ROOT}/tools/quorvin_gen/example/ DESTINATION ${example})
set(generated ${build}/hello_window.cpp)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}")
  endif()
endfunction()

if(NOT TOOLCHAIN)
  # No compiler for Windows here: the generation alone, as the build would
  # run it.
  file(MAKE_DIRECTORY ${build})
  run(${GENERATOR} -t ${SOURCE_ROOT}/codegen/code.txt -o ${generated} ${example}/hello.mwd)
  file(READ ${generated} text)
  if(NOT text MATCHES "HelloWindow")
    message(FATAL_ERROR "${generated} does not create the window HelloWindow")
  endif()
  message(STATUS "no mingw-w64 compiler: checked the generation only")
  return()
endif()

run(${CMAKE_COMMAND} -S ${example} -B ${build} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
    -DQUORVIN_ROOT=${SOURCE_ROOT} -DQUORVIN_GENERATOR=${GENERATOR})
run(${CMAKE_COMMAND} --build ${build})
if(NOT EXISTS ${build}/hello.exe)
  message(FATAL_ERROR "the example did not build ${build}/hello.exe")
endif()
file(READ ${generated} text)
file(READ ${generated} hex HEX)  # file(READ) as text drops the CRs
if(NOT text MATCHES "\"HelloWindow\"" OR NOT hex MATCHES "0d0a")
  message(FATAL_ERROR "${generated} is not the window source of hello.mwd")
endif()

# A changed design makes the next build generate and compile again. The
# change comes a second after the build, so that it is seen whatever the
# file system's time resolution.
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1)
file(COPY_FILE ${SOURCE_ROOT}/tools/window_probe/samples/every_kind.mwd ${example}/hello.mwd)
file(TOUCH ${example}/hello.mwd)
run(${CMAKE_COMMAND} --build ${build})
file(READ ${generated} text)
if(NOT text MATCHES "\"SampleWindow\"")
  message(FATAL_ERROR "changing hello.mwd did not regenerate ${generated}")
endif()

# The design saved again without a change: the generator runs, but leaves
# the source as it was, so the build does not compile it again.
file(TIMESTAMP ${generated} before "%Y%m%d%H%M%S")
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
file(TOUCH ${example}/hello.mwd)
run(${CMAKE_COMMAND} --build ${build})
file(TIMESTAMP ${generated} after "%Y%m%d%H%M%S")
if(NOT before STREQUAL after)
  message(FATAL_ERROR "an unchanged design rewrote ${generated} (${before} -> ${after})")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
