#include "presentation/audio/Music.h"

#include <SFML/Audio/InputSoundFile.hpp>

#include "foundation/LogManager.h"
#include "presentation/window/SoundFileCheck.h"

namespace cv {

Music::Music() : label("[Undefined]") {}

int Music::loadMusic(std::string filename) {
  // The check opens the header only; the stream opens the file again itself.
  sf::InputSoundFile file;
  std::string reason;
  if (SoundFileCheck::open(filename, MAX_MUSIC_SAMPLES, file, reason) == -1) {
    LogManager::getInstance().writeLog("Music::loadMusic(): Error! '%s' not opened: %s.", filename.c_str(),
                                       reason.c_str());
    return -1;
  }
  return music.openFromFile(filename) ? 0 : -1;
}

void Music::setLabel(std::string new_label) { label = std::move(new_label); }
std::string Music::getLabel() const { return label; }

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
  music.play();
  music.setLoop(loop);
}

void Music::pause() {
  LogManager::getInstance().writeLog(5, "Music::pause(): Pausing music.");
  music.pause();
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  music.stop();
}

bool Music::isPlaying() const { return music.getStatus() == sf::SoundSource::Playing; }
bool Music::isPaused() const { return music.getStatus() == sf::SoundSource::Paused; }
bool Music::isLooping() const { return music.getLoop(); }

}  // namespace cv
