# What the windows need beside them on Windows, installed into the same
# folder as the programs: Qt's DLLs and the plugins Qt loads at start, the
# mingw-w64 runtime DLLs that Qt's DLLs import, Qt's own Chinese words for
# its dialogs, a qt.conf that points Qt at all of these, and the licences.
# Qt has no windeployqt for a cross build; the lists below are what
# Kalvitra uses, and cmake/KalvitraWindowsImports.cmake checks at install
# time that every DLL an installed .exe or .dll imports is in the folder or
# one of Windows' own.

# Qt's targets are those of this folder's own look-up.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets PrintSupport)

# Qt's libraries, by target: the programs link Widgets and PrintSupport.
set(kalvitra_qt_libraries Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
# Loaded by name at run time, so no linker sees them: the Windows platform
# and the native Windows style.
set(kalvitra_qt_plugins
    platforms Qt6::QWindowsIntegrationPlugin
    styles Qt6::QWindowsVistaStylePlugin)
# The compiler's runtime, which Qt's DLLs import (the programs themselves
# carry theirs inside).
set(kalvitra_mingw_runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
# Debian's compiled translations of Qt's own dialogs (qt6-translations-l10n):
# the designer loads qtbase_zh_CN from Qt's translations folder.
set(kalvitra_qt_translations /usr/share/qt6/translations/qtbase_zh_CN.qm)

foreach(library IN LISTS kalvitra_qt_libraries)
  install(FILES $<TARGET_FILE:${library}> DESTINATION .)
endforeach()
while(kalvitra_qt_plugins)
  list(POP_FRONT kalvitra_qt_plugins folder plugin)
  if(NOT TARGET ${plugin})
    message(FATAL_ERROR "Qt for Windows has no ${plugin}: the windows cannot start without it")
  endif()
  install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${folder})
endwhile()
foreach(dll IN LISTS kalvitra_mingw_runtime)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
  endif()
  install(FILES ${path} DESTINATION .)
endforeach()
foreach(qm IN LISTS kalvitra_qt_translations)
  if(NOT EXISTS ${qm})
    message(FATAL_ERROR "${qm} is missing (Debian package qt6-translations-l10n)")
  endif()
  install(FILES ${qm} DESTINATION translations)
endforeach()

# Qt takes its folders from qt.conf beside the program; without it, from
# where Qt was installed on the build machine.
file(WRITE ${PROJECT_BINARY_DIR}/windows/qt.conf "[Paths]\nPrefix = .\nPlugins = .\n"
                                                 "Translations = translations\n")
install(FILES ${PROJECT_BINARY_DIR}/windows/qt.conf DESTINATION .)

# The licences: Kalvitra's MIT licence, and Qt's LGPL with where its source
# is. scripts/windows-qt.sh leaves the Debian source package's name and
# version in the Qt it builds.
set(kalvitra_qt_source_file ${QT6_INSTALL_PREFIX}/debian-source)
if(EXISTS ${kalvitra_qt_source_file})
  file(STRINGS ${kalvitra_qt_source_file} kalvitra_qt_source LIMIT_COUNT 1)
else()
  set(kalvitra_qt_source "qt6-base ${Qt6_VERSION}")
endif()
string(REGEX REPLACE "^[^ ]+ " "" kalvitra_qt_source_version "${kalvitra_qt_source}")
file(READ ${PROJECT_SOURCE_DIR}/LICENSE KALVITRA_LICENSE_TEXT)
string(STRIP "${KALVITRA_LICENSE_TEXT}" KALVITRA_LICENSE_TEXT)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/LICENSES.txt.in
               ${PROJECT_BINARY_DIR}/windows/LICENSES.txt @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/windows/LICENSES.txt DESTINATION .)
install(FILES /usr/share/common-licenses/LGPL-3 RENAME LGPL-3.txt DESTINATION licenses)
install(FILES /usr/share/common-licenses/GPL-3 RENAME GPL-3.txt DESTINATION licenses)

# Last: every import of every installed .exe and .dll is accounted for.
install(CODE "set(KALVITRA_OBJDUMP \"${CMAKE_OBJDUMP}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/KalvitraWindowsImports.cmake)
