#pragma once

#include <memory>

#include "foundation/Vector.h"
#include "presentation/display/Color.h"

namespace sf {
class RenderWindow;
}  // namespace sf

namespace cv {

class InputSource;
struct Polygon;

/// The grid of cells a screen shows, as the configuration gives it.
struct ScreenGrid {
  int columns = 0;            ///< cells across
  int rows = 0;               ///< cells down
  int horizontal_pixels = 0;  ///< width of the grid in pixels, where the medium has pixels
  int vertical_pixels = 0;    ///< height of the grid in pixels
  Color background = BLACK;   ///< colour of an empty cell
};

/// Where the display manager's grid of character cells is shown: a window,
/// a text terminal, or nowhere. One screen is chosen when the display
/// starts (see BackEnd.h); the display manager then hands it every drawing
/// operation without asking which one it is. Positions are view positions
/// (the world minus the view's corner): in cells for characters, in the
/// grid's pixels for polygons.
///
/// A screen is held by a shared pointer, so that the input source it opens
/// can keep it for as long as the source lives.
class Screen : public std::enable_shared_from_this<Screen> {
 public:
  virtual ~Screen() = default;

  /// Takes the medium over for `grid`. 0 on success; -1 on failure, after
  /// logging why (as the display manager's start-up), with nothing of the
  /// failed start left open.
  virtual int startUp(const ScreenGrid &grid) = 0;

  /// Gives the medium back as it was found. Drawing does nothing afterwards.
  virtual void shutDown() = 0;

  /// Whether what is drawn can be seen: false for a screen that shows
  /// nothing (headless) and for one that was shut down.
  virtual bool isShowing() const = 0;

  /// Draws `ch` in (r, g, b) over an empty cell at `view_pos` (cells). A
  /// character drawn later in the same cell hides this one. `ch` is a code
  /// point that fills one cell (isSingleWidth) or an ASCII control; the
  /// display manager has put a stand-in in place of anything else. 0 drawn,
  /// -1 not.
  virtual int drawCharacter(Vector view_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) = 0;

  /// Fills `polygon` (view pixels) over what is drawn so far. 0 drawn, -1 not.
  virtual int fillPolygon(const Polygon &polygon) = 0;

  /// Shows the frame drawn since the last call and starts the next one from
  /// empty cells. 0 shown, -1 not.
  virtual int present() = 0;

  /// Shows the last frame again if the medium changed its size meanwhile;
  /// for waits, such as a pause, that draw no new frames.
  virtual void refresh() = 0;

  /// Opens this medium's keyboard and mouse. Null when the screen cannot
  /// give input (never started).
  virtual std::unique_ptr<InputSource> openInput() = 0;

  /// Whether characters are collected and drawn together where the medium
  /// can; either way gives the same picture. Ignored where nothing is collected.
  virtual void setBatching(bool on) { (void)on; }

  /// The window library's window this screen draws in; null for every other
  /// medium, and once shut down. Whatever the caller draws into it lands
  /// over the characters drawn so far.
  virtual sf::RenderWindow *getWindow() { return nullptr; }
};

/// The cell a medium of whole cells puts a character at `view_pos` in: the
/// nearest, a half rounding up (a character at 10.6 covers more of cell 11
/// than of cell 10 in a window). False, with `column` and `row` untouched,
/// when that cell is outside a grid of `columns` x `rows`.
bool nearestCell(Vector view_pos, int columns, int rows, int &column, int &row);

}  // namespace cv
