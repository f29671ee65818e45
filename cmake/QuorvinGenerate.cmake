# Regenerating a window's source from its Quorvin project file at build time.
#
#   include(QuorvinGenerate)
#   quorvin_generate_window_source(
#     TARGET    my_program          # the target that compiles the source
#     PROJECT   window.mwd          # relative: to the current source folder
#     OUTPUT    window.cpp          # relative: to the current binary folder
#     [UNICODE]                     # UTF-8 source for the wide API
#     [TEMPLATE code.txt]           # default: code.txt beside PROJECT
#                                   # (code_unicode.txt with UNICODE)
#     [SETTINGS setting.ini]        # default: setting.ini beside PROJECT when
#                                   # it exists, else the default names
#     [GENERATOR quorvin-gen])      # a target or a path, see below
#
# The source is generated again whenever the project file, the template, the
# settings file or the generator changes, and is added to TARGET. The
# generator rewrites the file only when its bytes change, so a build that
# regenerates an unchanged window does not compile it again. Generated
# sources are code page 932 text: with GCC the source gets
# -finput-charset=CP932 -fexec-charset=CP932, so Japanese captions compile
# and stay CP932 in the program. With UNICODE the source is UTF-8 for the
# wide API (the designer's Unicode output), which every compiler reads as it
# is.
#
# The generator must run on the build machine. It is, in this order:
#   - GENERATOR, when given: the name of an executable target or a path;
#   - the variable QUORVIN_GENERATOR (a path), with QUORVIN_GENERATOR_DEPENDS
#     naming a target that makes it, if any;
#   - the target quorvin-gen, when this build has it and is not a cross
#     build (a cross build's quorvin-gen.exe would need an emulator);
#   - a quorvin-gen found on the PATH.

function(quorvin_generate_window_source)
  cmake_parse_arguments(PARSE_ARGV 0 arg "UNICODE" "TARGET;PROJECT;OUTPUT;TEMPLATE;SETTINGS;GENERATOR" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "quorvin_generate_window_source: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  foreach(required TARGET PROJECT OUTPUT)
    if(NOT arg_${required})
      message(FATAL_ERROR "quorvin_generate_window_source: ${required} is required")
    endif()
  endforeach()
  if(NOT TARGET ${arg_TARGET})
    message(FATAL_ERROR "quorvin_generate_window_source: ${arg_TARGET} is not a target")
  endif()

  get_filename_component(project_file ${arg_PROJECT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  get_filename_component(project_dir ${project_file} DIRECTORY)
  get_filename_component(output ${arg_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  set(encoding_args)
  set(default_template code.txt)
  if(arg_UNICODE)
    set(encoding_args --unicode)
    set(default_template code_unicode.txt)
  endif()
  if(arg_TEMPLATE)
    get_filename_component(template ${arg_TEMPLATE} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  else()
    set(template ${project_dir}/${default_template})
  endif()
  if(NOT EXISTS ${template})
    message(FATAL_ERROR "quorvin_generate_window_source: template ${template} not found "
                        "(give TEMPLATE)")
  endif()
  set(settings_args)
  set(settings)
  if(arg_SETTINGS)
    get_filename_component(settings ${arg_SETTINGS} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  elseif(EXISTS ${project_dir}/setting.ini)
    set(settings ${project_dir}/setting.ini)
  endif()
  if(settings)
    set(settings_args -s ${settings})
  endif()

  # The generator, and what the command has to wait for.
  set(generator_depends)
  set(generator_target)
  if(arg_GENERATOR)
    if(TARGET ${arg_GENERATOR})
      set(generator_target ${arg_GENERATOR})
    else()
      set(generator ${arg_GENERATOR})
    endif()
  elseif(QUORVIN_GENERATOR)
    set(generator ${QUORVIN_GENERATOR})
    if(QUORVIN_GENERATOR_DEPENDS)
      set(generator_depends ${QUORVIN_GENERATOR_DEPENDS})
    endif()
  elseif(TARGET quorvin-gen AND NOT CMAKE_CROSSCOMPILING)
    set(generator_target quorvin-gen)
  else()
    find_program(QUORVIN_GEN_PROGRAM quorvin-gen)
    if(NOT QUORVIN_GEN_PROGRAM)
      message(FATAL_ERROR "quorvin_generate_window_source: no quorvin-gen for the build machine "
                          "(give GENERATOR or set QUORVIN_GENERATOR)")
    endif()
    set(generator ${QUORVIN_GEN_PROGRAM})
  endif()
  if(generator_target)
    # A target name as the command: CMake puts in its path (and, in a cross
    # build, its emulator) and makes the command depend on it.
    set(generator ${generator_target})
  else()
    list(APPEND generator_depends ${generator})
  endif()

  get_filename_component(output_dir ${output} DIRECTORY)
  file(RELATIVE_PATH shown_output ${CMAKE_BINARY_DIR} ${output})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND ${generator} ${encoding_args} -t ${template} ${settings_args} -o ${output}
            ${project_file}
    DEPENDS ${project_file} ${template} ${settings} ${generator_depends}
    COMMENT "Generating ${shown_output} from ${arg_PROJECT}"
    VERBATIM)
  target_sources(${arg_TARGET} PRIVATE ${output})
  if(NOT arg_UNICODE AND (CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR CMAKE_C_COMPILER_ID STREQUAL "GNU"))
    set_property(SOURCE ${output} APPEND PROPERTY COMPILE_OPTIONS
                 -finput-charset=CP932 -fexec-charset=CP932)
  endif()
  # A generator made by another target (an external build of the host
  # tools) must be there before the command runs.
  foreach(dependency IN LISTS generator_depends)
    if(TARGET ${dependency})
      add_dependencies(${arg_TARGET} ${dependency})
    endif()
  endforeach()
endfunction()
