#pragma once

namespace cv {

/// The engine's colours. The numbers appear in configuration, sprite files
/// and serialized objects. CUSTOM means the caller supplies its own RGB.
enum Color {
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
enum Justification {
  LEFT_JUSTIFIED = 0,
  CENTER_JUSTIFIED,
  RIGHT_JUSTIFIED,
};

/// Stores the RGB of `color`. For CUSTOM and unsupported values it stores nothing.
void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b);

}  // namespace cv
