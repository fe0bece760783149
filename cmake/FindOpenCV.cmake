# Finds OpenCV by its package configuration when that is installed (Debian's
# libopencv-dev, with every module), else the headers and the libraries of
# the components asked for (Debian's libopencv-<component>-dev). Gives the
# targets opencv_<component> and OpenCV_INCLUDE_DIRS either way.
find_package(OpenCV CONFIG QUIET COMPONENTS ${OpenCV_FIND_COMPONENTS})
if(OpenCV_FOUND)
  return()
endif()

find_path(OpenCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4)
set(OpenCV_INCLUDE_DIRS ${OpenCV_INCLUDE_DIR})
set(_opencv_required OpenCV_INCLUDE_DIR)
foreach(component IN LISTS OpenCV_FIND_COMPONENTS)
  find_library(OpenCV_${component}_LIBRARY opencv_${component})
  list(APPEND _opencv_required OpenCV_${component}_LIBRARY)
  if(OpenCV_${component}_LIBRARY AND OpenCV_INCLUDE_DIR AND NOT TARGET opencv_${component})
    add_library(opencv_${component} UNKNOWN IMPORTED)
    set_target_properties(opencv_${component} PROPERTIES
      IMPORTED_LOCATION "${OpenCV_${component}_LIBRARY}"
      INTERFACE_INCLUDE_DIRECTORIES "${OpenCV_INCLUDE_DIR}")
  endif()
endforeach()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(OpenCV REQUIRED_VARS ${_opencv_required})
unset(_opencv_required)
