#include "presentation/display/DisplayManager.h"

#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "foundation/utf8.h"
#include "foundation/utility.h"
#include "presentation/BackEnd.h"
#include "presentation/InputSource.h"
#include "presentation/Screen.h"

namespace cv {

namespace {

// Largest window side accepted, in pixels: larger than any screen, and
// larger windows only exhaust memory or fail deep inside the window system.
const int MAX_WINDOW_PIXELS = 16384;

// Whether a window size and character grid from the configuration can be
// used. Logs the refusal.
bool gridIsUsable(const Config &config) {
  const int horizontal_pixels = config.getWindowHorizontalPixels();
  const int vertical_pixels = config.getWindowVerticalPixels();
  const int horizontal_chars = config.getWindowHorizontalChars();
  const int vertical_chars = config.getWindowVerticalChars();
  if (horizontal_pixels >= 1 && horizontal_pixels <= MAX_WINDOW_PIXELS && vertical_pixels >= 1 &&
      vertical_pixels <= MAX_WINDOW_PIXELS && horizontal_chars >= 1 && vertical_chars >= 1)
    return true;
  LogManager::getInstance().writeLog(
      "DisplayManager::startUp(): Error! window of %d x %d pixels with %d x %d characters not supported.",
      horizontal_pixels, vertical_pixels, horizontal_chars, vertical_chars);
  return false;
}

}  // namespace

DisplayManager::DisplayManager()
    : window_horizontal_pixels(0),
      window_vertical_pixels(0),
      window_horizontal_chars(0),
      window_vertical_chars(0),
      batching(true) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() = default;

DisplayManager &DisplayManager::getInstance() {
  static DisplayManager display_manager;
  return display_manager;
}

int DisplayManager::startUp() {
  const LogManager &log_manager = LogManager::getInstance();
  if (isStarted()) {
    log_manager.writeLog("DisplayManager::startUp(): Already started.");
    return 0;
  }
  const Config &config = Config::getInstance();
  if (!gridIsUsable(config)) return -1;
  // The grid is kept whatever the screen, so the cell sizes are known.
  window_horizontal_pixels = config.getWindowHorizontalPixels();
  window_vertical_pixels = config.getWindowVerticalPixels();
  window_horizontal_chars = config.getWindowHorizontalChars();
  window_vertical_chars = config.getWindowVerticalChars();

  refused.clear();
  screen = makeScreen(config);
  if (!screen) return -1;
  ScreenGrid grid;
  grid.columns = window_horizontal_chars;
  grid.rows = window_vertical_chars;
  grid.horizontal_pixels = window_horizontal_pixels;
  grid.vertical_pixels = window_vertical_pixels;
  grid.background = static_cast<Color>(config.getWindowBackgroundColor());
  if (screen->startUp(grid) == -1) {
    screen.reset();
    return -1;
  }
  screen->setBatching(batching);
  Manager::startUp();
  log_manager.writeLog(5, "DisplayManager::startUp(): successfully started.");
  return 0;
}

void DisplayManager::shutDown() {
  if (screen) screen->shutDown();
  Manager::shutDown();
  LogManager::getInstance().writeLog(1, "DisplayManager::shutDown(): successfully stopped.");
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, Color color) const {
  return drawCharacter(world_pos, static_cast<unsigned char>(ch) < 0x80 ? static_cast<char32_t>(ch) : NOT_UTF8, color);
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b) const {
  return drawCharacter(world_pos, static_cast<unsigned char>(ch) < 0x80 ? static_cast<char32_t>(ch) : NOT_UTF8, r, g,
                       b);
}

int DisplayManager::drawCharacter(Vector world_pos, char32_t ch, Color color) const {
  // CUSTOM and unsupported values leave the white in place.
  unsigned char r = 255;
  unsigned char g = 255;
  unsigned char b = 255;
  colorToRGB(color, r, g, b);
  return drawCharacter(world_pos, ch, r, g, b);
}

int DisplayManager::drawCharacter(Vector world_pos, char32_t ch, unsigned char r, unsigned char g,
                                  unsigned char b) const {
  if (refuseUnlessStarted())
    return -1;
  return screen->drawCharacter(worldToView(world_pos), cellCharacter(ch), r, g, b);
}

char32_t DisplayManager::cellCharacter(char32_t ch) const {
  if (ch < 0x80)
    return ch;  // ASCII, controls included, is drawn as it always was
  if (ch == NOT_UTF8)
    return STAND_IN;
  if (isSingleWidth(ch))
    return ch;
  if (refused.insert(ch).second)
    LogManager::getInstance().writeLog(
        "DisplayManager::drawCharacter(): Warning! %s does not fill one cell; it is drawn as '?'.",
        describeCharacter(ch).c_str());
  return STAND_IN;
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just, Color color) const {
  if (refuseUnlessStarted())
    return -1;
  if (!screen->isShowing()) return -1;

  const std::u32string characters = decodeUtf8(str);
  float start_x = world_pos.getX();
  if (just == CENTER_JUSTIFIED)
    start_x -= static_cast<float>(characters.size() / 2);
  else if (just == RIGHT_JUSTIFIED)
    start_x -= static_cast<float>(characters.size());

  unsigned char r = 255;
  unsigned char g = 255;
  unsigned char b = 255;
  colorToRGB(color, r, g, b);
  for (size_t i = 0; i < characters.size(); i++)
    drawCharacter(Vector(start_x + static_cast<float>(i), world_pos.getY()), characters[i], r, g, b);
  return 0;
}

int DisplayManager::fillPolygon(const Polygon &polygon) const {
  if (refuseUnlessStarted())
    return -1;
  return screen->fillPolygon(polygon);
}

int DisplayManager::swapBuffers() {
  if (refuseUnlessStarted())
    return -1;
  return screen->present();
}

void DisplayManager::refresh() {
  if (isStarted())
    screen->refresh();
}

bool DisplayManager::isShowing() const { return isStarted() && screen->isShowing(); }

std::unique_ptr<InputSource> DisplayManager::openInput() const {
  if (!isStarted())
    return nullptr;
  return screen->openInput();
}

int DisplayManager::getHorizontalChars() const { return window_horizontal_chars; }
int DisplayManager::getVerticalChars() const { return window_vertical_chars; }
int DisplayManager::getHorizontalPixels() const { return window_horizontal_pixels; }
int DisplayManager::getVerticalPixels() const { return window_vertical_pixels; }

void DisplayManager::setBatching(bool on) {
  batching = on;
  if (screen) screen->setBatching(on);
}

bool DisplayManager::getBatching() const { return batching; }

sf::RenderWindow *DisplayManager::getWindow() const { return screen ? screen->getWindow() : nullptr; }

float charWidth() {
  const DisplayManager &display_manager = DisplayManager::getInstance();
  if (display_manager.getHorizontalChars() <= 0) return 0;
  return static_cast<float>(display_manager.getHorizontalPixels()) /
         static_cast<float>(display_manager.getHorizontalChars());
}

float charHeight() {
  const DisplayManager &display_manager = DisplayManager::getInstance();
  if (display_manager.getVerticalChars() <= 0) return 0;
  return static_cast<float>(display_manager.getVerticalPixels()) /
         static_cast<float>(display_manager.getVerticalChars());
}

Vector spacesToPixels(Vector spaces) {
  const Vector pixels(spaces.getX() * charWidth(), spaces.getY() * charHeight());
  LogManager::getInstance().writeLog(30, "spacesToPixels(int): spaces (%.2f,%.2f) = pixels (%.2f,%.2f)", spaces.getX(),
                                     spaces.getY(), pixels.getX(), pixels.getY());
  return pixels;
}

Vector pixelsToSpaces(Vector pixels) {
  const float width = charWidth();
  const float height = charHeight();
  const Vector spaces(width > 0 ? pixels.getX() / width : 0, height > 0 ? pixels.getY() / height : 0);
  LogManager::getInstance().writeLog(30, "pixelsToSpaces(): pixels (%.2f,%.2f) = spaces (%.2f,%.2f)", pixels.getX(),
                                     pixels.getY(), spaces.getX(), spaces.getY());
  return spaces;
}

}  // namespace cv
