# Installs the engine so other projects can use it with
#   find_package(Corvane)
#   target_link_libraries(mygame PRIVATE Corvane::corvane)
#   corvane_add_run_directory(mygame CONFIG cv-config.txt SPRITES sprites)
# The library goes to lib/, the headers to include/corvane/ (in their
# folders, as the engine includes them), the default font and the CMake
# package to share/corvane/ and lib/cmake/Corvane/.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(CORVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Corvane)
set(CORVANE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/corvane)

install(TARGETS corvane EXPORT CorvaneTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/engine/
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane
  FILES_MATCHING PATTERN "*.h")
install(FILES ${CORVANE_FONT_SOURCE} DESTINATION ${CORVANE_DATA_DIR} RENAME cv-font.ttf)
install(EXPORT CorvaneTargets NAMESPACE Corvane:: DESTINATION ${CORVANE_CMAKE_DIR})

configure_package_config_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/CorvaneConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake
  INSTALL_DESTINATION ${CORVANE_CMAKE_DIR}
  PATH_VARS CORVANE_DATA_DIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfigVersion.cmake
  ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CorvaneRunDirectory.cmake
  DESTINATION ${CORVANE_CMAKE_DIR})
