# What a Windows build (mingw-w64, see cmake/toolchains) sets up besides the
# sources: the header-only libraries of the build machine, the compiler's
# runtime libraries beside the programs, and the Windows headers' settings.

# CLI11 and nlohmann-json are header-only and the same for every target, but
# /usr/include is never a folder of a Windows build (it would bring glibc's
# headers): a folder holds links to just their two folders, and a package
# configuration of each points there.
set(ORVANE_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
foreach(folder CLI nlohmann)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/bootstrap windows")
  endif()
  file(MAKE_DIRECTORY ${ORVANE_HOST_HEADERS}/include)
  file(CREATE_LINK /usr/include/${folder} ${ORVANE_HOST_HEADERS}/include/${folder} SYMBOLIC)
endforeach()
# orvane_host_package(package target): <package>Config.cmake giving target.
function(orvane_host_package package target)
  set(folder ${ORVANE_HOST_HEADERS}/${package})
  file(WRITE ${folder}/${package}Config.cmake
       "if(NOT TARGET ${target})\n"
       "  add_library(${target} INTERFACE IMPORTED)\n"
       "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES\n"
       "                        \"${ORVANE_HOST_HEADERS}/include\")\n"
       "endif()\n")
  set(${package}_DIR ${folder} CACHE PATH "The header-only ${package} of the build machine" FORCE)
endfunction()
orvane_host_package(CLI11 CLI11::CLI11)
orvane_host_package(nlohmann_json nlohmann_json::nlohmann_json)

# libpng and zlib are linked into the virtual printer's library statically.
set(ZLIB_USE_STATIC_LIBS ON)

# The compiler's runtime (libstdc++, libgcc, winpthread) is used as shared
# libraries, one copy for the programs and their libraries (an exception may
# pass from one to another; on i686 only one unwinder can do that), and is
# copied beside them: Windows loads them from the program's folder.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVANE_LIBGCC libgcc_s_seh-1.dll)
else()
  set(ORVANE_LIBGCC libgcc_s_dw2-1.dll)
endif()
set(ORVANE_RUNTIME_LIBRARIES)
foreach(library libstdc++-6.dll ${ORVANE_LIBGCC} libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    # winpthread is the C library's, not the compiler's.
    find_file(found_${library} ${library} PATHS /usr/${ORVANE_MINGW_TRIPLE}/lib
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    set(found "${found_${library}}")
  endif()
  if(NOT EXISTS "${found}")
    message(FATAL_ERROR "${library} of ${CMAKE_CXX_COMPILER} not found")
  endif()
  file(COPY ${found} DESTINATION ${ORVANE_OUTPUT_DIR})
  list(APPEND ORVANE_RUNTIME_LIBRARIES ${found})
endforeach()

# The Windows headers: Windows 10 calls, no min/max macros, the lean set.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX WIN32_LEAN_AND_MEAN
                        UNICODE _UNICODE)
