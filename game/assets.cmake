# The game's art and sound in its run directory: the sprite files are copied
# into sprites/, and the sounds and music are synthesised into sounds/ by our
# own generator, so no recorded audio is kept in the source tree.

set(TOMATO_SPRITE_NAMES
  grape lemon banana durian shield watermelon bullet bullet-enemy reflector
  gamestart gameover exp-grape exp-banana exp-lemon exp-watermelon exp-durian
  player wall ammo-box)
set(TOMATO_SOUND_NAMES
  fire explode explosion-sound start-sound enemy-death-sound player-death-sound
  shoot-sound title-music game-music)

set(tomato_sprite_outputs "")
foreach(name IN LISTS TOMATO_SPRITE_NAMES)
  set(source ${CMAKE_CURRENT_LIST_DIR}/sprites/${name}-spr.txt)
  set(target ${TOMATO_RUN_DIR}/sprites/${name}-spr.txt)
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TOMATO_RUN_DIR}/sprites
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${target}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND tomato_sprite_outputs ${target})
endforeach()

# The sound generator runs on the build machine. A build for another
# machine that cannot run what it builds (a web page) is given a generator
# built for this one: TOMATO_SOUND_GENERATOR.
set(TOMATO_SOUND_GENERATOR "" CACHE FILEPATH "A make_sounds built for the build machine, for cross builds")
if(TOMATO_SOUND_GENERATOR)
  set(make_sounds_command ${TOMATO_SOUND_GENERATOR})
else()
  add_executable(make_sounds ${CMAKE_CURRENT_LIST_DIR}/sounds/make_sounds.cpp)
  corvane_warnings(make_sounds)
  set(make_sounds_command make_sounds)
endif()

set(tomato_sound_outputs "")
foreach(name IN LISTS TOMATO_SOUND_NAMES)
  list(APPEND tomato_sound_outputs ${TOMATO_RUN_DIR}/sounds/${name}.wav)
endforeach()
add_custom_command(OUTPUT ${tomato_sound_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TOMATO_RUN_DIR}/sounds
  COMMAND ${make_sounds_command} ${TOMATO_RUN_DIR}/sounds
  DEPENDS ${make_sounds_command}
  COMMENT "Synthesising the tomato sounds and music"
  VERBATIM)

add_custom_target(tomato_assets ALL DEPENDS ${tomato_sprite_outputs} ${tomato_sound_outputs})
add_dependencies(tomato tomato_assets)
corvane_add_web_page(tomato FILES ${TOMATO_RUN_DIR} TITLE "Tomato")
