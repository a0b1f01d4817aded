#include "presentation/audio/Music.h"

#include "foundation/LogManager.h"
#include "presentation/AudioOutput.h"
#include "presentation/BackEnd.h"

namespace cv {

Music::Music() : stream(audioOutput().makeMusic()), label("[Undefined]") {}

Music::~Music() = default;

int Music::loadMusic(std::string filename) {
  std::string reason = "out of memory";
  if (stream && stream->open(filename, reason) == 0)
    return 0;
  if (!reason.empty())
    LogManager::getInstance().writeLog("Music::loadMusic(): Error! '%s' not opened: %s.", filename.c_str(),
                                       reason.c_str());
  return -1;
}

void Music::setLabel(std::string new_label) { label = std::move(new_label); }
std::string Music::getLabel() const { return label; }

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
  if (stream)
    stream->play(loop);
}

void Music::pause() {
  LogManager::getInstance().writeLog(5, "Music::pause(): Pausing music.");
  if (stream)
    stream->pause();
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  if (stream)
    stream->stop();
}

bool Music::isPlaying() const { return stream && stream->isPlaying(); }
bool Music::isPaused() const { return stream && stream->isPaused(); }
bool Music::isLooping() const { return stream && stream->isLooping(); }

}  // namespace cv
