#pragma once

#include "presentation/AudioOutput.h"

namespace cv {

/// Most samples a music may hold in a browser, which decodes it whole: ten
/// minutes of stereo at 48 kHz.
const unsigned long long WEB_MAX_MUSIC_SAMPLES = 10ull * 60 * 48000 * 2;

/// A piece of music decoded whole by the browser and played by a player of
/// the page (see webAudioPage.h). A music asked to play before the player's
/// first key or click starts then.
class WebMusic : public MusicStream {
 public:
  WebMusic();
  ~WebMusic() override;
  WebMusic(const WebMusic &) = delete;
  WebMusic &operator=(const WebMusic &) = delete;

  /// At most WEB_MAX_MUSIC_SAMPLES samples, and their size at 32 bits of file.
  int open(const std::string &filename, std::string &reason) override;
  void play(bool loop) override;
  void pause() override;
  void stop() override;
  bool isPlaying() const override;
  bool isPaused() const override;
  bool isLooping() const override;

 private:
  int player;  ///< the page's player
  int buffer;  ///< the page's buffer of samples, -1 for none
};

}  // namespace cv
