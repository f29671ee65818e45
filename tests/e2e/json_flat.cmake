# Writes a JSON file as one "path=value" line per scalar, so that a shell
# script can read it with grep:
#
#   cmake -DJSON=design.json -DOUT=design.txt -P json_flat.cmake
#
#   title=E2E Sample
#   objects.0.caption=Button
#   objects.0.styleNames.2=BS_MULTILINE
#   objects.length=11
#
# Arrays also give their length as PATH.length. Strings are printed as they
# stand (UTF-8), numbers and booleans as JSON writes them, null as "null".
cmake_minimum_required(VERSION 3.19)

if(NOT DEFINED JSON OR NOT DEFINED OUT)
  message(FATAL_ERROR "usage: cmake -DJSON=FILE -DOUT=FILE -P json_flat.cmake")
endif()
file(READ "${JSON}" document)
file(WRITE "${OUT}" "")

# flatten(PREFIX ARGS...): ARGS is the path into `document`.
function(flatten prefix)
  string(JSON type TYPE "${document}" ${ARGN})
  if(type STREQUAL "OBJECT")
    string(JSON count LENGTH "${document}" ${ARGN})
    if(count GREATER 0)
      math(EXPR last "${count} - 1")
      foreach(i RANGE ${last})
        string(JSON key MEMBER "${document}" ${ARGN} ${i})
        if(prefix STREQUAL "")
          flatten("${key}" ${ARGN} "${key}")
        else()
          flatten("${prefix}.${key}" ${ARGN} "${key}")
        endif()
      endforeach()
    endif()
  elseif(type STREQUAL "ARRAY")
    string(JSON count LENGTH "${document}" ${ARGN})
    file(APPEND "${OUT}" "${prefix}.length=${count}\n")
    if(count GREATER 0)
      math(EXPR last "${count} - 1")
      foreach(i RANGE ${last})
        flatten("${prefix}.${i}" ${ARGN} ${i})
      endforeach()
    endif()
  else()
    string(JSON value GET "${document}" ${ARGN})
    file(APPEND "${OUT}" "${prefix}=${value}\n")
  endif()
endfunction()

flatten("")
