# Installs the engine so other projects can use it with
#   find_package(Corvane)
#   target_link_libraries(mygame PRIVATE Corvane::corvane)
#   corvane_add_run_directory(mygame CONFIG cv-config.txt SPRITES sprites)
# The library goes to lib/, the headers to include/corvane/ (in their
# folders, as the engine includes them), the default font, the web page and
# the CMake package to share/corvane/ and lib/cmake/Corvane/. A web build
# (Emscripten) installs the same for games built with emcmake.

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
# The page a web build of a game is served with.
install(FILES ${CORVANE_WEB_PAGE_TEMPLATE} DESTINATION ${CORVANE_DATA_DIR}/web)
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
  ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CorvaneWebPage.cmake
  DESTINATION ${CORVANE_CMAKE_DIR})

# A Windows build also installs what a game needs to be built the same way
# (a toolchain file naming this build's compilers and libraries, with the
# OpenGL library under the name SFML asks for) and to run (the OpenAL DLL,
# which corvane_add_run_directory() copies beside each game).
if(WIN32 AND CMAKE_CROSSCOMPILING)
  find_library(CORVANE_OPENGL32_LIBRARY opengl32 REQUIRED)
  find_file(CORVANE_OPENAL_DLL OpenAL32.dll PATH_SUFFIXES bin REQUIRED)
  get_filename_component(CORVANE_BASE_TOOLCHAIN ${CMAKE_TOOLCHAIN_FILE} NAME)
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/CorvaneWindowsToolchain.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/CorvaneWindowsToolchain.cmake @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CorvaneWindowsToolchain.cmake ${CMAKE_TOOLCHAIN_FILE}
    DESTINATION ${CORVANE_CMAKE_DIR})
  install(FILES ${CORVANE_OPENGL32_LIBRARY} DESTINATION ${CORVANE_CMAKE_DIR}/links RENAME libOpenGL32.a)
  install(FILES ${CORVANE_OPENAL_DLL} DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
