#pragma once

#include <SFML/Audio/Music.hpp>
#include <memory>

#include "presentation/AudioOutput.h"

namespace sf {
class FileInputStream;
}  // namespace sf

namespace cv {

/// A piece of music streamed by the window library's music from a file
/// that is opened once: checked through that handle (SoundFileCheck, at most
/// MAX_MUSIC_SAMPLES), then streamed from it, so the file played is the one
/// checked even if another takes its name meanwhile.
class SfmlMusic : public MusicStream {
 public:
  SfmlMusic();
  ~SfmlMusic() override;
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
  std::unique_ptr<sf::FileInputStream> file;  ///< the open file streamed; outlives the music's use of it
  sf::Music music;                            ///< the streamed piece
};

}  // namespace cv
