#include "presentation/display/Color.h"

#include "foundation/LogManager.h"

namespace cv {

namespace {

// RGB of each engine colour, indexed by its value.
struct Rgb {
  unsigned char r;  ///< red
  unsigned char g;  ///< green
  unsigned char b;  ///< blue
};

const Rgb COLOR_RGB[] = {
    {0, 0, 0},       // BLACK
    {255, 0, 0},     // RED
    {0, 255, 0},     // GREEN
    {255, 255, 0},   // YELLOW
    {0, 0, 255},     // BLUE
    {255, 0, 255},   // MAGENTA
    {0, 255, 255},   // CYAN
    {255, 255, 255}  // WHITE
};

bool isTableColor(Color color) { return color >= BLACK && color <= WHITE; }

}  // namespace

void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b) {
  if (color == CUSTOM) return;  // the caller holds its own RGB
  if (!isTableColor(color)) {
    LogManager::getInstance().writeLog(5, "colorToRGB(): Color %d not supported.", static_cast<int>(color));
    return;
  }
  r = COLOR_RGB[color].r;
  g = COLOR_RGB[color].g;
  b = COLOR_RGB[color].b;
}

}  // namespace cv
