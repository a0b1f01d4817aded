#pragma once

#include "presentation/AudioOutput.h"

namespace cv {

/// Sounds and music through the browser's Web Audio: files are decoded by
/// the browser (WAV, Ogg, FLAC) into buffers the page keeps, and played by
/// its buffer sources. Music is decoded whole too, and pauses where it was.
class WebAudioOutput : public AudioOutput {
 public:
  WebAudioOutput();

  /// Whether the browser has Web Audio; the first call that finds none says
  /// so once in the log.
  bool isAvailable() override;
  std::string getFailureReason() const override;
  /// A WebSound.
  std::unique_ptr<SoundVoice> makeSound() override;
  /// A WebMusic.
  std::unique_ptr<MusicStream> makeMusic() override;

 private:
  enum class State { NOT_TRIED, AVAILABLE, MISSING } state;  ///< what the first question found
  std::string failure_reason;                                 ///< why there is no sound
};

}  // namespace cv
