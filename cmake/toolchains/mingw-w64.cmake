# Cross build for Windows, included by mingw-w64-x86_64.cmake and
# mingw-w64-i686.cmake once they set CMAKE_SYSTEM_PROCESSOR: Debian's mingw-w64
# compilers of the POSIX thread model (std::thread, std::mutex). The libraries built for it by
# `scripts/bootstrap windows` (libpng, GoogleTest) are under
# build/windows-deps/<processor>, found before the compiler's own folder.
set(CMAKE_SYSTEM_NAME Windows)

set(ORVANE_MINGW_TRIPLE ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVANE_MINGW_TRIPLE}-windres)

get_filename_component(ORVANE_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(ORVANE_WINDOWS_DEPS "${ORVANE_SOURCE_ROOT}/build/windows-deps/${CMAKE_SYSTEM_PROCESSOR}" CACHE PATH
    "The libraries built for this target by scripts/bootstrap windows")
set(CMAKE_FIND_ROOT_PATH "${ORVANE_WINDOWS_DEPS}" /usr/${ORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
