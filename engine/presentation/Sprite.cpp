#include "presentation/Sprite.h"

namespace cv {

Sprite::Sprite(int max_frames)
    : width(0),
      height(0),
      max_frame_count(max_frames),
      frame_count(0),
      color(WHITE),
      slowdown(1),
      transparency(0),
      frames(nullptr),
      label("[Undefined]") {}

Sprite::~Sprite() { delete[] frames; }

void Sprite::setWidth(int new_width) { width = new_width; }
int Sprite::getWidth() const { return width; }
void Sprite::setHeight(int new_height) { height = new_height; }
int Sprite::getHeight() const { return height; }
void Sprite::setColor(Color new_color) { color = new_color; }
Color Sprite::getColor() const { return color; }
void Sprite::setSlowdown(int new_slowdown) { slowdown = new_slowdown; }
int Sprite::getSlowdown() const { return slowdown; }
void Sprite::setTransparency(char new_transparency) { transparency = new_transparency; }
char Sprite::getTransparency() const { return transparency; }
void Sprite::setLabel(std::string new_label) { label = std::move(new_label); }
std::string Sprite::getLabel() const { return label; }
int Sprite::getFrameCount() const { return frame_count; }

int Sprite::pushFrame(Frame) { return -1; }

Frame Sprite::getFrame(int) const { return Frame(); }

int Sprite::draw(int, Vector, char) const { return 0; }

}  // namespace cv
