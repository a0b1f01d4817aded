#include "presentation/window/SfmlErrorLog.h"

#include <SFML/System/Err.hpp>

#include "foundation/LogManager.h"

namespace cv {

namespace {

// The library's own stream buffer while ours is installed, else null.
std::streambuf *library_buffer = nullptr;
// Ours, made on the first install.
SfmlErrorLog *route = nullptr;

}  // namespace

void SfmlErrorLog::install() {
  // Never destroyed: a program that never stops the engine keeps it
  // installed while its static objects are torn down at exit.
  if (!route)
    route = new SfmlErrorLog();
  if (!library_buffer)
    library_buffer = sf::err().rdbuf(route);
}

void SfmlErrorLog::uninstall() {
  if (!library_buffer)
    return;
  sf::err().rdbuf(library_buffer);
  library_buffer = nullptr;
  route->writeRepeats();
  route->last_line.clear();
}

SfmlErrorLog::int_type SfmlErrorLog::overflow(int_type character) {
  if (traits_type::eq_int_type(character, traits_type::eof()))
    return traits_type::not_eof(character);
  const char ch = traits_type::to_char_type(character);
  if (ch == '\n') {
    passLine();
  } else {
    line += ch;
    if (line.size() >= MAX_LINE)
      passLine();
  }
  return character;
}

void SfmlErrorLog::passLine() {
  // System error texts (Windows' among them) end in blanks and a carriage
  // return of their own.
  const size_t end = line.find_last_not_of(" \t\r");
  if (end != std::string::npos) {
    line.resize(end + 1);
    if (line == last_line) {
      if (++repeats >= MAX_REPEATS)
        writeRepeats();
    } else {
      writeRepeats();
      LogManager::getInstance().writeLog("SFML: %s", line.c_str());
      last_line = line;
    }
  }
  line.clear();
}

void SfmlErrorLog::writeRepeats() {
  if (repeats > 0)
    LogManager::getInstance().writeLog("SFML: (the line above came %d more times)", repeats);
  repeats = 0;
}

}  // namespace cv
