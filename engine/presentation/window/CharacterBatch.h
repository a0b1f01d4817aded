#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/System/Vector2.hpp>
#include <array>
#include <cstdint>
#include <unordered_map>
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
///
/// Box-drawing, block and shade characters (U+2500 to U+259F) are made to
/// join from cell to cell: their glyph is stretched so that the font's full
/// block would cover the background rectangle and a pixel around it. Every other glyph
/// sits at its text origin as a text object puts it.
///
/// While the window holds nothing but the background colour and what this
/// batch drew, a background only has to repaint where earlier glyphs of the
/// frame reach into it: elsewhere it would paint the background over the
/// background. So it is cut to those overlaps, which covers the same pixels
/// that changed, with the same opaque colour. Once anything else may have
/// been drawn into the window, backgrounds are drawn whole until it is cleared.
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
               sf::Color background_color, sf::Vector2u window_size);

  /// The window was just cleared to the background colour.
  void windowCleared();
  /// Something other than this batch may have drawn into the window.
  void windowTouched();

  /// Adds a background at `background_corner` and then the glyph of the
  /// code point `ch` in `color` with its text origin at `text_position`
  /// (pixels). A glyph first met here is loaded into the font's page then;
  /// the page only grows, so the glyphs already added keep their place.
  void add(sf::Vector2f background_corner, sf::Vector2f text_position, char32_t ch, sf::Color color);

  /// Draws every character added since the last draw in one call, then
  /// empties the batch. Nothing is drawn when it is empty.
  void draw(sf::RenderTarget &target);

  /// Forgets the characters added and the font.
  void clear();

  /// Number of characters waiting to be drawn.
  std::size_t size() const;

  /// Whether `ch` is stretched over its cell's background (see above), which
  /// a text object cannot draw: such a character is drawn through the batch
  /// even when characters are otherwise drawn one by one.
  bool fillsCell(char32_t ch);

 private:
  /// The edges of an axis-aligned quad, kept exactly as computed.
  struct Corners {
    float left = 0, top = 0, right = 0, bottom = 0;  ///< edge coordinates in pixels
  };
  /// Where a glyph lies around its text origin, and where it is on the page.
  struct GlyphQuad {
    bool prepared = false;  ///< computed for the current font and size
    bool visible = false;   ///< has a quad (spaces, tabs and line ends do not)
    bool fills_cell = false;  ///< stretched over the background: `area` is in fractions of it
    Corners area;           ///< relative to the text origin, or to the background when filling the cell
    Corners texture;        ///< on the glyph page
  };

  /// The quad of `ch`, computed on first use.
  const GlyphQuad &quadOf(char32_t ch);
  /// Appends the background of `area`, whole or cut to earlier glyphs.
  void addBackground(const Corners &area);
  /// Notes a glyph quad drawn this frame, for the backgrounds after it.
  void noteGlyph(const Corners &area);
  /// Empties the glyph records and their buckets.
  void forgetGlyphs();
  /// Range of buckets covering `area`, clamped to the window.
  void bucketRange(const Corners &area, int &min_x, int &min_y, int &max_x, int &max_y) const;
  /// Appends two triangles covering `area`, textured by `texture`.
  void appendQuad(const Corners &area, const Corners &texture, sf::Color color);

  const sf::Font *font;                    ///< the font drawn with; null before prepare
  unsigned int character_size;             ///< glyph size in pixels
  sf::Vector2f background_size;            ///< background quad size in pixels
  sf::Color background_color;              ///< background quad colour
  std::array<GlyphQuad, 128> quads;        ///< ASCII, by character
  std::unordered_map<char32_t, GlyphQuad> other_quads;  ///< every other character met
  std::vector<sf::Vertex> vertices;        ///< six per quad, in the order added
  std::size_t characters;                  ///< characters waiting to be drawn
  bool window_clean;                       ///< only the background and this batch's glyphs are in the window
  std::vector<Corners> glyphs;             ///< glyph quads drawn since the window was cleared
  std::vector<std::vector<std::uint32_t>> buckets;  ///< indices into glyphs, by square of the window
  std::vector<bool> full;                  ///< per bucket: glyphs met there are no longer all listed
  int bucket_columns;                      ///< buckets across the window
  int bucket_rows;                         ///< buckets down the window
  std::vector<std::uint32_t> seen;         ///< per glyph, the last background that met it
  std::uint32_t background_count;          ///< backgrounds cut so far, to tell them apart in seen
  bool has_block;                          ///< the font has a full block to measure cells by
  Corners block;                           ///< the full block's glyph, relative to the text origin
};

}  // namespace cv
