#include "presentation/terminal/TerminalDisplay.h"

#include <cmath>

#include "foundation/LogManager.h"
#include "platform/terminal.h"
#include "presentation/terminal/terminal_codes.h"

namespace cv {

TerminalDisplay::TerminalDisplay() : started(false), too_small(false) {}

TerminalDisplay::~TerminalDisplay() { shutDown(); }

int TerminalDisplay::startUp(int columns, int rows, Color background) {
  const LogManager &log_manager = LogManager::getInstance();
  if (!platform::terminalDisplaySupported()) {
    log_manager.writeLog("DisplayManager::startUp(): Error! display is 'terminal' but this system has no terminal display; use display 'window'.");
    return -1;
  }
  if (!platform::isTerminal()) {
    log_manager.writeLog("DisplayManager::startUp(): Error! display is 'terminal' but the game does not run in a terminal.");
    return -1;
  }
  screen.resize(columns, rows, background);
  if (!platform::enterTerminalMode(terminal_codes::ENTER, terminal_codes::RESTORE)) {
    log_manager.writeLog("DisplayManager::startUp(): Error! the terminal refuses raw mode.");
    return -1;
  }
  started = true;
  checkSize();
  return 0;
}

void TerminalDisplay::shutDown() {
  if (!started)
    return;
  platform::leaveTerminalMode();
  started = false;
}

int TerminalDisplay::drawCharacter(Vector view_pos, char ch, unsigned char r, unsigned char g, unsigned char b) {
  // A character at 10.6 covers more of cell 11 than of cell 10 in the window.
  const float column = std::floor(view_pos.getX() + 0.5f);
  const float row = std::floor(view_pos.getY() + 0.5f);
  if (!(column >= 0 && row >= 0 && column < static_cast<float>(screen.getColumns()) &&
        row < static_cast<float>(screen.getRows())))
    return -1;
  screen.put(static_cast<int>(column), static_cast<int>(row), ch, nearestTerminalColor(r, g, b));
  return 0;
}

int TerminalDisplay::fillCell(int column, int row, unsigned char r, unsigned char g, unsigned char b) {
  return screen.fill(column, row, nearestTerminalColor(r, g, b)) ? 0 : -1;
}

int TerminalDisplay::swapBuffers() {
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
  if (out.empty())
    return 0;
  return platform::writeTerminal(out);
}

void TerminalDisplay::refreshIfResized() {
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
