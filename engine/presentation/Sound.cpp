#include "presentation/Sound.h"

namespace cv {

Sound::Sound() : label("[Undefined]") {}
Sound::~Sound() { sound.resetBuffer(); }
int Sound::loadSound(std::string) { return -1; }
void Sound::setLabel(std::string new_label) { label = std::move(new_label); }
std::string Sound::getLabel() const { return label; }
void Sound::play(bool) {}
void Sound::stop() {}

}  // namespace cv
