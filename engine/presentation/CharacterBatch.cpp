#include "presentation/CharacterBatch.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/String.hpp>

namespace cv {

namespace {

// Glyph quads reach one pixel beyond the glyph on every side, on the screen
// and on the page, as the text object's do, so smoothing keeps the edges.
const float GLYPH_PADDING = 1.0f;

// A texture coordinate inside the opaque white square at the page's corner:
// sampled there, the page is white and the quad keeps its own colour.
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);

// The first printable character and the one after the last.
const int FIRST_PRINTABLE = 32;
const int END_PRINTABLE = 127;

// Whether the glyph page of `texture` has its white square at the corner.
bool hasWhiteCorner(const sf::Texture &texture) {
  const sf::Image page = texture.copyToImage();
  if (page.getSize().x < 2 || page.getSize().y < 2)
    return false;
  for (unsigned int x = 0; x < 2; x++)
    for (unsigned int y = 0; y < 2; y++)
      if (page.getPixel(x, y) != sf::Color::White)
        return false;
  return true;
}

}  // namespace

CharacterBatch::CharacterBatch() : font(nullptr), character_size(0), characters(0) {}

bool CharacterBatch::prepare(const sf::Font &new_font, unsigned int new_character_size,
                             sf::Vector2f new_background_size, sf::Color new_background_color) {
  clear();
  font = &new_font;
  character_size = new_character_size;
  background_size = new_background_size;
  background_color = new_background_color;
  for (int ch = FIRST_PRINTABLE; ch < END_PRINTABLE; ch++)
    quadOf(static_cast<char>(ch));
  if (!hasWhiteCorner(font->getTexture(character_size))) {
    clear();
    return false;
  }
  return true;
}

const CharacterBatch::GlyphQuad &CharacterBatch::quadOf(char ch) {
  GlyphQuad &quad = quads[static_cast<unsigned char>(ch)];
  if (quad.prepared)
    return quad;
  quad.prepared = true;
  // The code point a text object makes of the character.
  const sf::String string(ch);
  const sf::Uint32 code = string.isEmpty() ? 0 : string[0];
  // Spaces, tabs and line ends only move a text's pen; a return is skipped.
  quad.visible = code != ' ' && code != '\t' && code != '\n' && code != '\r';
  if (!quad.visible)
    return quad;

  // A one-character text puts its pen at the kerning after "no character",
  // on the baseline one character size down.
  const float pen_x = font->getKerning(0, code, character_size);
  const float pen_y = static_cast<float>(character_size);
  const sf::Glyph &glyph = font->getGlyph(code, character_size, true);
  const float left = pen_x + (glyph.bounds.left - GLYPH_PADDING);
  const float top = pen_y + (glyph.bounds.top - GLYPH_PADDING);
  const float right = pen_x + (glyph.bounds.left + glyph.bounds.width + GLYPH_PADDING);
  const float bottom = pen_y + (glyph.bounds.top + glyph.bounds.height + GLYPH_PADDING);
  quad.area = Corners{left, top, right, bottom};
  const float u1 = static_cast<float>(glyph.textureRect.left) - GLYPH_PADDING;
  const float v1 = static_cast<float>(glyph.textureRect.top) - GLYPH_PADDING;
  const float u2 = static_cast<float>(glyph.textureRect.left + glyph.textureRect.width) + GLYPH_PADDING;
  const float v2 = static_cast<float>(glyph.textureRect.top + glyph.textureRect.height) + GLYPH_PADDING;
  quad.texture = Corners{u1, v1, u2, v2};
  return quad;
}

void CharacterBatch::appendQuad(const Corners &area, const Corners &texture, sf::Color color) {
  const float left = area.left, top = area.top, right = area.right, bottom = area.bottom;
  const float u1 = texture.left, v1 = texture.top, u2 = texture.right, v2 = texture.bottom;
  // Two triangles, split as the text object splits its glyph quads.
  vertices.emplace_back(sf::Vector2f(left, top), color, sf::Vector2f(u1, v1));
  vertices.emplace_back(sf::Vector2f(right, top), color, sf::Vector2f(u2, v1));
  vertices.emplace_back(sf::Vector2f(left, bottom), color, sf::Vector2f(u1, v2));
  vertices.emplace_back(sf::Vector2f(left, bottom), color, sf::Vector2f(u1, v2));
  vertices.emplace_back(sf::Vector2f(right, top), color, sf::Vector2f(u2, v1));
  vertices.emplace_back(sf::Vector2f(right, bottom), color, sf::Vector2f(u2, v2));
}

void CharacterBatch::add(sf::Vector2f background_corner, sf::Vector2f text_position, char ch, sf::Color color) {
  if (!font)
    return;
  // A shape's corners are its position plus its local corners, as the
  // window's transform would add them.
  appendQuad(Corners{background_corner.x, background_corner.y, background_corner.x + background_size.x,
                     background_corner.y + background_size.y},
             Corners{WHITE_TEXEL.x, WHITE_TEXEL.y, WHITE_TEXEL.x, WHITE_TEXEL.y}, background_color);
  const GlyphQuad &quad = quadOf(ch);
  if (quad.visible) {
    const float x = text_position.x, y = text_position.y;
    appendQuad(Corners{x + quad.area.left, y + quad.area.top, x + quad.area.right, y + quad.area.bottom}, quad.texture,
               color);
  }
  characters++;
}

void CharacterBatch::draw(sf::RenderTarget &target) {
  if (vertices.empty() || !font) {
    vertices.clear();
    characters = 0;
    return;
  }
  sf::RenderStates states;
  states.texture = &font->getTexture(character_size);
  target.draw(vertices.data(), vertices.size(), sf::Triangles, states);
  vertices.clear();
  characters = 0;
}

void CharacterBatch::clear() {
  vertices.clear();
  characters = 0;
  font = nullptr;
  for (GlyphQuad &quad : quads)
    quad = GlyphQuad();
}

std::size_t CharacterBatch::size() const { return characters; }

}  // namespace cv
