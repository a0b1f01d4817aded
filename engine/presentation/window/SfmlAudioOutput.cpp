#include "presentation/window/SfmlAudioOutput.h"

#include <new>

#include "presentation/window/AudioDevice.h"
#include "presentation/window/SfmlMusic.h"
#include "presentation/window/SfmlSound.h"

namespace cv {

bool SfmlAudioOutput::isAvailable() { return AudioDevice::isAvailable(); }

std::string SfmlAudioOutput::getFailureReason() const { return AudioDevice::getFailureReason(); }

std::unique_ptr<SoundVoice> SfmlAudioOutput::makeSound() {
  try {
    return std::make_unique<SfmlSound>();
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}

std::unique_ptr<MusicStream> SfmlAudioOutput::makeMusic() {
  try {
    return std::make_unique<SfmlMusic>();
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}

}  // namespace cv
