#pragma once
// One frame for the tests of where characters land: a two-row figure at
// whole, half and quarter positions, drawn the same way into a window and a
// terminal. The engine program draws it with --figures.

#include <cmath>
#include <string>
#include <vector>

#include "Corvane.h"

namespace cvtest {

/// The grid the frame is drawn on: 64 x 24 cells, 20 x 40 pixels each in a
/// window, so that every fraction below is a whole number of pixels.
inline std::string placementSettings() {
  return "window_horizontal_chars:64,window_vertical_chars:24,window_horizontal_pixels:1280,"
         "window_vertical_pixels:960,";
}

/// The figure's rows (the sprite file tests/fixtures/sprites/figure.txt).
inline const std::vector<std::string> &figureRows() {
  static const std::vector<std::string> rows = {"ABC", "DEF"};
  return rows;
}

/// Where the figures stand, in cells.
inline const std::vector<cv::Vector> &figurePositions() {
  static const std::vector<cv::Vector> positions = {cv::Vector(8, 5), cv::Vector(18.5f, 5.5f),
                                                    cv::Vector(30.25f, 10.25f), cv::Vector(42.75f, 15.75f),
                                                    cv::Vector(55.4f, 18.6f)};
  return positions;
}

/// The top-left character of a figure at `position`: the figure is centred on it.
inline cv::Vector figureCorner(cv::Vector position) {
  const float width = static_cast<float>(figureRows()[0].size()), height = static_cast<float>(figureRows().size());
  return cv::Vector(position.getX() - (width - 1) / 2, position.getY() - (height - 1) / 2);
}

/// The cell nearest `value` on one axis, a half rounding up.
inline int nearestCell(float value) { return static_cast<int>(std::floor(value + 0.5f)); }

/// A still, spectral object showing the figure.
class Figure : public cv::Object {
 public:
  explicit Figure(cv::Vector where) {
    setType("Figure");
    setSolidness(cv::SPECTRAL);
    setSprite("figure");
    setPosition(where);
  }
};

/// Loads the figure's sprite from `sprite_file` and places a figure at each
/// position. The figures, in the order of figurePositions(); empty when the
/// sprite does not load.
inline std::vector<Figure *> placeFigures(const std::string &sprite_file) {
  std::vector<Figure *> figures;
  if (cv::ResourceManager::getInstance().loadSprite(sprite_file, "figure") != 0)
    return figures;
  for (const cv::Vector &position : figurePositions())
    figures.push_back(new Figure(position));
  return figures;
}

}  // namespace cvtest
