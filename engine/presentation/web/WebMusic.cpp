#include "presentation/web/WebMusic.h"

#include "presentation/web/webAudioFile.h"
#include "presentation/web/webAudioPage.h"

namespace cv {

WebMusic::WebMusic() : player(corvane_player_new()), buffer(-1) {}

WebMusic::~WebMusic() {
  corvane_player_forget(player);
  if (buffer != -1)
    corvane_audio_forget(buffer);
}

int WebMusic::open(const std::string &filename, std::string &reason) {
  std::uint64_t samples = 0;
  const int loaded =
      decodeInPage(filename, WEB_MAX_MUSIC_SAMPLES * 4 + (1u << 20), WEB_MAX_MUSIC_SAMPLES, samples, reason);
  if (loaded == -1)
    return -1;
  corvane_player_set_buffer(player, loaded);
  if (buffer != -1)
    corvane_audio_forget(buffer);
  buffer = loaded;
  return 0;
}

void WebMusic::play(bool loop) { corvane_player_play(player, loop, 1, 1); }

void WebMusic::pause() { corvane_player_pause(player); }

void WebMusic::stop() { corvane_player_stop(player); }

bool WebMusic::isPlaying() const { return corvane_player_state(player) == 1; }

bool WebMusic::isPaused() const { return corvane_player_state(player) == 2; }

bool WebMusic::isLooping() const { return corvane_player_looping(player) != 0; }

}  // namespace cv
