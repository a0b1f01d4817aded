#include "presentation/sprites/Sprite.h"

#include <new>
#include <stdexcept>

#include "foundation/LogManager.h"

namespace cv {

Sprite::Sprite(int max_frames)
    : width(0),
      height(0),
      max_frame_count(0),
      frame_count(0),
      color(WHITE),
      slowdown(1),
      transparency(0),
      label("[Undefined]") {
  bool allocated = max_frames >= 0;
  if (allocated) {
    try {
      frames.resize(static_cast<size_t>(max_frames));
    } catch (const std::bad_alloc &) {
      allocated = false;
    } catch (const std::length_error &) {
      allocated = false;
    }
  }
  if (!allocated) {
    LogManager::getInstance().writeLog("Sprite::Sprite(): Error! Unable to allocate %d frames.", max_frames);
    return;
  }
  max_frame_count = max_frames;
}

Sprite::~Sprite() = default;

void Sprite::setWidth(int new_width) { width = new_width; }
int Sprite::getWidth() const { return width; }
void Sprite::setHeight(int new_height) { height = new_height; }
int Sprite::getHeight() const { return height; }
void Sprite::setColor(Color new_color) { color = new_color; }
Color Sprite::getColor() const { return color; }
void Sprite::setSlowdown(int new_slowdown) { slowdown = new_slowdown; }
int Sprite::getSlowdown() const { return slowdown; }
void Sprite::setTransparency(char32_t new_transparency) { transparency = new_transparency; }
char32_t Sprite::getTransparency() const { return transparency; }
void Sprite::setLabel(std::string new_label) { label = std::move(new_label); }
std::string Sprite::getLabel() const { return label; }
int Sprite::getFrameCount() const { return frame_count; }
int Sprite::getMaxFrameCount() const { return max_frame_count; }

int Sprite::pushFrame(Frame frame) {
  if (frame_count == max_frame_count)
    return -1;
  frames[static_cast<size_t>(frame_count)] = std::move(frame);
  frame_count++;
  return 0;
}

Frame Sprite::getFrame(int frame_number) const {
  if (frame_number < 0 || frame_number >= frame_count)
    return Frame();
  return frames[static_cast<size_t>(frame_number)];
}

int Sprite::draw(int frame_number, Vector position, char32_t transparency) const {
  return getFrame(frame_number).draw(position, color, transparency);
}

}  // namespace cv
