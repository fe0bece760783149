# Checks which folders of the sources include which: the core's layers go
# platform, link, eeprom, pattern, adjust, and each includes only its own
# headers and those of the layers before it; nothing of the core includes the
# windows, the tools or the virtual printer, and neither the virtual printer
# nor its paper tray includes anything of the program but its seams to the
# system (platform), which serve them all. The page reader reads pictures
# only: it includes nothing of the program but those seams, nothing of the
# virtual printer or the tray, but for the printer's font, which the pages'
# text is printed in.
# Lists every include that breaks this and fails.
#
#   cmake -DSOURCE_DIR=<folder holding platform, link, ...> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake needs -DSOURCE_DIR=<the src folder>")
endif()

set(core platform link eeprom pattern adjust)
set(program ${core} app tools)

# forbidden_<folder>: the folders whose headers it must not include.
set(above ${core})
foreach(layer IN LISTS core)
  list(REMOVE_ITEM above ${layer})
  set(forbidden_${layer} ${above} app tools vprinter)
endforeach()
set(above_platform ${program})
list(REMOVE_ITEM above_platform platform)
set(forbidden_vprinter ${above_platform})
set(forbidden_tray ${above_platform})
set(forbidden_reader ${above_platform} vprinter tray)
# allowed_<folder>: headers it may include all the same.
set(allowed_reader vprinter/Font.h)

set(breaches 0)
foreach(folder IN LISTS core ITEMS vprinter tray reader)
  file(GLOB_RECURSE files LIST_DIRECTORIES false "${SOURCE_DIR}/${folder}/*.h"
       "${SOURCE_DIR}/${folder}/*.cpp")
  list(SORT files)
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(include IN LISTS includes)
      string(REGEX MATCH "\"([^\"]+)\"" _ "${include}")
      set(header "${CMAKE_MATCH_1}")
      string(REGEX MATCH "\"([^\"/]+)/" _ "${include}")
      if(CMAKE_MATCH_1 IN_LIST forbidden_${folder} AND NOT header IN_LIST allowed_${folder})
        file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
        string(STRIP "${include}" include)
        message("${name}: ${include} (${folder} must not include ${CMAKE_MATCH_1})")
        math(EXPR breaches "${breaches} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(breaches GREATER 0)
  message(FATAL_ERROR "${breaches} include(s) against the layers")
endif()
