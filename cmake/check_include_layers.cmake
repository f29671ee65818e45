# Fails on an include that runs upward through the program's layers:
#
#   common   common/: portable helpers and the Windows wrappers
#   model    the portable core of app/: the project, its file, the settings
#   core     the portable core of codegen/, designer/ and styles/
#   shell    the window procedures, dialogs and start-up in app/, designer/
#            and styles/
#
# A file may include files of its own layer and of the layers above it in
# this list, never one below: common includes nothing of the program, the
# model nothing of the editing or generating code, no core file a shell.
# Core files are the sources given to quorvin_add_core and the headers of
# the same name beside them; a header without a source is core when it
# includes nothing of Windows, else shell. Tests and tools may include
# anything and are not checked.
#
#   cmake -DSOURCE_ROOT=<repo> -DFILE_LIST=<file setting CORE_FILES>
#         -P check_include_layers.cmake

cmake_minimum_required(VERSION 3.20)

if(NOT SOURCE_ROOT OR NOT FILE_LIST)
  message(FATAL_ERROR "usage: cmake -DSOURCE_ROOT=... -DFILE_LIST=... -P check_include_layers.cmake")
endif()
include(${FILE_LIST})
get_filename_component(root "${SOURCE_ROOT}" REALPATH)

# Core sources as paths relative to the root, without their extension.
set(core_stems "")
foreach(file IN LISTS CORE_FILES)
  get_filename_component(file "${file}" REALPATH)
  file(RELATIVE_PATH relative "${root}" "${file}")
  string(REGEX REPLACE "\\.[^./]*$" "" stem "${relative}")
  list(APPEND core_stems "${stem}")
endforeach()

set(layer_names common model core shell)

# Sets `out` to the layer index of `relative` (a path under the root).
function(layer_of relative out)
  if(relative MATCHES "^common/")
    set(${out} 0 PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "\\.[^./]*$" "" stem "${relative}")
  set(portable FALSE)
  if(stem IN_LIST core_stems)
    set(portable TRUE)
  elseif(relative MATCHES "\\.h$" AND NOT EXISTS "${root}/${stem}.cpp")
    file(STRINGS "${root}/${relative}" windows_lines
         REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](common/win32/|windows\\.h)")
    if(NOT windows_lines)
      set(portable TRUE)
    endif()
  endif()
  if(NOT portable)
    set(${out} 3 PARENT_SCOPE)
  elseif(relative MATCHES "^app/")
    set(${out} 1 PARENT_SCOPE)
  else()
    set(${out} 2 PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE files RELATIVE "${root}"
     "${root}/common/*.h" "${root}/common/*.cpp" "${root}/app/*.h" "${root}/app/*.cpp"
     "${root}/designer/*.h" "${root}/designer/*.cpp" "${root}/codegen/*.h" "${root}/codegen/*.cpp"
     "${root}/styles/*.h" "${root}/styles/*.cpp")
set(problems "")
set(checked 0)
foreach(relative IN LISTS files)
  if(relative MATCHES "_test\\.cpp$|_test_support\\.h$")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  layer_of("${relative}" layer)
  list(GET layer_names ${layer} layer_name)
  file(STRINGS "${root}/${relative}" include_lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS include_lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" name "${line}")
    if(NOT name MATCHES "^(common|app|designer|codegen|styles)/" OR NOT EXISTS "${root}/${name}")
      continue()
    endif()
    layer_of("${name}" included)
    if(included GREATER layer)
      list(GET layer_names ${included} included_name)
      list(APPEND problems "${relative} (${layer_name}) includes ${name} (${included_name})")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes that run upward:\n  ${text}")
endif()
message(STATUS "${checked} files checked: no include runs upward")
