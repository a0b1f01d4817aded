#include "presentation/window/CharacterBatch.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/String.hpp>
#include <algorithm>
#include <cmath>

namespace cv {

namespace {

// Glyph quads reach one pixel beyond the glyph on every side, on the screen
// and on the page, as the text object's do, so smoothing keeps the edges.
const float GLYPH_PADDING = 1.0f;

// A texture coordinate inside the opaque white square at the page's corner:
// sampled there, the page is white and the quad keeps its own colour.
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);

// Side of the squares of the window that glyphs are filed by, in pixels.
const float BUCKET_SIZE = 32.0f;

// Glyphs remembered per frame for cutting backgrounds. Past this many (a
// frame drawn over and over without being shown) backgrounds are drawn whole
// instead, which keeps the memory bounded and the pixels the same.
const std::size_t MAX_GLYPH_RECORDS = 1 << 16;

// A background meeting more earlier glyphs than this is drawn whole: cutting
// it would cost more than it saves, and over-drawn cells would multiply pieces.
const int MAX_PIECES = 4;

// Glyphs a bucket lists at most. A fuller bucket lists no more and has every
// background that meets it drawn whole.
const std::size_t MAX_BUCKET_GLYPHS = 32;

// The first printable character and the one after the last.
const char32_t FIRST_PRINTABLE = 32;
const char32_t END_PRINTABLE = 127;

// The characters drawn to fill their cell, and the full block they are
// measured against.
const char32_t FIRST_CELL_FILLING = 0x2500;
const char32_t LAST_CELL_FILLING = 0x259F;
const char32_t FULL_BLOCK = 0x2588;
// How far, in pixels, a cell-filling glyph reaches into its neighbours.
const float CELL_OVERLAP = 1.0f;

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

CharacterBatch::CharacterBatch()
    : font(nullptr),
      character_size(0),
      characters(0),
      window_clean(false),
      bucket_columns(0),
      bucket_rows(0),
      background_count(0),
      has_block(false) {}

bool CharacterBatch::prepare(const sf::Font &new_font, unsigned int new_character_size,
                             sf::Vector2f new_background_size, sf::Color new_background_color,
                             sf::Vector2u window_size) {
  clear();
  bucket_columns = static_cast<int>(std::ceil(static_cast<float>(window_size.x) / BUCKET_SIZE)) + 1;
  bucket_rows = static_cast<int>(std::ceil(static_cast<float>(window_size.y) / BUCKET_SIZE)) + 1;
  buckets.assign(static_cast<std::size_t>(bucket_columns) * static_cast<std::size_t>(bucket_rows), {});
  full.assign(buckets.size(), false);
  font = &new_font;
  character_size = new_character_size;
  background_size = new_background_size;
  background_color = new_background_color;
  for (char32_t ch = FIRST_PRINTABLE; ch < END_PRINTABLE; ch++)
    quadOf(ch);
  // The full block's own glyph, as a text would place it, measures the cell.
  const GlyphQuad &full_block = quadOf(FULL_BLOCK);
  has_block = full_block.visible && full_block.area.right - full_block.area.left > 2 * GLYPH_PADDING &&
              full_block.area.bottom - full_block.area.top > 2 * GLYPH_PADDING;
  if (has_block)
    block = full_block.area;
  other_quads.clear();  // measured again now that the block is known
  if (!hasWhiteCorner(font->getTexture(character_size))) {
    clear();
    return false;
  }
  return true;
}

const CharacterBatch::GlyphQuad &CharacterBatch::quadOf(char32_t ch) {
  GlyphQuad &quad = ch < quads.size() ? quads[ch] : other_quads[ch];
  if (quad.prepared)
    return quad;
  quad.prepared = true;
  const sf::Uint32 code = ch;
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
  if (has_block && ch >= FIRST_CELL_FILLING && ch <= LAST_CELL_FILLING) {
    // In fractions of the full block, which then covers the background.
    const float width = block.right - block.left, height = block.bottom - block.top;
    quad.fills_cell = true;
    quad.area = Corners{(left - block.left) / width, (top - block.top) / height, (right - block.left) / width,
                        (bottom - block.top) / height};
  }
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

void CharacterBatch::add(sf::Vector2f background_corner, sf::Vector2f text_position, char32_t ch, sf::Color color) {
  if (!font)
    return;
  // A shape's corners are its position plus its local corners, as the
  // window's transform would add them.
  addBackground(Corners{background_corner.x, background_corner.y, background_corner.x + background_size.x,
                        background_corner.y + background_size.y});
  const GlyphQuad &quad = quadOf(ch);
  if (quad.visible) {
    Corners area;
    if (quad.fills_cell) {
      // The full block reaches a pixel past the background on every side:
      // the glyph edges a smoothed texture leaves half covered fall under
      // the next cell's glyph, so lines and shades join without a seam.
      const float x = background_corner.x - CELL_OVERLAP, y = background_corner.y - CELL_OVERLAP;
      const float w = background_size.x + 2 * CELL_OVERLAP, h = background_size.y + 2 * CELL_OVERLAP;
      area = Corners{x + quad.area.left * w, y + quad.area.top * h, x + quad.area.right * w, y + quad.area.bottom * h};
    } else {
      const float x = text_position.x, y = text_position.y;
      area = Corners{x + quad.area.left, y + quad.area.top, x + quad.area.right, y + quad.area.bottom};
    }
    appendQuad(area, quad.texture, color);
    noteGlyph(area);
  }
  characters++;
}

void CharacterBatch::addBackground(const Corners &area) {
  const Corners white{WHITE_TEXEL.x, WHITE_TEXEL.y, WHITE_TEXEL.x, WHITE_TEXEL.y};
  if (!window_clean) {
    appendQuad(area, white, background_color);
    return;
  }
  // Each piece is the overlap with one earlier glyph: its edges are edges of
  // the two quads, so it covers exactly their common pixels.
  background_count++;
  int min_x, min_y, max_x, max_y;
  bucketRange(area, min_x, min_y, max_x, max_y);
  for (int bx = min_x; bx <= max_x; bx++)
    for (int by = min_y; by <= max_y; by++)
      if (full[static_cast<std::size_t>(by * bucket_columns + bx)]) {
        appendQuad(area, white, background_color);
        return;
      }
  const std::size_t first_piece = vertices.size();
  int pieces = 0;
  for (int bx = min_x; bx <= max_x; bx++) {
    for (int by = min_y; by <= max_y; by++) {
      for (const std::uint32_t index : buckets[static_cast<std::size_t>(by * bucket_columns + bx)]) {
        if (seen[index] == background_count)
          continue;
        seen[index] = background_count;
        const Corners &glyph = glyphs[index];
        const Corners piece{std::max(area.left, glyph.left), std::max(area.top, glyph.top),
                            std::min(area.right, glyph.right), std::min(area.bottom, glyph.bottom)};
        if (!(piece.left < piece.right && piece.top < piece.bottom))
          continue;
        if (++pieces > MAX_PIECES) {
          vertices.resize(first_piece);
          appendQuad(area, white, background_color);
          return;
        }
        appendQuad(piece, white, background_color);
      }
    }
  }
}

void CharacterBatch::noteGlyph(const Corners &area) {
  if (window_clean && glyphs.size() >= MAX_GLYPH_RECORDS)
    windowTouched();
  if (!window_clean)
    return;
  const auto index = static_cast<std::uint32_t>(glyphs.size());
  glyphs.push_back(area);
  seen.push_back(0);
  int min_x, min_y, max_x, max_y;
  bucketRange(area, min_x, min_y, max_x, max_y);
  for (int bx = min_x; bx <= max_x; bx++) {
    for (int by = min_y; by <= max_y; by++) {
      const auto bucket = static_cast<std::size_t>(by * bucket_columns + bx);
      if (buckets[bucket].size() < MAX_BUCKET_GLYPHS)
        buckets[bucket].push_back(index);
      else
        full[bucket] = true;
    }
  }
}

void CharacterBatch::bucketRange(const Corners &area, int &min_x, int &min_y, int &max_x, int &max_y) const {
  // Clamping keeps the order of coordinates, so quads beyond the window's
  // edges share the edge buckets and still meet.
  const auto bucket = [](float coordinate, int count) {
    const float index = std::floor(coordinate / BUCKET_SIZE);
    if (!(index >= 0))
      return 0;
    return index >= static_cast<float>(count - 1) ? count - 1 : static_cast<int>(index);
  };
  min_x = bucket(std::min(area.left, area.right), bucket_columns);
  max_x = bucket(std::max(area.left, area.right), bucket_columns);
  min_y = bucket(std::min(area.top, area.bottom), bucket_rows);
  max_y = bucket(std::max(area.top, area.bottom), bucket_rows);
}

void CharacterBatch::windowCleared() {
  window_clean = font != nullptr && !buckets.empty();
  forgetGlyphs();
}

void CharacterBatch::windowTouched() {
  window_clean = false;
  forgetGlyphs();
}

void CharacterBatch::forgetGlyphs() {
  for (std::uint32_t index = 0; index < glyphs.size(); index++) {
    // Only the buckets that hold something need emptying.
    int min_x, min_y, max_x, max_y;
    bucketRange(glyphs[index], min_x, min_y, max_x, max_y);
    for (int bx = min_x; bx <= max_x; bx++) {
      for (int by = min_y; by <= max_y; by++) {
        buckets[static_cast<std::size_t>(by * bucket_columns + bx)].clear();
        full[static_cast<std::size_t>(by * bucket_columns + bx)] = false;
      }
    }
  }
  glyphs.clear();
  seen.clear();
  background_count = 0;
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
  windowTouched();
  font = nullptr;
  has_block = false;
  for (GlyphQuad &quad : quads)
    quad = GlyphQuad();
  other_quads.clear();
}

std::size_t CharacterBatch::size() const { return characters; }

bool CharacterBatch::fillsCell(char32_t ch) { return font && quadOf(ch).fills_cell; }

}  // namespace cv
