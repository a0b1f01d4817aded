#pragma once

#include <string>
#include <vector>

#include "presentation/display/Color.h"

namespace cv {

/// One character cell of a text terminal: a character in a foreground
/// colour over a background colour, both of the eight terminal colours.
struct TerminalCell {
  char32_t ch;       ///< a character that fills one cell
  unsigned char fg;  ///< foreground colour, BLACK to WHITE
  unsigned char bg;  ///< background colour, BLACK to WHITE
  bool operator==(const TerminalCell &other) const { return ch == other.ch && fg == other.fg && bg == other.bg; }
  bool operator!=(const TerminalCell &other) const { return !(*this == other); }
};

/// The nearest of the eight terminal colours to (r, g, b): each channel of
/// at least 128 counts as on.
Color nearestTerminalColor(unsigned char r, unsigned char g, unsigned char b);

/// The character shown for `ch`: itself when it is printable ASCII, else a
/// visible stand-in ('?').
char visibleCharacter(char ch);

/// The character a terminal shows for `ch`: printable ASCII as it is; any
/// other character that fills one cell as it is when the terminal speaks
/// UTF-8 (`utf8`), else as the nearest ASCII (box drawing as '+', '-' or
/// '|', blocks and shades as '#'); everything else as '?'.
char32_t visibleCharacter(char32_t ch, bool utf8);

/// Whether the locale the program runs in says UTF-8 (LC_ALL, else
/// LC_CTYPE, else LANG), so that a terminal shows UTF-8 text.
bool localeSpeaksUtf8();

/// The picture of a text terminal as two grids of cells: the front grid is
/// what the terminal shows, the back grid the frame being drawn. present()
/// turns the difference into the bytes that bring the terminal from one to
/// the other: only changed cells, with cursor moves and colour changes
/// where they are needed, so an unchanged frame costs nothing.
class TerminalScreen {
 public:
  TerminalScreen();

  /// Sizes both grids to `columns` x `rows` (none below 1) with the
  /// background colour; the next present() redraws every cell.
  void resize(int columns, int rows, Color background);

  int getColumns() const;
  int getRows() const;

  /// Draws `ch` in `fg` over the background at (column, row) of the back
  /// grid, as visibleCharacter shows it. False, drawing nothing, outside the
  /// grid.
  bool put(int column, int row, char32_t ch, Color fg);

  /// Whether the terminal shows UTF-8 (true at first); when not, characters
  /// past ASCII are shown as their nearest ASCII.
  void setUtf8(bool on);
  /// Whether a character past ASCII has been shown as ASCII since start.
  bool hasFallenBack() const;

  /// Fills the cell at (column, row) of the back grid with `color`. False
  /// outside the grid.
  bool fill(int column, int row, Color color);

  /// The back grid's cell at (column, row), which must lie in the grid.
  TerminalCell at(int column, int row) const;

  /// Appends to `out` the bytes that show the back grid, makes it the front
  /// grid, and clears the back grid to the background for the next frame.
  void present(std::string &out);

  /// Appends to `out` the bytes that clear the terminal and show the front
  /// grid again in full, for a terminal that lost its picture. The back
  /// grid is left clear.
  void redrawShown(std::string &out);

  /// Forgets what the terminal shows: the next present() clears the
  /// terminal and writes every cell.
  void invalidate();

 private:
  /// Appends a cursor move to (column, row) unless the cursor is there.
  void moveTo(std::string &out, int column, int row);
  /// Appends a colour change to `cell`'s colours unless they are set.
  void setColors(std::string &out, const TerminalCell &cell);
  /// The empty cell: a blank over the background.
  TerminalCell blank() const;

  int columns;                      ///< width of both grids
  int rows;                         ///< height of both grids
  unsigned char background;         ///< background colour of every cell not filled
  std::vector<TerminalCell> front;  ///< what the terminal shows
  std::vector<TerminalCell> back;   ///< the frame being drawn
  bool front_known;                 ///< whether `front` is what the terminal shows
  int cursor_column;                ///< where the terminal's cursor is; -1 unknown
  int cursor_row;                   ///< its row; -1 unknown
  int pen_fg;                       ///< the terminal's current foreground; -1 unknown
  int pen_bg;                       ///< the terminal's current background; -1 unknown
  bool utf8;                        ///< the terminal shows UTF-8
  bool fallen_back;                 ///< a character was shown as ASCII for want of UTF-8
};

}  // namespace cv
