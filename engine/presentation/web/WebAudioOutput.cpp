#include "presentation/web/WebAudioOutput.h"

#include <emscripten.h>  // Required for: EM_JS, EM_ASYNC_JS

#include <new>

#include "foundation/LogManager.h"
#include "presentation/web/WebMusic.h"
#include "presentation/web/WebSound.h"
#include "presentation/web/webAudioPage.h"

EM_JS(int, corvane_audio_start, (), {
  if (Module.corvaneAudio) return 0;
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return -1;
  const audio = {context : new Context(), buffers : [], players : [], unlocked : false};
  Module.corvaneAudio = audio;
  const note = document.getElementById('sound');
  const unlock = function() {
    audio.context.resume().then(function() {
      if (audio.unlocked) return;
      audio.unlocked = true;
      if (note) note.style.display = 'none';
      for (const player of audio.players)
        if (player && player.waiting) audio.start(player);
    });
  };
  if (audio.context.state == 'running') {
    audio.unlocked = true;
    if (note) note.style.display = 'none';
  } else {
    for (const type of ['keydown', 'mousedown', 'pointerdown', 'touchstart'])
      window.addEventListener(type, unlock, {capture : true});
  }
  audio.start = function(player) {
    player.waiting = false;
    const buffer = audio.buffers[player.buffer];
    if (!buffer) return;
    const source = audio.context.createBufferSource();
    source.buffer = buffer;
    source.loop = player.loop;
    source.connect(audio.context.destination);
    source.onended = function() {
      if (player.source !== source) return;
      player.source = null;
      if (!player.paused) player.offset = 0;
    };
    const offset = player.offset % buffer.duration;
    source.start(0, offset);
    player.source = source;
    player.startedAt = audio.context.currentTime - offset;
    player.paused = false;
  };
  audio.halt = function(player) {
    if (player.source) {
      const source = player.source;
      player.source = null;
      try {
        source.stop();
      } catch (error) {
      }
    }
  };
  return 0;
});

EM_ASYNC_JS(int, corvane_audio_decode, (const char *path), {
  const audio = Module.corvaneAudio;
  if (!audio) return -1;
  try {
    const bytes = FS.readFile(UTF8ToString(path));
    const buffer = await audio.context.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length));
    audio.buffers.push(buffer);
    return audio.buffers.length - 1;
  } catch (error) {
    return -1;
  }
});

EM_JS(double, corvane_audio_samples, (int buffer), {
  const found = Module.corvaneAudio && Module.corvaneAudio.buffers[buffer];
  return found ? found.length * found.numberOfChannels : 0;
});

EM_JS(void, corvane_audio_forget, (int buffer), {
  if (Module.corvaneAudio) Module.corvaneAudio.buffers[buffer] = null;
});

EM_JS(int, corvane_player_new, (), {
  const audio = Module.corvaneAudio;
  if (!audio) return -1;
  audio.players.push({buffer : -1, source : null, loop : false, paused : false, waiting : false, offset : 0});
  return audio.players.length - 1;
});

EM_JS(void, corvane_player_forget, (int player), {
  const audio = Module.corvaneAudio;
  if (!audio || !audio.players[player]) return;
  audio.halt(audio.players[player]);
  audio.players[player] = null;
});

EM_JS(void, corvane_player_set_buffer, (int player, int buffer), {
  const audio = Module.corvaneAudio;
  const found = audio && audio.players[player];
  if (!found) return;
  audio.halt(found);
  found.buffer = buffer;
  found.paused = found.waiting = false;
  found.offset = 0;
});

EM_JS(void, corvane_player_play, (int player, int loop, int resume, int wait_for_sound), {
  const audio = Module.corvaneAudio;
  const found = audio && audio.players[player];
  if (!found) return;
  audio.halt(found);
  found.loop = loop != 0;
  if (!(resume && found.paused)) found.offset = 0;
  found.paused = false;
  if (!audio.unlocked) {
    found.waiting = wait_for_sound != 0;
    return;
  }
  audio.start(found);
});

EM_JS(void, corvane_player_pause, (int player), {
  const audio = Module.corvaneAudio;
  const found = audio && audio.players[player];
  if (!found) return;
  if (found.source) {
    found.offset = audio.context.currentTime - found.startedAt;
    audio.halt(found);
    found.paused = true;
  } else if (found.waiting) {
    found.waiting = false;
    found.paused = true;
  }
});

EM_JS(void, corvane_player_stop, (int player), {
  const audio = Module.corvaneAudio;
  const found = audio && audio.players[player];
  if (!found) return;
  audio.halt(found);
  found.paused = found.waiting = false;
  found.offset = 0;
});

EM_JS(int, corvane_player_state, (int player), {
  const audio = Module.corvaneAudio;
  const found = audio && audio.players[player];
  if (!found) return 0;
  if (found.source || found.waiting) return 1;
  return found.paused ? 2 : 0;
});

EM_JS(int, corvane_player_looping, (int player), {
  const found = Module.corvaneAudio && Module.corvaneAudio.players[player];
  return found && found.loop ? 1 : 0;
});

namespace cv {

int decodeAudioInPage(const char *path) { return corvane_audio_decode(path); }

WebAudioOutput::WebAudioOutput() : state(State::NOT_TRIED) {}

bool WebAudioOutput::isAvailable() {
  if (state == State::NOT_TRIED) {
    state = corvane_audio_start() == 0 ? State::AVAILABLE : State::MISSING;
    if (state == State::MISSING) {
      failure_reason = "the browser has no Web Audio";
      LogManager::getInstance().writeLog(
          "AudioDevice::isAvailable(): Warning! No audio device could be opened (%s). Playing without sound.",
          failure_reason.c_str());
    }
  }
  return state == State::AVAILABLE;
}

std::string WebAudioOutput::getFailureReason() const { return failure_reason; }

std::unique_ptr<SoundVoice> WebAudioOutput::makeSound() {
  if (!isAvailable())
    return nullptr;
  try {
    return std::make_unique<WebSound>();
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}

std::unique_ptr<MusicStream> WebAudioOutput::makeMusic() {
  if (!isAvailable())
    return nullptr;
  try {
    return std::make_unique<WebMusic>();
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}

}  // namespace cv
