// The engine's colours as the window library's, for the window back end
// and for games that draw into the window themselves.

#include <SFML/Graphics/Color.hpp>

#include "foundation/LogManager.h"
#include "presentation/display/Color.h"

namespace cv {

sf::Color colorToSFML(Color color) {
  switch (color) {
    case BLACK:
      return sf::Color::Black;
    case RED:
      return sf::Color::Red;
    case GREEN:
      return sf::Color::Green;
    case YELLOW:
      return sf::Color::Yellow;
    case BLUE:
      return sf::Color::Blue;
    case MAGENTA:
      return sf::Color::Magenta;
    case CYAN:
      return sf::Color::Cyan;
    case WHITE:
      return sf::Color::White;
    case CUSTOM:
      LogManager::getInstance().writeLog(5, "colorToSFML(): Color is CUSTOM.");
      return sf::Color::White;
  }
  LogManager::getInstance().writeLog(5, "colorToSFML(): Color %d not supported.", static_cast<int>(color));
  return sf::Color::White;
}

}  // namespace cv
