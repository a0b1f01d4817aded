// A sprite of box-drawing and shade characters shown in a real terminal
// (tmux): as UTF-8 where the locale says UTF-8, as the nearest ASCII where
// it does not.

#include <gtest/gtest.h>
#include <unistd.h>  // Required for: getpid()

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TestEngine.h"

namespace {

using namespace std::chrono_literals;

// The engine showing the box sprite in an 80 x 24 tmux pane of its own
// server, in the locale `lang`.
class BoxInATerminal {
 public:
  explicit BoxInATerminal(const std::string &lang)
      : dir(cvtest::makeTempDirectory()), server("corvane-unicode-" + std::to_string(getpid())) {
    cvtest::writeFile(dir + "/cv-config.txt", "display:terminal,");
    const std::string run = "cd " + dir + " && LANG=" + lang + " LC_ALL= LC_CTYPE= ALSOFT_DRIVERS=null " +
                            CORVANE_ENGINE_MAIN + " --show-sprite " + CORVANE_TEST_FIXTURES +
                            "/sprites/box-drawing.txt --stop-after 300";
    started = std::system(("env -u DISPLAY -u TMUX timeout 10 tmux -u -L " + server +
                           " -f /dev/null new-session -d -s box -x 80 -y 24 \"" + run + "\"")
                              .c_str()) == 0;
  }
  ~BoxInATerminal() { std::system(("tmux -L " + server + " kill-server > /dev/null 2>&1").c_str()); }

  // The pane's rows, once three rows from row 4 on show the box (or after 5 s).
  std::vector<std::string> rowsOnceDrawn(const std::string &top) const {
    std::vector<std::string> rows;
    for (int tries = 0; tries < 50; tries++) {
      rows.clear();
      const std::string text = cvtest::commandOutput("tmux -u -L " + server + " capture-pane -p -t box");
      for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos)
          end = text.size();
        rows.push_back(text.substr(start, end - start));
      }
      if (rows.size() > 4 && rows[4].find(top) != std::string::npos)
        return rows;
      std::this_thread::sleep_for(100ms);
    }
    return rows;
  }

  std::string log() const { return cvtest::readWholeFile(dir + "/corvane.log"); }

  std::string dir;     // the run directory
  std::string server;  // the tmux server's socket name
  bool started;        // the pane runs the engine
};

}  // namespace

TEST(UnicodeTerminal, BoxDrawingAndShadesInUtf8OrTheNearestAscii) {
  struct Case {
    std::string lang;
    std::vector<std::string> box;  // the three rows of the box, from column 9
    bool fallback_said;
  };
  const Case cases[] = {{"C.UTF-8", {"╔═╗", "║▓║", "╚═╝"}, false}, {"C", {"+-+", "|#|", "+-+"}, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.lang);
    BoxInATerminal terminal(c.lang);
    ASSERT_TRUE(terminal.started);
    const std::vector<std::string> rows = terminal.rowsOnceDrawn(c.box[0]);
    ASSERT_GT(rows.size(), 6u);
    std::string screen;
    for (const std::string &row : rows) screen += row + "\n";
    // The 3 x 3 sprite centred on (10, 5): columns 9 to 11, rows 4 to 6.
    for (int i = 0; i < 3; i++) {
      const std::string &row = rows[4 + i];
      const std::size_t at = row.find(c.box[i]);
      EXPECT_NE(at, std::string::npos) << screen;
      // Nine columns of blanks before the box, whatever their bytes.
      EXPECT_EQ(at, 9u) << screen;
    }
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(terminal.log().find("the terminal's locale is not UTF-8") != std::string::npos, c.fallback_said);
  }
}
