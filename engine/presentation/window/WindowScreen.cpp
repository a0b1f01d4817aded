#include "presentation/window/WindowScreen.h"

#include <SFML/Graphics.hpp>
#include <algorithm>
#include <new>

#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "foundation/utf8.h"
#include "platform/display.h"
#include "presentation/display/DisplayManager.h"
#include "presentation/display/Polygon.h"
#include "presentation/window/WindowInput.h"

namespace cv {

namespace {

// Character sizes accepted, in pixels. Below one pixel nothing is visible;
// far above a window's size the font's glyph textures only waste memory.
const float MIN_CHARACTER_SIZE = 1.0f;
const float MAX_CHARACTER_SIZE = 2048.0f;

// Characters collected before they are drawn into the window even without
// a present(): far more than any screen holds.
const std::size_t MAX_BATCHED_CHARACTERS = 1 << 16;

// Points of the shared polygon before its first figure.
const std::size_t FIRST_POLYGON_POINTS = 30;

// A code point no font has a glyph for (a non-character): what the font
// draws for it is its missing-glyph shape.
const sf::Uint32 NO_GLYPH = 0x10FFFF;

// Whether `font` draws `ch` with its missing-glyph shape at `size`: the
// same box, advance and pixels as for a character no font has.
bool drawnAsMissing(const sf::Font &font, unsigned int size, char32_t ch) {
  const sf::Glyph &glyph = font.getGlyph(ch, size, true);
  const sf::Glyph &missing = font.getGlyph(NO_GLYPH, size, true);
  if (glyph.advance != missing.advance || glyph.bounds != missing.bounds ||
      glyph.textureRect.width != missing.textureRect.width || glyph.textureRect.height != missing.textureRect.height)
    return false;
  const sf::Image page = font.getTexture(size).copyToImage();
  for (int y = 0; y < glyph.textureRect.height; y++)
    for (int x = 0; x < glyph.textureRect.width; x++)
      if (page.getPixel(static_cast<unsigned>(glyph.textureRect.left + x), static_cast<unsigned>(glyph.textureRect.top + y)) !=
          page.getPixel(static_cast<unsigned>(missing.textureRect.left + x),
                        static_cast<unsigned>(missing.textureRect.top + y)))
        return false;
  return true;
}

}  // namespace

WindowScreen::WindowScreen() : batch_ready(false), batching(true), polygon(0, FIRST_POLYGON_POINTS) {}

WindowScreen::~WindowScreen() { releaseGraphics(); }

int WindowScreen::startUp(const ScreenGrid &new_grid) {
  grid = new_grid;
  if (startGraphics() == -1) {
    releaseGraphics();  // a failed start leaves no window open
    return -1;
  }
  return 0;
}

int WindowScreen::startGraphics() {
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

  background_color = colorToSFML(grid.background);
  rectangle->setFillColor(background_color);
  batch_ready =
      batch.prepare(font, text->getCharacterSize(), rectangle->getSize(), background_color, window->getSize());
  if (!batch_ready)
    log_manager.writeLog(
        1, "DisplayManager::startUp(): Warning! font page not usable for batching; drawing each character.");
  // The first frame starts from the background, not from whatever the new
  // back buffer held.
  window->clear(background_color);
  batch.windowCleared();
  return 0;
}

int WindowScreen::openWindow() {
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
    window = std::make_unique<sf::RenderWindow>(sf::VideoMode(static_cast<unsigned int>(grid.horizontal_pixels),
                                                              static_cast<unsigned int>(grid.vertical_pixels), 32),
                                                config.getWindowTitle(),
                                                static_cast<sf::Uint32>(config.getWindowStyle()));
  } catch (const std::bad_alloc &) {
    window.reset();
  }
  if (!window || !window->isOpen()) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    return -1;
  }
  return 0;
}

void WindowScreen::releaseGraphics() {
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
  glyphs_checked.clear();
}

void WindowScreen::shutDown() { releaseGraphics(); }

bool WindowScreen::isShowing() const { return window != nullptr; }

int WindowScreen::drawCharacter(Vector view_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) {
  if (!window) return -1;
  if (ch >= 0x80)
    noteMissingGlyph(ch);
  const Vector pixel = spacesToPixels(view_pos);
  // The rectangle sits a tenth of a cell left and a fifth down from the text
  // position, where the glyphs of the font fall inside the cell.
  const sf::Vector2f background(pixel.getX() - charWidth() / 10, pixel.getY() + charHeight() / 5);
  // Characters that join from cell to cell are stretched, which only the
  // batch draws: one by one, they go through it alone.
  if (batch_ready && (batching || batch.fillsCell(ch))) {
    if (batch.size() >= MAX_BATCHED_CHARACTERS)
      drawBatch();  // a frame drawn without being shown keeps bounded memory
    batch.add(background, sf::Vector2f(pixel.getX(), pixel.getY()), ch, sf::Color(r, g, b, 255));
    if (!batching) {
      batch.windowTouched();
      drawBatch();
    }
    return 0;
  }
  batch.windowTouched();
  rectangle->setPosition(background);
  window->draw(*rectangle);

  text->setString(sf::String(static_cast<sf::Uint32>(ch)));
  text->setPosition(pixel.getX(), pixel.getY());
  text->setFillColor(sf::Color(r, g, b, 255));
  window->draw(*text);
  return 0;
}

int WindowScreen::fillPolygon(const Polygon &figure) {
  sf::RenderWindow *target = getWindow();
  if (!target) return -1;
  polygon.setFillColor(sf::Color(figure.r, figure.g, figure.b, figure.alpha));
  polygon.setPointCount(static_cast<std::size_t>(figure.points));
  polygon.setRadius(figure.radius);
  polygon.setRotation(figure.rotation);
  polygon.setPosition(figure.position.getX(), figure.position.getY());
  target->draw(polygon);
  return 0;
}

int WindowScreen::present() {
  if (!window) return -1;
  drawBatch();
  window->display();
  window->clear(background_color);
  batch.windowCleared();
  return 0;
}

void WindowScreen::refresh() {}

std::unique_ptr<InputSource> WindowScreen::openInput() {
  return std::make_unique<WindowInput>(std::static_pointer_cast<WindowScreen>(shared_from_this()));
}

void WindowScreen::setBatching(bool on) {
  if (!on)
    drawBatch();  // what was collected keeps its place under what follows
  batching = on;
}

void WindowScreen::noteMissingGlyph(char32_t ch) {
  if (!glyphs_checked.insert(ch).second)
    return;
  if (drawnAsMissing(font, text->getCharacterSize(), ch))
    LogManager::getInstance().writeLog(
        "DisplayManager::drawCharacter(): Warning! the font has no glyph for %s; its missing-glyph shape is drawn.",
        describeCharacter(ch).c_str());
}

void WindowScreen::drawBatch() {
  if (window)
    batch.draw(*window);
}

sf::RenderWindow *WindowScreen::getWindow() {
  drawBatch();
  batch.windowTouched();  // the caller may draw into it
  return window.get();
}

sf::RenderWindow *WindowScreen::getWindowForInput() const { return window.get(); }

}  // namespace cv
