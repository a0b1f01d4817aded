#pragma once

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <string>

namespace cv {

/// A short sound effect held in memory, found by its label.
class Sound {
 public:
  Sound();
  ~Sound();

  /// 0 loaded, -1 when the file does not load as sound samples.
  int loadSound(std::string filename);
  void setLabel(std::string new_label);
  std::string getLabel() const;
  void play(bool loop = false);
  void stop();

 private:
  Sound(const Sound &) = delete;
  Sound &operator=(const Sound &) = delete;

  sf::Sound sound;               ///< the playing voice
  sf::SoundBuffer sound_buffer;  ///< the decoded samples
  std::string label;             ///< look-up name
};

}  // namespace cv
