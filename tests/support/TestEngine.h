#pragma once
// Starts the engine from a configuration text with the log captured in a
// fresh directory, so a test can assert whole log messages.

#include <string>
#include <vector>

namespace cvtest {

class TestEngine {
 public:
  /// Writes `config_text` as the configuration file of a fresh directory and
  /// points "CORVANE_CONFIG" and "CORVANE_LOG" into it. Nothing starts yet.
  explicit TestEngine(const std::string &config_text = "headless:true,");

  /// Starts the game manager with every log line flushed at once.
  int start();

  /// Shuts the game manager down.
  void stop();

  /// Every line of the log file, as written.
  std::vector<std::string> lines() const;

  /// Every log message: the lines without their time and step prefixes.
  std::vector<std::string> messages() const;

  /// Whether some log message equals `message`.
  bool logged(const std::string &message) const;

  /// Messages logged from `first` (inclusive) on.
  std::vector<std::string> messagesFrom(const std::string &first) const;

  /// The fresh directory holding the configuration and log.
  const std::string &directory() const;
  std::string logPath() const;

 private:
  std::string dir;  ///< fresh directory for this engine's files
};

/// The message part of one log line: its text after the time and step prefixes.
std::string messageOf(const std::string &line);

/// A fresh directory under the system's temporary directory.
std::string makeTempDirectory();

/// Writes `text` to `path`, replacing any content.
void writeFile(const std::string &path, const std::string &text);

}  // namespace cvtest
