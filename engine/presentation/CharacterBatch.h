#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/System/Vector2.hpp>
#include <array>
#include <vector>

namespace sf {
class Font;
class RenderTarget;
}  // namespace sf

namespace cv {

/// Collects characters, each as a background quad followed by a glyph quad,
/// into one array of triangles textured by the font's glyph page, and draws
/// them all in one call. Each quad has the corners, texture coordinates and
/// colour that a rectangle shape and a one-character bold text would have,
/// and they are drawn in the order they were added, so the pixels are those
/// of drawing the shape and the text one by one.
///
/// The background quads take their colour from the opaque white square the
/// font keeps at the corner of every glyph page.
class CharacterBatch {
 public:
  CharacterBatch();

  /// Prepares to draw bold glyphs of `font` at `character_size` over
  /// backgrounds of `background_size` pixels in `background_color`, and
  /// loads the glyphs of the printable characters, so the page does not
  /// change while characters wait to be drawn. Empties the batch. False
  /// when the glyph page has no opaque white corner to fill backgrounds from;
  /// the batch must not be used then.
  bool prepare(const sf::Font &font, unsigned int character_size, sf::Vector2f background_size,
               sf::Color background_color);

  /// Adds a background at `background_corner` and then the glyph of `ch` in
  /// `color` with its text origin at `text_position` (pixels).
  void add(sf::Vector2f background_corner, sf::Vector2f text_position, char ch, sf::Color color);

  /// Draws every character added since the last draw in one call, then
  /// empties the batch. Nothing is drawn when it is empty.
  void draw(sf::RenderTarget &target);

  /// Forgets the characters added and the font.
  void clear();

  /// Number of characters waiting to be drawn.
  std::size_t size() const;

 private:
  /// The edges of an axis-aligned quad, kept exactly as computed.
  struct Corners {
    float left = 0, top = 0, right = 0, bottom = 0;  ///< edge coordinates in pixels
  };
  /// Where a glyph lies around its text origin, and where it is on the page.
  struct GlyphQuad {
    bool prepared = false;  ///< computed for the current font and size
    bool visible = false;   ///< has a quad (spaces, tabs and line ends do not)
    Corners area;           ///< relative to the text origin
    Corners texture;        ///< on the glyph page
  };

  /// The quad of `ch`, computed on first use.
  const GlyphQuad &quadOf(char ch);
  /// Appends two triangles covering `area`, textured by `texture`.
  void appendQuad(const Corners &area, const Corners &texture, sf::Color color);

  const sf::Font *font;                    ///< the font drawn with; null before prepare
  unsigned int character_size;             ///< glyph size in pixels
  sf::Vector2f background_size;            ///< background quad size in pixels
  sf::Color background_color;              ///< background quad colour
  std::array<GlyphQuad, 256> quads;        ///< by character, as an unsigned byte
  std::vector<sf::Vertex> vertices;        ///< six per quad, in the order added
  std::size_t characters;                  ///< characters waiting to be drawn
};

}  // namespace cv
