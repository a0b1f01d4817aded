#include "foundation/LogManager.h"

#include <cstdlib>  // Required for: getenv()

#include "core/GameManager.h"
#include "foundation/Config.h"
#include "foundation/utility.h"

namespace cv {

LogManager::LogManager()
    : do_flush(false), log_level(0), do_time_string(true), do_step_count(true), log_file(nullptr) {
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
  const char *from_environment = std::getenv("CORVANE_LOG");
  const std::string filename = from_environment ? from_environment : Config::getInstance().getLogFile();
  log_file = std::fopen(filename.c_str(), "w");
  if (!log_file) {
    writeLog("LogManager::startup(): Warning! Unable to open file '%s'.", filename.c_str());
    return -1;
  }
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
  if (log_file) {
    std::fclose(log_file);
    log_file = nullptr;
  }
}

void LogManager::setFlush(bool new_do_flush) { do_flush = new_do_flush; }

void LogManager::setLogLevel(int new_log_level) { log_level = new_log_level; }

int LogManager::getLogLevel() const { return log_level; }

int LogManager::writeLog(int level, const char *format, ...) const {
  if (level > log_level)
    return 0;
  va_list args;
  va_start(args, format);
  const int result = writeLine(format, args);
  va_end(args);
  return result;
}

int LogManager::writeLog(const char *format, ...) const {
  va_list args;
  va_start(args, format);
  const int result = writeLine(format, args);
  va_end(args);
  return result;
}

int LogManager::writeLine(const char *format, va_list args) const {
  FILE *stream = log_file ? log_file : stderr;
  bool failed = false;
  if (do_time_string && std::fprintf(stream, "%s ", getTimeString()) < 0)
    failed = true;
  if (do_step_count && std::fprintf(stream, "%4d ", GameManager::getInstance().getStepCount()) < 0)
    failed = true;
  const int written = std::vfprintf(stream, format, args);
  if (written < 0)
    failed = true;
  if (std::fputs("\n", stream) < 0)
    failed = true;
  if (do_flush)
    std::fflush(stream);
  return failed ? -1 : written;
}

}  // namespace cv
