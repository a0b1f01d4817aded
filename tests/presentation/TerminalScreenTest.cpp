// The cell diff of the terminal display: what present() writes.

#include <gtest/gtest.h>

#include <string>

#include "presentation/terminal/TerminalScreen.h"

namespace {

// A 10 x 3 screen on black whose first frame (the full redraw) is out of the way.
cv::TerminalScreen shownBlankScreen() {
  cv::TerminalScreen screen;
  screen.resize(10, 3, cv::BLACK);
  std::string first;
  screen.present(first);
  return screen;
}

std::string presented(cv::TerminalScreen &screen) {
  std::string out;
  screen.present(out);
  return out;
}

TEST(TerminalScreen, FirstFrameClearsAndWritesEveryCell) {
  cv::TerminalScreen screen;
  screen.resize(3, 2, cv::BLUE);
  screen.put(1, 1, 'x', cv::RED);
  // Plain attributes, white on blue, clear, home, then the six cells with
  // one colour change for the red x and one back.
  EXPECT_EQ(presented(screen), "\x1b[0m\x1b[37;44m\x1b[2J\x1b[1;1H   \x1b[2;1H \x1b[31mx\x1b[37m ");
}

TEST(TerminalScreen, UnchangedFrameWritesNothing) {
  cv::TerminalScreen screen = shownBlankScreen();
  EXPECT_EQ(presented(screen), "");
  // The same picture drawn again is no change either.
  screen.put(4, 1, 'a', cv::GREEN);
  presented(screen);
  screen.put(4, 1, 'a', cv::GREEN);
  EXPECT_EQ(presented(screen), "");
}

TEST(TerminalScreen, ChangedCellIsAMoveAColourAndTheCharacter) {
  cv::TerminalScreen screen = shownBlankScreen();
  screen.put(4, 1, 'a', cv::GREEN);
  EXPECT_EQ(presented(screen), "\x1b[2;5H\x1b[32ma");
  // The next frame no longer draws it: the cell is blanked in white again.
  EXPECT_EQ(presented(screen), "\x1b[2;5H\x1b[37m ");
}

TEST(TerminalScreen, ColourRunTakesOneColourChangeAndOneMove) {
  cv::TerminalScreen screen = shownBlankScreen();
  for (int column = 2; column < 6; column++)
    screen.put(column, 0, 'r', cv::RED);
  screen.put(7, 0, 'g', cv::GREEN);  // a gap of one cell: a short forward move
  screen.put(0, 2, 'g', cv::GREEN);  // another row: a full move, same colour
  EXPECT_EQ(presented(screen), "\x1b[1;3H\x1b[31mrrrr\x1b[C\x1b[32mg\x1b[3;1Hg");
}

TEST(TerminalScreen, FilledCellsAndStandIns) {
  cv::TerminalScreen screen = shownBlankScreen();
  screen.fill(0, 0, cv::YELLOW);
  screen.put(1, 0, '\t', cv::WHITE);
  screen.put(2, 0, static_cast<char>(0xe9), cv::WHITE);
  EXPECT_EQ(presented(screen), "\x1b[1;1H\x1b[33;43m \x1b[37;40m??");
  EXPECT_FALSE(screen.put(10, 0, 'x', cv::RED));
  EXPECT_FALSE(screen.put(0, -1, 'x', cv::RED));
  EXPECT_FALSE(screen.fill(0, 3, cv::RED));
}

TEST(TerminalScreen, CharactersPastAsciiAsUtf8OrTheNearestAscii) {
  const char32_t row[] = {U'╔', U'═', U'║', U'▓', U'é', U'漢', char32_t{0x0301}, U'╗'};
  for (bool utf8 : {true, false}) {
    SCOPED_TRACE(utf8 ? "UTF-8" : "ASCII");
    cv::TerminalScreen screen = shownBlankScreen();
    screen.setUtf8(utf8);
    for (int column = 0; column < 8; column++)
      screen.put(column, 0, row[column], cv::WHITE);
    // What cannot fill one cell is '?' either way.
    EXPECT_EQ(presented(screen), utf8 ? "\x1b[1;1H╔═║▓é??╗" : "\x1b[1;1H+-|#???+");
    EXPECT_EQ(screen.hasFallenBack(), !utf8);
  }
}

TEST(TerminalScreen, BytesGrowWithTheChangedCellsOnly) {
  cv::TerminalScreen screen;
  screen.resize(80, 24, cv::BLACK);
  presented(screen);
  screen.put(40, 12, '@', cv::RED);
  const size_t one = presented(screen).size();
  presented(screen);  // back to blank
  for (int column = 0; column < 80; column++)
    screen.put(column, 12, '@', cv::RED);
  const size_t row = presented(screen).size();
  EXPECT_LT(one, 16u);
  EXPECT_LT(row, 80u + 16u);  // one move, one colour, eighty characters
}

TEST(TerminalScreen, InvalidatedScreenIsRedrawnAndRedrawShownRepeatsTheLastFrame) {
  cv::TerminalScreen screen = shownBlankScreen();
  screen.put(0, 0, 'z', cv::CYAN);
  presented(screen);
  std::string out;
  screen.redrawShown(out);
  EXPECT_EQ(out.rfind("\x1b[0m\x1b[37;40m\x1b[2J", 0), 0u) << out;
  EXPECT_NE(out.find("\x1b[36mz"), std::string::npos) << out;
  EXPECT_EQ(presented(screen), "\x1b[1;1H ");  // the back grid was left blank; white is set
}

TEST(TerminalScreen, NearestColours) {
  EXPECT_EQ(cv::nearestTerminalColor(255, 0, 0), cv::RED);
  EXPECT_EQ(cv::nearestTerminalColor(0, 255, 255), cv::CYAN);
  EXPECT_EQ(cv::nearestTerminalColor(200, 200, 30), cv::YELLOW);
  EXPECT_EQ(cv::nearestTerminalColor(10, 10, 10), cv::BLACK);
  EXPECT_EQ(cv::nearestTerminalColor(255, 255, 255), cv::WHITE);
}

}  // namespace
