# Turns the UTF-8 description paragraphs of the style flags into a C++ header
# of CP932 byte constants, one `inline constexpr char description_<NAME>[]`
# per "[NAME]" section. Runs on the build host, also when the program is
# cross-built, and needs only the iconv command.
#
#   cmake -DINPUT=<style_descriptions.txt> -DOUTPUT=<header> [-DICONV=<path>]
#         -P embed_descriptions.cmake
#
# The build stops when a paragraph holds a character that CP932 cannot hold,
# is empty, is 300 bytes or longer in CP932, or when a name appears twice.

cmake_minimum_required(VERSION 3.20)

if(NOT INPUT OR NOT OUTPUT)
  message(FATAL_ERROR "embed_descriptions: INPUT and OUTPUT are required")
endif()
if(NOT ICONV)
  find_program(ICONV iconv)
  if(NOT ICONV)
    message(FATAL_ERROR "embed_descriptions: the iconv command was not found")
  endif()
endif()

# Room of the style dialog's description buffer, terminating NUL included.
set(limit_bytes 300)

# file(STRINGS) returns a CMake list, which would split a line at ';' and
# mangle a '\'; such texts are refused rather than silently changed.
# Comment lines may hold them.
file(READ "${INPUT}" raw)
string(REGEX REPLACE "(^|\n)#[^\n]*" "" raw "${raw}")
string(FIND "${raw}" ";" semicolon)
string(FIND "${raw}" "\\" backslash)
if(NOT semicolon EQUAL -1 OR NOT backslash EQUAL -1)
  message(FATAL_ERROR "${INPUT}: ASCII ';' and '\\' are not allowed")
endif()

file(STRINGS "${INPUT}" lines ENCODING UTF-8)

set(names "")
set(current "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "\r$" "" line "${line}")
  if(line MATCHES "^#" OR line MATCHES "^[ \t]*$")
    continue()
  endif()
  if(line MATCHES "^\\[([A-Z0-9_]+)\\]$")
    set(current "${CMAKE_MATCH_1}")
    if("${current}" IN_LIST names)
      message(FATAL_ERROR "${INPUT}: ${current} is described twice")
    endif()
    list(APPEND names "${current}")
    set("text_${current}" "")
  elseif(current STREQUAL "")
    message(FATAL_ERROR "${INPUT}: text before the first [NAME]: ${line}")
  else()
    string(APPEND "text_${current}" "${line}")
  endif()
endforeach()

set(scratch_utf8 "${OUTPUT}.utf8.tmp")
set(scratch_cp932 "${OUTPUT}.cp932.tmp")
set(header "// Generated from styles/style_descriptions.txt by embed_descriptions.cmake.\n")
string(APPEND header "// Do not edit: change the UTF-8 text and rebuild.\n")
string(APPEND header "#pragma once\n\nnamespace quorvin::style_text {\n")
foreach(name IN LISTS names)
  set(text "${text_${name}}")
  if(text STREQUAL "")
    message(FATAL_ERROR "${INPUT}: ${name} has an empty description")
  endif()
  file(WRITE "${scratch_utf8}" "${text}")
  execute_process(
    COMMAND "${ICONV}" -f UTF-8 -t CP932
    INPUT_FILE "${scratch_utf8}"
    OUTPUT_FILE "${scratch_cp932}"
    RESULT_VARIABLE status
    ERROR_VARIABLE problem)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${INPUT}: the description of ${name} cannot be written in CP932: ${problem}")
  endif()
  file(READ "${scratch_cp932}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR bytes "${digits} / 2")
  if(bytes GREATER_EQUAL limit_bytes)
    message(FATAL_ERROR "${INPUT}: the description of ${name} is ${bytes} bytes in CP932, "
                        "it must stay below ${limit_bytes}")
  endif()
  # Every byte escaped: "\xNN" never runs into the next escape.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  string(APPEND header "\n// ${text}\n")
  string(APPEND header "inline constexpr char description_${name}[] =\n    \"${escaped}\";\n")
endforeach()
string(APPEND header "\n}  // namespace quorvin::style_text\n")
file(REMOVE "${scratch_utf8}" "${scratch_cp932}")

file(WRITE "${OUTPUT}" "${header}")
