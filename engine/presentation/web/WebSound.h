#pragma once

#include <cstdint>

#include "presentation/AudioOutput.h"

namespace cv {

/// A sound effect decoded by the browser and played by a player of the
/// page (see webAudioPage.h). Before the player's first key or click, a
/// sound asked to play is not heard.
class WebSound : public SoundVoice {
 public:
  WebSound();
  ~WebSound() override;
  WebSound(const WebSound &) = delete;
  WebSound &operator=(const WebSound &) = delete;

  /// At most MAX_SOUND_FILE_BYTES of file and MAX_SOUND_SAMPLES samples.
  int load(const std::string &filename, std::string &reason) override;
  void play(bool loop) override;
  void stop() override;
  bool isPlaying() const override;
  bool isLooping() const override;
  unsigned long getSampleCount() const override;

 private:
  int player;             ///< the page's player
  int buffer;             ///< the page's buffer of samples, -1 for none
  std::uint64_t samples;  ///< samples in the buffer
};

}  // namespace cv
