# The program's icon on Windows, where Explorer, the taskbar and the
# Start-menu entries take it from the .exe itself: the drawing rendered at
# the sizes Windows asks for, packed into one .ico by ImageMagick and linked
# in as the first icon resource.
#   kalvitra_windows_icon(TARGET)
enable_language(RC)
find_program(KALVITRA_RSVG_CONVERT rsvg-convert)
find_program(KALVITRA_IMAGEMAGICK_CONVERT convert)
if(NOT KALVITRA_RSVG_CONVERT OR NOT KALVITRA_IMAGEMAGICK_CONVERT)
  message(FATAL_ERROR "rsvg-convert and convert (Debian packages librsvg2-bin, imagemagick) "
                      "make the programs' Windows icon")
endif()

set(kalvitra_icon_folder ${PROJECT_BINARY_DIR}/packaging/windows)
set(kalvitra_ico ${kalvitra_icon_folder}/kalvitra.ico)
set(kalvitra_icon_svg ${PROJECT_SOURCE_DIR}/packaging/icons/kalvitra.svg)
set(kalvitra_icon_pngs)
set(kalvitra_icon_renders)
foreach(size IN ITEMS 16 24 32 48 64 256)
  set(png ${kalvitra_icon_folder}/icon-${size}.png)
  list(APPEND kalvitra_icon_pngs ${png})
  list(APPEND kalvitra_icon_renders
    COMMAND ${KALVITRA_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${kalvitra_icon_svg})
endforeach()
add_custom_command(OUTPUT ${kalvitra_ico}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${kalvitra_icon_folder}
  ${kalvitra_icon_renders}
  COMMAND ${KALVITRA_IMAGEMAGICK_CONVERT} ${kalvitra_icon_pngs} ${kalvitra_ico}
  DEPENDS ${kalvitra_icon_svg} VERBATIM)
add_custom_target(kalvitra_windows_ico DEPENDS ${kalvitra_ico})
file(WRITE ${kalvitra_icon_folder}/kalvitra-icon.rc
  "1 ICON \"${kalvitra_ico}\"\n")
set_source_files_properties(${kalvitra_icon_folder}/kalvitra-icon.rc
  PROPERTIES OBJECT_DEPENDS ${kalvitra_ico})

function(kalvitra_windows_icon target)
  target_sources(${target} PRIVATE ${kalvitra_icon_folder}/kalvitra-icon.rc)
  add_dependencies(${target} kalvitra_windows_ico)
endfunction()
