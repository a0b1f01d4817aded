#pragma once

#include "foundation/Vector.h"
#include "presentation/Color.h"

namespace cv {

enum ShapeType {
  SHAPE_UNDEFINED = -1,
  CIRCLE = 0,
  SQUARE,
  TRIANGLE,
};

/// A simple filled figure drawn in pixels at an object's position.
class Shape {
 public:
  Shape();

  /// Accepts SHAPE_UNDEFINED, CIRCLE, SQUARE and TRIANGLE; anything else is ignored with a message.
  void setType(int new_type);
  ShapeType getType() const;
  void setSize(float new_size);
  float getSize() const;
  void setColor(Color new_color);
  Color getColor() const;
  void setOpacity(unsigned char new_opacity);
  unsigned char getOpacity() const;

  /// Draws the figure centred on `world_pos`.
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
