#pragma once

#include <memory>
#include <string>
#include <unordered_set>

#include "core/Manager.h"
#include "foundation/Vector.h"
#include "presentation/display/Color.h"

namespace sf {
class RenderWindow;
}  // namespace sf

namespace cv {

class InputSource;
class Screen;
struct Polygon;

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

/// Draws characters in a grid of cells on the screen chosen at start-up:
/// the game window, the text terminal the game runs in (the configuration's
/// display "terminal"), or nowhere (headless). Every drawing operation goes
/// to that screen (see Screen.h); which one it is makes no difference here.
/// Drawing operations return 0 when drawn and -1 when not.
class DisplayManager : public Manager {
 public:
  static DisplayManager &getInstance();
  ~DisplayManager() override;

  /// Reads the grid from the configuration and starts the screen it asks
  /// for: unless headless, the window opens with its font, or the terminal
  /// is taken over. 0 on success or when already started; -1 on failure,
  /// with nothing of the failed start left behind.
  int startUp() override;

  /// Stops the screen: the window closes, the terminal is given back.
  void shutDown() override;

  /// Draws `ch` in `color` over a cell-sized background rectangle at a world
  /// position. CUSTOM carries no RGB of its own and, like an unsupported
  /// value, is drawn in white; callers with their own RGB use the RGB form.
  /// A char is an ASCII character; a byte past ASCII is drawn as '?'.
  int drawCharacter(Vector world_pos, char ch, Color color) const;

  /// Draws `ch` in (r, g, b) over a cell-sized background rectangle at a
  /// world position. Later characters hide earlier ones in the same cell.
  /// In a window, characters are collected and reach it together, at the
  /// next swapBuffers or getWindow, with the pixels and order of drawing each.
  int drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b) const;

  /// Draws the Unicode character `ch` as the char forms draw ASCII. A
  /// character that cannot fill one cell (wide in a terminal, a combining
  /// or zero-width mark, a control past ASCII, no code point at all) is
  /// drawn as '?', and said once per character in the log.
  int drawCharacter(Vector world_pos, char32_t ch, Color color) const;
  int drawCharacter(Vector world_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) const;

  /// Draws the UTF-8 text `str` one character per cell from `world_pos`
  /// (left), ending one cell left of it (right), or centred around it (half
  /// the character count, rounded down, to the left). Each byte that is not
  /// UTF-8 is drawn as '?'. Returns 0 even when single characters are not
  /// drawn.
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;

  /// Fills `polygon` (view pixels) over what is drawn so far: in a window
  /// the figure itself, in a terminal the cells it covers. 0 drawn, -1 not.
  int fillPolygon(const Polygon &polygon) const;

  /// Shows the frame drawn so far and clears the back buffer to the
  /// background colour.
  int swapBuffers();

  /// Shows the last frame again if the screen changed its size meanwhile
  /// (a terminal resized during a pause, say); nothing is drawn anew.
  void refresh();

  /// Whether what is drawn can be seen: started with a window or a
  /// terminal. False before start-up, after shut-down and when headless.
  bool isShowing() const;

  /// The keyboard and mouse of the medium the grid is shown on, for the
  /// input manager; null before start-up.
  std::unique_ptr<InputSource> openInput() const;

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

  /// The render window; null before start-up, after shut-down, when
  /// headless and in a terminal. The characters drawn so far are put into
  /// it first, so whatever the caller draws lands over them.
  sf::RenderWindow *getWindow() const;

 private:
  DisplayManager();
  DisplayManager(const DisplayManager &) = delete;
  DisplayManager &operator=(const DisplayManager &) = delete;

  /// `ch`, or the stand-in '?' when it cannot fill a cell (logged once).
  char32_t cellCharacter(char32_t ch) const;

  int window_horizontal_pixels;    ///< window width in pixels
  int window_vertical_pixels;      ///< window height in pixels
  int window_horizontal_chars;     ///< columns of the grid
  int window_vertical_chars;       ///< rows of the grid
  bool batching;                   ///< draw characters through a batch where the screen has one
  std::shared_ptr<Screen> screen;  ///< where the grid is shown; null until started
  mutable std::unordered_set<char32_t> refused;  ///< characters drawn as '?' and said so
};

}  // namespace cv
