# Every folder of src/ (and sim/) is a library of its own. A folder says which
# folders it may use; the build checks every file of the folder against that
# list, and its core files against Qt, so the layers run one way by rule, not
# by memory:
#   base                                               uses nothing
#   serial, graph, monitor, protocol, panel, scripts   use base and the folders they name
#   app                                                uses all of them
# Core files (no Qt) form zelsim_<folder>; the windows, zelsim_<folder>_gui.

add_library(zelsim_core INTERFACE)  # every core library, for tests and benchmarks
add_library(zelsim_gui INTERFACE)   # every library, windows included

# zelsim_folder(<name> [APART] [USES <folder>...] CORE <file>... [GUI <file>...]
#               [PROGRAM <file>...])
# PROGRAM files are a program's own (its main), checked like windows but
# built into no library. An APART folder (the simulator) is another program:
# it joins neither zelsim_core nor zelsim_gui.
function(zelsim_folder name)
  cmake_parse_arguments(ARG "APART" "" "USES;CORE;GUI;PROGRAM" ${ARGN})
  set(folder "${CMAKE_CURRENT_SOURCE_DIR}")

  set(gui_stems "")
  foreach(src IN LISTS ARG_GUI ARG_PROGRAM)
    get_filename_component(stem "${src}" NAME_WE)
    list(APPEND gui_stems "${stem}")
  endforeach()
  file(GLOB files CONFIGURE_DEPENDS "${folder}/*.h" "${folder}/*.cpp")

  # Checked when the folder's files change, before any of them compiles.
  set(stamp "${CMAKE_CURRENT_BINARY_DIR}/zelsim_${name}_layers.stamp")
  add_custom_command(OUTPUT "${stamp}"
    COMMAND "${CMAKE_COMMAND}" "-DFOLDER=${name}" "-DUSES=${ARG_USES}" "-DGUI_STEMS=${gui_stems}"
            "-DFILES=${files}" -P "${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake"
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${files} "${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake"
    COMMENT "Checking the includes of ${name}"
    VERBATIM)
  add_custom_target(zelsim_${name}_layers DEPENDS "${stamp}")

  add_library(zelsim_${name} STATIC ${ARG_CORE})
  add_dependencies(zelsim_${name} zelsim_${name}_layers)
  target_include_directories(zelsim_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  foreach(used IN LISTS ARG_USES)
    target_link_libraries(zelsim_${name} PUBLIC zelsim_${used})
  endforeach()
  if(NOT ARG_APART)
    target_link_libraries(zelsim_core INTERFACE zelsim_${name})
    target_link_libraries(zelsim_gui INTERFACE zelsim_${name})
  endif()

  if(ARG_GUI AND TARGET Qt6::Widgets)
    list(TRANSFORM ARG_GUI REPLACE "\\.cpp$" ".h" OUTPUT_VARIABLE gui_headers)
    add_library(zelsim_${name}_gui STATIC ${ARG_GUI} ${gui_headers})
    set_target_properties(zelsim_${name}_gui PROPERTIES AUTOMOC ON)
    add_dependencies(zelsim_${name}_gui zelsim_${name}_layers)
    target_link_libraries(zelsim_${name}_gui PUBLIC zelsim_${name} Qt6::Widgets Qt6::SerialPort)
    foreach(used IN LISTS ARG_USES)
      if(TARGET zelsim_${used}_gui)
        target_link_libraries(zelsim_${name}_gui PUBLIC zelsim_${used}_gui)
      endif()
    endforeach()
    if(NOT ARG_APART)
      target_link_libraries(zelsim_gui INTERFACE zelsim_${name}_gui)
    endif()
  endif()
endfunction()

# Tests: core tests run headless without Qt; gui and e2e tests need Qt.
function(zelsim_core_tests)
  foreach(src IN LISTS ARGN)
    set(path "${CMAKE_CURRENT_SOURCE_DIR}/${src}")
    file(STRINGS "${path}" qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
    if(qt_includes)
      message(FATAL_ERROR "${path} is a core test but includes Qt: ${qt_includes}")
    endif()
    target_sources(zelsim_core_tests PRIVATE "${path}")
  endforeach()
endfunction()

function(zelsim_gui_tests)
  if(TARGET zelsim_gui_tests)
    foreach(src IN LISTS ARGN)
      target_sources(zelsim_gui_tests PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/${src}")
    endforeach()
  endif()
endfunction()

function(zelsim_e2e_tests)
  if(TARGET zelsim_e2e_tests)
    foreach(src IN LISTS ARGN)
      target_sources(zelsim_e2e_tests PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/${src}")
    endforeach()
  endif()
endfunction()
