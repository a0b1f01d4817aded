#pragma once

#include <streambuf>
#include <string>

namespace cv {

/// Sends what the window, graphics and audio library reports on its error
/// stream (sf::err()) into the engine's log instead of the terminal: each
/// line it writes becomes one log line beginning "SFML: ". Blank lines are
/// dropped; an overlong line is cut into log lines of at most
/// MAX_LINE characters. A line the library repeats (a failure it meets
/// every frame, say) is written once, then counted: "SFML: (the line above
/// came N more times)" follows when another line comes, at uninstall(),
/// and after every MAX_REPEATS repeats.
class SfmlErrorLog : public std::streambuf {
 public:
  /// Longest line passed on in one piece.
  static const std::size_t MAX_LINE = 1000;
  /// Most repeats of one line counted before the count is written.
  static const int MAX_REPEATS = 1000;

  /// Routes sf::err() into the log until uninstall(). Calling it again
  /// changes nothing.
  static void install();
  /// Gives sf::err() back its own stream, so nothing the library says after
  /// the engine has stopped (at exit, say) reaches a log that is gone.
  static void uninstall();

 protected:
  /// Collects one character; a line break passes the line on.
  int_type overflow(int_type character) override;

 private:
  SfmlErrorLog() = default;

  /// Writes the collected line to the log (unless blank or a repeat of the
  /// last one) and empties it.
  void passLine();
  /// Writes how often the last line came again since it or its last count
  /// was written, if it did.
  void writeRepeats();

  std::string line;       ///< characters of the line being written
  std::string last_line;  ///< the last line written to the log
  int repeats = 0;        ///< repeats of last_line not yet written
};

}  // namespace cv
