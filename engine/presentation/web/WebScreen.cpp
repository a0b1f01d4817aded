#include "presentation/web/WebScreen.h"

#include <emscripten.h>  // Required for: EM_JS, EM_ASYNC_JS, emscripten_get_now()

#include <algorithm>
#include <string>

#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "presentation/web/WebInput.h"

// The page's side of the screen: the canvas, the font, and painting cells.
// Its state lives in Module.corvaneScreen.

// Takes the canvas (id "canvas"), sizes it to the browser window, hides the
// mouse pointer over it unless `show_mouse`, and loads the font file from the
// page's file system. 0, -1 without a canvas, -2 when
// the font does not load.
EM_ASYNC_JS(int, corvane_screen_start,
            (int columns, int rows, double cell_width, double cell_height, int font_size, int background,
             int show_mouse, const char *font_file),
            {
              const canvas = document.getElementById('canvas');
              if (!canvas || !canvas.getContext) return -1;
              canvas.style.cursor = show_mouse ? 'default' : 'none';
              const screen = {
                canvas : canvas,
                context : canvas.getContext('2d', {alpha : false}),
                columns : columns,
                rows : rows,
                cellWidth : cell_width,
                cellHeight : cell_height,
                fontSize : font_size,
                background : '#' + background.toString(16).padStart(6, '0'),
                resized : true,
                block : null,
                shown : new Uint32Array(columns * rows).fill(32)
              };
              // The characters on the canvas, a string per row: what a page
              // or a test reads of the screen without looking at pixels.
              screen.lines = function() {
                const lines = [];
                for (let row = 0; row < rows; row++)
                  lines.push(String.fromCodePoint(...screen.shown.subarray(row * columns, (row + 1) * columns)));
                return lines;
              };
              try {
                const face = new FontFace('CorvaneGameFont', FS.readFile(UTF8ToString(font_file)));
                await face.load();
                document.fonts.add(face);
              } catch (error) {
                console.error('The game font did not load: ' + error);
                return -2;
              }
              screen.font = 'bold ' + font_size + 'px CorvaneGameFont';
              screen.layout = function() {
                const width = columns * cell_width, height = rows * cell_height;
                const room = canvas.parentElement || document.body;
                const scale =
                    Math.max(0.1, Math.min(room.clientWidth / width, (window.innerHeight - canvas.offsetTop) / height));
                const ratio = window.devicePixelRatio || 1;
                canvas.style.width = Math.floor(width * scale) + 'px';
                canvas.style.height = Math.floor(height * scale) + 'px';
                canvas.width = Math.floor(width * scale * ratio);
                canvas.height = Math.floor(height * scale * ratio);
                const context = screen.context;
                context.setTransform(canvas.width / width, 0, 0, canvas.height / height, 0, 0);
                context.font = screen.font;
                context.textBaseline = 'alphabetic';
                context.fillStyle = screen.background;
                context.fillRect(0, 0, width, height);
                // The full block measures the cell that box drawing fills.
                const block = context.measureText('\u2588');
                screen.block = block.actualBoundingBoxRight + block.actualBoundingBoxLeft > 1
                                   ? {
                                       left : -block.actualBoundingBoxLeft,
                                       top : -block.actualBoundingBoxAscent,
                                       width : block.actualBoundingBoxRight + block.actualBoundingBoxLeft,
                                       height : block.actualBoundingBoxAscent + block.actualBoundingBoxDescent
                                     }
                                   : null;
                screen.resized = true;
              };
              screen.onResize = function() { screen.layout(); };
              window.addEventListener('resize', screen.onResize);
              Module.corvaneScreen = screen;
              screen.layout();
              return 0;
            });

// Whether the canvas changed its size since the last question.
EM_JS(int, corvane_screen_resized, (), {
  const screen = Module.corvaneScreen;
  if (!screen || !screen.resized) return 0;
  screen.resized = false;
  return 1;
});

// Paints `count` cells, each three numbers at `cells` (index, character,
// colour 0xRRGGBB), then the polygons at `figures` (`figure_values`
// numbers: corner count, red, green, blue, alpha 0 to 255, then the corners).
EM_JS(void, corvane_screen_paint, (const unsigned int *cells, int count, const float *figures, int figure_values), {
  const screen = Module.corvaneScreen;
  if (!screen) return;
  const context = screen.context;
  // Cells are boxes of whole canvas pixels, so a cell painted again covers
  // every pixel of what it showed before, and nothing of its neighbours.
  const scaleX = screen.canvas.width / (screen.columns * screen.cellWidth);
  const scaleY = screen.canvas.height / (screen.rows * screen.cellHeight);
  const at = cells >> 2;
  context.setTransform(1, 0, 0, 1, 0, 0);
  for (let i = 0; i < count; i++) {
    const index = HEAPU32[at + 3 * i], code = HEAPU32[at + 3 * i + 1], rgb = HEAPU32[at + 3 * i + 2];
    const column = index % screen.columns, row = Math.floor(index / screen.columns);
    const left = Math.round(column * screen.cellWidth * scaleX), right = Math.round((column + 1) * screen.cellWidth * scaleX);
    const top = Math.round(row * screen.cellHeight * scaleY), bottom = Math.round((row + 1) * screen.cellHeight * scaleY);
    screen.shown[index] = code;
    context.fillStyle = screen.background;
    context.fillRect(left, top, right - left, bottom - top);
    if (code == 32) continue;
    const text = String.fromCodePoint(code);
    context.save();
    context.fillStyle = '#' + rgb.toString(16).padStart(6, '0');
    context.beginPath();
    if (code >= 0x2500 && code <= 0x259F && screen.block) {
      // Stretched so the full block covers the cell and a pixel round it:
      // lines and shades join their neighbours.
      const block = screen.block;
      context.rect(left - 1, top - 1, right - left + 2, bottom - top + 2);
      context.clip();
      context.translate(left - 1, top - 1);
      context.scale((right - left + 2) / block.width, (bottom - top + 2) / block.height);
      context.fillText(text, -block.left, -block.top);
    } else {
      context.rect(left, top, right - left, bottom - top);
      context.clip();
      context.setTransform(scaleX, 0, 0, scaleY, 0, 0);
      context.fillText(text, column * screen.cellWidth, row * screen.cellHeight + screen.fontSize);
    }
    context.restore();
  }
  context.setTransform(scaleX, 0, 0, scaleY, 0, 0);
  for (let f = figures >> 2, end = f + figure_values; f < end;) {
    const corners = HEAPF32[f];
    context.fillStyle = 'rgba(' + HEAPF32[f + 1] + ',' + HEAPF32[f + 2] + ',' + HEAPF32[f + 3] + ',' +
                        (HEAPF32[f + 4] / 255) + ')';
    context.beginPath();
    for (let c = 0; c < corners; c++) {
      const px = HEAPF32[f + 5 + 2 * c], py = HEAPF32[f + 6 + 2 * c];
      if (c == 0)
        context.moveTo(px, py);
      else
        context.lineTo(px, py);
    }
    context.closePath();
    context.fill();
    f += 5 + 2 * corners;
  }
});

// Notes that a frame was shown at this moment and took `paint_ms` to paint:
// the last thousands of frames, for measuring the pace and the cost.
EM_JS(void, corvane_screen_frame, (double paint_ms), {
  const screen = Module.corvaneScreen;
  if (!screen) return;
  if (!screen.frames) screen.frames = [];
  screen.frames.push({at : performance.now(), paint : paint_ms});
  if (screen.frames.length > 4000) screen.frames.splice(0, 1000);
});

// Lets go of the canvas.
EM_JS(void, corvane_screen_stop, (), {
  const screen = Module.corvaneScreen;
  if (!screen) return;
  window.removeEventListener('resize', screen.onResize);
  Module.corvaneScreen = null;
});

namespace cv {

namespace {

// The colour of an engine colour as 0xRRGGBB.
std::uint32_t rgbOf(Color color) {
  unsigned char r = 0, g = 0, b = 0;
  colorToRGB(color, r, g, b);
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
}

// Polygons as the page takes them: corner count, colour, corners.
std::vector<float> packPolygons(const std::vector<Polygon> &figures) {
  std::vector<float> values;
  for (const Polygon &figure : figures) {
    const std::vector<Vector> corners = figure.corners();
    values.push_back(static_cast<float>(corners.size()));
    values.push_back(figure.r);
    values.push_back(figure.g);
    values.push_back(figure.b);
    values.push_back(figure.alpha);
    for (const Vector &corner : corners) {
      values.push_back(corner.getX());
      values.push_back(corner.getY());
    }
  }
  return values;
}

}  // namespace

WebScreen::WebScreen() : started(false), front_known(false), last_paint_ms(0) {}

WebScreen::~WebScreen() { shutDown(); }

int WebScreen::startUp(const ScreenGrid &new_grid) {
  grid = new_grid;
  const Config &config = Config::getInstance();
  const float cell_width = static_cast<float>(grid.horizontal_pixels) / static_cast<float>(grid.columns);
  const float cell_height = static_cast<float>(grid.vertical_pixels) / static_cast<float>(grid.rows);
  const int font_size = static_cast<int>(config.getFontScale() * std::min(cell_width, cell_height));
  const int result = corvane_screen_start(grid.columns, grid.rows, cell_width, cell_height, font_size,
                                          static_cast<int>(rgbOf(grid.background)), config.getShowMouse() ? 1 : 0,
                                          config.getFontFile().c_str());
  if (result == -1) {
    LogManager::getInstance().writeLog("DisplayManager::startUp(): Error! the page has no canvas to draw on.");
    return -1;
  }
  if (result == -2) {
    LogManager::getInstance().writeLog("DisplayManager::startUp(): Unable to load font from file '%s'.",
                                       config.getFontFile().c_str());
    return -1;
  }
  const Cell blank{U' ', rgbOf(WHITE)};
  const auto cells = static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows);
  front.assign(cells, blank);
  back.assign(cells, blank);
  front_known = false;
  started = true;
  return 0;
}

void WebScreen::shutDown() {
  if (!started)
    return;
  corvane_screen_stop();
  started = false;
}

bool WebScreen::isShowing() const { return started; }

int WebScreen::drawCharacter(Vector view_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) {
  if (!started)
    return -1;
  int column, row;
  if (!nearestCell(view_pos, grid.columns, grid.rows, column, row))
    return -1;
  // Controls and the like show as the terminal shows them.
  const char32_t shown = ch < U' ' || ch == 0x7F ? U'?' : ch;
  back[static_cast<std::size_t>(row) * static_cast<std::size_t>(grid.columns) + static_cast<std::size_t>(column)] =
      Cell{shown, (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b};
  return 0;
}

int WebScreen::fillPolygon(const Polygon &polygon) {
  if (!started || polygon.points < 3 || polygon.alpha == 0)
    return -1;
  polygons.push_back(polygon);
  return 0;
}

int WebScreen::present() {
  if (!started)
    return -1;
  if (corvane_screen_resized())
    front_known = false;
  const double start = emscripten_get_now();
  if (!front_known || !polygons.empty() || !shown_polygons.empty()) {
    paintAll(back, polygons);
  } else {
    std::vector<std::uint32_t> changed;
    for (std::uint32_t i = 0; i < back.size(); i++)
      if (back[i] != front[i])
        changed.push_back(i);
    if (!changed.empty())
      paint(back, changed, polygons);
  }
  last_paint_ms = emscripten_get_now() - start;
  corvane_screen_frame(last_paint_ms);
  front.swap(back);
  shown_polygons.swap(polygons);
  polygons.clear();
  std::fill(back.begin(), back.end(), Cell{U' ', rgbOf(WHITE)});
  front_known = true;
  return 0;
}

void WebScreen::refresh() {
  if (started && corvane_screen_resized())
    paintAll(front, shown_polygons);
}

void WebScreen::paint(const std::vector<Cell> &frame, const std::vector<std::uint32_t> &indices,
                      const std::vector<Polygon> &figures) {
  packed.clear();
  for (std::uint32_t index : indices) {
    packed.push_back(index);
    packed.push_back(frame[index].ch);
    packed.push_back(frame[index].rgb);
  }
  const std::vector<float> values = packPolygons(figures);
  corvane_screen_paint(packed.data(), static_cast<int>(indices.size()), values.data(),
                       static_cast<int>(values.size()));
}

void WebScreen::paintAll(const std::vector<Cell> &frame, const std::vector<Polygon> &figures) {
  std::vector<std::uint32_t> every(frame.size());
  for (std::uint32_t i = 0; i < every.size(); i++)
    every[i] = i;
  paint(frame, every, figures);
}

std::unique_ptr<InputSource> WebScreen::openInput() {
  return std::make_unique<WebInput>(std::static_pointer_cast<WebScreen>(shared_from_this()));
}

double WebScreen::getLastPaintMilliseconds() const { return last_paint_ms; }

}  // namespace cv
