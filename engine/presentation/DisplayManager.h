#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <string>

#include "core/Manager.h"
#include "foundation/Vector.h"
#include "presentation/Color.h"

namespace sf {
class RenderWindow;
class RectangleShape;
class Text;
}  // namespace sf

namespace cv {

/// Pixels per column of the character grid.
float charWidth();
/// Pixels per row of the character grid.
float charHeight();
/// Cells to pixels.
Vector spacesToPixels(Vector spaces);
/// Pixels to cells.
Vector pixelsToSpaces(Vector pixels);
/// The window library's colour for `color`; white for CUSTOM and unsupported values.
sf::Color colorToSFML(Color color);

/// Owns the game window and draws characters in a grid of cells on it.
/// In headless mode it starts without a window and draws nothing.
/// Drawing operations return 0 when drawn and -1 when not.
class DisplayManager : public Manager {
 public:
  static DisplayManager &getInstance();
  ~DisplayManager() override;

  /// Opens the window from the configuration and loads the font.
  int startUp() override;
  /// Closes the window.
  void shutDown() override;

  /// Draws `ch` over a cell-sized background rectangle at a world position.
  int drawCharacter(Vector world_pos, char ch, Color color) const;
  int drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b) const;

  /// Draws `str` one character per cell, justified around `world_pos`.
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;

  /// Shows the frame drawn so far and clears the back buffer.
  int swapBuffers();

  int getHorizontalChars() const;
  int getVerticalChars() const;
  int getHorizontalPixels() const;
  int getVerticalPixels() const;

  /// The render window; null before start-up, after shut-down and when headless.
  sf::RenderWindow *getWindow() const;

 private:
  DisplayManager();
  DisplayManager(const DisplayManager &) = delete;
  DisplayManager &operator=(const DisplayManager &) = delete;

  sf::Font font;                      ///< the font every character is drawn in
  sf::RenderWindow *window;           ///< the game window, owned; null when headless
  int window_horizontal_pixels;       ///< window width in pixels
  int window_vertical_pixels;         ///< window height in pixels
  int window_horizontal_chars;        ///< columns of the grid
  int window_vertical_chars;          ///< rows of the grid
  sf::RectangleShape *rectangle;      ///< one cell in the background colour, owned
  sf::Color window_background_color;  ///< colour the window is cleared to
  sf::Text *text;                     ///< reused for every character, owned
};

}  // namespace cv
