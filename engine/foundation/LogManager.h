#pragma once

#include <csignal>
#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

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

/// Bytes of log lines held before they are written to the file.
const std::size_t LOG_BUFFER_SIZE = 16 * 1024;

/// The engine's one log. Each line carries the time of day, the game-loop
/// step count and the message. Without an open file (before start-up and
/// after shut-down) lines go to standard error with the same prefixes.
///
/// Lines wait in the log's own buffer until it is full, unless flushing is
/// on or the line has no level (errors, warnings, banners): those reach the
/// file at once. When the program dies of a fatal signal while the log is
/// open, what the buffer holds is written, then one last line naming the
/// signal.
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

  /// The name of the file the log last opened or tried to open ("" before
  /// the first start-up), as given: relative to the working directory.
  std::string getLogFileName() const;

  /// The name of the file startUp opens: "CORVANE_LOG" when it is set (even
  /// empty), else the configuration's logfile; relative to the working
  /// directory.
  std::string getLogFileNameToOpen() const;

  /// Starts keeping the messages written without a level (the first few),
  /// for a caller that wants to tell a user why something failed.
  void beginNoting();

  /// Stops keeping messages and returns those kept since beginNoting.
  std::vector<std::string> endNoting();

  /// Levelled messages above `log_level` are not written. A level set
  /// before start-up stays unless the configuration gives log_level.
  void setLogLevel(int log_level);

  /// The threshold for levelled messages.
  int getLogLevel() const;

 private:
  LogManager();
  LogManager(const LogManager &) = delete;
  LogManager &operator=(const LogManager &) = delete;

  /// Puts the prefixes, the message and the line break in the buffer and
  /// writes the buffer out when `write_now`, flushing is on, or no file is
  /// open.
  int writeLine(bool write_now, const char *format, va_list args) const
      __attribute__((format(CV_PRINTF_FORMAT, 3, 0)));

  /// Puts the time and step prefixes at `to`; returns their length.
  std::size_t writePrefix(char *to, std::size_t room) const;

  /// Keeps a copy of an unlevelled message while noting.
  void note(const char *message, std::size_t length) const;

  /// Writes out what the buffer holds. False on a write error (the bytes
  /// are then dropped).
  bool writeBuffer() const;

  /// Writes the buffer out and closes the file.
  void closeFile();

  /// Writes what the buffer holds and the line naming the signal: the
  /// fatal-signal cleanup, so only what is safe in a signal handler.
  static void writeOnFatalSignal(const char *signal_text);

  bool do_flush;        ///< flush the file after every line
  int log_level;        ///< verbosity threshold for levelled messages
  bool do_time_string;  ///< prefix each line with the time of day
  bool do_step_count;   ///< prefix each line with the step count
  int log_file;         ///< handle of the open log file, or -1
  std::string log_file_name;  ///< the file last opened or tried
  long utc_offset;      ///< seconds local time is ahead of UTC, taken at start-up
  bool noting;          ///< keep unlevelled messages in `noted`
  mutable std::vector<std::string> noted;  ///< unlevelled messages kept since beginNoting
  mutable char buffer[LOG_BUFFER_SIZE];          ///< lines not yet written
  mutable volatile std::sig_atomic_t buffer_start;  ///< first byte not yet written
  mutable volatile std::sig_atomic_t buffer_end;    ///< end of the lines held
};

}  // namespace cv
