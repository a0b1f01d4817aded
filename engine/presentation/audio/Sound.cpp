#include "presentation/audio/Sound.h"

#include "foundation/LogManager.h"
#include "presentation/AudioOutput.h"
#include "presentation/BackEnd.h"

namespace cv {

Sound::Sound() : voice(audioOutput().makeSound()), label("[Undefined]") {}

Sound::~Sound() = default;

int Sound::loadSound(std::string filename) {
  std::string reason = "out of memory";
  if (!voice || voice->load(filename, reason) == -1) {
    LogManager::getInstance().writeLog("Sound::loadSound(): Error! '%s' not decoded: %s.", filename.c_str(),
                                       reason.c_str());
    return -1;
  }
  return 0;
}

void Sound::setLabel(std::string new_label) { label = std::move(new_label); }
std::string Sound::getLabel() const { return label; }

void Sound::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
  if (voice)
    voice->play(loop);
}

void Sound::stop() {
  if (voice)
    voice->stop();
}

bool Sound::isPlaying() const { return voice && voice->isPlaying(); }
bool Sound::isLooping() const { return voice && voice->isLooping(); }
unsigned long Sound::getSampleCount() const { return voice ? voice->getSampleCount() : 0; }

}  // namespace cv
