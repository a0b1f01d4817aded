#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <memory>
#include <string>

#include "core/Manager.h"
#include "foundation/Vector.h"
#include "presentation/window/CharacterBatch.h"
#include "presentation/display/Color.h"

namespace sf {
class RenderWindow;
class RectangleShape;
class Text;
}  // namespace sf

namespace cv {

class TerminalDisplay;

/// Pixels per column of the character grid; 0 while the grid has no columns
/// (before the first start-up).
float charWidth();
/// Pixels per row of the character grid; 0 while the grid has no rows.
float charHeight();
/// Cells to pixels: (x * charWidth(), y * charHeight()).
Vector spacesToPixels(Vector spaces);
/// Pixels to cells: (x / charWidth(), y / charHeight()); 0 in a direction
/// whose cell size is 0.
Vector pixelsToSpaces(Vector pixels);

/// Owns the game window and draws characters in a grid of cells on it.
/// With the configuration's display "terminal" it shows the same grid in
/// the text terminal instead (TerminalDisplay) and opens no window.
/// In headless mode it starts without a window and draws nothing.
/// Drawing operations return 0 when drawn and -1 when not.
class DisplayManager : public Manager {
 public:
  static DisplayManager &getInstance();
  ~DisplayManager() override;

  /// Reads the grid from the configuration, then (unless headless) opens the
  /// window, loads the font and prepares the cell rectangle and the text.
  /// 0 on success or when already started; -1 on failure, with nothing of
  /// the failed start left behind.
  int startUp() override;

  /// Closes and releases the window, the text and the cell rectangle.
  void shutDown() override;

  /// Draws `ch` in `color` over a cell-sized background rectangle at a world
  /// position. CUSTOM carries no RGB of its own and, like an unsupported
  /// value, is drawn in white; callers with their own RGB use the RGB form.
  int drawCharacter(Vector world_pos, char ch, Color color) const;

  /// Draws `ch` in (r, g, b) over a cell-sized background rectangle at a
  /// world position. Later characters hide earlier ones in the same cell.
  /// Characters are collected and reach the window together, at the next
  /// swapBuffers or getWindow, with the pixels and order of drawing each.
  int drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b) const;

  /// Draws `str` one character per cell from `world_pos` (left), ending one
  /// cell left of it (right), or centred around it (half the length, rounded
  /// down, to the left). Returns 0 even when single characters are not drawn.
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;

  /// Shows the frame drawn so far and clears the back buffer to the
  /// background colour.
  int swapBuffers();

  /// Whether characters are collected and drawn in one call (the default)
  /// or drawn one by one as a rectangle and a text. Both give the same pixels.
  void setBatching(bool on);
  bool getBatching() const;

  /// Columns of the character grid.
  int getHorizontalChars() const;
  /// Rows of the character grid.
  int getVerticalChars() const;
  /// Window width in pixels.
  int getHorizontalPixels() const;
  /// Window height in pixels.
  int getVerticalPixels() const;

  /// The render window; null before start-up, after shut-down and when
  /// headless. The characters drawn so far are put into it first, so
  /// whatever the caller draws lands over them.
  sf::RenderWindow *getWindow() const;

  /// The render window for reading events and input state only: nothing
  /// may be drawn through it, which lets the display skip repainting
  /// backgrounds that are still untouched. Null as for getWindow.
  sf::RenderWindow *getWindowForInput() const;

  /// The terminal the grid is shown in; null unless started with the
  /// display "terminal".
  TerminalDisplay *getTerminal() const;

 private:
  DisplayManager();
  DisplayManager(const DisplayManager &) = delete;
  DisplayManager &operator=(const DisplayManager &) = delete;

  /// Opens the window and prepares font, rectangle and text; -1 on failure.
  int startGraphics();
  /// Takes the terminal over for the grid; -1 on failure.
  int startTerminal();
  /// Creates the render window from the configuration; -1 if it cannot.
  int openWindow();
  /// Releases the window (closing it), the text and the rectangle.
  void releaseGraphics();
  /// Draws the collected characters into the window.
  void drawBatch() const;

  sf::Font font;                                  ///< the font every character is drawn in
  std::unique_ptr<sf::RenderWindow> window;       ///< the game window; null when headless
  int window_horizontal_pixels;                   ///< window width in pixels
  int window_vertical_pixels;                     ///< window height in pixels
  int window_horizontal_chars;                    ///< columns of the grid
  int window_vertical_chars;                      ///< rows of the grid
  std::unique_ptr<sf::RectangleShape> rectangle;  ///< one cell in the background colour
  sf::Color window_background_color;              ///< colour the window is cleared to
  std::unique_ptr<sf::Text> text;                 ///< reused for every character drawn
  mutable CharacterBatch batch;                   ///< characters drawn since the batch was last put in the window
  bool batch_ready;                               ///< the batch is prepared for the font and grid
  bool batching;                                  ///< draw characters through the batch when it is ready
  std::unique_ptr<TerminalDisplay> terminal;      ///< the terminal shown in; null when in a window or headless
};

}  // namespace cv
