#pragma once

namespace sf {
class Color;
}  // namespace sf

namespace cv {

/// The engine's colours. The numbers appear in configuration, sprite files
/// and serialized objects. CUSTOM means the caller supplies its own RGB.
/// The underlying type is fixed so that any int read from a file is a valid
/// (if unsupported) value.
enum Color : int {
  BLACK = 0,
  RED,
  GREEN,
  YELLOW,
  BLUE,
  MAGENTA,
  CYAN,
  WHITE,
  CUSTOM,
};

/// Where drawString places a string relative to its position.
enum Justification : int {
  LEFT_JUSTIFIED = 0,
  CENTER_JUSTIFIED,
  RIGHT_JUSTIFIED,
};

/// Stores the RGB of `color`. For CUSTOM and unsupported values it stores
/// nothing; an unsupported value is also logged at level 5.
void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b);

/// The window library's opaque colour for `color`; white for CUSTOM and
/// unsupported values (both logged at level 5). Part of the window back end:
/// a game using it links the window library.
sf::Color colorToSFML(Color color);

}  // namespace cv
