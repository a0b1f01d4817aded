// Plays the real game in a window under Xvfb, driven with xdotool as a
// player drives it, and reads back its screen, its log and its sound.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SFML/Graphics.hpp>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TestEngine.h"

// Last: the X headers define macros that clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace std::chrono_literals;

namespace {

// Longest wait for anything the test waits on; nothing waits unbounded.
constexpr auto PATIENCE = 20s;
const std::string TITLE = "TomatoPlayTest";
// The grid and character scale of the configuration the play-throughs run
// with: the engine's defaults.
constexpr int GRID_COLUMNS = 80, GRID_ROWS = 24;
constexpr float FONT_SCALE = 2.0f;

// Runs xdotool with `arguments`, bounded in time. True when it succeeded.
bool xdotool(const std::string &arguments) {
  const std::string command = "timeout 10 xdotool " + arguments + " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// Asks `done` until it holds or the patience runs out; returns its last answer.
bool waitFor(const std::function<bool()> &done, std::chrono::milliseconds patience = PATIENCE) {
  const auto until = std::chrono::steady_clock::now() + patience;
  for (;;) {
    if (done())
      return true;
    if (std::chrono::steady_clock::now() >= until)
      return false;
    std::this_thread::sleep_for(50ms);
  }
}

// A copy of the window's pixels, 24-bit colour.
struct Screen {
  int width = 0, height = 0;  // size in pixels
  std::vector<unsigned long> pixels;  // row by row
  unsigned long at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

// The colours the game draws, as the window shows them.
enum class Hue { BLACK, RED, YELLOW, MAGENTA, WHITE, OTHER };

Hue hueOf(unsigned long pixel) {
  const int r = static_cast<int>((pixel >> 16) & 0xff), g = static_cast<int>((pixel >> 8) & 0xff),
            b = static_cast<int>(pixel & 0xff);
  const bool R = r > 160, G = g > 160, B = b > 160;
  if (r < 60 && g < 60 && b < 60) return Hue::BLACK;
  if (R && g < 90 && b < 90) return Hue::RED;
  if (R && G && b < 90) return Hue::YELLOW;
  if (R && B && g < 90) return Hue::MAGENTA;
  if (R && G && B) return Hue::WHITE;
  return Hue::OTHER;
}

// Pixels of `hue` in the cells [left, right) x [top, bottom) of the grid,
// and their mean column in cells.
struct Census {
  int count = 0;
  double mean_column = 0;
  double min_column = 1e9, max_column = -1, min_row = 1e9, max_row = -1;
};

Census census(const Screen &screen, Hue hue, double left, double top, double right, double bottom) {
  const double cell_w = static_cast<double>(screen.width) / GRID_COLUMNS,
               cell_h = static_cast<double>(screen.height) / GRID_ROWS;
  Census result;
  double sum = 0;
  for (int y = static_cast<int>(top * cell_h); y < static_cast<int>(bottom * cell_h) && y < screen.height; y++)
    for (int x = static_cast<int>(left * cell_w); x < static_cast<int>(right * cell_w) && x < screen.width; x++)
      if (hueOf(screen.at(x, y)) == hue) {
        result.count++;
        const double column = x / cell_w, row = y / cell_h;
        sum += column;
        result.min_column = std::min(result.min_column, column);
        result.max_column = std::max(result.max_column, column);
        result.min_row = std::min(result.min_row, row);
        result.max_row = std::max(result.max_row, row);
      }
  result.mean_column = result.count ? sum / result.count : 0;
  return result;
}

// The tomato program running in a directory of its own. The game runs from
// the directory of its executable when that holds its files, so the
// directory gets the executable too.
class Game {
 public:
  // Prepares a run directory: the built run directory's font, sprites and
  // sounds (only the sounds in `sounds` when given), `config`, and the game.
  Game(const std::string &config, const std::vector<std::string> &sounds = {}) : dir(cvtest::makeTempDirectory()) {
    const std::string run = TOMATO_RUN_DIR;
    if (::link(TOMATO_EXE, (dir + "/tomato").c_str()) != 0)
      std::filesystem::copy_file(TOMATO_EXE, dir + "/tomato");
    link(run + "/cv-font.ttf", dir + "/cv-font.ttf");
    symlink((run + "/sprites").c_str(), (dir + "/sprites").c_str());
    if (sounds.empty()) {
      symlink((run + "/sounds").c_str(), (dir + "/sounds").c_str());
    } else {
      mkdir((dir + "/sounds").c_str(), 0755);
      for (const std::string &sound : sounds)
        link(run + "/sounds/" + sound, dir + "/sounds/" + sound);
    }
    cvtest::writeFile(dir + "/cv-config.txt", "window_title:" + TITLE + "," + config);
  }

  ~Game() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }

  // Starts the game in its directory from the working directory
  // `working_dir` ("": the game's directory) with `environment` added, its
  // standard error written to "stderr.txt" in the game's directory.
  void start(const std::vector<std::pair<std::string, std::string>> &environment = {},
             const std::string &working_dir = "") {
    const std::string program = dir + "/tomato", errors = dir + "/stderr.txt";
    pid = fork();
    if (pid == 0) {
      if (chdir((working_dir.empty() ? dir : working_dir).c_str()) != 0) _exit(127);
      if (!std::freopen(errors.c_str(), "w", stderr)) _exit(127);
      unsetenv("CORVANE_CONFIG");
      unsetenv("CORVANE_LOG");
      for (const auto &[name, value] : environment)
        setenv(name.c_str(), value.c_str(), 1);
      execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
      _exit(127);
    }
  }

  // Waits for the program to end; its exit status (128 + the signal that
  // ended it), or -1 when it did not end within `patience`.
  int waitForExit(std::chrono::milliseconds patience = PATIENCE) {
    int status = 0;
    if (!waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, patience))
      return -1;
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  // Every log message of `log` in the run directory, without time and step.
  std::vector<std::string> messages(const std::string &log = "corvane.log") const {
    std::vector<std::string> result;
    std::ifstream file(dir + "/" + log);
    for (std::string line; std::getline(file, line);)
      result.push_back(cvtest::messageOf(line));
    return result;
  }

  int timesLogged(const std::string &message) const {
    int n = 0;
    for (const std::string &logged : messages()) n += logged == message;
    return n;
  }

  std::string dir;  // the run directory
  pid_t pid = -1;   // the running program, or -1

 private:
  static void link(const std::string &from, const std::string &to) { symlink(from.c_str(), to.c_str()); }
};

// The window of the game on the X display.
class GameWindow {
 public:
  GameWindow() : display(XOpenDisplay(nullptr)) {}
  ~GameWindow() {
    if (display) XCloseDisplay(display);
  }

  // Finds the game's window and gives it the keyboard focus.
  bool find() {
    if (!display) return false;
    FILE *search = popen(("timeout 20 xdotool search --sync --name '^" + TITLE + "$' 2>/dev/null").c_str(), "r");
    if (!search) return false;
    unsigned long id = 0;
    const bool found = fscanf(search, "%lu", &id) == 1;
    pclose(search);
    window = id;
    return found && xdotool("windowfocus --sync " + std::to_string(id));
  }

  // The window's pixels now.
  Screen capture() const {
    Screen screen;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return screen;
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    XImage *image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return screen;
    screen.width = attributes.width;
    screen.height = attributes.height;
    for (int row = 0; row < screen.height; row++)
      for (int column = 0; column < screen.width; column++)
        screen.pixels.push_back(XGetPixel(image, column, row) & 0xffffff);
    XDestroyImage(image);
    return screen;
  }

  // Moves the mouse pointer over cell (column, row) of the 80 x 24 grid.
  bool pointAt(double column, double row) const {
    return xdotool("mousemove --window " + std::to_string(window) + " " + std::to_string(static_cast<int>(column * 12.8)) +
                   " " + std::to_string(static_cast<int>(row * 32 + 16)));
  }

 private:
  Display *display;        // connection to the X server
  Window window = 0;        // the game's window
};

// Draws characters on a canvas the size of the window exactly as the
// display draws them, and compares cells of a captured screen with it.
class CellCanvas {
 public:
  // A black canvas of `width` x `height` pixels with the glyphs of `font_file`.
  CellCanvas(int width, int height, const std::string &font_file)
      : cell_width(static_cast<float>(width) / GRID_COLUMNS), cell_height(static_cast<float>(height) / GRID_ROWS) {
    loaded = font.loadFromFile(font_file) && canvas.create(static_cast<unsigned>(width), static_cast<unsigned>(height));
    glyph = sf::Text("", font, static_cast<unsigned>(FONT_SCALE * std::min(cell_width, cell_height)));
    glyph.setStyle(sf::Text::Bold);
    clear();
  }

  // Whether the font loaded and the canvas exists.
  bool ready() const { return loaded; }

  void clear() {
    if (loaded) canvas.clear(sf::Color::Black);
  }

  // Draws `ch` in cell (column, row) as the display does: first a background
  // rectangle of one cell, a tenth of a cell left and a fifth down from the
  // cell's corner, then the glyph with its origin at the corner.
  void drawCharacter(float column, float row, char ch, sf::Color color) {
    const sf::Vector2f corner = pixelOf(column, row);
    sf::RectangleShape background(sf::Vector2f(cell_width, cell_height));
    background.setFillColor(sf::Color::Black);
    background.setPosition(corner.x - cell_width / 10, corner.y + cell_height / 5);
    canvas.draw(background);
    glyph.setString(sf::String(ch));
    glyph.setFillColor(color);
    glyph.setPosition(corner);
    canvas.draw(glyph);
  }

  // Draws `text` centred on column `x` by whole characters.
  void drawCentred(const std::string &text, float x, float y, sf::Color color) {
    const float start = x - static_cast<float>(text.size() / 2);
    for (size_t i = 0; i < text.size(); i++) drawCharacter(start + static_cast<float>(i), y, text[i], color);
  }

  // Draws `text` as a bordered view object at (x, y) does: the text, dashes
  // on the rows above and below, and a bar on either side.
  void drawCounter(const std::string &text, float x, float y, sf::Color color) {
    drawCentred(text, x, y, color);
    const std::string dashes(text.size(), '-');
    drawCentred(dashes, x, y - 1, color);
    drawCentred(dashes, x, y + 1, color);
    const float left_bar = x - static_cast<float>(text.size() / 2) - 1;
    drawCharacter(left_bar, y, '|', color);
    drawCharacter(left_bar + static_cast<float>(text.size()) + 1, y, '|', color);
  }

  // What has been drawn since the last clear.
  sf::Image image() {
    canvas.display();
    return canvas.getTexture().copyToImage();
  }

  // Pixels of cell (column, row), the area its background rectangle covers,
  // that differ between `screen` and `image`.
  int differingPixels(const Screen &screen, const sf::Image &image, float column, float row) const {
    if (screen.width != static_cast<int>(image.getSize().x) || screen.height != static_cast<int>(image.getSize().y))
      return std::numeric_limits<int>::max();
    const sf::Vector2f corner = pixelOf(column, row);
    const float left = corner.x - cell_width / 10, top = corner.y + cell_height / 5;
    int differing = 0;
    for (int y = std::max(0, static_cast<int>(std::ceil(top - 0.5f)));
         y < std::min(screen.height, static_cast<int>(std::ceil(top + cell_height - 0.5f))); y++)
      for (int x = std::max(0, static_cast<int>(std::ceil(left - 0.5f)));
           x < std::min(screen.width, static_cast<int>(std::ceil(left + cell_width - 0.5f))); x++) {
        const sf::Color expected = image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
        const unsigned long rgb = static_cast<unsigned long>(expected.r) << 16 |
                                  static_cast<unsigned long>(expected.g) << 8 | expected.b;
        differing += screen.at(x, y) != rgb;
      }
    return differing;
  }

  // Pixels a cell may miss for the antialiasing of glyph edges.
  static constexpr int MAX_DIFFERING_PIXELS = 8;

 private:
  // Pixel of the corner of cell (column, row).
  sf::Vector2f pixelOf(float column, float row) const { return {column * cell_width, row * cell_height}; }

  float cell_width, cell_height;  // size of a grid cell in pixels
  sf::Font font;                  // the game's font
  sf::RenderTexture canvas;       // where the expected cells are drawn
  sf::Text glyph;                 // one character at the display's size
  bool loaded = false;            // font and canvas are ready
};

// Reads the value of a single-digit counter that the game shows at
// BOTTOM_RIGHT with its border, by drawing every candidate digit the way the
// display draws characters and finding the one the captured cell shows.
class CounterDigitReader {
 public:
  // Prepares the candidates for the counter labelled `label` in `color`, on
  // a window of `width` x `height` pixels, with the glyphs of `font_file`.
  CounterDigitReader(const std::string &label, sf::Color color, int width, int height, const std::string &font_file)
      : canvas(width, height, font_file) {
    if (!canvas.ready())
      return;
    // A bordered view object's position at BOTTOM_RIGHT; its text, one space,
    // label, space, value, space, is centred on it by whole characters.
    const float x = static_cast<float>(GRID_COLUMNS) * 5 / 6, y = static_cast<float>(GRID_ROWS) - 2;
    const std::string text_before = " " + label + " ";
    const std::string sample = text_before + "0 ";
    value_cell = sf::Vector2f(x - static_cast<float>(sample.size() / 2) + static_cast<float>(text_before.size()), y);
    for (char digit = '0'; digit <= '9'; digit++) {
      canvas.clear();
      canvas.drawCounter(text_before + digit + " ", x, y, color);
      candidates.push_back({digit, canvas.image()});
    }
  }

  // Whether the font loaded and every candidate was drawn.
  bool ready() const { return candidates.size() == 10; }

  // The digit whose drawing matches the value cell of `screen` closely and
  // better than any other digit's; '?' when no digit does.
  char read(const Screen &screen) const {
    char best = '?';
    int fewest = std::numeric_limits<int>::max(), second = fewest;
    for (const Candidate &candidate : candidates) {
      const int differing = canvas.differingPixels(screen, candidate.image, value_cell.x, value_cell.y);
      if (differing < fewest) {
        second = fewest;
        fewest = differing;
        best = candidate.digit;
      } else if (differing < second) {
        second = differing;
      }
    }
    // A clean read matches all but a few edge pixels, and every other digit
    // misses many more.
    const int max_differing = CellCanvas::MAX_DIFFERING_PIXELS;
    const bool clean = fewest <= max_differing && second > 4 * max_differing;
    return clean ? best : '?';
  }

 private:
  struct Candidate {
    char digit;       // the digit drawn
    sf::Image image;  // the whole window with the counter showing it
  };

  CellCanvas canvas;                  // draws the candidates and compares cells
  sf::Vector2f value_cell;            // cell (column, row) of the counter's digit
  std::vector<Candidate> candidates;  // each digit as the counter shows it
};

// Keeps the screenshot for a person when CORVANE_TEST_SCREENSHOTS names a directory.
void keep(const std::string &name) {
  const char *directory = std::getenv("CORVANE_TEST_SCREENSHOTS");
  if (directory && *directory)
    std::system(("import -window root '" + std::string(directory) + "/" + name + ".png' 2>/dev/null").c_str());
}

// A quick left click, as a touchpad tap makes it: the button goes down and up
// again between two frames, so the game reads both at once.
void leftClick() {
  xdotool("click 1");
  std::this_thread::sleep_for(100ms);
}

const char *SPRITES[] = {"grape", "lemon", "banana", "durian", "shield", "watermelon", "bullet",
                         "enemy_bullet", "reflector", "gamestart", "gameover", "grape-explosion",
                         "banana-explosion", "lemon-explosion", "watermelon-explosion", "durian-explosion",
                         "player", "wall", "ammo_box"};
const char *SOUNDS[] = {"fire", "explode", "explosion-sound", "start-sound", "enemy-death-sound",
                        "player-death-sound", "shoot"};

// The lines of the log `path` from the start of the game loop to its end,
// each as its step and message (the time of day cut off), without those that
// depend on the window or on time: a replay runs headless and unpaced.
std::vector<std::string> gameLoopLines(const std::string &path) {
  std::vector<std::string> loop;
  bool in_loop = false;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    const std::string message = cvtest::messageOf(line);
    in_loop = in_loop || message == "GameManager::run(): starting game loop";
    if (in_loop && message.rfind("GameManager::run(): Can't keep up!", 0) != 0 &&
        message.rfind("InputRecorder::", 0) != 0 && message.rfind("InputReplayer::", 0) != 0)
      loop.push_back(line.substr(line.find(' ') + 1));
    if (message == "GameManager::run(): end of game loop")
      break;
  }
  return loop;
}

// Replays the game's recording headless and unpaced in its run directory:
// the same game loop log, step for step, and a replay that says it matched
// its recording (the same world at the start of every step and at the end).
void expectReplayMatches(Game &recorded) {
  cvtest::writeFile(recorded.dir + "/replay-config.txt", "headless:true,frame_time:0,");
  Game replay("");
  replay.dir = recorded.dir;
  replay.start({{"CORVANE_CONFIG", recorded.dir + "/replay-config.txt"},
                {"CORVANE_LOG", recorded.dir + "/replay.log"},
                {"CORVANE_REPLAY", recorded.dir + "/game.rec"}});
  ASSERT_EQ(replay.waitForExit(), 0);
  const std::vector<std::string> replayed = replay.messages("replay.log");
  const auto matched = std::find_if(replayed.begin(), replayed.end(), [](const std::string &message) {
    return message.rfind("InputReplayer::finish(): Replay of '", 0) == 0 &&
           message.find("' matched its recording: ") != std::string::npos;
  });
  EXPECT_NE(matched, replayed.end()) << "the replay drifted; see " << recorded.dir << "/replay.log";
  const std::vector<std::string> loop = gameLoopLines(recorded.dir + "/corvane.log");
  EXPECT_GE(loop.size(), 4u);
  EXPECT_EQ(gameLoopLines(recorded.dir + "/replay.log"), loop);
}

TEST(PlayTest, StartPlayMoveFireAndQuit) {
  Game game("log_level:1,random_seed:3,");
  game.start({{"CORVANE_RECORD", game.dir + "/game.rec"}});
  GameWindow window;
  ASSERT_TRUE(window.find());
  ASSERT_TRUE(waitFor([&] { return game.timesLogged("GameManager::run(): starting game loop") == 1; }));

  for (const char *sprite : SPRITES)
    EXPECT_EQ(game.timesLogged("ResourceManager::loadSprite(): Sprite '" + std::string(sprite) + "' loaded."), 1)
        << sprite;
  for (const char *sound : SOUNDS)
    EXPECT_EQ(game.timesLogged("ResourceManager::loadSound(): Sound '" + std::string(sound) + "' successfully loaded."),
              1)
        << sound;
  for (const char *music : {"start music", "game music"})
    EXPECT_EQ(game.timesLogged("ResourceManager::loadMusic(): Music '" + std::string(music) + "' successfully loaded."),
              1)
        << music;

  // The title picture, centred in the window.
  Census title;
  Screen start_screen;
  ASSERT_TRUE(waitFor([&] {
    start_screen = window.capture();
    return (title = census(start_screen, Hue::RED, 0, 0, 80, 24)).count > 2000;
  }));
  keep("play-1-title");
  EXPECT_NEAR((title.min_column + title.max_column) / 2, 40, 1.5);
  EXPECT_NEAR((title.min_row + title.max_row) / 2, 12, 1.5);

  // The "Bullets" counter's digit is read against the font's own drawing of
  // each digit, prepared now: once play starts, time counts. The grape's
  // first shot, fired at the hero about a second into the game, reaches a
  // hero who stands still a second after that (step 67 with this seed), and
  // under the sanitizers preparing the reader alone takes longer.
  const CounterDigitReader bullets("Bullets", sf::Color::Yellow, start_screen.width, start_screen.height,
                                   game.dir + "/cv-font.ttf");
  ASSERT_TRUE(bullets.ready());

  // P: hero, walls, a grape and the three counters.
  ASSERT_TRUE(xdotool("key p"));
  ASSERT_TRUE(waitFor([&] { return game.timesLogged("Collision box size: 1.000000") == 1; }));
  Screen play;
  ASSERT_TRUE(waitFor([&] {
    play = window.capture();
    return census(play, Hue::RED, 0, 3, 80, 10).count == 0 && census(play, Hue::WHITE, 0, 0, 2, 24).count > 0;
  }));
  keep("play-2-started");
  EXPECT_GT(census(play, Hue::RED, 30, 16, 50, 21).count, 100) << "hero";
  EXPECT_GT(census(play, Hue::WHITE, 0, 0, 2, 24).count, 200) << "left wall";
  EXPECT_GT(census(play, Hue::WHITE, 52, 0, 54.5, 24).count, 200) << "right wall";
  EXPECT_GT(census(play, Hue::MAGENTA, 2, 0, 52, 12).count, 50) << "grape";
  EXPECT_EQ(census(play, Hue::RED, 0, 3, 80, 10).count, 0) << "the title picture is gone";
  for (double row : {0.0, 10.0, 20.0})
    EXPECT_GT(census(play, Hue::YELLOW, 54, row, 80, row + 4).count, 100) << "counter at row " << row;

  // A left click fires one bullet once the first cooldown has passed: the
  // "Bullets" counter goes from 2 to 1 and a bullet flies toward the aim.
  // The game aims at its red reticle, which follows the pointer's moves; it
  // must be at the aim, low on the left, before the click.
  ASSERT_TRUE(waitFor([&] {
    window.pointAt(11, 22);
    window.pointAt(10, 22);
    std::this_thread::sleep_for(100ms);
    return census(window.capture(), Hue::RED, 8, 20, 13, 24).count > 0;
  })) << "the reticle did not follow the pointer to the aim";
  EXPECT_EQ(bullets.read(window.capture()), '2');
  Screen fired;
  char shown = '?';
  ASSERT_TRUE(waitFor([&] {
    leftClick();
    fired = window.capture();
    shown = bullets.read(fired);
    return shown != '2' && shown != '?';
  })) << "the counter still reads " << shown;
  EXPECT_EQ(shown, '1');
  keep("play-3-fired");
  const Census field = census(fired, Hue::YELLOW, 2, 0, 52, 24);
  EXPECT_GT(census(fired, Hue::YELLOW, 2, 12, 52, 24).count, 0)
      << "the bullet, low in the field; the field's yellow: " << field.count << " pixels in rows " << field.min_row
      << " to " << field.max_row;

  // D moves the hero right.
  const double before = census(window.capture(), Hue::RED, 2, 16, 52, 21).mean_column;
  ASSERT_TRUE(xdotool("keydown d"));
  std::this_thread::sleep_for(600ms);
  ASSERT_TRUE(xdotool("keyup d"));
  std::this_thread::sleep_for(200ms);
  const double after = census(window.capture(), Hue::RED, 2, 16, 52, 21).mean_column;
  EXPECT_GT(after, before + 1.5);

  // Q ends the program cleanly; should a slow machine have let the grape hit
  // the hero meanwhile, Q on the start screen the game returns to.
  int status = -1;
  ASSERT_TRUE(waitFor([&] {
    xdotool("key q");
    return (status = game.waitForExit(1s)) >= 0;
  })) << "Q did not end the game";
  EXPECT_EQ(status, 0);
  const std::vector<std::string> messages = game.messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "** Game engine stopped **");

  // The run was recorded: replayed headless, the same game runs step for step.
  expectReplayMatches(game);
}

// The rows of the first frame of the sprite file `file` in the run directory.
std::vector<std::string> firstFrameOf(const std::string &file) {
  std::ifstream in(std::string(TOMATO_RUN_DIR) + "/sprites/" + file);
  std::vector<std::string> rows;
  bool in_body = false;
  for (std::string line; std::getline(in, line);) {
    if (line == "end") break;
    if (in_body) rows.push_back(line);
    in_body = in_body || line == "<BODY>";
  }
  return rows;
}

// Cells expected on the screen: where, and what is drawn there.
struct Cell {
  float column, row;
  char ch;
};

// The cells of `expected` (drawn on `canvas`) that `screen` does not show.
std::vector<Cell> missing(const Screen &screen, CellCanvas &canvas, const std::vector<Cell> &expected,
                          const sf::Image &image) {
  std::vector<Cell> result;
  for (const Cell &cell : expected)
    if (canvas.differingPixels(screen, image, cell.column, cell.row) > CellCanvas::MAX_DIFFERING_PIXELS)
      result.push_back(cell);
  return result;
}

std::string describe(const std::vector<Cell> &cells) {
  std::string text;
  for (const Cell &cell : cells)
    text += "'" + std::string(1, cell.ch) + "' at (" + std::to_string(cell.column) + ", " +
            std::to_string(cell.row) + ") ";
  return text;
}

TEST(PlayTest, PauseSaysSoAndTheGameOverPictureLeavesFieldAndCountersDrawn) {
  Game game("log_level:1,random_seed:3,");
  game.start();
  GameWindow window;
  ASSERT_TRUE(window.find());
  ASSERT_TRUE(waitFor([&] { return game.timesLogged("GameManager::run(): starting game loop") == 1; }));
  ASSERT_TRUE(window.pointAt(10, 22));  // the red reticle out of the way
  ASSERT_TRUE(xdotool("key p"));
  Screen play;
  ASSERT_TRUE(waitFor([&] {
    play = window.capture();
    return census(play, Hue::WHITE, 0, 0, 2, 24).count > 200 && census(play, Hue::YELLOW, 54, 10, 80, 14).count > 100;
  }));
  CellCanvas canvas(play.width, play.height, game.dir + "/cv-font.ttf");
  ASSERT_TRUE(canvas.ready());

  // F10: the message in the middle of the play field, between the walls (at
  // 1 and 80 * 2 / 3), over the frozen game.
  const std::vector<std::string> message = {"          PAUSED         ", " press any key to resume "};
  std::vector<Cell> message_ink;
  for (size_t row = 0; row < message.size(); row++)
    for (size_t i = 0; i < message[row].size(); i++)
      if (message[row][i] != ' ')
        message_ink.push_back({27.0f - static_cast<float>(message[row].size() / 2) + static_cast<float>(i),
                               11.0f + static_cast<float>(row), message[row][i]});
  canvas.clear();
  for (const Cell &cell : message_ink) canvas.drawCharacter(cell.column, cell.row, cell.ch, sf::Color::White);
  const sf::Image paused_image = canvas.image();
  ASSERT_TRUE(xdotool("key F10"));
  std::vector<Cell> not_shown;
  EXPECT_TRUE(waitFor([&] {
    not_shown = missing(window.capture(), canvas, message_ink, paused_image);
    return not_shown.empty();
  }))
      << "not shown: " << describe(not_shown);
  keep("play-4-paused");
  // Any key resumes, and the next frame has no message.
  ASSERT_TRUE(xdotool("key x"));
  EXPECT_TRUE(waitFor([&] {
    return missing(window.capture(), canvas, message_ink, paused_image).size() == message_ink.size();
  })) << "the message stays";

  // Standing still, the hero is soon hit. While the game-over picture plays,
  // its blanks leave the right wall and the "RFL POWER" counter drawn.
  std::vector<Cell> wall, counter;
  const std::vector<std::string> wall_rows = firstFrameOf("wall-spr.txt");
  ASSERT_EQ(wall_rows.size(), 24u);
  for (int row = 1; row < 23; row++)  // the wall's rows sit half a cell down
    wall.push_back({80.0f * 2 / 3, static_cast<float>(row) + 0.5f, wall_rows[static_cast<size_t>(row)][0]});
  const std::string power = " RFL POWER 30 ";
  const float power_x = 80.0f * 5 / 6, power_start = power_x - static_cast<float>(power.size() / 2);
  for (size_t i = 0; i < power.size(); i++)
    for (float row : {11.0f, 12.0f, 13.0f})
      counter.push_back({power_start + static_cast<float>(i), row, row == 12 ? power[i] : '-'});
  counter.push_back({power_start - 1, 12, '|'});
  counter.push_back({power_start + static_cast<float>(power.size()), 12, '|'});
  canvas.clear();
  for (const Cell &cell : wall) canvas.drawCharacter(cell.column, cell.row, cell.ch, sf::Color::White);
  canvas.drawCounter(power, power_x, 12, sf::Color::Yellow);
  const sf::Image field_image = canvas.image();
  Screen over;
  ASSERT_TRUE(waitFor([&] {
    over = window.capture();
    // The whole picture, "GAME" above "OVER" with about as much ink, at the
    // middle of the window. The letters come one by one.
    const int game_ink = census(over, Hue::RED, 28, 6, 53, 12).count;
    return game_ink > 1500 && census(over, Hue::RED, 28, 12, 53, 18).count > game_ink * 9 / 10;
  }, 30s)) << "no game-over picture";
  EXPECT_TRUE(missing(over, canvas, wall, field_image).empty()) << describe(missing(over, canvas, wall, field_image));
  EXPECT_TRUE(missing(over, canvas, counter, field_image).empty())
      << describe(missing(over, canvas, counter, field_image));
  const Census picture = census(over, Hue::RED, 0, 0, 80, 24);
  EXPECT_GT(picture.min_column, 2) << "inside the play field";
  EXPECT_LT(picture.max_column, 80.0 * 2 / 3) << "inside the play field";
  keep("play-5-gameover");

  // Then the start screen, with no shot of either side left over it.
  ASSERT_TRUE(waitFor([&] { return census(window.capture(), Hue::RED, 0, 0, 80, 24).count > 2000 &&
                                   census(window.capture(), Hue::WHITE, 0, 0, 2, 24).count == 0; }));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(census(window.capture(), Hue::MAGENTA, 0, 0, 80, 24).count, 0) << "an enemy bullet flies on";
  ASSERT_TRUE(xdotool("key q"));
  EXPECT_EQ(game.waitForExit(), 0);
}

// Reads the 16-bit samples of a WAV file written by OpenAL's wave backend.
std::vector<int16_t> samplesOf(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples;
  // Find the "data" chunk; anything before it is the header.
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const uint32_t size = static_cast<uint8_t>(bytes[at + 4]) | static_cast<uint8_t>(bytes[at + 5]) << 8 |
                          static_cast<uint8_t>(bytes[at + 6]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 7])) << 24;
    if (std::string(&bytes[at], 4) == "data") {
      for (size_t i = at + 8; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
      break;
    }
    at += 8 + size;
  }
  return samples;
}

TEST(PlayTest, FiringIsHeardThroughTheWaveBackend) {
  // Only the shot's two sounds are there, so whatever is heard is the shot.
  Game game("log_level:5,random_seed:3,", {"fire.wav", "shoot-sound.wav"});
  const std::string wave = game.dir + "/heard.wav";
  cvtest::writeFile(game.dir + "/alsoft.conf", "[general]\nsample-type = int16\n[wave]\nfile = " + wave + "\n");
  game.start({{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", game.dir + "/alsoft.conf"}});
  GameWindow window;
  ASSERT_TRUE(window.find());
  ASSERT_TRUE(waitFor([&] { return game.timesLogged("GameManager::run(): starting game loop") == 1; }));
  ASSERT_TRUE(xdotool("key p"));
  ASSERT_TRUE(waitFor([&] { return game.timesLogged("Collision box size: 1.000000") == 1; }));
  ASSERT_TRUE(window.pointAt(10, 22));
  const std::string fired = "ResourceManager::getSound(): Looking for sound 'fire'.";
  ASSERT_TRUE(waitFor([&] {
    leftClick();
    return game.timesLogged(fired) > 0;
  }));
  std::this_thread::sleep_for(800ms);  // the shot's sound plays out
  EXPECT_EQ(game.timesLogged(fired), 1) << "one click, one shot";
  ASSERT_TRUE(xdotool("key q"));
  ASSERT_EQ(game.waitForExit(), 0);

  const std::vector<int16_t> samples = samplesOf(wave);
  ASSERT_GT(samples.size(), 8000u) << "the wave backend recorded the run";
  int loud = 0;
  for (int16_t sample : samples)
    loud += sample > 500 || sample < -500;
  EXPECT_GT(loud, 100) << "the shot is audible";
}

TEST(PlayTest, TerminatingTheGameInPlayShutsItDownCleanly) {
  Game game("log_level:1,random_seed:3,");
  game.start();
  GameWindow window;
  ASSERT_TRUE(window.find());
  ASSERT_TRUE(waitFor([&] { return game.timesLogged("GameManager::run(): starting game loop") == 1; }));
  ASSERT_TRUE(xdotool("key p"));
  ASSERT_TRUE(waitFor([&] { return game.timesLogged("Collision box size: 1.000000") == 1; }));

  ASSERT_EQ(kill(game.pid, SIGTERM), 0);
  EXPECT_EQ(game.waitForExit(), 0);
  EXPECT_EQ(game.timesLogged("GameManager::run(): Caught SIGTERM, ending the game."), 1);
  const std::vector<std::string> messages = game.messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "** Game engine stopped **");
}

TEST(PlayTest, StartsFromItsOwnDirectoryWhateverTheWorkingDirectory) {
  Game game("log_level:1,");
  const std::string elsewhere = cvtest::makeTempDirectory();
  game.start({}, elsewhere);
  ASSERT_TRUE(waitFor([&] { return game.timesLogged("GameManager::run(): starting game loop") == 1; }));
  const std::string run_dir = std::filesystem::canonical(game.dir).string();
  EXPECT_EQ(game.timesLogged("tomato: running from directory '" + run_dir + "'"), 1);
  EXPECT_EQ(game.timesLogged("ResourceManager::loadSprite(): Sprite 'ammo_box' loaded."), 1);
  EXPECT_EQ(game.timesLogged("ResourceManager::loadSound(): Error! Cannot load sound from file 'sounds/fire.wav'."), 0);
  ASSERT_EQ(kill(game.pid, SIGTERM), 0);
  EXPECT_EQ(game.waitForExit(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere)) << "nothing is written where it was started from";
}

TEST(PlayTest, FailedStartSaysWhyOnStandardErrorAndExitsOne) {
  Game game("window_horizontal_pixels:100000,");
  game.start();
  EXPECT_EQ(game.waitForExit(), 1);
  const std::string run_dir = std::filesystem::canonical(game.dir).string();
  std::ifstream errors(game.dir + "/stderr.txt");
  std::stringstream text;
  text << errors.rdbuf();
  EXPECT_EQ(text.str(),
            "tomato: cannot start: DisplayManager::startUp(): Error! window of 100000 x 768 pixels with 80 x 24 "
            "characters not supported. (log: " + run_dir + "/corvane.log)\n");
  EXPECT_EQ(game.timesLogged("Error starting game manager!"), 1);
}

}  // namespace
