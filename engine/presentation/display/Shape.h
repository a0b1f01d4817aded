#pragma once

#include "foundation/Vector.h"
#include "presentation/display/Color.h"

namespace cv {

/// The figures a Shape can draw.
enum ShapeType : int {
  SHAPE_UNDEFINED = -1,
  CIRCLE = 0,
  SQUARE,
  TRIANGLE,
};

/// A simple filled figure (circle, square or triangle) drawn in pixels at an
/// object's position, over or instead of its character art. All shapes are
/// drawn as a Polygon the display fills.
class Shape {
 public:
  /// A white, opaque circle whose size follows the character grid:
  /// font_scale times the smaller cell side cut to whole pixels.
  Shape();

  /// Accepts SHAPE_UNDEFINED, CIRCLE, SQUARE and TRIANGLE; anything else is
  /// logged and ignored.
  void setType(int new_type);
  /// The figure.
  ShapeType getType() const;
  /// Sets the size in pixels.
  void setSize(float new_size);
  /// The size in pixels.
  float getSize() const;
  /// Sets the fill colour; CUSTOM fills with the shape's own RGB.
  void setColor(Color new_color);
  /// The fill colour.
  Color getColor() const;
  /// Sets the shape's own RGB, used while the colour is CUSTOM.
  void setRGB(unsigned char new_r, unsigned char new_g, unsigned char new_b);
  /// The RGB of the last fill (the shape's own RGB while the colour is CUSTOM).
  void getRGB(unsigned char &out_r, unsigned char &out_g, unsigned char &out_b) const;
  /// Sets the alpha of the fill (255 opaque).
  void setOpacity(unsigned char new_opacity);
  /// The alpha of the fill.
  unsigned char getOpacity() const;

  /// Corners of the polygon the figure is drawn as: a circle has 3 to 10 by
  /// its size, a square 4, a triangle 3; an undefined shape has none.
  int getPointCount() const;

  /// Draws the figure at a world position on the display's screen (in a
  /// terminal, as the cells it covers). Draws nothing when the display shows
  /// nothing (headless, not started) or while the type is undefined.
  void draw(Vector world_pos);

 private:
  Color color;            ///< fill colour; CUSTOM uses r, g, b as they are
  unsigned char r;        ///< red of the fill colour
  unsigned char g;        ///< green of the fill colour
  unsigned char b;        ///< blue of the fill colour
  ShapeType type;         ///< the figure
  float size;             ///< size in pixels
  unsigned char opacity;  ///< alpha of the fill colour
};

}  // namespace cv
