#include "foundation/LogManager.h"

#include <cstdio>   // Required for: snprintf(), vsnprintf()
#include <cstdlib>  // Required for: getenv()
#include <cstring>  // Required for: memcpy()
#include <ctime>    // Required for: time()
#include <mutex>
#include <new>

#include "core/GameManager.h"
#include "foundation/Config.h"
#include "foundation/utility.h"
#include "platform/file_output.h"
#include "platform/platform.h"
#include "platform/signals.h"

namespace cv {

namespace {

// Held while a line is put in the buffer or the buffer is written: the
// window library's threads can log too (through its error stream).
std::mutex buffer_lock;

// The log whose buffer a fatal signal writes out; set while its file is open.
const LogManager *log_on_fatal_signal = nullptr;

const long SECONDS_PER_DAY = 24 * 60 * 60;

// Messages kept while noting, and the characters kept of each.
const std::size_t MAX_NOTED = 8;
const std::size_t MAX_NOTED_LENGTH = 1024;

// Writes all `size` bytes or fails. Safe in a signal handler.
bool writeAll(int handle, const char *data, std::size_t size) {
  while (size > 0) {
    const long written = platform::writeOutput(handle, data, size);
    if (written <= 0)
      return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Appends `text` to `line` (of `room` bytes) at `length`. Safe in a signal handler.
void append(char *line, std::size_t room, std::size_t &length, const char *text) {
  for (; *text && length < room; text++)
    line[length++] = *text;
}

// Appends `value` (0 or more) in at least `width` columns, right-aligned.
// Safe in a signal handler.
void appendNumber(char *line, std::size_t room, std::size_t &length, long value, int width) {
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0 && count < 23);
  for (int pad = width - count; pad > 0 && length < room; pad--)
    line[length++] = ' ';
  while (count > 0 && length < room)
    line[length++] = digits[--count];
}

// Appends `value` (0 to 99) as two digits. Safe in a signal handler.
void appendTwoDigits(char *line, std::size_t room, std::size_t &length, long value) {
  const char digits[3] = {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10), '\0'};
  append(line, room, length, digits);
}

}  // namespace

LogManager::LogManager()
    : do_flush(false),
      log_level(0),
      do_time_string(true),
      do_step_count(true),
      log_file(-1),
      utc_offset(0),
      noting(false),
      buffer{},
      buffer_start(0),
      buffer_end(0) {
  setType("LogManager");
}

LogManager::~LogManager() { closeFile(); }

LogManager &LogManager::getInstance() {
  static LogManager log_manager;
  return log_manager;
}

int LogManager::startUp() {
  if (isStarted()) {
    writeLog("LogManager::startup(): Warning! LogManager already started.");
    return -1;
  }
  // A level set in code before start-up stays unless the configuration names one.
  if (Config::getInstance().hasLogLevel())
    log_level = Config::getInstance().getLogLevel();
  log_file_name = getLogFileNameToOpen();
  log_file = platform::openOutputFile(log_file_name);
  if (log_file == -1) {
    writeLog("LogManager::startup(): Warning! Unable to open file '%s'.", log_file_name.c_str());
    return -1;
  }
  // The fatal-signal line cannot ask for the local time; it adds this offset.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (platform::localTime(now, local))
    utc_offset = (local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec) - static_cast<long>(now % SECONDS_PER_DAY);
  log_on_fatal_signal = this;
  platform::addFatalSignalCleanup(writeOnFatalSignal);
  Manager::startUp();
  writeLog(5, "LogManager::startUp(): successfully started.");
  return 0;
}

void LogManager::shutDown() {
  Manager::shutDown();
  writeLog(5, "LogManager::shutDown(): successfully stopped.");
  closeFile();
}

void LogManager::closeFile() {
  const std::lock_guard<std::mutex> hold(buffer_lock);
  if (log_file == -1)
    return;
  writeBuffer();
  platform::removeFatalSignalCleanup(writeOnFatalSignal);
  log_on_fatal_signal = nullptr;
  platform::closeOutputFile(log_file);
  log_file = -1;
}

void LogManager::setFlush(bool new_do_flush) {
  do_flush = new_do_flush;
  const std::lock_guard<std::mutex> hold(buffer_lock);
  if (do_flush)
    writeBuffer();
}

std::string LogManager::getLogFileName() const { return log_file_name; }

std::string LogManager::getLogFileNameToOpen() const {
  const char *from_environment = std::getenv("CORVANE_LOG");
  return from_environment ? from_environment : Config::getInstance().getLogFile();
}

void LogManager::beginNoting() {
  noted.clear();
  noting = true;
}

std::vector<std::string> LogManager::endNoting() {
  noting = false;
  std::vector<std::string> result;
  result.swap(noted);
  return result;
}

void LogManager::setLogLevel(int new_log_level) { log_level = new_log_level; }

int LogManager::getLogLevel() const { return log_level; }

int LogManager::writeLog(int level, const char *format, ...) const {
  if (level > log_level)
    return 0;
  va_list args;
  va_start(args, format);
  const int result = writeLine(false, format, args);
  va_end(args);
  return result;
}

int LogManager::writeLog(const char *format, ...) const {
  va_list args;
  va_start(args, format);
  // Lines without a level must be seen even if the program dies next.
  const int result = writeLine(true, format, args);
  va_end(args);
  return result;
}

std::size_t LogManager::writePrefix(char *to, std::size_t room) const {
  int length = 0;
  if (do_time_string)
    length += std::snprintf(to, room, "%s ", getTimeString());
  if (do_step_count && length >= 0 && static_cast<std::size_t>(length) < room)
    length += std::snprintf(to + length, room - static_cast<std::size_t>(length), "%4d ",
                            GameManager::getInstance().getStepCount());
  if (length < 0)
    return 0;
  return static_cast<std::size_t>(length) < room ? static_cast<std::size_t>(length) : room - 1;
}

int LogManager::writeLine(bool write_now, const char *format, va_list args) const {
  char prefix[64];
  const std::size_t prefix_length = writePrefix(prefix, sizeof prefix);
  const std::lock_guard<std::mutex> hold(buffer_lock);
  bool failed = false;
  if (LOG_BUFFER_SIZE - static_cast<std::size_t>(buffer_end) <= prefix_length + 1)
    failed = !writeBuffer();

  va_list retry;
  va_copy(retry, args);
  // The line is formatted straight into the buffer; buffer_end moves over
  // it only once it is whole, so a fatal signal never writes half a line.
  std::size_t end = static_cast<std::size_t>(buffer_end);
  std::memcpy(buffer + end, prefix, prefix_length);
  const std::size_t room = LOG_BUFFER_SIZE - end - prefix_length;
  int written = std::vsnprintf(buffer + end + prefix_length, room, format, args);
  if (written >= 0 && static_cast<std::size_t>(written) >= room) {
    // Too long for what is left: make the whole buffer free and try again.
    failed = !writeBuffer() || failed;
    end = 0;
    if (prefix_length + static_cast<std::size_t>(written) < LOG_BUFFER_SIZE) {
      std::memcpy(buffer, prefix, prefix_length);
      written = std::vsnprintf(buffer + prefix_length, LOG_BUFFER_SIZE - prefix_length, format, retry);
    } else {
      // Longer than the whole buffer: written on its own, at once.
      try {
        std::string line(prefix, prefix_length);
        line.resize(prefix_length + static_cast<std::size_t>(written) + 1);
        std::vsnprintf(&line[prefix_length], static_cast<std::size_t>(written) + 1, format, retry);
        line.back() = '\n';
        if (write_now)
          note(line.data() + prefix_length, static_cast<std::size_t>(written));
        const int handle = log_file != -1 ? log_file : platform::errorOutputHandle();
        failed = !writeAll(handle, line.data(), line.size()) || failed;
      } catch (const std::bad_alloc &) {
        failed = true;
      }
      va_end(retry);
      return failed ? -1 : written;
    }
  }
  va_end(retry);
  if (written < 0)
    return -1;
  if (write_now)
    note(buffer + end + prefix_length, static_cast<std::size_t>(written));
  buffer[end + prefix_length + static_cast<std::size_t>(written)] = '\n';
  buffer_end = static_cast<std::sig_atomic_t>(end + prefix_length + static_cast<std::size_t>(written) + 1);
  if (write_now || do_flush || log_file == -1)
    failed = !writeBuffer() || failed;
  return failed ? -1 : written;
}

void LogManager::note(const char *message, std::size_t length) const {
  if (!noting || noted.size() >= MAX_NOTED)
    return;
  try {
    noted.emplace_back(message, length < MAX_NOTED_LENGTH ? length : MAX_NOTED_LENGTH);
  } catch (const std::bad_alloc &) {
    // Noting is a courtesy; the line itself is written all the same.
  }
}

bool LogManager::writeBuffer() const {
  const int handle = log_file != -1 ? log_file : platform::errorOutputHandle();
  bool written = true;
  while (buffer_start < buffer_end) {
    const long count = platform::writeOutput(handle, buffer + buffer_start,
                                             static_cast<std::size_t>(buffer_end - buffer_start));
    if (count <= 0) {
      written = false;
      break;
    }
    buffer_start = static_cast<std::sig_atomic_t>(buffer_start + count);
  }
  // The end first: a fatal signal in between finds nothing left to write.
  buffer_end = 0;
  buffer_start = 0;
  return written;
}

void LogManager::writeOnFatalSignal(const char *signal_text) {
  const LogManager *log = log_on_fatal_signal;
  if (!log || log->log_file == -1)
    return;
  const int start = log->buffer_start, end = log->buffer_end;
  if (start < end)
    writeAll(log->log_file, log->buffer + start, static_cast<std::size_t>(end - start));

  char line[256];
  std::size_t length = 0;
  if (log->do_time_string) {
    const std::time_t now = std::time(nullptr);
    long of_day = (static_cast<long>(now % SECONDS_PER_DAY) + log->utc_offset) % SECONDS_PER_DAY;
    if (of_day < 0)
      of_day += SECONDS_PER_DAY;
    appendTwoDigits(line, sizeof line, length, of_day / 3600);
    append(line, sizeof line, length, ":");
    appendTwoDigits(line, sizeof line, length, of_day / 60 % 60);
    append(line, sizeof line, length, ":");
    appendTwoDigits(line, sizeof line, length, of_day % 60);
    append(line, sizeof line, length, " ");
  }
  if (log->do_step_count) {
    appendNumber(line, sizeof line, length, GameManager::getInstance().getStepCount(), 4);
    append(line, sizeof line, length, " ");
  }
  append(line, sizeof line, length, "LogManager::writeOnFatalSignal(): Error! Caught fatal signal ");
  append(line, sizeof line, length, signal_text);
  append(line, sizeof line, length, ", the program ends.\n");
  writeAll(log->log_file, line, length);
}

}  // namespace cv
