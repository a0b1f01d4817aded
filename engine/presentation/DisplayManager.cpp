#include "presentation/DisplayManager.h"

#include <SFML/Graphics.hpp>

#include "foundation/Config.h"
#include "foundation/LogManager.h"

namespace cv {

// The window is not opened yet: the manager keeps the grid size from the
// configuration and draws nothing.

DisplayManager::DisplayManager()
    : window(nullptr),
      window_horizontal_pixels(0),
      window_vertical_pixels(0),
      window_horizontal_chars(0),
      window_vertical_chars(0),
      rectangle(nullptr),
      text(nullptr) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() = default;

DisplayManager &DisplayManager::getInstance() {
  static DisplayManager display_manager;
  return display_manager;
}

int DisplayManager::startUp() {
  const Config &config = Config::getInstance();
  window_horizontal_pixels = config.getWindowHorizontalPixels();
  window_vertical_pixels = config.getWindowVerticalPixels();
  window_horizontal_chars = config.getWindowHorizontalChars();
  window_vertical_chars = config.getWindowVerticalChars();
  return Manager::startUp();
}

void DisplayManager::shutDown() { Manager::shutDown(); }

int DisplayManager::drawCharacter(Vector, char, Color) const { return -1; }

int DisplayManager::drawCharacter(Vector, char, unsigned char, unsigned char, unsigned char) const { return -1; }

int DisplayManager::drawString(Vector, std::string, Justification, Color) const { return -1; }

int DisplayManager::swapBuffers() { return -1; }

int DisplayManager::getHorizontalChars() const { return window_horizontal_chars; }
int DisplayManager::getVerticalChars() const { return window_vertical_chars; }
int DisplayManager::getHorizontalPixels() const { return window_horizontal_pixels; }
int DisplayManager::getVerticalPixels() const { return window_vertical_pixels; }

sf::RenderWindow *DisplayManager::getWindow() const { return window; }

float charWidth() {
  const DisplayManager &display_manager = DisplayManager::getInstance();
  return static_cast<float>(display_manager.getHorizontalPixels()) /
         static_cast<float>(display_manager.getHorizontalChars());
}

float charHeight() {
  const DisplayManager &display_manager = DisplayManager::getInstance();
  return static_cast<float>(display_manager.getVerticalPixels()) /
         static_cast<float>(display_manager.getVerticalChars());
}

Vector spacesToPixels(Vector spaces) { return Vector(spaces.getX() * charWidth(), spaces.getY() * charHeight()); }

Vector pixelsToSpaces(Vector pixels) { return Vector(pixels.getX() / charWidth(), pixels.getY() / charHeight()); }

sf::Color colorToSFML(Color) { return sf::Color::White; }

}  // namespace cv
