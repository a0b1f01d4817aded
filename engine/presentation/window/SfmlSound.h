#pragma once

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include "presentation/AudioOutput.h"

namespace cv {

/// A sound effect's samples in a sound buffer of the window library, played
/// by one of its sounds. A file is read once (at most MAX_SOUND_FILE_BYTES),
/// and its bytes checked (SoundFileCheck, at most MAX_SOUND_SAMPLES) and
/// decoded whole before the buffer is touched.
class SfmlSound : public SoundVoice {
 public:
  SfmlSound() = default;
  /// Detaches the samples from the voice before either is destroyed.
  ~SfmlSound() override;
  SfmlSound(const SfmlSound &) = delete;
  SfmlSound &operator=(const SfmlSound &) = delete;

  int load(const std::string &filename, std::string &reason) override;
  void play(bool loop) override;
  void stop() override;
  bool isPlaying() const override;
  bool isLooping() const override;
  unsigned long getSampleCount() const override;

 private:
  sf::Sound sound;               ///< the playing voice
  sf::SoundBuffer sound_buffer;  ///< the decoded samples
};

}  // namespace cv
