#include "presentation/Music.h"

namespace cv {

Music::Music() : label("[Undefined]") {}
int Music::loadMusic(std::string) { return -1; }
void Music::setLabel(std::string new_label) { label = std::move(new_label); }
std::string Music::getLabel() const { return label; }
void Music::play(bool) {}
void Music::pause() {}
void Music::stop() {}

}  // namespace cv
