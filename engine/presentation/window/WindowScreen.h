#pragma once

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <memory>
#include <unordered_set>

#include "presentation/Screen.h"
#include "presentation/window/CharacterBatch.h"

namespace sf {
class RectangleShape;
class Text;
}  // namespace sf

namespace cv {

/// The grid in a window of the window library: each character is a glyph of
/// the configured font in its colour, over a cell-sized rectangle in the
/// background colour. Characters are collected into one vertex array
/// (CharacterBatch) and reach the window in one draw call, at present() or
/// as soon as something else is drawn into the window, with the pixels and
/// order of drawing each as a rectangle and a text, which is what it does
/// with batching off.
class WindowScreen : public Screen {
 public:
  WindowScreen();
  ~WindowScreen() override;
  WindowScreen(const WindowScreen &) = delete;
  WindowScreen &operator=(const WindowScreen &) = delete;

  /// Opens the window (after asking the display whether it answers), loads
  /// the font and prepares the cell rectangle, the text and the batch.
  int startUp(const ScreenGrid &grid) override;
  /// Closes and releases the window, the text and the cell rectangle.
  void shutDown() override;
  /// Whether the window is open.
  bool isShowing() const override;
  int drawCharacter(Vector view_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) override;
  /// Draws the polygon over the characters drawn so far.
  int fillPolygon(const Polygon &polygon) override;
  /// Draws what was collected, shows the back buffer and clears it to the
  /// background colour.
  int present() override;
  /// Nothing to do: the window system repaints a window that changed size.
  void refresh() override;
  /// A WindowInput on this window.
  std::unique_ptr<InputSource> openInput() override;
  void setBatching(bool on) override;
  /// The window, with the characters collected so far drawn into it first.
  sf::RenderWindow *getWindow() override;

  /// The window for reading events and input state only: nothing may be
  /// drawn through it, which lets the batch skip repainting backgrounds that
  /// are still untouched. Null before start-up and after shut-down.
  sf::RenderWindow *getWindowForInput() const;

 private:
  /// Opens the window and prepares font, rectangle and text; -1 on failure.
  int startGraphics();
  /// Creates the render window from the configuration; -1 if it cannot.
  int openWindow();
  /// Releases the window (closing it), the text and the rectangle.
  void releaseGraphics();
  /// Draws the collected characters into the window.
  void drawBatch();
  /// Logs, once per character, that the font has no glyph for `ch` (its
  /// missing-glyph shape is drawn instead).
  void noteMissingGlyph(char32_t ch);

  ScreenGrid grid;                                ///< the grid shown, from start-up
  sf::Font font;                                  ///< the font every character is drawn in
  std::unique_ptr<sf::RenderWindow> window;       ///< the game window; null until started
  std::unique_ptr<sf::RectangleShape> rectangle;  ///< one cell in the background colour
  sf::Color background_color;                     ///< colour the window is cleared to
  std::unique_ptr<sf::Text> text;                 ///< reused for every character drawn
  CharacterBatch batch;                           ///< characters drawn since the batch was last put in the window
  bool batch_ready;                               ///< the batch is prepared for the font and grid
  bool batching;                                  ///< draw characters through the batch when it is ready
  sf::CircleShape polygon;                        ///< the one polygon every shape is drawn with
  std::unordered_set<char32_t> glyphs_checked;    ///< characters past ASCII looked up in the font
};

}  // namespace cv
