// Where a character lands, in a window and in a terminal: the same frame of
// figures at whole, half and quarter positions (support/PlacementFrame.h),
// captured from a real window under Xvfb and from a tmux pane. The window
// draws each character at its exact pixel position; the terminal puts it in
// the nearest cell.

#include <gtest/gtest.h>
#include <unistd.h>

#include <SFML/Graphics.hpp>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Corvane.h"
#include "support/ChildProcess.h"
#include "support/PlacementFrame.h"
#include "support/TestEngine.h"
#include "support/WindowCapture.h"

using cv::Vector;

namespace {

const std::string FIGURE_SPRITE = std::string(CORVANE_TEST_FIXTURES) + "/sprites/figure.txt";
const int CELL_WIDTH = 20, CELL_HEIGHT = 40;  // pixels, from placementSettings()

// The position at which the figure at `position` fills whole cells: those
// the terminal puts it in.
Vector wholeCellPosition(Vector position) {
  const Vector corner = cvtest::figureCorner(position);
  return Vector(position.getX() + static_cast<float>(cvtest::nearestCell(corner.getX())) - corner.getX(),
                position.getY() + static_cast<float>(cvtest::nearestCell(corner.getY())) - corner.getY());
}

// The world drawn into the window, captured before it is shown.
sf::Image drawnFrame() {
  cv::WorldManager::getInstance().draw();
  sf::Image image = cvtest::captureWindow(*cv::DisplayManager::getInstance().getWindow());
  cv::DisplayManager::getInstance().swapBuffers();
  return image;
}

// The letters of the figure shown in the terminal's rows.
int lettersIn(const std::vector<std::string> &rows) {
  int letters = 0;
  for (const std::string &row : rows)
    for (char c : row)
      letters += c >= 'A' && c <= 'F';
  return letters;
}

}  // namespace

TEST(PlacementWindow, WindowDrawsEachCharacterAtItsExactPixelPosition) {
  cvtest::TestEngine engine(std::string("font_file:") + CORVANE_TEST_FONT + "," + cvtest::placementSettings());
  ASSERT_EQ(engine.start(), 0);
  ASSERT_NE(cv::DisplayManager::getInstance().getWindow(), nullptr);
  ASSERT_FLOAT_EQ(cv::charWidth(), CELL_WIDTH);
  ASSERT_FLOAT_EQ(cv::charHeight(), CELL_HEIGHT);
  const std::vector<cvtest::Figure *> figures = cvtest::placeFigures(FIGURE_SPRITE);
  ASSERT_EQ(figures.size(), cvtest::figurePositions().size());
  cv::DisplayManager::getInstance().swapBuffers();

  const sf::Image exact = drawnFrame();
  cvtest::keepScreenshot(exact, "placement-exact");
  for (cvtest::Figure *figure : figures)
    figure->setPosition(wholeCellPosition(figure->getPosition()));
  const sf::Image whole = drawnFrame();
  cvtest::keepScreenshot(whole, "placement-whole-cells");

  // Each figure is the one in whole cells moved by exactly the fraction of
  // a cell its position has beyond them, in pixels: not a pixel more or less.
  for (const Vector &position : cvtest::figurePositions()) {
    const Vector at_whole = wholeCellPosition(position), corner = cvtest::figureCorner(at_whole);
    const int dx = static_cast<int>(std::lround((position.getX() - at_whole.getX()) * CELL_WIDTH));
    const int dy = static_cast<int>(std::lround((position.getY() - at_whole.getY()) * CELL_HEIGHT));
    SCOPED_TRACE("figure at (" + std::to_string(position.getX()) + ", " + std::to_string(position.getY()) +
                 "), moved by (" + std::to_string(dx) + ", " + std::to_string(dy) + ") pixels");
    EXPECT_TRUE(dx != 0 || dy != 0) << "each figure has a fraction beyond whole cells";
    // The figure's cells and one more all round, where nothing else is drawn.
    const int left = (static_cast<int>(corner.getX()) - 1) * CELL_WIDTH;
    const int top = (static_cast<int>(corner.getY()) - 1) * CELL_HEIGHT;
    const int right = left + 5 * CELL_WIDTH, bottom = top + 4 * CELL_HEIGHT;
    int ink = 0, differing = 0;
    for (int y = top; y < bottom; y++) {
      for (int x = left; x < right; x++) {
        const sf::Color pixel = whole.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
        ink += pixel != sf::Color::Black;
        differing += exact.getPixel(static_cast<unsigned>(x + dx), static_cast<unsigned>(y + dy)) != pixel;
      }
    }
    EXPECT_GT(ink, 200);
    EXPECT_EQ(differing, 0);
  }
  engine.stop();
}

TEST(PlacementWindow, TerminalPutsEachCharacterInTheNearestCell) {
  const std::string dir = cvtest::makeTempDirectory();
  cvtest::writeFile(dir + "/cv-config.txt", cvtest::placementSettings());
  const std::string server = "corvane-placement-" + std::to_string(getpid());
  const std::string tmux = "tmux -L " + server + " -f /dev/null ";
  const std::string program = "cd " + dir + " && ALSOFT_DRIVERS=null CORVANE_DISPLAY=terminal CORVANE_CONFIG=" + dir +
                              "/cv-config.txt CORVANE_LOG=" + dir + "/corvane.log " + CORVANE_ENGINE_MAIN +
                              " --figures " + FIGURE_SPRITE;
  ASSERT_EQ(std::system(("env -u DISPLAY -u TMUX timeout 10 " + tmux + "new-session -d -s frame -x 80 -y 24 \"" +
                         program + "\"")
                            .c_str()),
            0);

  // The pane's rows once every figure is there.
  const int expected_letters = static_cast<int>(cvtest::figurePositions().size() * 6);
  std::vector<std::string> rows;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < until) {
    rows.clear();
    std::istringstream pane(cvtest::commandOutput(tmux + "capture-pane -p -t frame"));
    for (std::string line; std::getline(pane, line);)
      rows.push_back(line);
    if (lettersIn(rows) >= expected_letters)
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::system(("timeout 10 " + tmux + "kill-server > /dev/null 2>&1").c_str());

  std::string shown;
  for (const std::string &row : rows)
    shown += row + "\n";
  ASSERT_EQ(lettersIn(rows), expected_letters) << shown << cvtest::readWholeFile(dir + "/corvane.log");
  for (const Vector &position : cvtest::figurePositions()) {
    const Vector corner = cvtest::figureCorner(position);
    for (size_t j = 0; j < cvtest::figureRows().size(); j++) {
      for (size_t i = 0; i < cvtest::figureRows()[j].size(); i++) {
        const size_t row = static_cast<size_t>(cvtest::nearestCell(corner.getY() + static_cast<float>(j)));
        const size_t column = static_cast<size_t>(cvtest::nearestCell(corner.getX() + static_cast<float>(i)));
        ASSERT_LT(row, rows.size()) << shown;
        ASSERT_LT(column, rows[row].size()) << shown;
        EXPECT_EQ(rows[row][column], cvtest::figureRows()[j][i])
            << "figure at (" << position.getX() << ", " << position.getY() << ")\n" << shown;
      }
    }
  }
}
