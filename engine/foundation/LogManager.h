#pragma once

#include <cstdarg>
#include <cstdio>

#include "core/Manager.h"

// writeLog's formats are the C99 ones (%zu, %lld) everywhere; MinGW's
// compiler takes plain "printf" to mean the older Microsoft formats.
#ifdef __MINGW32__
#define CV_PRINTF_FORMAT gnu_printf
#else
#define CV_PRINTF_FORMAT printf
#endif

namespace cv {

/// Default name of the log file, used unless "CORVANE_LOG" or the
/// configuration's logfile names another.
const std::string LOGFILE_NAME = "corvane.log";

/// The engine's one log. Each line carries the time of day, the game-loop
/// step count and the message. Without an open file (before start-up and
/// after shut-down) lines go to standard error with the same prefixes.
class LogManager : public Manager {
 public:
  /// The one log, created on first use.
  static LogManager &getInstance();
  ~LogManager() override;

  /// Opens the log file named by "CORVANE_LOG" (when set, even empty) or the
  /// configuration's logfile, truncating it. -1 if it cannot be opened or the
  /// log is already started.
  int startUp() override;

  /// Stops the log and closes the file.
  void shutDown() override;

  /// Writes one line if `level` is at most the log level; otherwise writes
  /// nothing and returns 0. Returns the characters of the message written,
  /// or -1 on a write error.
  int writeLog(int level, const char *format, ...) const __attribute__((format(CV_PRINTF_FORMAT, 3, 4)));

  /// Writes one line whatever the log level.
  int writeLog(const char *format, ...) const __attribute__((format(CV_PRINTF_FORMAT, 2, 3)));

  /// Flush the file after every line when true.
  void setFlush(bool do_flush = true);

  /// Levelled messages above `log_level` are not written. A level set
  /// before start-up stays unless the configuration gives log_level.
  void setLogLevel(int log_level);

  /// The threshold for levelled messages.
  int getLogLevel() const;

 private:
  LogManager();
  LogManager(const LogManager &) = delete;
  LogManager &operator=(const LogManager &) = delete;

  /// Writes the prefixes, the message and the line break.
  int writeLine(const char *format, va_list args) const
      __attribute__((format(CV_PRINTF_FORMAT, 2, 0)));

  void closeFile();

  bool do_flush;        ///< flush the file after every line
  int log_level;        ///< verbosity threshold for levelled messages
  bool do_time_string;  ///< prefix each line with the time of day
  bool do_step_count;   ///< prefix each line with the step count
  FILE *log_file;       ///< the open log file, or null
};

}  // namespace cv
