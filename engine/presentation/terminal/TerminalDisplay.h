#pragma once

#include <string>

#include "foundation/Vector.h"
#include "presentation/display/Color.h"
#include "presentation/terminal/TerminalScreen.h"

namespace cv {

/// Shows the display manager's grid of character cells in the text
/// terminal the program runs in, one terminal cell per engine cell, from
/// the terminal's top-left corner. Drawing goes to the back grid of a
/// TerminalScreen; swapBuffers writes what changed in one write. A terminal
/// smaller than the grid shows a message saying so until it is large
/// enough; a change of size redraws everything.
class TerminalDisplay {
 public:
  TerminalDisplay();
  ~TerminalDisplay();
  TerminalDisplay(const TerminalDisplay &) = delete;
  TerminalDisplay &operator=(const TerminalDisplay &) = delete;

  /// Takes the terminal over for a grid of `columns` x `rows` cells on
  /// `background`. 0 on success; -1 (with a log line) when the program is
  /// not running in a terminal or the terminal refuses raw mode.
  int startUp(int columns, int rows, Color background);

  /// Gives the terminal back as it was.
  void shutDown();

  /// Draws `ch` in the terminal colour nearest (r, g, b) at a view position
  /// in cells (rounded to the nearest cell). 0 drawn, -1 outside the grid.
  int drawCharacter(Vector view_pos, char ch, unsigned char r, unsigned char g, unsigned char b);

  /// Fills the cell (column, row) with the terminal colour nearest (r, g, b).
  /// 0 filled, -1 outside the grid.
  int fillCell(int column, int row, unsigned char r, unsigned char g, unsigned char b);

  /// Writes the frame drawn since the last call (only what changed) and
  /// starts the next one from the background. -1 when the write failed.
  int swapBuffers();

  /// Repaints the frame shown last when the terminal changed size; for
  /// waits, such as a pause, that show no new frames.
  void refreshIfResized();

  /// Sends control text straight to the terminal. 0 written, -1 not.
  int send(const std::string &control) const;

 private:
  /// Reads the terminal's size after a change; shows the too-small message
  /// or arranges a full redraw.
  void checkSize();
  /// The message shown instead of a frame while the terminal is too small.
  std::string tooSmallText(int columns, int rows) const;

  TerminalScreen screen;  ///< front and back grid of the view
  std::string out;        ///< bytes of the frame being written, kept to reuse its memory
  bool started;           ///< whether the terminal is taken over
  bool too_small;         ///< whether the terminal is smaller than the grid
};

}  // namespace cv
