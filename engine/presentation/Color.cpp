#include "presentation/Color.h"

namespace cv {

void colorToRGB(Color, unsigned char &, unsigned char &, unsigned char &) {}

}  // namespace cv
