#include "presentation/sprites/Frame.h"

#include "presentation/display/DisplayManager.h"

namespace cv {

Frame::Frame() : width(0), height(0) {}

Frame::Frame(int width, int height, std::string frame_str)
    : width(width), height(height), frame_str(std::move(frame_str)) {}

int Frame::getWidth() const { return width; }
int Frame::getHeight() const { return height; }
std::string Frame::getString() const { return frame_str; }

int Frame::draw(Vector position, Color color, char transparency) const {
  if (frame_str.empty())
    return 0;
  // Centre the frame on the position: odd sizes put the middle cell on it,
  // even sizes straddle it at half cells.
  const float x_offset = static_cast<float>(width - 1) * 0.5f;
  const float y_offset = static_cast<float>(height - 1) * 0.5f;
  const DisplayManager &display_manager = DisplayManager::getInstance();
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      if (at >= frame_str.size())
        return 0;  // a text shorter than width x height has nothing more to draw
      const char c = frame_str[at];
      if (transparency != 0 && c == transparency)
        continue;
      const Vector cell(position.getX() + static_cast<float>(x) - x_offset,
                        position.getY() + static_cast<float>(y) - y_offset);
      if (display_manager.drawCharacter(cell, c, color) != 0)
        return -1;
    }
  }
  return 0;
}

}  // namespace cv
