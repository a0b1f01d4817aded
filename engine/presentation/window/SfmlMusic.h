#pragma once

#include <SFML/Audio/Music.hpp>

#include "presentation/AudioOutput.h"

namespace cv {

/// A piece of music streamed by the window library's music, from a file
/// checked first (SoundFileCheck, at most MAX_MUSIC_SAMPLES).
class SfmlMusic : public MusicStream {
 public:
  SfmlMusic() = default;
  SfmlMusic(const SfmlMusic &) = delete;
  SfmlMusic &operator=(const SfmlMusic &) = delete;

  int open(const std::string &filename, std::string &reason) override;
  void play(bool loop) override;
  void pause() override;
  void stop() override;
  bool isPlaying() const override;
  bool isPaused() const override;
  bool isLooping() const override;

 private:
  sf::Music music;  ///< the streamed piece
};

}  // namespace cv
