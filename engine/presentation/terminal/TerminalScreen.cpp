#include "presentation/terminal/TerminalScreen.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>

#include "foundation/utf8.h"

namespace cv {

namespace {

const char ESC = '\x1b';

// The cell's colour, kept to the eight terminal colours.
// The ASCII nearest a box-drawing character: '-' for the horizontal
// lines, '|' for the vertical ones, '+' for corners, joints and the rest.
char32_t asciiForBoxDrawing(char32_t ch) {
  static const char32_t HORIZONTAL[] = {0x2500, 0x2501, 0x2504, 0x2505, 0x2508, 0x2509, 0x254C, 0x254D,
                                        0x2550, 0x2574, 0x2576, 0x2578, 0x257A, 0x257C, 0x257E};
  static const char32_t VERTICAL[] = {0x2502, 0x2503, 0x2506, 0x2507, 0x250A, 0x250B, 0x254E, 0x254F,
                                      0x2551, 0x2575, 0x2577, 0x2579, 0x257B, 0x257D, 0x257F};
  if (std::find(std::begin(HORIZONTAL), std::end(HORIZONTAL), ch) != std::end(HORIZONTAL))
    return U'-';
  if (std::find(std::begin(VERTICAL), std::end(VERTICAL), ch) != std::end(VERTICAL))
    return U'|';
  return U'+';
}

unsigned char terminalColor(Color color) {
  return color >= BLACK && color <= WHITE ? static_cast<unsigned char>(color) : static_cast<unsigned char>(WHITE);
}

void appendNumber(std::string &out, int number) { out += std::to_string(number); }

}  // namespace

Color nearestTerminalColor(unsigned char r, unsigned char g, unsigned char b) {
  // The enumeration's order is the terminals' own: red is bit 0, green bit 1, blue bit 2.
  return static_cast<Color>((r >= 128 ? 1 : 0) | (g >= 128 ? 2 : 0) | (b >= 128 ? 4 : 0));
}

char visibleCharacter(char ch) { return ch >= ' ' && ch <= '~' ? ch : static_cast<char>(STAND_IN); }

char32_t visibleCharacter(char32_t ch, bool utf8) {
  if (ch >= U' ' && ch <= U'~')
    return ch;
  if (!isSingleWidth(ch))
    return STAND_IN;
  if (utf8)
    return ch;
  if (ch >= 0x2500 && ch <= 0x257F)
    return asciiForBoxDrawing(ch);
  if (ch >= 0x2580 && ch <= 0x259F)
    return U'#';  // blocks and shades
  return static_cast<char32_t>(STAND_IN);
}

bool localeSpeaksUtf8() {
  for (const char *name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char *value = std::getenv(name);
    if (!value || !*value)
      continue;
    std::string lower(value);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
  }
  return false;
}

TerminalScreen::TerminalScreen()
    : columns(0),
      rows(0),
      background(BLACK),
      front_known(false),
      cursor_column(-1),
      cursor_row(-1),
      pen_fg(-1),
      pen_bg(-1),
      utf8(true),
      fallen_back(false) {}

void TerminalScreen::resize(int new_columns, int new_rows, Color new_background) {
  columns = std::max(1, new_columns);
  rows = std::max(1, new_rows);
  background = terminalColor(new_background);
  const size_t cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
  front.assign(cells, blank());
  back.assign(cells, blank());
  invalidate();
}

int TerminalScreen::getColumns() const { return columns; }
int TerminalScreen::getRows() const { return rows; }

TerminalCell TerminalScreen::blank() const { return TerminalCell{' ', WHITE, background}; }

bool TerminalScreen::put(int column, int row, char32_t ch, Color fg) {
  if (column < 0 || column >= columns || row < 0 || row >= rows)
    return false;
  const char32_t shown = visibleCharacter(ch, utf8);
  fallen_back = fallen_back || (!utf8 && ch >= 0x80 && shown != ch);
  back[static_cast<size_t>(row * columns + column)] = TerminalCell{shown, terminalColor(fg), background};
  return true;
}

void TerminalScreen::setUtf8(bool on) { utf8 = on; }

bool TerminalScreen::hasFallenBack() const { return fallen_back; }

bool TerminalScreen::fill(int column, int row, Color color) {
  if (column < 0 || column >= columns || row < 0 || row >= rows)
    return false;
  const unsigned char fill_color = terminalColor(color);
  back[static_cast<size_t>(row * columns + column)] = TerminalCell{' ', fill_color, fill_color};
  return true;
}

TerminalCell TerminalScreen::at(int column, int row) const { return back[static_cast<size_t>(row * columns + column)]; }

void TerminalScreen::redrawShown(std::string &out) {
  back = front;
  invalidate();
  present(out);
}

void TerminalScreen::invalidate() {
  front_known = false;
  cursor_column = cursor_row = -1;
  pen_fg = pen_bg = -1;
}

void TerminalScreen::moveTo(std::string &out, int column, int row) {
  if (row == cursor_row && column == cursor_column)
    return;
  out += ESC;
  out += '[';
  if (row == cursor_row && column > cursor_column) {
    // Forward on the same row: shorter than a full position.
    if (column - cursor_column > 1)
      appendNumber(out, column - cursor_column);
    out += 'C';
  } else {
    appendNumber(out, row + 1);
    out += ';';
    appendNumber(out, column + 1);
    out += 'H';
  }
  cursor_column = column;
  cursor_row = row;
}

void TerminalScreen::setColors(std::string &out, const TerminalCell &cell) {
  const bool fg_changes = pen_fg != cell.fg;
  const bool bg_changes = pen_bg != cell.bg;
  if (!fg_changes && !bg_changes)
    return;
  out += ESC;
  out += '[';
  if (fg_changes) {
    out += '3';
    out += static_cast<char>('0' + cell.fg);
  }
  if (fg_changes && bg_changes)
    out += ';';
  if (bg_changes) {
    out += '4';
    out += static_cast<char>('0' + cell.bg);
  }
  out += 'm';
  pen_fg = cell.fg;
  pen_bg = cell.bg;
}

void TerminalScreen::present(std::string &out) {
  const bool redraw_all = !front_known;
  if (redraw_all) {
    // Plain attributes and a cleared terminal, then every cell: blanks
    // too, since a terminal may clear to its own background colour.
    out += "\x1b[0m";
    pen_fg = pen_bg = -1;
    setColors(out, blank());
    out += "\x1b[2J";
    cursor_column = cursor_row = -1;
  }
  for (int row = 0; row < rows; row++)
    for (int column = 0; column < columns; column++) {
      const size_t i = static_cast<size_t>(row * columns + column);
      if (!redraw_all && back[i] == front[i])
        continue;
      moveTo(out, column, row);
      setColors(out, back[i]);
      appendUtf8(out, back[i].ch);
      // Past the last column the cursor's place depends on the terminal.
      cursor_column = column + 1 < columns ? column + 1 : -1;
      if (cursor_column < 0)
        cursor_row = -1;
    }
  front.swap(back);
  std::fill(back.begin(), back.end(), blank());
  front_known = true;
}

}  // namespace cv
