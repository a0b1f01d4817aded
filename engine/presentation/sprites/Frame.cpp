#include "presentation/sprites/Frame.h"

#include "foundation/utf8.h"
#include "presentation/display/DisplayManager.h"

namespace cv {

Frame::Frame() : width(0), height(0) {}

Frame::Frame(int width, int height, std::string frame_str)
    : width(width), height(height), frame_str(std::move(frame_str)) {}

int Frame::getWidth() const { return width; }
int Frame::getHeight() const { return height; }
std::string Frame::getString() const { return frame_str; }
std::u32string Frame::getCharacters() const { return decodeUtf8(frame_str); }

int Frame::draw(Vector position, Color color, char32_t transparency) const {
  if (frame_str.empty())
    return 0;
  // Centre the frame on the position: odd sizes put the middle cell on it,
  // even sizes straddle it at half cells.
  const float x_offset = static_cast<float>(width - 1) * 0.5f;
  const float y_offset = static_cast<float>(height - 1) * 0.5f;
  const DisplayManager &display_manager = DisplayManager::getInstance();
  const char *text = frame_str.data();
  const size_t size = frame_str.size();
  size_t at = 0;  // the byte where the next cell's character starts
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      if (at >= size)
        return 0;  // a text shorter than width x height has nothing more to draw
      // The characters are decoded as they are drawn, ASCII straight from
      // its byte. A byte that is not UTF-8 is compared as a char would be.
      const char byte = text[at];
      char32_t c = static_cast<unsigned char>(byte);
      bool transparent = false;
      if (c < 0x80) {
        at++;
        transparent = c == transparency;
      } else {
        c = decodeUtf8(text, size, at);
        transparent = c == NOT_UTF8 ? static_cast<char32_t>(byte) == transparency : c == transparency;
      }
      if (transparent && transparency != 0)
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
