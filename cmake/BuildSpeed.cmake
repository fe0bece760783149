# What makes a fresh build fast on a machine of few cores.
#
# Precompiled headers: the large third-party headers (Qt, GoogleTest, OpenCV)
# and the standard headers nearly every file includes are parsed once for the
# targets that share them instead of once per file. Only headers of others go
# in, never ours, so no warning of our own code is hidden in them.
#
# A precompiled header is included in every file of its target, so a missing
# include of one of these headers goes unnoticed there; the sanitizer preset
# builds without them (ORVANE_PCH OFF) and finds it. With a precompiled
# header, GCC 12 no longer keeps quiet a false -Warray-bounds inside its own
# <string> for a short temporary string moved through operator+ (say
# std::string(DIR) + "/" + name at -O2): such a path is built with append.
option(ORVANE_PCH "Precompile the large third-party and standard headers" ON)
# Unity builds: the large targets compile their files in groups, each group as
# one file, so that the templates and inline functions of the headers they
# share are compiled once a group instead of once a file. The sanitizer preset
# builds file by file (ORVANE_UNITY OFF), so each file still compiles alone.
option(ORVANE_UNITY "Compile the large targets' files in groups" ON)
# The release preset, which builds the program and the package and no tests,
# compiles file by file too: at -O3, GCC 12's false alarms in <string> (see
# above) come and go with what is inlined where.

# ccache takes a file built with a precompiled header only when it may ignore
# the header's macros and time stamps.
if(ORVANE_PCH AND ORVANE_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER env CCACHE_SLOPPINESS=pch_defines,time_macros ${ORVANE_CCACHE})
endif()

set(ORVANE_PCH_STD
  <algorithm> <array> <cstdint> <cstdio> <cstdlib> <cstring> <functional> <map> <memory>
  <optional> <string> <string_view> <utility> <vector>)
set(ORVANE_PCH_TEST ${ORVANE_PCH_STD} <filesystem> <gtest/gtest.h> <gmock/gmock.h>)
set(ORVANE_PCH_QT
  <QApplication> <QComboBox> <QDialog> <QEvent> <QLabel> <QLineEdit> <QMouseEvent> <QObject>
  <QPainter> <QPixmap> <QPushButton> <QString> <QTimer> <QWidget>)
set(ORVANE_PCH_OPENCV <opencv2/core.hpp> <opencv2/imgproc.hpp> <opencv2/imgcodecs.hpp>)

# orvane_precompile(target SETS...): the target's files start with the named
# sets of headers (STD, TEST, QT, OPENCV), precompiled once.
function(orvane_precompile target)
  if(NOT ORVANE_PCH)
    return()
  endif()
  set(headers)
  foreach(set ${ARGN})
    list(APPEND headers ${ORVANE_PCH_${set}})
  endforeach()
  list(REMOVE_DUPLICATES headers)
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# orvane_precompile_like(target other): the target's files start with the
# headers precompiled for other, built once for both (the two must compile with
# the same options; -Winvalid-pch, which CMake adds, makes a mismatch an error).
function(orvane_precompile_like target other)
  if(ORVANE_PCH)
    target_precompile_headers(${target} REUSE_FROM ${other})
  endif()
endfunction()

# orvane_unity(target): the target's files compile in groups of eight.
function(orvane_unity target)
  if(ORVANE_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
endfunction()
