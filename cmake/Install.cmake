# What `cmake --install` puts under the prefix, and the Debian package made
# from it (cpack, DEB generator):
#
#   lib/orvane-adjust/            the program, its two link libraries, the virtual
#                                 printer's library and the tools: each finds the
#                                 others in its own folder ($ORIGIN, /proc/self/exe)
#   bin/                          a relative symbolic link to each executable
#   share/applications/           the desktop entry
#   share/metainfo/               the AppStream metadata
#   share/icons/hicolor/          the icon, as SVG and PNG
#   share/man/man1/               the tools' man pages
#   share/bash-completion/completions/   the tools' bash completions
#
# The state of the virtual printers is each user's own (the XDG state folder),
# made at the first start: nothing is written into this tree at run time.

include(GNUInstallDirs)

set(ORVANE_INSTALL_PROGRAM_DIR lib/orvane-adjust)
# The executables that are installed when they are built, each with its bin
# link, and its man page and bash completion when the repository has them.
set(ORVANE_INSTALLED_TOOLS orvane-adjust orvane-tray orvane-vprinter orvane-pattern
                           orvane-read-page orvane-service)

# Where a link in bin points: the program folder, relative to bin.
file(RELATIVE_PATH ORVANE_LAUNCHER_TARGET_DIR /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${ORVANE_INSTALL_PROGRAM_DIR})

# orvane_install_launcher(name): bin/<name>, a relative symbolic link to the
# executable in the program folder. The program follows /proc/self/exe to
# its own folder, and so does $ORIGIN, so both find the libraries beside it.
function(orvane_install_launcher name)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${name}\")
    message(STATUS \"Installing: \${link}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"${ORVANE_LAUNCHER_TARGET_DIR}/${name}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")")
endfunction()

# orvane_install_tool(target): the executable in the program folder, its
# launcher, its man page and its bash completion.
function(orvane_install_tool target)
  install(TARGETS ${target} RUNTIME DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR})
  orvane_install_launcher(${target})
  if(EXISTS ${PROJECT_SOURCE_DIR}/man/${target}.1)
    install(FILES ${PROJECT_SOURCE_DIR}/man/${target}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  if(EXISTS ${PROJECT_SOURCE_DIR}/completion/${target})
    install(FILES ${PROJECT_SOURCE_DIR}/completion/${target}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  endif()
endfunction()

# The link libraries and the virtual printer's library they stand on.
install(TARGETS OrvaneVPrinter Portway Chanlink LIBRARY DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR})

set(ORVANE_METAINFO_BINARIES "")
foreach(tool IN LISTS ORVANE_INSTALLED_TOOLS)
  if(TARGET ${tool})
    orvane_install_tool(${tool})
    string(APPEND ORVANE_METAINFO_BINARIES "    <binary>${tool}</binary>\n")
  endif()
endforeach()
string(STRIP "${ORVANE_METAINFO_BINARIES}" ORVANE_METAINFO_BINARIES)
set(ORVANE_METAINFO_BINARIES "    ${ORVANE_METAINFO_BINARIES}")

# The program's place in the desktop's menu.
if(TARGET orvane-adjust)
  set(ORVANE_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
  install(FILES ${ORVANE_DATA_DIR}/org.orvane.adjust.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${ORVANE_DATA_DIR}/org.orvane.adjust.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/data/org.orvane.adjust.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/data/org.orvane.adjust.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${ORVANE_DATA_DIR}/icons/orvane-adjust.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The PNG sizes are rendered once from the SVG (scripts/render-icons).
  foreach(size 16 32 48 64 128 256)
    install(FILES ${ORVANE_DATA_DIR}/icons/hicolor/${size}x${size}/orvane-adjust.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# The Debian package: `cpack --config <build>/CPackConfig.cmake` (scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane-adjust)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvane adjustment program developers <developers@orvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "adjustment program for Orvane K31 and K32 inkjet printers")
set(CPACK_PACKAGE_DESCRIPTION
    "The bench service tool for Orvane K31 and K32 inkjet printers: identity data, mechanical\n"
    "adjustments with their check patterns, head cleaning and ink charge, the printer's state\n"
    "and ink, and the move of EEPROM data to a new main board. With virtual printers that stand\n"
    "in for the hardware, their control tool (orvane-vprinter), their paper tray (orvane-tray),\n"
    "the pattern tool (orvane-pattern) and the page reader (orvane-read-page).")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The start-up message is Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
find_program(ORVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ORVANE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  # The libraries of Debian 12 that the executables link.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, libpng16-16, "
      "zlib1g, libopencv-core406, libopencv-imgproc406, libopencv-imgcodecs406")
  string(JOIN "" CPACK_DEBIAN_PACKAGE_DEPENDS ${CPACK_DEBIAN_PACKAGE_DEPENDS})
endif()
include(CPack)
