# corvane_add_run_directory(<target>
#                           [DIRECTORY <dir>]
#                           [CONFIG <file>] [FONT <file>]
#                           [SPRITES <dir>] [SOUNDS <dir>] [FILES <file>...])
#
# Assembles the directory a Corvane game runs from: the configuration as
# "cv-config.txt" (an empty one without CONFIG), the font as "cv-font.ttf" (the engine's default font unless
# FONT names another), the sprite files in "sprites/", the sounds in "sounds/"
# and any further FILES, with the files the engine itself needs beside a
# game (CORVANE_RUNTIME_FILES: on Windows, the OpenAL DLL). DIRECTORY
# defaults to the directory the target's executable is built in, so the game
# finds everything beside itself: a game that calls
# cv::GameManager::getInstance().enterRunDirectory() before startUp() runs
# from there whatever the working directory. The directory is brought up to
# date every time the target is built. In a web build the directory (by
# default <target>-files in the current binary directory) becomes the page's
# file system, and the target a web page (corvane_add_web_page).
function(corvane_add_run_directory target)
  cmake_parse_arguments(PARSE_ARGV 1 RUN "" "DIRECTORY;CONFIG;FONT;SPRITES;SOUNDS" "FILES")
  if(RUN_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvane_add_run_directory: unknown arguments ${RUN_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT RUN_DIRECTORY AND EMSCRIPTEN)
    set(RUN_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target}-files)
  elseif(NOT RUN_DIRECTORY)
    set(RUN_DIRECTORY $<TARGET_FILE_DIR:${target}>)
  endif()
  if(NOT RUN_FONT)
    set(RUN_FONT ${CORVANE_FONT_SOURCE})
  endif()

  set(commands COMMAND ${CMAKE_COMMAND} -E make_directory ${RUN_DIRECTORY})
  list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RUN_FONT} ${RUN_DIRECTORY}/cv-font.ttf)
  if(RUN_CONFIG)
    get_filename_component(RUN_CONFIG ${RUN_CONFIG} ABSOLUTE)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RUN_CONFIG} ${RUN_DIRECTORY}/cv-config.txt)
  else()
    # An empty configuration (every setting at its default) still marks the
    # directory as the game's, for GameManager::enterRunDirectory().
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E touch ${RUN_DIRECTORY}/cv-config.txt)
  endif()
  foreach(kind SPRITES SOUNDS)
    if(RUN_${kind})
      string(TOLOWER ${kind} folder)
      get_filename_component(source ${RUN_${kind}} ABSOLUTE)
      list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_directory ${source} ${RUN_DIRECTORY}/${folder})
    endif()
  endforeach()
  foreach(file IN LISTS RUN_FILES CORVANE_RUNTIME_FILES)
    get_filename_component(file ${file} ABSOLUTE)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${RUN_DIRECTORY})
  endforeach()

  add_custom_target(${target}_run_directory ${commands}
    COMMENT "Assembling the run directory of ${target}"
    VERBATIM)
  add_dependencies(${target} ${target}_run_directory)
  corvane_add_web_page(${target} FILES ${RUN_DIRECTORY})
endfunction()
