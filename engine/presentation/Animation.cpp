#include "presentation/Animation.h"

namespace cv {

Animation::Animation() : sprite(nullptr), index(0), slowdown_count(0), modified(true) {}

Animation::~Animation() = default;

void Animation::setSprite(Sprite *new_sprite) { sprite = new_sprite; }
Sprite *Animation::getSprite() const { return sprite; }
void Animation::setName(std::string new_name) { name = std::move(new_name); }
std::string Animation::getName() const { return name; }
void Animation::setIndex(int new_index) { index = new_index; }
int Animation::getIndex() const { return index; }
void Animation::setSlowdownCount(int new_slowdown_count) { slowdown_count = new_slowdown_count; }
int Animation::getSlowdownCount() const { return slowdown_count; }
bool Animation::isModified() const { return modified; }
void Animation::setModified(bool new_modified) { modified = new_modified; }

int Animation::draw(Vector) { return 0; }

Box Animation::getBox() const { return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f); }

}  // namespace cv
