# Cross build for Windows (i686) with Debian's mingw-w64 compilers of the POSIX
# thread model (std::thread, std::mutex). The libraries built for it by
# `scripts/bootstrap windows` (libpng, GoogleTest) are under
# build/windows-deps/i686, found before the compiler's own folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ORVANE_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVANE_MINGW_TRIPLE}-windres)

get_filename_component(ORVANE_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(ORVANE_WINDOWS_DEPS "${ORVANE_SOURCE_ROOT}/build/windows-deps/i686" CACHE PATH
    "The libraries built for this target by scripts/bootstrap windows")
set(CMAKE_FIND_ROOT_PATH "${ORVANE_WINDOWS_DEPS}" /usr/${ORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
