# Translations, desktop entry, icons, metadata and manual page, and where each is installed.

# Translations: every .ts under translations/ becomes a .qm beside the build's binaries, where the
# program finds them when run from the build tree.
file(GLOB LUMO_TS_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/translations/*.ts)
set_source_files_properties(${LUMO_TS_FILES} PROPERTIES OUTPUT_LOCATION ${CMAKE_BINARY_DIR}/translations)
qt5_add_translation(LUMO_QM_FILES ${LUMO_TS_FILES})
add_custom_target(lumo-translations ALL DEPENDS ${LUMO_QM_FILES})

# Build-time tools (never installed).
add_executable(lumo-render-icon tools/render-icon.cpp)
target_link_libraries(lumo-render-icon PRIVATE Qt5::Gui Qt5::Svg)
add_executable(lumo-desktop-entry tools/desktop-entry.cpp)
target_link_libraries(lumo-desktop-entry PRIVATE Qt5::Gui)
foreach(tool lumo-render-icon lumo-desktop-entry)
  target_compile_options(${tool} PRIVATE ${LUMO_WARNINGS})
endforeach()

# The MimeType list comes from the image formats Qt reads on the building machine.
set(LUMO_DESKTOP_FILE ${CMAKE_BINARY_DIR}/data/org.lumo.Image.desktop)
add_custom_command(
  OUTPUT ${LUMO_DESKTOP_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:lumo-desktop-entry> ${CMAKE_SOURCE_DIR}/data/org.lumo.Image.desktop.in
          ${LUMO_DESKTOP_FILE}
  DEPENDS lumo-desktop-entry ${CMAKE_SOURCE_DIR}/data/org.lumo.Image.desktop.in
  COMMENT "Generating the desktop entry")

set(LUMO_ICON_SVG ${CMAKE_SOURCE_DIR}/data/icons/lumo-image.svg)
set(LUMO_ICON_SIZES 16 22 24 32 48 64 128 256 512)
set(LUMO_ICON_PNGS)
foreach(size ${LUMO_ICON_SIZES})
  set(png ${CMAKE_BINARY_DIR}/data/icons/${size}x${size}/lumo-image.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/data/icons/${size}x${size}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:lumo-render-icon> ${LUMO_ICON_SVG} ${size} ${png}
    DEPENDS lumo-render-icon ${LUMO_ICON_SVG}
    COMMENT "Rendering the ${size} pixel icon")
  list(APPEND LUMO_ICON_PNGS ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(lumo-desktop-data ALL DEPENDS ${LUMO_DESKTOP_FILE} ${LUMO_ICON_PNGS})

install(TARGETS lumo-image lumo-decode RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(tool_source ${LUMO_TOOL_SOURCES})
  get_filename_component(tool ${tool_source} NAME_WE)
  install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
install(FILES ${LUMO_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LUMO_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/org.lumo.Image.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/data/lumo-image.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${LUMO_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/lumo-image/translations)
