# Installing the program as a Linux desktop expects it (GNUInstallDirs):
# huelinx and huelinx-convert in bin/, the files they read in share/huelinx/,
# the menu entry, icons, AppStream metadata and manual pages, all in the
# "runtime" component (what the Debian package holds). The programs find
# share/huelinx relative to themselves, so the installed tree can be moved.
include(GNUInstallDirs)

set(HUELINX_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/huelinx)
set(HUELINX_APP_ID org.huelinx.Huelinx)

# The data folder as the programs see it from theirs.
file(RELATIVE_PATH huelinx_data_from_programs
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${HUELINX_DATA_INSTALL_DIR})
set_source_files_properties(${CMAKE_SOURCE_DIR}/colour/data_files.cpp PROPERTIES
  COMPILE_DEFINITIONS HUELINX_DATA_FROM_PROGRAMS="${huelinx_data_from_programs}")

install(TARGETS huelinx huelinx-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

# The files the programs read (the same the build copies beside them), with
# the notes on where they come from and the spectra's licences.
install(FILES
  data/Vadoro.dat data/TestImage.jpg data/newpalette2.csv data/ccnames.csv
  data/munsell-renotation-all.csv data/munsell-renotation-real.csv
  data/iscc-nbs-blocks.csv data/iscc-nbs-names.csv data/README.md data/iscc-nbs-README.md
  DESTINATION ${HUELINX_DATA_INSTALL_DIR} COMPONENT runtime)
install(FILES data/photo/chart-reflectance.csv data/photo/illuminants.csv
  data/photo/cmf-1931-2deg.csv data/photo/cmf-1964-10deg.csv
  data/photo/README.md data/photo/LICENSE-bsd-3.txt data/photo/LICENSE-apache-2.0.txt
  DESTINATION ${HUELINX_DATA_INSTALL_DIR}/photo COMPONENT runtime)

# The icons, drawn at build time by the logo's own code.
set(huelinx_icon_sizes 16 22 24 32 48 64 128 256)
set(huelinx_icons ${CMAKE_BINARY_DIR}/icons/huelinx.svg)
foreach(size ${huelinx_icon_sizes})
  list(APPEND huelinx_icons ${CMAKE_BINARY_DIR}/icons/huelinx-${size}.png)
endforeach()
add_executable(make-icons tools/make_icons.cpp mainwindow/logo.cpp)
target_include_directories(make-icons PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(make-icons PRIVATE Qt6::Widgets)
add_custom_command(OUTPUT ${huelinx_icons}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:make-icons> ${CMAKE_BINARY_DIR}/icons ${huelinx_icon_sizes}
  DEPENDS make-icons COMMENT "Drawing the icons")
add_custom_target(huelinx_icons ALL DEPENDS ${huelinx_icons})

install(FILES ${CMAKE_BINARY_DIR}/icons/huelinx.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT runtime)
foreach(size ${huelinx_icon_sizes})
  install(FILES ${CMAKE_BINARY_DIR}/icons/huelinx-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME huelinx.png COMPONENT runtime)
endforeach()

install(FILES desktop/${HUELINX_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT runtime)
install(FILES desktop/${HUELINX_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT runtime)
install(FILES man/huelinx.1 man/huelinx-convert.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
