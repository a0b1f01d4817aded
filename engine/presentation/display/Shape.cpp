#include "presentation/display/Shape.h"

#include <SFML/Graphics.hpp>
#include <algorithm>
#include <cmath>

#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "foundation/utility.h"
#include "presentation/display/DisplayManager.h"
#include "presentation/terminal/TerminalDisplay.h"

namespace cv {

namespace {

// The one polygon every shape is drawn with, made on first use.
sf::CircleShape &sharedPolygon() {
  static sf::CircleShape polygon(0, 30);
  return polygon;
}

}  // namespace

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

namespace {

// Whether `point` lies inside the convex polygon `corners` (either winding).
bool inside(const std::vector<sf::Vector2f> &corners, sf::Vector2f point) {
  bool any_left = false, any_right = false;
  for (std::size_t i = 0; i < corners.size(); i++) {
    const sf::Vector2f a = corners[i], b = corners[(i + 1) % corners.size()];
    const float cross = (b.x - a.x) * (point.y - a.y) - (b.y - a.y) * (point.x - a.x);
    any_left = any_left || cross > 0;
    any_right = any_right || cross < 0;
  }
  return !(any_left && any_right);
}

// Fills the terminal cells whose centres the polygon covers; a polygon
// smaller than a cell fills the cell under its middle.
void fillCells(TerminalDisplay &terminal, const sf::CircleShape &polygon, unsigned char r, unsigned char g,
               unsigned char b) {
  const float cell_width = charWidth(), cell_height = charHeight();
  if (!(cell_width > 0 && cell_height > 0))
    return;
  std::vector<sf::Vector2f> corners;
  for (std::size_t i = 0; i < polygon.getPointCount(); i++)
    corners.push_back(polygon.getTransform().transformPoint(polygon.getPoint(i)));
  const sf::FloatRect bounds = polygon.getGlobalBounds();
  const int first_column = static_cast<int>(std::floor(bounds.left / cell_width));
  const int last_column = static_cast<int>(std::floor((bounds.left + bounds.width) / cell_width));
  const int first_row = static_cast<int>(std::floor(bounds.top / cell_height));
  const int last_row = static_cast<int>(std::floor((bounds.top + bounds.height) / cell_height));
  bool filled = false;
  for (int row = first_row; row <= last_row; row++)
    for (int column = first_column; column <= last_column; column++)
      if (inside(corners, sf::Vector2f((static_cast<float>(column) + 0.5f) * cell_width,
                                       (static_cast<float>(row) + 0.5f) * cell_height))) {
        terminal.fillCell(column, row, r, g, b);
        filled = true;
      }
  if (!filled)
    terminal.fillCell(static_cast<int>(std::floor((bounds.left + bounds.width / 2) / cell_width)),
                      static_cast<int>(std::floor((bounds.top + bounds.height / 2) / cell_height)), r, g, b);
}

}  // namespace

void Shape::draw(Vector world_pos) {
  TerminalDisplay *terminal = DisplayManager::getInstance().getTerminal();
  sf::RenderWindow *window = terminal ? nullptr : DisplayManager::getInstance().getWindow();
  if (!window && !terminal) {
    LogManager::getInstance().writeLog(5, "Shape::draw(): DisplayManager window not defined.");
    return;
  }
  const Vector pixel = spacesToPixels(worldToView(world_pos));
  const float x = pixel.getX();
  const float y = pixel.getY();

  if (color != CUSTOM) colorToRGB(color, r, g, b);
  if (type == SHAPE_UNDEFINED) return;  // no figure to draw

  sf::CircleShape &polygon = sharedPolygon();
  polygon.setFillColor(sf::Color(r, g, b, opacity));
  polygon.setPointCount(static_cast<std::size_t>(getPointCount()));
  // Each figure sets its own rotation: the polygon is shared, and a square's
  // turn must not carry over to the circles and triangles drawn after it.
  switch (type) {
    case CIRCLE:
      polygon.setRadius(size);
      polygon.setRotation(0);
      polygon.setPosition(x - size * 0.5f, y - size * 0.5f);
      break;
    case SQUARE:
      // A four-point polygon is a diamond; turned by 45 degrees it stands square.
      polygon.setRadius(size / Config::getInstance().getFontScale());
      polygon.setRotation(45);
      polygon.setPosition(x + size * 0.5f, y - size / 1.75f);
      break;
    case TRIANGLE:
      polygon.setRadius(size * 0.5f);
      polygon.setRotation(0);
      polygon.setPosition(x - size * 0.5f, y - size * 0.5f);
      break;
    case SHAPE_UNDEFINED:
      break;
  }
  LogManager::getInstance().writeLog(20, "Shape::draw(): Drawing at (%.2f, %.2f)", x, y);
  if (terminal) {
    // A terminal has no pixels: the figure becomes the cells it covers.
    if (opacity > 0)
      fillCells(*terminal, polygon, r, g, b);
    return;
  }
  window->draw(polygon);
}

}  // namespace cv
