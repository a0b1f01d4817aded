#pragma once

#include <cstdint>
#include <vector>

#include "presentation/Screen.h"
#include "presentation/display/Polygon.h"

namespace cv {

/// The grid on the canvas of a web page (Emscripten). Each cell is its box
/// of the grid's pixels, filled with the background and its character drawn
/// from the game's own font in its colour, placed as the window places it;
/// box-drawing, block and shade characters fill their cell. The screen keeps
/// the frame shown and the frame being drawn, and present() repaints only the
/// cells that changed, in one call to the page. A frame with polygons, or
/// one after them, is repainted whole. The page scales the canvas to the
/// browser window, keeping its aspect; a change of size repaints it all.
/// Characters land in the cell their position rounds to.
class WebScreen : public Screen {
 public:
  WebScreen();
  ~WebScreen() override;
  WebScreen(const WebScreen &) = delete;
  WebScreen &operator=(const WebScreen &) = delete;

  /// Takes the page's canvas and loads the configured font into the page.
  /// -1, with a log line, when the page has no canvas or the font does not load.
  int startUp(const ScreenGrid &grid) override;
  void shutDown() override;
  bool isShowing() const override;
  int drawCharacter(Vector view_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) override;
  /// Keeps the polygon for the frame: it is painted over the frame's cells.
  int fillPolygon(const Polygon &polygon) override;
  int present() override;
  /// Repaints the frame shown last when the page changed the canvas's size.
  void refresh() override;
  /// A WebInput reading the page's keyboard and mouse.
  std::unique_ptr<InputSource> openInput() override;

  /// Milliseconds the last present() spent painting (for measuring).
  double getLastPaintMilliseconds() const;

 private:
  /// One cell of the grid: a character in a colour. The background is the grid's.
  struct Cell {
    char32_t ch;      ///< the character, ' ' when empty
    std::uint32_t rgb;  ///< its colour, 0xRRGGBB
    bool operator==(const Cell &other) const { return ch == other.ch && rgb == other.rgb; }
    bool operator!=(const Cell &other) const { return !(*this == other); }
  };

  /// Paints the cells whose index is in `indices` of `frame`, then the polygons.
  void paint(const std::vector<Cell> &frame, const std::vector<std::uint32_t> &indices,
             const std::vector<Polygon> &figures);
  /// Paints every cell of `frame` and the polygons.
  void paintAll(const std::vector<Cell> &frame, const std::vector<Polygon> &figures);

  ScreenGrid grid;                     ///< the grid shown, from start-up
  std::vector<Cell> front;             ///< what the canvas shows
  std::vector<Cell> back;              ///< the frame being drawn
  std::vector<Polygon> polygons;       ///< the polygons of the frame being drawn
  std::vector<Polygon> shown_polygons;  ///< the polygons the canvas shows
  std::vector<std::uint32_t> packed;   ///< cells handed to the page, kept to reuse its memory
  bool started;                        ///< the canvas is taken
  bool front_known;                    ///< `front` is what the canvas shows
  double last_paint_ms;                ///< time of the last paint
};

}  // namespace cv
