#include "presentation/Shape.h"

namespace cv {

Shape::Shape() : color(WHITE), r(255), g(255), b(255), type(CIRCLE), size(0), opacity(255) {}

void Shape::setType(int new_type) { type = static_cast<ShapeType>(new_type); }
ShapeType Shape::getType() const { return type; }
void Shape::setSize(float new_size) { size = new_size; }
float Shape::getSize() const { return size; }
void Shape::setColor(Color new_color) { color = new_color; }
Color Shape::getColor() const { return color; }
void Shape::setOpacity(unsigned char new_opacity) { opacity = new_opacity; }
unsigned char Shape::getOpacity() const { return opacity; }

void Shape::draw(Vector) {}

}  // namespace cv
