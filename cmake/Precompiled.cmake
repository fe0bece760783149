# Precompiled headers: the large third-party headers (Qt, GoogleTest, CLI11,
# nlohmann-json, OpenCV) and the standard headers nearly every file includes
# are parsed once per target instead of once per file. Only headers of others
# go in, never ours, so no warning of our own code is hidden in them.
#
# A precompiled header is included in every file of its target, so a missing
# include of one of these headers goes unnoticed there; the sanitizer preset
# builds without them (ORVANE_PCH OFF) and finds it.
option(ORVANE_PCH "Precompile the large third-party and standard headers" ON)

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
set(ORVANE_PCH_CLI <CLI/CLI.hpp>)
set(ORVANE_PCH_JSON <nlohmann/json.hpp>)
set(ORVANE_PCH_OPENCV <opencv2/core.hpp> <opencv2/imgproc.hpp> <opencv2/imgcodecs.hpp>)

# orvane_precompile(target SETS...): the target's files start with the named
# sets of headers (STD, TEST, QT, CLI, JSON, OPENCV), precompiled once.
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
