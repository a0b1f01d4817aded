#include "presentation/display/Shape.h"

#include <algorithm>
#include <cmath>

#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "foundation/utility.h"
#include "presentation/display/DisplayManager.h"
#include "presentation/display/Polygon.h"

namespace cv {

Shape::Shape()
    : color(WHITE),
      r(255),
      g(255),
      b(255),
      type(CIRCLE),
      size(Config::getInstance().getFontScale() * std::floor(std::min(charWidth(), charHeight()))),
      opacity(255) {}

void Shape::setType(int new_type) {
  if (new_type < SHAPE_UNDEFINED || new_type > TRIANGLE) {
    LogManager::getInstance().writeLog("Shape::setType(): Unknown shape type %d. Ignoring.", new_type);
    return;
  }
  type = static_cast<ShapeType>(new_type);
}

ShapeType Shape::getType() const { return type; }
void Shape::setSize(float new_size) { size = new_size; }
float Shape::getSize() const { return size; }
void Shape::setColor(Color new_color) { color = new_color; }
Color Shape::getColor() const { return color; }

void Shape::setRGB(unsigned char new_r, unsigned char new_g, unsigned char new_b) {
  r = new_r;
  g = new_g;
  b = new_b;
}

void Shape::getRGB(unsigned char &out_r, unsigned char &out_g, unsigned char &out_b) const {
  out_r = r;
  out_g = g;
  out_b = b;
}

void Shape::setOpacity(unsigned char new_opacity) { opacity = new_opacity; }
unsigned char Shape::getOpacity() const { return opacity; }

int Shape::getPointCount() const {
  switch (type) {
    case CIRCLE:
      // Written so that a size that is not a number gets the fewest points.
      if (!(size >= 3)) return 3;
      if (size > 10) return 10;
      return static_cast<int>(size);
    case SQUARE:
      return 4;
    case TRIANGLE:
      return 3;
    case SHAPE_UNDEFINED:
      break;
  }
  return 0;
}

void Shape::draw(Vector world_pos) {
  DisplayManager &display_manager = DisplayManager::getInstance();
  if (!display_manager.isShowing()) {
    LogManager::getInstance().writeLog(5, "Shape::draw(): DisplayManager window not defined.");
    return;
  }
  const Vector pixel = spacesToPixels(worldToView(world_pos));
  const float x = pixel.getX();
  const float y = pixel.getY();

  if (color != CUSTOM) colorToRGB(color, r, g, b);
  if (type == SHAPE_UNDEFINED) return;  // no figure to draw

  Polygon polygon;
  polygon.r = r;
  polygon.g = g;
  polygon.b = b;
  polygon.alpha = opacity;
  polygon.points = getPointCount();
  // Each figure sets its own rotation, so a square's turn does not carry
  // over to the circles and triangles drawn after it.
  switch (type) {
    case CIRCLE:
      polygon.radius = size;
      polygon.position = Vector(x - size * 0.5f, y - size * 0.5f);
      break;
    case SQUARE:
      // A four-point polygon is a diamond; turned by 45 degrees it stands square.
      polygon.radius = size / Config::getInstance().getFontScale();
      polygon.rotation = 45;
      polygon.position = Vector(x + size * 0.5f, y - size / 1.75f);
      break;
    case TRIANGLE:
      polygon.radius = size * 0.5f;
      polygon.position = Vector(x - size * 0.5f, y - size * 0.5f);
      break;
    case SHAPE_UNDEFINED:
      break;
  }
  LogManager::getInstance().writeLog(20, "Shape::draw(): Drawing at (%.2f, %.2f)", x, y);
  display_manager.fillPolygon(polygon);
}

}  // namespace cv
