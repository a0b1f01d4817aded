#pragma once

#include <string>

#include "presentation/Screen.h"
#include "presentation/terminal/TerminalScreen.h"

namespace cv {

/// Shows the display manager's grid of character cells in the text
/// terminal the program runs in, one terminal cell per engine cell, from
/// the terminal's top-left corner. Drawing goes to the back grid of a
/// TerminalScreen; present() writes what changed in one write. A terminal
/// smaller than the grid shows a message saying so until it is large
/// enough; a change of size redraws everything. A terminal has no pixels: a
/// polygon fills the cells whose centres it covers, measured in the grid's
/// pixels as the window would show it.
class TerminalDisplay : public Screen {
 public:
  TerminalDisplay();
  ~TerminalDisplay() override;
  TerminalDisplay(const TerminalDisplay &) = delete;
  TerminalDisplay &operator=(const TerminalDisplay &) = delete;

  /// Takes the terminal over for the grid. 0 on success; -1 (with a log
  /// line) when the program is not running in a terminal or the terminal
  /// refuses raw mode.
  int startUp(const ScreenGrid &grid) override;

  /// Gives the terminal back as it was.
  void shutDown() override;

  /// Whether the terminal is taken over.
  bool isShowing() const override;

  /// Draws `ch` in the terminal colour nearest (r, g, b) at a view position
  /// in cells (rounded to the nearest cell). 0 drawn, -1 outside the grid.
  int drawCharacter(Vector view_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) override;

  /// Fills the cells whose centres the polygon covers in the terminal colour
  /// nearest its colour; a polygon smaller than a cell fills the cell under
  /// its middle, and a transparent one nothing.
  int fillPolygon(const Polygon &polygon) override;

  /// Fills the cell (column, row) with the terminal colour nearest (r, g, b).
  /// 0 filled, -1 outside the grid.
  int fillCell(int column, int row, unsigned char r, unsigned char g, unsigned char b);

  /// Writes the frame drawn since the last call (only what changed) and
  /// starts the next one from the background. -1 when the write failed.
  int present() override;

  /// Repaints the frame shown last when the terminal changed size.
  void refresh() override;

  /// A TerminalInput reading this terminal.
  std::unique_ptr<InputSource> openInput() override;

  /// Sends control text straight to the terminal. 0 written, -1 not.
  int send(const std::string &control) const;

 private:
  /// Reads the terminal's size after a change; shows the too-small message
  /// or arranges a full redraw.
  void checkSize();
  /// The message shown instead of a frame while the terminal is too small.
  std::string tooSmallText(int columns, int rows) const;

  TerminalScreen screen;  ///< front and back grid of the view
  ScreenGrid grid;        ///< the grid shown, from start-up
  std::string out;        ///< bytes of the frame being written, kept to reuse its memory
  bool started;           ///< whether the terminal is taken over
  bool too_small;         ///< whether the terminal is smaller than the grid
  bool fallback_said;     ///< whether the log said that characters are shown as ASCII
};

}  // namespace cv
