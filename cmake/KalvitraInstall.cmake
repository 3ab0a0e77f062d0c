# Installing Kalvitra like any desktop program: the window program and the
# batch tool in bin, a menu entry for the window, and a Debian package made
# by `cpack -G DEB` in the build tree. On Windows: the programs with the
# README and the licence in one folder, packed by `cpack -G ZIP`.
include(GNUInstallDirs)

set(kalvitra_programs kalvitra-cli)
if(KALVITRA_BUILD_GUI)
  list(APPEND kalvitra_programs kalvitra)
endif()
# Every library comes from the system's own library folders. Qt's project
# setup gives its programs a run path of $ORIGIN/../lib for bundling Qt
# beside them; installed in /usr/bin that would search /usr/lib before the
# system's paths.
set_target_properties(${kalvitra_programs} PROPERTIES INSTALL_RPATH "")
if(WIN32)
  install(TARGETS ${kalvitra_programs} RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
  if(KALVITRA_BUILD_GUI)
    # The window needs Qt's DLLs and plugins beside it; Qt's windeployqt
    # copies them into the installed folder.
    find_program(KALVITRA_WINDEPLOYQT windeployqt HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
    if(KALVITRA_WINDEPLOYQT)
      install(CODE "execute_process(COMMAND \"${KALVITRA_WINDEPLOYQT}\" --no-translations
                      \"\${CMAKE_INSTALL_PREFIX}/kalvitra.exe\" COMMAND_ERROR_IS_FATAL ANY)")
    else()
      message(WARNING "windeployqt not found: the installed window will lack Qt's DLLs")
    endif()
  endif()

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME kalvitra)
  set(CPACK_PACKAGE_VENDOR Kalvitra)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_FILE_NAME kalvitra-${PROJECT_VERSION}-windows-x64)
  set(CPACK_STRIP_FILES ON)
  include(CPack)
  return()
endif()

install(TARGETS ${kalvitra_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(KALVITRA_BUILD_GUI)
  # The menu entry. Its icon is a standard theme name: the program has no
  # icon of its own design.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/kalvitra.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

set(KALVITRA_PACKAGE_MAINTAINER "Kalvitra developers <kalvitra@example.org>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvitra)
set(CPACK_PACKAGE_VENDOR Kalvitra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KALVITRA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "iron-core calculator for power transformers")
set(CPACK_PACKAGE_DESCRIPTION
    "Kalvitra computes the stepped, near-circular limb of a power transformer's\n"
    "iron core: the thickness of every lamination stage from the core diameter\n"
    "and the stage widths, the gross and net cross-section areas, the total\n"
    "stack thickness and the weight of the core. The designer fills one sheet\n"
    "of labelled fields in a Chinese window and prints it as shown.\n"
    "\n"
    "kalvitra-cli runs the same calculations on sheets and CSV tables from\n"
    "the shell.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # kalvitra_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KALVITRA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link against (libc, libstdc++, Qt 6) come from
# dpkg-shlibdeps; what the window loads or draws with at run time does not
# show up there and is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(KALVITRA_BUILD_GUI)
  # fonts-noto-cjk: every caption is Chinese and the window maps its fonts to
  # Noto Sans CJK SC; without a CJK face the labels show empty boxes.
  # qt6-qpa-plugins: the platform plugins Qt loads at start, which the
  # linker never sees.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-qpa-plugins")
  # The menu entry's icon lives in the Adwaita theme.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme")
  # 打印 prints on the default printer of a CUPS print server.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups, printer-driver-cups-pdf")
endif()

include(CPack)
