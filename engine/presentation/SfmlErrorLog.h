#pragma once

#include <streambuf>
#include <string>

namespace cv {

/// Sends what the window, graphics and audio library reports on its error
/// stream (sf::err()) into the engine's log instead of the terminal: each
/// line it writes becomes one log line beginning "SFML: ". Blank lines are
/// dropped; an overlong line is cut into log lines of at most
/// MAX_LINE characters.
class SfmlErrorLog : public std::streambuf {
 public:
  /// Longest line passed on in one piece.
  static const std::size_t MAX_LINE = 1000;

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

  /// Writes the collected line to the log (unless blank) and empties it.
  void passLine();

  std::string line;  ///< characters of the line being written
};

}  // namespace cv
