cmake_minimum_required(VERSION 3.25)

# Run by the build (cmake -P) for one folder: FOLDER, the folders it USES, the
# stems of its window files (GUI_STEMS) and its FILES. Fails the build on an
# include of a folder not in USES, and on a Qt include in a core file.

set(allowed ${FOLDER} ${USES})
string(REPLACE ";" ", " allowed_text "${allowed}")
set(errors "")
foreach(file IN LISTS FILES)
  get_filename_component(stem "${file}" NAME_WE)
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*\"([A-Za-z_]+)/")
      if(NOT CMAKE_MATCH_1 IN_LIST allowed)
        string(APPEND errors
          "\n  ${file}: ${line}\n    ${FOLDER} may use only: ${allowed_text}")
      endif()
    endif()
    if(line MATCHES "#[ \t]*include[ \t]*[<\"]Q" AND NOT stem IN_LIST GUI_STEMS)
      string(APPEND errors
        "\n  ${file}: ${line}\n    a core file of ${FOLDER} includes Qt; only its windows may")
    endif()
  endforeach()
endforeach()
if(errors)
  message(FATAL_ERROR "Includes against the layers:${errors}")
endif()
