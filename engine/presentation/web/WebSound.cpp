#include "presentation/web/WebSound.h"

#include "presentation/audio/soundLimits.h"
#include "presentation/web/webAudioFile.h"
#include "presentation/web/webAudioPage.h"

namespace cv {

WebSound::WebSound() : player(corvane_player_new()), buffer(-1), samples(0) {}

WebSound::~WebSound() {
  corvane_player_forget(player);
  if (buffer != -1)
    corvane_audio_forget(buffer);
}

int WebSound::load(const std::string &filename, std::string &reason) {
  std::uint64_t loaded_samples = 0;
  const int loaded = decodeInPage(filename, MAX_SOUND_FILE_BYTES, MAX_SOUND_SAMPLES, loaded_samples, reason);
  if (loaded == -1)
    return -1;  // the old samples stay, playing if they were
  corvane_player_set_buffer(player, loaded);
  if (buffer != -1)
    corvane_audio_forget(buffer);
  buffer = loaded;
  samples = loaded_samples;
  return 0;
}

void WebSound::play(bool loop) { corvane_player_play(player, loop, 0, 0); }

void WebSound::stop() { corvane_player_stop(player); }

bool WebSound::isPlaying() const { return corvane_player_state(player) == 1; }

bool WebSound::isLooping() const { return corvane_player_looping(player) != 0; }

unsigned long WebSound::getSampleCount() const { return static_cast<unsigned long>(samples); }

}  // namespace cv
