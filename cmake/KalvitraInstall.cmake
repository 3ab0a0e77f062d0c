# Installing Kalvitra like any desktop program: the calculator window, the
# core designer and the batch tool in bin, their manual pages, a menu entry
# for each window with the program's own icon, the design files' type, the
# metadata software centres read, and a Debian package made by
# `cpack -G DEB` in the build tree. On Windows: the programs with the README,
# the licences and what the windows need from Qt in one folder, packed by
# `cpack -G ZIP`; packaging/windows/installer.sh makes the installer of it.
include(GNUInstallDirs)

set(kalvitra_programs kalvitra-cli)
if(KALVITRA_BUILD_GUI)
  list(APPEND kalvitra_programs kalvitra kalvitra-designer)
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
    # The designer's Help menu looks for the guide in docs beside it.
    install(FILES ${KALVITRA_USER_GUIDES} DESTINATION docs)
  endif()
  if(KALVITRA_BUILD_GUI)
    include(${CMAKE_CURRENT_LIST_DIR}/KalvitraWindowsRuntime.cmake)
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

set(kalvitra_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(kalvitra_generated ${PROJECT_BINARY_DIR}/packaging)
# Under the package's name, not the project's (CMAKE_INSTALL_DOCDIR).
set(kalvitra_docdir ${CMAKE_INSTALL_DATADIR}/doc/kalvitra)
find_program(KALVITRA_GZIP gzip REQUIRED)

# The release, version and date, is the newest entry of the changelog; the
# package must not ship a changelog that ends one version early.
file(STRINGS ${kalvitra_packaging}/changelog kalvitra_release_line LIMIT_COUNT 1)
file(STRINGS ${kalvitra_packaging}/changelog kalvitra_release_trailer REGEX "^ -- " LIMIT_COUNT 1)
# Its first line holds a ';', which file(STRINGS) escapes as a list separator.
string(REPLACE "\\;" ";" kalvitra_release_line "${kalvitra_release_line}")
if(NOT kalvitra_release_line MATCHES "^kalvitra \\(([^)]+)\\) "
   OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog: the newest entry must be version ${PROJECT_VERSION}, "
                      "found: ${kalvitra_release_line}")
endif()
if(NOT kalvitra_release_trailer MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date (as date -R writes it) in the newest "
                      "entry's trailer line")
endif()
set(kalvitra_release_day ${CMAKE_MATCH_1})
set(kalvitra_release_year ${CMAKE_MATCH_3})
set(kalvitra_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND kalvitra_months ${CMAKE_MATCH_2} kalvitra_month)
if(kalvitra_month LESS 0)
  message(FATAL_ERROR "packaging/changelog: unknown month in ${kalvitra_release_trailer}")
endif()
math(EXPR kalvitra_month "${kalvitra_month} + 1")
if(kalvitra_month LESS 10)
  set(kalvitra_month 0${kalvitra_month})
endif()
set(KALVITRA_RELEASE_DATE ${kalvitra_release_year}-${kalvitra_month}-${kalvitra_release_day})

# Software centres show the metadata's first <release>, the newest: the
# same version and day as the changelog's.
set(kalvitra_metainfo_file ${kalvitra_packaging}/org.example.kalvitra.metainfo.xml)
file(READ ${kalvitra_metainfo_file} kalvitra_metainfo)
if(NOT kalvitra_metainfo MATCHES "<release version=\"([^\"]*)\" date=\"([^\"]*)\""
   OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION
   OR NOT CMAKE_MATCH_2 STREQUAL KALVITRA_RELEASE_DATE)
  message(FATAL_ERROR "${kalvitra_metainfo_file}: the first <release> must be version "
                      "${PROJECT_VERSION} of ${KALVITRA_RELEASE_DATE}, as the changelog says")
endif()
# An edit of either file checks them again at the next build.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${kalvitra_packaging}/changelog ${kalvitra_metainfo_file})

# Compressed the way Debian wants them: best compression, no name or time
# stamp inside, so the same sources give the same bytes.
function(kalvitra_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${KALVITRA_GZIP} -9 -n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()

# The batch tool's manual page is its --help text, converted each time the
# tool is built, so the two cannot say different things.
configure_file(${kalvitra_packaging}/man/kalvitra-cli.1.in
               ${kalvitra_generated}/man/kalvitra-cli.1.template @ONLY)
add_custom_command(OUTPUT ${kalvitra_generated}/man/kalvitra-cli.1
  COMMAND bash ${kalvitra_packaging}/man/help-to-man.sh
          ${kalvitra_generated}/man/kalvitra-cli.1.template $<TARGET_FILE:kalvitra-cli>
          ${kalvitra_generated}/man/kalvitra-cli.1
  DEPENDS kalvitra-cli ${kalvitra_packaging}/man/help-to-man.sh
          ${kalvitra_generated}/man/kalvitra-cli.1.template
  COMMENT "Writing the manual page kalvitra-cli(1) from kalvitra-cli --help" VERBATIM)
set(kalvitra_pages kalvitra-cli)
if(KALVITRA_BUILD_GUI)
  foreach(page IN ITEMS kalvitra kalvitra-designer)
    configure_file(${kalvitra_packaging}/man/${page}.1.in ${kalvitra_generated}/man/${page}.1 @ONLY)
    list(APPEND kalvitra_pages ${page})
  endforeach()
endif()
set(kalvitra_data_files)
foreach(page IN LISTS kalvitra_pages)
  kalvitra_gzip(${kalvitra_generated}/man/${page}.1 ${kalvitra_generated}/man/${page}.1.gz)
  list(APPEND kalvitra_data_files ${kalvitra_generated}/man/${page}.1.gz)
  install(FILES ${kalvitra_generated}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

kalvitra_gzip(${kalvitra_packaging}/changelog ${kalvitra_generated}/changelog.gz)
list(APPEND kalvitra_data_files ${kalvitra_generated}/changelog.gz)
install(FILES ${kalvitra_packaging}/copyright ${kalvitra_generated}/changelog.gz
        DESTINATION ${kalvitra_docdir})

if(KALVITRA_BUILD_GUI)
  # The menu entry and the software-centre metadata are named by the
  # program's reverse-DNS id, which desktops use to match the two.
  install(FILES ${kalvitra_packaging}/org.example.kalvitra.desktop
                ${kalvitra_packaging}/org.example.kalvitra.designer.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # Design files (.kvd) open in the designer.
  install(FILES ${kalvitra_packaging}/mime/kalvitra.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${kalvitra_metainfo_file}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The user guide, which the designer's Help menu opens from share/kalvitra.
  install(FILES ${KALVITRA_USER_GUIDES} DESTINATION ${CMAKE_INSTALL_DATADIR}/kalvitra)

  # The icon: the drawing itself for any size, and the fixed sizes menus
  # and panels look up, rendered from it here rather than kept beside it,
  # so a change to the drawing reaches every size.
  find_program(KALVITRA_RSVG_CONVERT rsvg-convert)
  if(NOT KALVITRA_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert not found (Debian package librsvg2-bin): "
                        "it renders the program's icon")
  endif()
  set(kalvitra_icon ${kalvitra_packaging}/icons/kalvitra.svg)
  install(FILES ${kalvitra_icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN ITEMS 16 24 32 48 64 128 256)
    set(png ${kalvitra_generated}/icons/${size}x${size}/kalvitra.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${kalvitra_generated}/icons/${size}x${size}
      COMMAND ${KALVITRA_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${kalvitra_icon}
      DEPENDS ${kalvitra_icon} VERBATIM)
    list(APPEND kalvitra_data_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()
add_custom_target(kalvitra_install_data ALL DEPENDS ${kalvitra_data_files})

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
    "kalvitra-designer, in Chinese or English, shows the whole design live\n"
    "while the figures are typed: the section to scale, the stage table, the\n"
    "cut list, the frame mass beside the published conventions and the\n"
    "no-load loss, with SVG, DXF, CSV and PDF exports.\n"
    "\n"
    "kalvitra-cli runs the same calculations on sheets and CSV tables from\n"
    "the shell.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Folders as Debian wants them whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

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
  # qt6-translations-l10n: the toolkit's own dialogs in the designer's
  # Chinese.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-qpa-plugins, qt6-translations-l10n")
  # 打印 prints on the default printer of a CUPS print server.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups, printer-driver-cups-pdf")
endif()

include(CPack)
