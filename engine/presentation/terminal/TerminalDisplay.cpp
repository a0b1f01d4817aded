#include "presentation/terminal/TerminalDisplay.h"

#include <cmath>

#include "foundation/LogManager.h"
#include "platform/terminal.h"
#include "presentation/display/Polygon.h"
#include "presentation/terminal/TerminalInput.h"
#include "presentation/terminal/terminal_codes.h"

namespace cv {

namespace {

// Whether `point` lies inside the convex polygon `corners` (either winding).
bool inside(const std::vector<Vector> &corners, Vector point) {
  bool any_left = false, any_right = false;
  for (std::size_t i = 0; i < corners.size(); i++) {
    const Vector a = corners[i], b = corners[(i + 1) % corners.size()];
    const float cross = (b.getX() - a.getX()) * (point.getY() - a.getY()) - (b.getY() - a.getY()) * (point.getX() - a.getX());
    any_left = any_left || cross > 0;
    any_right = any_right || cross < 0;
  }
  return !(any_left && any_right);
}

}  // namespace

TerminalDisplay::TerminalDisplay() : started(false), too_small(false), fallback_said(false) {}

TerminalDisplay::~TerminalDisplay() { shutDown(); }

int TerminalDisplay::startUp(const ScreenGrid &new_grid) {
  const LogManager &log_manager = LogManager::getInstance();
  grid = new_grid;
  if (!platform::terminalDisplaySupported()) {
    log_manager.writeLog("DisplayManager::startUp(): Error! display is 'terminal' but this system has no terminal display; use display 'window'.");
    return -1;
  }
  if (!platform::isTerminal()) {
    log_manager.writeLog("DisplayManager::startUp(): Error! display is 'terminal' but the game does not run in a terminal.");
    return -1;
  }
  screen.resize(grid.columns, grid.rows, grid.background);
  screen.setUtf8(localeSpeaksUtf8());
  fallback_said = false;
  if (!platform::enterTerminalMode(terminal_codes::ENTER, terminal_codes::RESTORE)) {
    log_manager.writeLog("DisplayManager::startUp(): Error! the terminal refuses raw mode.");
    return -1;
  }
  started = true;
  checkSize();
  // Said once the terminal is taken, so that a failure's reason is the failure.
  log_manager.writeLog(
      "DisplayManager::startUp(): drawing in the terminal; font_file, font_scale, window_horizontal_pixels, "
      "window_vertical_pixels, window_style, window_title and show_mouse are ignored.");
  return 0;
}

void TerminalDisplay::shutDown() {
  if (!started)
    return;
  platform::leaveTerminalMode();
  started = false;
}

bool TerminalDisplay::isShowing() const { return started; }

int TerminalDisplay::drawCharacter(Vector view_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) {
  int column, row;
  if (!nearestCell(view_pos, screen.getColumns(), screen.getRows(), column, row))
    return -1;
  screen.put(column, row, ch, nearestTerminalColor(r, g, b));
  return 0;
}

int TerminalDisplay::fillCell(int column, int row, unsigned char r, unsigned char g, unsigned char b) {
  return screen.fill(column, row, nearestTerminalColor(r, g, b)) ? 0 : -1;
}

int TerminalDisplay::fillPolygon(const Polygon &polygon) {
  const float cell_width = static_cast<float>(grid.horizontal_pixels) / static_cast<float>(grid.columns);
  const float cell_height = static_cast<float>(grid.vertical_pixels) / static_cast<float>(grid.rows);
  if (polygon.alpha == 0 || polygon.points < 3 || !(cell_width > 0 && cell_height > 0))
    return -1;
  const std::vector<Vector> corners = polygon.corners();
  float left, top, right, bottom;
  polygon.bounds(left, top, right, bottom);
  // As a corner and a size, as the window library gives bounds.
  const float width = right - left, height = bottom - top;
  const int first_column = static_cast<int>(std::floor(left / cell_width));
  const int last_column = static_cast<int>(std::floor((left + width) / cell_width));
  const int first_row = static_cast<int>(std::floor(top / cell_height));
  const int last_row = static_cast<int>(std::floor((top + height) / cell_height));
  bool filled = false;
  for (int row = first_row; row <= last_row; row++)
    for (int column = first_column; column <= last_column; column++)
      if (inside(corners, Vector((static_cast<float>(column) + 0.5f) * cell_width,
                                 (static_cast<float>(row) + 0.5f) * cell_height))) {
        fillCell(column, row, polygon.r, polygon.g, polygon.b);
        filled = true;
      }
  if (!filled)
    fillCell(static_cast<int>(std::floor((left + width / 2) / cell_width)),
             static_cast<int>(std::floor((top + height / 2) / cell_height)), polygon.r, polygon.g, polygon.b);
  return 0;
}

int TerminalDisplay::present() {
  if (platform::terminalResized())
    checkSize();
  out.clear();
  if (too_small) {
    // Nothing of the frame fits; it is dropped, and the message stays.
    screen.present(out);
    screen.invalidate();
    return 0;
  }
  screen.present(out);
  if (screen.hasFallenBack() && !fallback_said) {
    fallback_said = true;
    LogManager::getInstance().writeLog(
        "DisplayManager::swapBuffers(): Warning! the terminal's locale is not UTF-8: box drawing is shown as '+', "
        "'-' and '|', blocks and shades as '#', other characters past ASCII as '?'.");
  }
  if (out.empty())
    return 0;
  return platform::writeTerminal(out);
}

void TerminalDisplay::refresh() {
  if (!platform::terminalResized())
    return;
  checkSize();
  if (too_small)
    return;
  out.clear();
  screen.redrawShown(out);
  platform::writeTerminal(out);
}

int TerminalDisplay::send(const std::string &control) const { return platform::writeTerminal(control); }

std::unique_ptr<InputSource> TerminalDisplay::openInput() {
  // The input asks the terminal for key releases through its display, and
  // keeps the display for as long as it lives.
  auto display = std::static_pointer_cast<TerminalDisplay>(shared_from_this());
  return std::make_unique<TerminalInput>([display](const char *control) { display->send(control); });
}

void TerminalDisplay::checkSize() {
  int columns = 0, rows = 0;
  // A terminal that cannot tell its size is taken to be large enough.
  const bool known = platform::terminalSize(columns, rows);
  const bool was_too_small = too_small;
  too_small = known && (columns < screen.getColumns() || rows < screen.getRows());
  screen.invalidate();
  if (too_small) {
    platform::writeTerminal(tooSmallText(columns, rows));
    if (!was_too_small)
      LogManager::getInstance().writeLog(
          "DisplayManager::swapBuffers(): Warning! terminal of %d x %d characters is smaller than the %d x %d view.",
          columns, rows, screen.getColumns(), screen.getRows());
  }
}

std::string TerminalDisplay::tooSmallText(int columns, int rows) const {
  const std::string line = "Terminal too small: " + std::to_string(columns) + " x " + std::to_string(rows) +
                           ", the game needs " + std::to_string(screen.getColumns()) + " x " +
                           std::to_string(screen.getRows()) + ". Enlarge it to play.";
  // Plain colours, cleared, the message from the top-left, wrapped by hand
  // (line wrapping is off).
  std::string text = "\x1b[0m\x1b[2J";
  const size_t width = columns > 0 ? static_cast<size_t>(columns) : line.size();
  for (size_t at = 0, row = 1; at < line.size() && row <= static_cast<size_t>(rows); at += width, row++)
    text += "\x1b[" + std::to_string(row) + ";1H" + line.substr(at, width);
  return text;
}

}  // namespace cv
