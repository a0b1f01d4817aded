#include "presentation/window/SfmlMusic.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/System/FileInputStream.hpp>
#include <new>

#include "presentation/window/SoundFileCheck.h"

namespace cv {

SfmlMusic::SfmlMusic() = default;

// The music goes first (it is declared last) and stops streaming before the
// file it streams from is closed.
SfmlMusic::~SfmlMusic() = default;

int SfmlMusic::open(const std::string &filename, std::string &reason) {
  std::unique_ptr<sf::FileInputStream> opened;
  try {
    opened = std::make_unique<sf::FileInputStream>();
  } catch (const std::bad_alloc &) {
    reason = "out of memory";
    return -1;
  }
  if (SoundFileCheck::openFile(filename, *opened, reason) == -1)
    return -1;
  {
    // Only the header is read here; the check's reader is gone before the
    // music reads the same file from its start.
    sf::InputSoundFile checked;
    if (SoundFileCheck::open(*opened, MAX_MUSIC_SAMPLES, checked, reason) == -1)
      return -1;
  }
  // Opening stops what played; the file it played from may go after that.
  if (!music.openFromStream(*opened)) {
    reason.clear();  // the library says why in its own lines
    return -1;
  }
  file = std::move(opened);
  return 0;
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
