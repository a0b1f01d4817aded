#pragma once

#include <memory>
#include <string>

namespace cv {

class SoundVoice;

/// A short sound effect held in memory, found by its label. It plays
/// through the program's audio output (see BackEnd.h).
class Sound {
 public:
  /// An empty sound, attached to no samples, labelled "[Undefined]".
  Sound();
  /// Lets go of the samples and the voice.
  ~Sound();

  /// Loads the samples of `filename` and attaches them to the voice.
  /// The file is checked first (at most MAX_SOUND_SAMPLES) and a refusal is
  /// logged with its reason. 0 loaded, -1 when the file does not load as
  /// sound samples; then the samples loaded before stay attached.
  int loadSound(std::string filename);
  /// Sets the name the sound is found by.
  void setLabel(std::string new_label);
  /// The name the sound is found by.
  std::string getLabel() const;
  /// Starts playing from the beginning, repeating until stopped if `loop`.
  void play(bool loop = false);
  /// Stops playing.
  void stop();
  /// Whether the sound is playing now.
  bool isPlaying() const;
  /// Whether the sound repeats when it reaches its end.
  bool isLooping() const;
  /// The number of samples loaded (all channels), 0 when none.
  unsigned long getSampleCount() const;

 private:
  Sound(const Sound &) = delete;
  Sound &operator=(const Sound &) = delete;

  std::unique_ptr<SoundVoice> voice;  ///< the samples and the voice that plays them; null without one
  std::string label;                  ///< look-up name
};

}  // namespace cv
