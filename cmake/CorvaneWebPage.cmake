# corvane_add_web_page(<target> FILES <dir> [TITLE <title>])
#
# In a web build (Emscripten), makes <target> a web page: the files of
# <dir> (the game's run directory) become the page's file system, from its
# root, in <target>.data, and index.html is written beside <target>.js and
# <target>.wasm. The four files together are the game: serve the folder from
# any web server. Elsewhere it does nothing.
function(corvane_add_web_page target)
  if(NOT EMSCRIPTEN)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 PAGE "" "FILES;TITLE" "")
  if(PAGE_UNPARSED_ARGUMENTS OR NOT PAGE_FILES)
    message(FATAL_ERROR "corvane_add_web_page: give FILES <dir> (and TITLE <title>)")
  endif()
  if(NOT PAGE_TITLE)
    set(PAGE_TITLE ${target})
  endif()
  get_filename_component(PAGE_FILES ${PAGE_FILES} ABSOLUTE)
  target_link_options(${target} PRIVATE "SHELL:--preload-file ${PAGE_FILES}@/")
  set(CORVANE_PAGE_TITLE ${PAGE_TITLE})
  set(CORVANE_PAGE_SCRIPT ${target}.js)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}-index.html)
  configure_file(${CORVANE_WEB_PAGE_TEMPLATE} ${page} @ONLY)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page} $<TARGET_FILE_DIR:${target}>/index.html
    VERBATIM)
endfunction()
