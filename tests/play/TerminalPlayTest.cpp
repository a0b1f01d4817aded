// Plays the real game in a text terminal: tomato with the display
// "terminal" in an 80 x 24 tmux pane, with no X display at all, driven with
// tmux send-keys (keys, and mouse reports as the terminal would send them)
// and read back with capture-pane, colours included.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TestEngine.h"

using namespace std::chrono_literals;

namespace {

constexpr auto PATIENCE = 20s;
constexpr int COLUMNS = 80, ROWS = 24;

bool waitFor(const std::function<bool()> &done, std::chrono::milliseconds patience = PATIENCE) {
  const auto until = std::chrono::steady_clock::now() + patience;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(50ms);
  }
}

// The terminal's picture: a character and a foreground colour per cell
// (-1 for the terminal's default colour).
struct Screen {
  std::vector<std::string> lines;     // the characters, row by row
  std::vector<std::vector<int>> fg;   // the colours, row by row

  // Reads the text of capture-pane -e: characters and SGR colour changes.
  explicit Screen(const std::string &captured) {
    int color = -1;
    lines.emplace_back();
    fg.emplace_back();
    for (size_t i = 0; i < captured.size(); i++) {
      const char c = captured[i];
      if (c == '\n') {
        lines.emplace_back();
        fg.emplace_back();
      } else if (c == '\x1b' && i + 1 < captured.size() && captured[i + 1] == '[') {
        const size_t end = captured.find_first_of("ABCDEFGHJKSTfmhlrsu", i + 2);
        if (end == std::string::npos) break;
        if (captured[end] == 'm') {
          std::string params = captured.substr(i + 2, end - i - 2);
          if (params.empty()) params = "0";
          size_t at = 0;
          while (at <= params.size()) {
            const size_t semicolon = std::min(params.find(';', at), params.size());
            const int n = std::atoi(params.substr(at, semicolon - at).c_str());
            if (n == 0 || n == 39) color = -1;
            else if (n >= 30 && n <= 37) color = n - 30;
            at = semicolon + 1;
          }
        }
        i = end;
      } else {
        lines.back() += c;
        fg.back().push_back(color);
      }
    }
  }

  std::string line(int row) const { return row < static_cast<int>(lines.size()) ? lines[row] : ""; }

  // Whether `text` shows somewhere in rows [first, last].
  bool shows(const std::string &text, int first = 0, int last = ROWS - 1) const {
    for (int row = first; row <= last; row++)
      if (line(row).find(text) != std::string::npos) return true;
    return false;
  }

  // Column where `text` starts in the rows [first, last], -1 if nowhere.
  int columnOf(const std::string &text, int first, int last) const {
    for (int row = first; row <= last; row++) {
      const size_t at = line(row).find(text);
      if (at != std::string::npos) return static_cast<int>(at);
    }
    return -1;
  }

  // Cells showing `ch` and how many of them are in `color`.
  std::pair<int, int> count(char ch, int color) const {
    int all = 0, colored = 0;
    for (size_t row = 0; row < lines.size(); row++)
      for (size_t column = 0; column < lines[row].size(); column++)
        if (lines[row][column] == ch) {
          all++;
          colored += fg[row][column] == color;
        }
    return {all, colored};
  }
};

const int RED = 1;

// The tomato program started from a shell in a tmux pane of its own server.
class TerminalGame {
 public:
  explicit TerminalGame(const std::string &config)
      : dir(cvtest::makeTempDirectory()), server("corvane-" + std::to_string(getpid())) {
    const std::string run = TOMATO_RUN_DIR;
    // The game runs from its executable's directory when that holds its files.
    if (::link(TOMATO_EXE, (dir + "/tomato").c_str()) != 0)
      std::filesystem::copy_file(TOMATO_EXE, dir + "/tomato");
    symlink((run + "/sprites").c_str(), (dir + "/sprites").c_str());
    symlink((run + "/sounds").c_str(), (dir + "/sounds").c_str());
    // No font: the terminal needs none.
    cvtest::writeFile(dir + "/cv-config.txt", config);
  }

  ~TerminalGame() { tmux("kill-server"); }

  // Starts a shell in an 80 x 24 pane without DISPLAY, and tomato from it
  // with the display "terminal". The shell notes the terminal settings
  // before and after, the game's process id, and its exit status.
  bool start() {
    const std::string shell_command = "env -u DISPLAY PS1='$ ' sh";
    if (std::system(("env -u DISPLAY -u TMUX timeout 10 tmux -L " + server +
                     " -f /dev/null new-session -d -s play -x 80 -y 24 \"" + shell_command + "\"")
                        .c_str()) != 0)
      return false;
    cvtest::writeFile(dir + "/play.sh", "cd " + dir +
                                            "\nstty -g > before\nunset DISPLAY\n"
                                            "ALSOFT_DRIVERS=null CORVANE_DISPLAY=terminal sh -c 'echo $$ > pid; exec ./tomato'\necho status=$?\nstty -g > after\n");
    if (!waitFor([&] { return screen().shows("$"); })) return false;  // the shell's prompt
    return tmux("send-keys -t play -l 'sh " + dir + "/play.sh'") && tmux("send-keys -t play Enter") &&
           waitFor([&] { return logged("GameManager::run(): starting game loop"); });
  }

  bool tmux(const std::string &arguments) const {
    return std::system(("timeout 10 tmux -L " + server + " " + arguments + " > /dev/null 2>&1").c_str()) == 0;
  }

  // Keys as tmux names them ("p", "F10").
  bool keys(const std::string &names) const { return tmux("send-keys -t play " + names); }

  // Bytes as they are, for mouse reports.
  bool bytes(const std::string &text) const { return tmux("send-keys -t play -l '" + text + "'"); }

  Screen screen() const { return Screen(cvtest::commandOutput("tmux -L " + server + " capture-pane -p -e -t play")); }

  std::string paneFormat(const std::string &format) const {
    std::string text = cvtest::commandOutput("tmux -L " + server + " display -p -t play '" + format + "'");
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  bool logged(const std::string &message) const {
    std::ifstream file(dir + "/corvane.log");
    for (std::string line; std::getline(file, line);)
      if (cvtest::messageOf(line) == message) return true;
    return false;
  }

  pid_t gamePid() const {
    std::ifstream file(dir + "/pid");
    int pid = -1;
    file >> pid;
    return pid;
  }

  // The exit status the shell printed, -1 until it did.
  int status() const {
    std::smatch match;
    for (const std::string &line : screen().lines) {
      if (std::regex_search(line, match, std::regex("status=([0-9]+)"))) return std::stoi(match[1]);
    }
    return -1;
  }

  // The screen and the end of the log, for a failure's message.
  std::string report() const {
    std::string text = "screen:\n";
    for (const std::string &line : screen().lines) text += line + "\n";
    const std::string log = cvtest::readWholeFile(dir + "/corvane.log");
    return text + "log tail:\n" + log.substr(log.size() > 1500 ? log.size() - 1500 : 0);
  }

  // Whether the pane is back to a shell as it was: the normal screen, the
  // cursor showing, the terminal settings those before the game.
  void expectRestored() const {
    EXPECT_EQ(paneFormat("#{alternate_on}"), "0");
    EXPECT_EQ(paneFormat("#{cursor_flag}"), "1");
    ASSERT_TRUE(waitFor([&] { return !cvtest::readWholeFile(dir + "/after").empty(); }));
    EXPECT_EQ(cvtest::readWholeFile(dir + "/after"), cvtest::readWholeFile(dir + "/before"));
    EXPECT_TRUE(waitFor([&] {
      for (const std::string &line : screen().lines)
        if (line == "$" || line.rfind("$ ", 0) == 0) return true;
      return false;
    })) << "a shell prompt";
  }

  std::string dir;     // the run directory
  std::string server;  // the tmux server's socket name
};

// Left click at (column, row) of the grid, counted from 0: the mouse moves
// there, then the button goes down and up, as SGR mouse reports.
void click(const TerminalGame &game, int column, int row) {
  const std::string at = std::to_string(column + 1) + ";" + std::to_string(row + 1);
  game.bytes("\x1b[<35;" + at + "M");
  std::this_thread::sleep_for(100ms);
  game.bytes("\x1b[<0;" + at + "M");
  std::this_thread::sleep_for(100ms);
  game.bytes("\x1b[<0;" + at + "m");
  std::this_thread::sleep_for(100ms);
}

TEST(TerminalPlayTest, StartPlayFirePauseMoveAndQuitInATerminal) {
  TerminalGame game("log_level:1,random_seed:3,");
  ASSERT_TRUE(game.start());
  EXPECT_TRUE(game.logged(
      "DisplayManager::startUp(): drawing in the terminal; font_file, font_scale, window_horizontal_pixels, "
      "window_vertical_pixels, window_style, window_title and show_mouse are ignored."));
  EXPECT_EQ(game.paneFormat("#{alternate_on} #{cursor_flag}"), "1 0");

  // The title picture, in red.
  Screen title = game.screen();
  ASSERT_TRUE(waitFor([&] { return (title = game.screen()).shows("#####"); }));
  const auto [hashes, red_hashes] = title.count('#', RED);
  EXPECT_GT(hashes, 40);
  EXPECT_EQ(red_hashes, hashes);
  EXPECT_TRUE(title.shows("press P to play"));

  // P: the hero, the walls and the three counters with their values.
  ASSERT_TRUE(game.keys("p"));
  Screen play = title;
  ASSERT_TRUE(waitFor([&] {
    play = game.screen();
    return play.shows("Bullets") && !play.shows("#####");
  }));
  EXPECT_TRUE(play.shows("(     )", 14, 22)) << "the hero";
  EXPECT_TRUE(play.shows("| Points ", 0, 3));
  EXPECT_TRUE(play.shows("| RFL POWER 30 |", 9, 14));
  EXPECT_TRUE(play.shows("| Bullets 2 |", 19, 23));
  int walls = 0;
  for (int row = 0; row < ROWS; row++) walls += play.line(row).size() > 53 && play.line(row)[1] != ' ' && play.line(row)[53] != ' ';
  EXPECT_GT(walls, 20) << "both walls, left and right of the field";

  // D moves the hero right: the terminal repeats the key while it is held.
  // With this seed the grape's first shot misses a hero that stepped aside.
  const int before = play.columnOf("(     )", 14, 22);
  ASSERT_GE(before, 0);
  for (int i = 0; i < 4; i++) {
    game.keys("d");
    std::this_thread::sleep_for(35ms);
  }
  int after = before;
  EXPECT_TRUE(waitFor([&] { return (after = game.screen().columnOf("(     )", 14, 22)) > before + 1; }, 2s))
      << "from column " << before << " to " << after;

  // A left click fires: Bullets 2 to 1.
  ASSERT_TRUE(waitFor([&] {
    click(game, 10, 22);
    return game.screen().shows("| Bullets 1 |", 19, 23);
  }));

  // F10 pauses: the picture stands still; any key resumes.
  ASSERT_TRUE(game.keys("F10"));
  ASSERT_TRUE(waitFor([&] { return game.logged("Pause::eventHandler(): Game paused."); }));
  std::this_thread::sleep_for(200ms);
  const std::vector<std::string> paused = game.screen().lines;
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(game.screen().lines, paused) << "nothing moves while paused";
  ASSERT_TRUE(game.keys("x"));
  ASSERT_TRUE(waitFor([&] { return game.logged("Pause::eventHandler(): Game resumed."); }));

  // Q ends the game with status 0 and gives the shell its terminal back
  // (should the hero have died meanwhile, Q on the start screen it returns to).
  ASSERT_TRUE(waitFor([&] {
    if (game.status() >= 0) return true;
    game.keys("q");
    std::this_thread::sleep_for(300ms);
    return game.status() >= 0;
  })) << game.report();
  EXPECT_EQ(game.status(), 0);
  game.expectRestored();
}

TEST(TerminalPlayTest, TooSmallTerminalGetsAMessageAndAResizeRedraws) {
  TerminalGame game("log_level:1,random_seed:3,");
  ASSERT_TRUE(game.start());
  ASSERT_TRUE(waitFor([&] { return game.screen().shows("#####"); }));
  ASSERT_TRUE(game.tmux("resize-window -t play -x 60 -y 20"));
  ASSERT_TRUE(waitFor([&] { return game.screen().shows("Terminal too small: 60 x 20, the game needs 80 x 24."); }));
  ASSERT_TRUE(game.tmux("resize-window -t play -x 80 -y 24"));
  ASSERT_TRUE(waitFor([&] { return game.screen().shows("#####") && !game.screen().shows("too small"); }));
  ASSERT_TRUE(game.keys("q"));
  ASSERT_TRUE(waitFor([&] { return game.status() >= 0; })) << game.report();
  EXPECT_EQ(game.status(), 0);
  game.expectRestored();
}

TEST(TerminalPlayTest, WithoutATerminalStartUpFailsCleanly) {
  TerminalGame game("log_level:1,");
  const std::string command =
      "cd " + game.dir + " && env -u DISPLAY CORVANE_DISPLAY=terminal timeout 20 ./tomato < /dev/null > out.txt 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_TRUE(game.logged("DisplayManager::startUp(): Error! display is 'terminal' but the game does not run in a terminal."));
  EXPECT_TRUE(game.logged("Error starting game manager!"));
  const std::string written = cvtest::readWholeFile(game.dir + "/out.txt");
  EXPECT_EQ(written.find('\x1b'), std::string::npos) << "no control sequence written: " << written;
  EXPECT_NE(written.find("tomato: cannot start: DisplayManager::startUp(): Error! display is 'terminal' but the game "
                         "does not run in a terminal."),
            std::string::npos)
      << written;
}

// Each signal with the status the shell reports for it: stop requests end
// the game in order; a crash ends it at once, its terminal given back on
// the way out.
class TerminalSignalTest : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(TerminalSignalTest, TerminalIsRestoredWhenTheGameIsKilled) {
  const auto [signal_number, status] = GetParam();
  TerminalGame game("log_level:1,random_seed:3,");
  ASSERT_TRUE(game.start());
  ASSERT_TRUE(game.keys("p"));
  ASSERT_TRUE(waitFor([&] { return game.screen().shows("Bullets"); }));
  const pid_t pid = game.gamePid();
  ASSERT_GT(pid, 0);
  ASSERT_EQ(kill(pid, signal_number), 0);
  ASSERT_TRUE(waitFor([&] { return game.status() >= 0; })) << game.report();
  EXPECT_EQ(game.status(), status);
  game.expectRestored();
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminalSignalTest,
                         testing::Values(std::make_pair(SIGTERM, 0), std::make_pair(SIGINT, 0),
                                         std::make_pair(SIGSEGV, 128 + SIGSEGV)),
                         [](const testing::TestParamInfo<std::pair<int, int>> &info) {
                           switch (info.param.first) {
                             case SIGTERM: return std::string("SIGTERM");
                             case SIGINT: return std::string("SIGINT");
                             default: return std::string("SIGSEGV");
                           }
                         });

}  // namespace
