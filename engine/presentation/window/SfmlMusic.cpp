#include "presentation/window/SfmlMusic.h"

#include <SFML/Audio/InputSoundFile.hpp>

#include "presentation/window/SoundFileCheck.h"

namespace cv {

int SfmlMusic::open(const std::string &filename, std::string &reason) {
  // The check opens the header only; the stream opens the file again itself.
  sf::InputSoundFile file;
  if (SoundFileCheck::open(filename, MAX_MUSIC_SAMPLES, file, reason) == -1)
    return -1;
  reason.clear();  // the library says why in its own lines
  return music.openFromFile(filename) ? 0 : -1;
}

void SfmlMusic::play(bool loop) {
  music.play();
  music.setLoop(loop);
}

void SfmlMusic::pause() { music.pause(); }

void SfmlMusic::stop() { music.stop(); }

bool SfmlMusic::isPlaying() const { return music.getStatus() == sf::SoundSource::Playing; }
bool SfmlMusic::isPaused() const { return music.getStatus() == sf::SoundSource::Paused; }
bool SfmlMusic::isLooping() const { return music.getLoop(); }

}  // namespace cv
