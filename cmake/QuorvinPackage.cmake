# The release package for Windows users, made by CPack from the Windows
# build (scripts/package.sh; after a full build also
# `cmake --build build/win --target package`):
# quorvin-<version>-win64.zip with one folder holding
#   quorvin.exe, quorvin-gen.exe       stripped, the runtime linked in
#   code.txt and the other templates   every *.txt in codegen/ but CMakeLists.txt
#   setting.ini, the nine bitmaps      read by quorvin.exe from its folder
#   README.txt                         for Windows users, Japanese and English
#   cmake/QuorvinGenerate.cmake        the CMake function around quorvin-gen
#   licenses/                          what the executables carry
# The version is the project's, the one quorvin-gen --version prints.

# The licence texts of what is linked into the executables, from the Debian
# packages that provide it: GCC's runtime (libgcc, libstdc++, with the GCC
# Runtime Library Exception), the mingw-w64 runtime and winpthreads, and
# nlohmann/json inside quorvin-gen.
set(QUORVIN_LICENSE_GCC_RUNTIME /usr/share/doc/gcc-mingw-w64-base/copyright CACHE FILEPATH
    "Copyright file of the mingw-w64 GCC runtime (Debian package gcc-mingw-w64-base)")
set(QUORVIN_LICENSE_MINGW_RUNTIME /usr/share/doc/mingw-w64-x86-64-dev/copyright CACHE FILEPATH
    "Copyright file of the mingw-w64 runtime (Debian package mingw-w64-x86-64-dev)")
set(QUORVIN_LICENSE_NLOHMANN_JSON /usr/share/doc/nlohmann-json3-dev/copyright CACHE FILEPATH
    "Copyright file of nlohmann/json (Debian package nlohmann-json3-dev)")
foreach(licence QUORVIN_LICENSE_GCC_RUNTIME QUORVIN_LICENSE_MINGW_RUNTIME
                QUORVIN_LICENSE_NLOHMANN_JSON)
  if(NOT EXISTS ${${licence}})
    message(FATAL_ERROR "${${licence}} not found: the package needs it (set ${licence})")
  endif()
endforeach()

# Everything goes into the package's one folder; no bin/ or share/.
install(TARGETS quorvin quorvin-gen RUNTIME DESTINATION . COMPONENT quorvin)

# Every template shipped beside the default one.
file(GLOB QUORVIN_TEMPLATES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/codegen/*.txt)
list(FILTER QUORVIN_TEMPLATES EXCLUDE REGEX "/CMakeLists\\.txt$")
set(bitmaps ${QUORVIN_TOOL_BITMAPS})
list(TRANSFORM bitmaps PREPEND ${PROJECT_SOURCE_DIR}/resources/bitmaps/)
install(FILES ${QUORVIN_TEMPLATES} ${PROJECT_SOURCE_DIR}/resources/setting.ini ${bitmaps}
        DESTINATION . COMPONENT quorvin)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/QuorvinGenerate.cmake DESTINATION cmake
        COMPONENT quorvin)

# The read-me, with the version filled in and Windows line ends.
configure_file(${PROJECT_SOURCE_DIR}/resources/package/README.txt.in
               ${CMAKE_BINARY_DIR}/package/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt DESTINATION . COMPONENT quorvin)
install(FILES ${QUORVIN_LICENSE_GCC_RUNTIME} DESTINATION licenses
        RENAME gcc-runtime-libraries.txt COMPONENT quorvin)
install(FILES ${QUORVIN_LICENSE_MINGW_RUNTIME} DESTINATION licenses
        RENAME mingw-w64-runtime.txt COMPONENT quorvin)
install(FILES ${QUORVIN_LICENSE_NLOHMANN_JSON} DESTINATION licenses
        RENAME nlohmann-json.txt COMPONENT quorvin)

# CPack (and `install`) take what is built and build nothing themselves: a
# full build of this tree includes the GUI tests, which the package does not
# need, and the package test runs CPack while other tests use the build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quorvin)
set(CPACK_PACKAGE_VENDOR "Quorvin")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Visual designer of Win32 top-level windows and generator of their C/C++ source")
set(CPACK_PACKAGE_FILE_NAME quorvin-${PROJECT_VERSION}-win64)
set(CPACK_STRIP_FILES ON)
# Only the program's component: nothing else built in this tree (GoogleTest
# for the GUI tests, say) may slip into the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};quorvin;/")
include(CPack)
