#include "presentation/display/DisplayManager.h"

#include <SFML/Graphics.hpp>
#include <algorithm>
#include <new>

#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "foundation/utility.h"
#include "platform/display.h"
#include "presentation/terminal/TerminalDisplay.h"

namespace cv {

namespace {

// Largest window side accepted, in pixels: larger than any screen, and
// larger windows only exhaust memory or fail deep inside the window system.
const int MAX_WINDOW_PIXELS = 16384;

// Character sizes accepted, in pixels. Below one pixel nothing is visible;
// far above a window's size the font's glyph textures only waste memory.
const float MIN_CHARACTER_SIZE = 1.0f;
const float MAX_CHARACTER_SIZE = 2048.0f;

// Characters collected before they are drawn into the window even without
// a swapBuffers: far more than any screen holds.
const std::size_t MAX_BATCHED_CHARACTERS = 1 << 16;

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
      batch_ready(false),
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
  // The grid is kept in headless mode too, so the cell sizes are known.
  window_horizontal_pixels = config.getWindowHorizontalPixels();
  window_vertical_pixels = config.getWindowVerticalPixels();
  window_horizontal_chars = config.getWindowHorizontalChars();
  window_vertical_chars = config.getWindowVerticalChars();

  if (config.getHeadless()) {
    log_manager.writeLog(1, "DisplayManager::startUp(): not doing graphics since in headless mode.");
  } else if (config.getDisplay() == DISPLAY_TERMINAL) {
    if (startTerminal() == -1) {
      terminal.reset();
      return -1;
    }
  } else if (startGraphics() == -1) {
    releaseGraphics();  // a failed start leaves no window open
    return -1;
  }
  Manager::startUp();
  log_manager.writeLog(5, "DisplayManager::startUp(): successfully started.");
  return 0;
}

int DisplayManager::startGraphics() {
  const LogManager &log_manager = LogManager::getInstance();
  const Config &config = Config::getInstance();
  const float character_size = config.getFontScale() * std::min(charWidth(), charHeight());
  if (!(character_size >= MIN_CHARACTER_SIZE && character_size <= MAX_CHARACTER_SIZE)) {
    log_manager.writeLog(
        "DisplayManager::startUp(): Error! character size %.2f pixels (font_scale %.2f) not supported.", character_size,
        config.getFontScale());
    return -1;
  }
  if (openWindow() == -1) return -1;
  window->setMouseCursorVisible(config.getShowMouse());
  window->setVerticalSyncEnabled(true);

  if (!font.loadFromFile(config.getFontFile())) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to load font from file '%s'.",
                         config.getFontFile().c_str());
    return -1;
  }
  try {
    rectangle = std::make_unique<sf::RectangleShape>(sf::Vector2f(charWidth(), charHeight()));
  } catch (const std::bad_alloc &) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate rectangle.");
    return -1;
  }
  try {
    text = std::make_unique<sf::Text>();
  } catch (const std::bad_alloc &) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate text.");
    return -1;
  }
  text->setFont(font);
  text->setStyle(sf::Text::Bold);
  text->setCharacterSize(static_cast<unsigned int>(character_size));

  window_background_color = colorToSFML(static_cast<Color>(config.getWindowBackgroundColor()));
  rectangle->setFillColor(window_background_color);
  batch_ready =
      batch.prepare(font, text->getCharacterSize(), rectangle->getSize(), window_background_color, window->getSize());
  if (!batch_ready)
    log_manager.writeLog(
        1, "DisplayManager::startUp(): Warning! font page not usable for batching; drawing each character.");
  // The first frame starts from the background, not from whatever the new
  // back buffer held.
  window->clear(window_background_color);
  batch.windowCleared();
  return 0;
}

int DisplayManager::startTerminal() {
  try {
    terminal = std::make_unique<TerminalDisplay>();
  } catch (const std::bad_alloc &) {
    LogManager::getInstance().writeLog("DisplayManager::startUp(): Unable to allocate terminal display.");
    return -1;
  }
  if (terminal->startUp(window_horizontal_chars, window_vertical_chars,
                        static_cast<Color>(Config::getInstance().getWindowBackgroundColor())) == -1)
    return -1;
  // Said once the terminal is taken, so that a failure's reason is the failure.
  LogManager::getInstance().writeLog(
      "DisplayManager::startUp(): drawing in the terminal; font_file, font_scale, window_horizontal_pixels, "
      "window_vertical_pixels, window_style, window_title and show_mouse are ignored.");
  return 0;
}

int DisplayManager::openWindow() {
  const LogManager &log_manager = LogManager::getInstance();
  const Config &config = Config::getInstance();
  // The window library ends the whole program when the display does not
  // answer, so the display is asked first; the connection that answered
  // stays open until the window is closed.
  std::string display_name, complaint;
  switch (platform::probeDisplay(display_name, complaint)) {
    case platform::DisplayStatus::NOT_NAMED:
      log_manager.writeLog("DisplayManager::startUp(): Error! no display to open a window on (DISPLAY is not set).");
      log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
      return -1;
    case platform::DisplayStatus::UNREACHABLE:
      log_manager.writeLog("DisplayManager::startUp(): Error! cannot connect to display '%s' to open a window on.",
                           display_name.c_str());
      if (!complaint.empty())
        log_manager.writeLog("DisplayManager::startUp(): The display said: %s", complaint.c_str());
      log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
      return -1;
    case platform::DisplayStatus::REACHABLE:
      break;
  }
  const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
  log_manager.writeLog(5, "DisplayManager::startUp(): window resolution (%d, %d) pixels.",
                       static_cast<int>(desktop.width), static_cast<int>(desktop.height));
  try {
    window =
        std::make_unique<sf::RenderWindow>(sf::VideoMode(static_cast<unsigned int>(window_horizontal_pixels),
                                                         static_cast<unsigned int>(window_vertical_pixels), 32),
                                           config.getWindowTitle(), static_cast<sf::Uint32>(config.getWindowStyle()));
  } catch (const std::bad_alloc &) {
    window.reset();
  }
  if (!window || !window->isOpen()) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    return -1;
  }
  return 0;
}

void DisplayManager::releaseGraphics() {
  terminal.reset();  // gives the terminal back
  if (window) {
    window->close();
    window.reset();
  }
  // Only now may the server lose its last client (see probeDisplay).
  platform::releaseDisplay();
  text.reset();
  rectangle.reset();
  batch.clear();
  batch_ready = false;
}

void DisplayManager::shutDown() {
  releaseGraphics();
  Manager::shutDown();
  LogManager::getInstance().writeLog(1, "DisplayManager::shutDown(): successfully stopped.");
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, Color color) const {
  if (Config::getInstance().getHeadless()) return -1;
  // CUSTOM and unsupported values leave the white in place.
  unsigned char r = 255;
  unsigned char g = 255;
  unsigned char b = 255;
  colorToRGB(color, r, g, b);
  return drawCharacter(world_pos, ch, r, g, b);
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b) const {
  if (refuseUnlessStarted())
    return -1;
  if (Config::getInstance().getHeadless()) return -1;
  if (terminal) return terminal->drawCharacter(worldToView(world_pos), ch, r, g, b);
  if (!window) return -1;

  const Vector pixel = spacesToPixels(worldToView(world_pos));
  // The rectangle sits a tenth of a cell left and a fifth down from the text
  // position, where the glyphs of the font fall inside the cell.
  const sf::Vector2f background(pixel.getX() - charWidth() / 10, pixel.getY() + charHeight() / 5);
  if (batch_ready && batching) {
    if (batch.size() >= MAX_BATCHED_CHARACTERS)
      drawBatch();  // a frame drawn without being shown keeps bounded memory
    batch.add(background, sf::Vector2f(pixel.getX(), pixel.getY()), ch, sf::Color(r, g, b, 255));
    return 0;
  }
  batch.windowTouched();
  rectangle->setPosition(background);
  window->draw(*rectangle);

  text->setString(sf::String(ch));
  text->setPosition(pixel.getX(), pixel.getY());
  text->setFillColor(sf::Color(r, g, b, 255));
  window->draw(*text);
  return 0;
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just, Color color) const {
  if (refuseUnlessStarted())
    return -1;
  if (Config::getInstance().getHeadless()) return -1;

  float start_x = world_pos.getX();
  if (just == CENTER_JUSTIFIED)
    start_x -= static_cast<float>(str.size() / 2);
  else if (just == RIGHT_JUSTIFIED)
    start_x -= static_cast<float>(str.size());

  unsigned char r = 255;
  unsigned char g = 255;
  unsigned char b = 255;
  colorToRGB(color, r, g, b);
  for (size_t i = 0; i < str.size(); i++)
    drawCharacter(Vector(start_x + static_cast<float>(i), world_pos.getY()), str[i], r, g, b);
  return 0;
}

int DisplayManager::swapBuffers() {
  if (refuseUnlessStarted())
    return -1;
  if (Config::getInstance().getHeadless()) return -1;
  if (terminal) return terminal->swapBuffers();
  if (!window) return -1;
  drawBatch();
  window->display();
  window->clear(window_background_color);
  batch.windowCleared();
  return 0;
}

int DisplayManager::getHorizontalChars() const { return window_horizontal_chars; }
int DisplayManager::getVerticalChars() const { return window_vertical_chars; }
int DisplayManager::getHorizontalPixels() const { return window_horizontal_pixels; }
int DisplayManager::getVerticalPixels() const { return window_vertical_pixels; }

void DisplayManager::setBatching(bool on) {
  if (!on)
    drawBatch();  // what was collected keeps its place under what follows
  batching = on;
}

bool DisplayManager::getBatching() const { return batching; }

void DisplayManager::drawBatch() const {
  if (window)
    batch.draw(*window);
}

sf::RenderWindow *DisplayManager::getWindow() const {
  drawBatch();
  batch.windowTouched();  // the caller may draw into it
  return window.get();
}

sf::RenderWindow *DisplayManager::getWindowForInput() const { return window.get(); }

TerminalDisplay *DisplayManager::getTerminal() const { return terminal.get(); }

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
