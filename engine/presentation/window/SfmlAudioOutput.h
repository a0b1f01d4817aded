#pragma once

#include "presentation/AudioOutput.h"

namespace cv {

/// Sounds and music through the window library's audio module (OpenAL):
/// the audio of the window, the terminal and headless runs alike.
class SfmlAudioOutput : public AudioOutput {
 public:
  /// Whether OpenAL opens an audio device (asked once, see AudioDevice).
  bool isAvailable() override;
  std::string getFailureReason() const override;
  /// An SfmlSound.
  std::unique_ptr<SoundVoice> makeSound() override;
  /// An SfmlMusic.
  std::unique_ptr<MusicStream> makeMusic() override;
};

}  // namespace cv
