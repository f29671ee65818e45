# Fails when a portable core file reaches Windows-only code: windows.h or
# another Windows SDK header, or anything under common/win32/. Quoted
# includes are followed (into headers of the source tree and of the core's
# include folders), so a header that drags windows.h in is found too.
#
#   cmake -DSOURCE_ROOT=<repo> -DFILE_LIST=<file setting CORE_FILES and
#         INCLUDE_DIRS> -P check_portable_core.cmake

cmake_minimum_required(VERSION 3.20)

if(NOT SOURCE_ROOT OR NOT FILE_LIST)
  message(FATAL_ERROR "usage: cmake -DSOURCE_ROOT=... -DFILE_LIST=... -P check_portable_core.cmake")
endif()
include(${FILE_LIST})
if(NOT CORE_FILES)
  message(FATAL_ERROR "no core files listed in ${FILE_LIST}")
endif()

# Headers that only exist for Windows (lower case; matched case-insensitively).
set(windows_headers
  windows.h windef.h winbase.h winuser.h wingdi.h winnt.h winnls.h winreg.h
  commdlg.h commctrl.h shellapi.h shlobj.h objbase.h ole2.h tchar.h
  winsock2.h ws2tcpip.h mmsystem.h richedit.h windowsx.h io.h direct.h)

get_filename_component(real_root "${SOURCE_ROOT}" REALPATH)
set(win32_dir "${real_root}/common/win32/")
set(queue ${CORE_FILES})
set(seen "")
set(problems "")

while(queue)
  list(POP_FRONT queue file)
  get_filename_component(file "${file}" REALPATH)
  if(file IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${file}")

  string(FIND "${file}" "${win32_dir}" at)
  if(at EQUAL 0)
    list(APPEND problems "${file} is Windows code")
    continue()
  endif()
  if(NOT EXISTS "${file}")
    list(APPEND problems "${file} cannot be read")
    continue()
  endif()

  file(STRINGS "${file}" include_lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  get_filename_component(file_dir "${file}" DIRECTORY)
  foreach(line IN LISTS include_lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" name "${line}")
    string(TOLOWER "${name}" lower_name)
    get_filename_component(base_name "${lower_name}" NAME)
    if(base_name IN_LIST windows_headers)
      list(APPEND problems "${file} includes <${name}>")
      continue()
    endif()
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"")
      foreach(dir IN ITEMS "${file_dir}" "${SOURCE_ROOT}" ${INCLUDE_DIRS})
        if(EXISTS "${dir}/${name}" AND NOT IS_DIRECTORY "${dir}/${name}")
          list(APPEND queue "${dir}/${name}")
          break()
        endif()
      endforeach()
    endif()
  endforeach()
endwhile()

list(LENGTH seen checked)
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The portable core reaches Windows-only code:\n  ${text}")
endif()
message(STATUS "${checked} files of the portable core checked: no Windows headers")
