# The Qt-free core as a C++ package: the static library huelinx_core, its
# headers in include/huelinx/ in the sources' folder layout, and a CMake
# package, so a program gets it with
#
#     find_package(Huelinx REQUIRED)
#     target_link_libraries(program PRIVATE Huelinx::core)
#
# and includes <huelinx/colour/mun2xyz.h>. The headers include each other as
# the sources do ("colour/muntable.h"), so include/huelinx is on the include
# path too. Huelinx_DATA_DIR names the installed data folder (Vadoro.dat and
# the name tables). All of it is the "development" component.
include(CMakePackageConfigHelpers)

set(HUELINX_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Huelinx)

set_target_properties(huelinx_core PROPERTIES EXPORT_NAME core OUTPUT_NAME huelinx-core)
target_include_directories(huelinx_core INTERFACE
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/huelinx>)

install(TARGETS huelinx_core EXPORT HuelinxTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
foreach(folder text colour exchange instrument_data palette files)
  file(GLOB huelinx_headers ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  install(FILES ${huelinx_headers}
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/huelinx/${folder} COMPONENT development)
endforeach()

install(EXPORT HuelinxTargets NAMESPACE Huelinx:: FILE HuelinxTargets.cmake
  DESTINATION ${HUELINX_CMAKE_INSTALL_DIR} COMPONENT development)
configure_package_config_file(cmake/HuelinxConfig.cmake.in
  ${CMAKE_BINARY_DIR}/cmake/HuelinxConfig.cmake
  INSTALL_DESTINATION ${HUELINX_CMAKE_INSTALL_DIR}
  PATH_VARS HUELINX_DATA_INSTALL_DIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/cmake/HuelinxConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/cmake/HuelinxConfig.cmake
  ${CMAKE_BINARY_DIR}/cmake/HuelinxConfigVersion.cmake
  DESTINATION ${HUELINX_CMAKE_INSTALL_DIR} COMPONENT development)
