#include "presentation/sprites/Animation.h"

#include <limits>
#include <utility>

#include "foundation/LogManager.h"
#include "hud/match.h"
#include "hud/serialization.h"
#include "presentation/sprites/ResourceManager.h"
#include "presentation/sprites/Sprite.h"

namespace cv {

Animation::Animation() : sprite(nullptr), index(0), slowdown_count(0), modified(true) {}

Animation::~Animation() = default;

void Animation::setSprite(Sprite *new_sprite) {
  if (new_sprite)
    setName(new_sprite->getLabel());
  sprite = new_sprite;
  modified = true;
  index = 0;
}

Sprite *Animation::getSprite() const { return sprite; }

void Animation::setName(std::string new_name) {
  if (new_name == name)
    return;
  name = std::move(new_name);
  modified = true;
}

std::string Animation::getName() const { return name; }

void Animation::setIndex(int new_index) {
  if (new_index == index)
    return;
  index = new_index;
  modified = true;
}

int Animation::getIndex() const { return index; }

void Animation::setSlowdownCount(int new_slowdown_count) {
  if (new_slowdown_count == slowdown_count)
    return;
  slowdown_count = new_slowdown_count;
  modified = true;
}

int Animation::getSlowdownCount() const { return slowdown_count; }
bool Animation::isModified() const { return modified; }
void Animation::setModified(bool new_modified) { modified = new_modified; }

int Animation::draw(Vector position) {
  if (!sprite)
    return 0;
  const int result = sprite->draw(index, position, sprite->getTransparency());
  if (slowdown_count == -1)
    return result;  // frozen on the current frame
  // Advance whatever the drawing returned, so the pace holds without a window.
  // The counts saturate or wrap instead of overflowing on extreme values.
  modified = true;
  if (slowdown_count < std::numeric_limits<int>::max())
    slowdown_count++;
  if (slowdown_count >= sprite->getSlowdown()) {
    slowdown_count = 0;
    index = index < sprite->getFrameCount() - 1 ? index + 1 : 0;
  }
  return result;
}

Box Animation::getBox() const {
  if (!sprite)
    return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  const float width = static_cast<float>(sprite->getWidth());
  const float height = static_cast<float>(sprite->getHeight());
  return Box(Vector(-width * 0.5f, -height * 0.5f), width, height);
}

std::string Animation::serialize(std::string attr) {
  if (!selectsGroup(attr, "ANIMATION", modified))
    return "";
  std::string out;
  appendAttribute(out, "sprite_name", textForm(name));
  appendAttribute(out, "sprite_index", intForm(index));
  appendAttribute(out, "sprite_slowdown_count", intForm(slowdown_count));
  modified = false;
  return out;
}

int Animation::deserialize(std::string text) {
  const LogManager &log_manager = LogManager::getInstance();
  match(std::move(text), "");

  const std::string sprite_name = readText(match("", "sprite_name"));
  if (!sprite_name.empty()) {
    log_manager.writeLog(20, "Animation::deserialize(): sprite_name is '%s'", sprite_name.c_str());
    Sprite *found = ResourceManager::getInstance().getSprite(sprite_name);
    if (found)
      setSprite(found);
    else
      log_manager.writeLog("Animation::Match(): Sprite '%s' not found", sprite_name.c_str());
    setName(sprite_name);
  }

  int number = 0;
  if (lookUpInt("Animation::deserialize()", "sprite_index", number)) {
    log_manager.writeLog(20, "Animation::deserialize(): sprite_index is %d", number);
    setIndex(number);
  }
  if (lookUpInt("Animation::deserialize()", "sprite_slowdown_count", number)) {
    log_manager.writeLog(20, "Animation::deserialize(): sprite_slowdown_count is %d", number);
    setSlowdownCount(number);
  }
  return 0;
}

}  // namespace cv
