#include "foundation/Config.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>   // Required for: snprintf()
#include <cstdlib>  // Required for: getenv(), strtof()
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string_view>
#include <variant>

#include "foundation/LogManager.h"
#include "hud/match.h"

namespace cv {

namespace {

// Window style bits of the window library.
const int STYLE_DEFAULT = 5;
const int STYLE_FULLSCREEN = 8;

const char *boolText(bool value) { return value ? "true" : "false"; }

// Outcome of reading the configuration file.
enum class ReadResult { READ, UNREADABLE, TOO_LARGE };

// Reads the whole of `filename` into `contents`, at most CONFIG_MAX_BYTES.
// A directory opens but fails at the first read: it counts as unreadable.
ReadResult readFile(const std::string &filename, std::string &contents) {
  std::ifstream file(filename, std::ios::binary);
  if (!file.is_open())
    return ReadResult::UNREADABLE;
  char buffer[64 * 1024];
  while (file) {
    file.read(buffer, sizeof buffer);
    contents.append(buffer, static_cast<size_t>(file.gcount()));
    if (contents.size() > CONFIG_MAX_BYTES)
      return ReadResult::TOO_LARGE;
  }
  return file.bad() ? ReadResult::UNREADABLE : ReadResult::READ;
}

// One line of configuration text and its 1-based number in the file.
struct SourceLine {
  int number;        ///< line number, counting every line of the file
  std::string text;  ///< the line without its line break
};

// The lines of `contents`, split at "\n". With `file_rules`, one trailing
// carriage return is removed from each line and empty lines and lines
// starting with "#" are left out, as the configuration file is read.
std::vector<SourceLine> linesOf(const std::string &contents, bool file_rules) {
  std::vector<SourceLine> lines;
  size_t start = 0;
  for (int number = 1; start < contents.size(); number++) {
    size_t end = contents.find('\n', start);
    if (end == std::string::npos)
      end = contents.size();
    size_t length = end - start;
    if (file_rules && length > 0 && contents[start + length - 1] == '\r')
      length--;
    if (!file_rules || (length > 0 && contents[start] != '#'))
      lines.push_back({number, contents.substr(start, length)});
    start = end + 1;
  }
  return lines;
}

// The lines joined without separator.
std::string joined(const std::vector<SourceLine> &lines) {
  std::string text;
  for (const SourceLine &line : lines)
    text += line.text;
  return text;
}

// A configuration mistake found while loading: the line it is on and what
// is wrong, reported once loading is done.
struct Problem {
  int line;
  std::string text;
};

// Most problems reported for one configuration; the rest are counted.
const size_t MAX_REPORTED_PROBLEMS = 20;

// Writes the problems, in line order, one warning line each.
void reportProblems(std::vector<Problem> &problems) {
  const LogManager &log_manager = LogManager::getInstance();
  std::stable_sort(problems.begin(), problems.end(),
                   [](const Problem &a, const Problem &b) { return a.line < b.line; });
  for (size_t i = 0; i < problems.size() && i < MAX_REPORTED_PROBLEMS; i++)
    log_manager.writeLog("Config::loadConfig(): Warning! line %d: %s", problems[i].line, problems[i].text.c_str());
  if (problems.size() > MAX_REPORTED_PROBLEMS)
    log_manager.writeLog("Config::loadConfig(): Warning! %zu more problems not shown.",
                         problems.size() - MAX_REPORTED_PROBLEMS);
}

// `text` fit for a message: quoted, at most 40 characters, and every byte
// that is not printable ASCII written as \xNN so the terminal shows it as is.
std::string inQuotes(std::string_view text) {
  const size_t MAX_SHOWN = 40;
  std::string result = "'";
  for (size_t i = 0; i < text.size() && i < MAX_SHOWN; i++) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f) {
      result += static_cast<char>(c);
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      result += escaped;
    }
  }
  result += text.size() > MAX_SHOWN ? "'..." : "'";
  return result;
}

// Number of single-character insertions, deletions and substitutions that
// turn `a` into `b`.
size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> previous(b.size() + 1), current(b.size() + 1);
  for (size_t j = 0; j <= b.size(); j++)
    previous[j] = j;
  for (size_t i = 1; i <= a.size(); i++) {
    current[0] = i;
    for (size_t j = 1; j <= b.size(); j++) {
      const size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
    }
    std::swap(previous, current);
  }
  return previous[b.size()];
}

// Where a line's text starts in the configuration text without whitespace.
struct LineStart {
  size_t offset;  ///< first character of the line in the stripped text
  int number;     ///< the line's number
};

// The configuration text as the attribute parser reads it (no whitespace),
// with the line each part of it came from.
struct StrippedText {
  std::string text;               ///< the lines joined, whitespace removed
  std::vector<LineStart> starts;  ///< where each line with text begins

  explicit StrippedText(const std::vector<SourceLine> &lines) {
    for (const SourceLine &line : lines) {
      std::string part = line.text;
      removeAttributeWhitespace(part);
      if (part.empty())
        continue;
      starts.push_back({text.size(), line.number});
      text += part;
    }
  }

  // The number of the line holding character `offset`.
  int lineAt(size_t offset) const {
    auto after = std::upper_bound(starts.begin(), starts.end(), offset,
                                  [](size_t value, const LineStart &start) { return value < start.offset; });
    return after == starts.begin() ? 0 : std::prev(after)->number;
  }
};

// How a setting's value is read.
enum class Kind {
  WHOLE_NUMBER,  ///< a decimal integer, optionally signed
  NUMBER,        ///< a decimal number
  TEXT,          ///< the text as it is
  SWITCH,        ///< "true" is true, anything else false
  NAMED,         ///< one of the setting's names
};

// The values a number may take.
enum class Range {
  ANY,           ///< any value that fits
  NOT_NEGATIVE,  ///< 0 or more
  ONE_OR_MORE,   ///< 1 or more
  ABOVE_ZERO,    ///< a finite number above 0
};

// One name a NAMED setting accepts and the value it gives.
struct NamedValue {
  const char *name;
  int value;
};

// A number's range as a message says it.
const char *rangeText(Range range) {
  switch (range) {
    case Range::NOT_NEGATIVE:
      return "0 to 2147483647";
    case Range::ONE_OR_MORE:
      return "1 to 2147483647";
    case Range::ABOVE_ZERO:
      return "a finite number above 0";
    case Range::ANY:
      break;
  }
  return "-2147483648 to 2147483647";
}

// Reads `value` as a whole number: an optional sign and decimal digits,
// nothing else. False when it is not one; `out_of_range` is set when it is
// one but does not fit an int.
bool readWholeNumber(const std::string &value, int &number, bool &out_of_range) {
  const char *first = value.data();
  const char *last = value.data() + value.size();
  if (first != last && *first == '+')
    first++;
  if (first == last || (*first != '-' && !std::isdigit(static_cast<unsigned char>(*first))))
    return false;
  const std::from_chars_result result = std::from_chars(first, last, number);
  if (result.ptr != last || result.ec == std::errc::invalid_argument)
    return false;
  out_of_range = result.ec == std::errc::result_out_of_range;
  return true;
}

// Reads `value` as a decimal number, the whole of it. False when it is not one.
bool readNumber(const std::string &value, float &number) {
  if (value.empty())
    return false;
  char *end = nullptr;
  number = std::strtof(value.c_str(), &end);
  return end == value.c_str() + value.size();
}

bool inRange(long long number, Range range) {
  switch (range) {
    case Range::NOT_NEGATIVE:
      return number >= 0;
    case Range::ONE_OR_MORE:
      return number >= 1;
    case Range::ABOVE_ZERO:
      return number > 0;
    case Range::ANY:
      break;
  }
  return true;
}

}  // namespace

struct Config::Setting {
  const char *key;  ///< the configuration key
  Kind kind;        ///< how its value is read
  Range range;      ///< for numbers: the values taken
  /// The field it sets: an int for whole numbers and names, a float for
  /// numbers, a string for text, a bool for switches.
  std::variant<int Config::*, float Config::*, std::string Config::*, bool Config::*> field;
  std::vector<NamedValue> names = {};  ///< NAMED: the names taken, in order
  const char *what = "";               ///< NAMED: the setting in the unsupported-name message
};

const std::vector<Config::Setting> &Config::settings() {
  // The one list of known keys, in look-up order. A new setting needs a row
  // here, its field and accessor, and a line in print().
  static const std::vector<Setting> table = {
      {"frame_time", Kind::WHOLE_NUMBER, Range::NOT_NEGATIVE, &Config::frame_time},
      {"font_scale", Kind::NUMBER, Range::ABOVE_ZERO, &Config::font_scale},
      {"window_horizontal_pixels", Kind::WHOLE_NUMBER, Range::ONE_OR_MORE, &Config::window_horizontal_pixels},
      {"window_vertical_pixels", Kind::WHOLE_NUMBER, Range::ONE_OR_MORE, &Config::window_vertical_pixels},
      {"window_horizontal_chars", Kind::WHOLE_NUMBER, Range::ONE_OR_MORE, &Config::window_horizontal_chars},
      {"window_vertical_chars", Kind::WHOLE_NUMBER, Range::ONE_OR_MORE, &Config::window_vertical_chars},
      {"window_background_color", Kind::NAMED, Range::ANY, &Config::window_background_color,
       {{"black", 0}, {"red", 1}, {"green", 2}, {"yellow", 3}, {"blue", 4}, {"magenta", 5}, {"cyan", 6},
        {"white", 7}},
       "window color"},
      {"window_style", Kind::NAMED, Range::ANY, &Config::window_style,
       {{"fullscreen", STYLE_FULLSCREEN}, {"default", STYLE_DEFAULT}}, "window style"},
      {"window_title", Kind::TEXT, Range::ANY, &Config::window_title},
      {"show_mouse", Kind::SWITCH, Range::ANY, &Config::show_mouse},
      {"headless", Kind::SWITCH, Range::ANY, &Config::headless},
      {"font_file", Kind::TEXT, Range::ANY, &Config::font_file},
      {"logfile", Kind::TEXT, Range::ANY, &Config::logfile},
      {"random_seed", Kind::WHOLE_NUMBER, Range::ANY, &Config::random_seed},
      {"networking", Kind::SWITCH, Range::ANY, &Config::networking},
      {"grid_width", Kind::WHOLE_NUMBER, Range::ANY, &Config::grid_width},
      {"grid_height", Kind::WHOLE_NUMBER, Range::ANY, &Config::grid_height},
      {"quadtree_depth", Kind::WHOLE_NUMBER, Range::ANY, &Config::quadtree_depth},
      {"quadtree_threshold", Kind::WHOLE_NUMBER, Range::ANY, &Config::quadtree_threshold},
      {"log_level", Kind::WHOLE_NUMBER, Range::ANY, &Config::log_level},
      {"display", Kind::NAMED, Range::ANY, &Config::display,
       {{"window", DISPLAY_WINDOW}, {"terminal", DISPLAY_TERMINAL}}, "display"},
  };
  return table;
}

namespace {

// The known key nearest to `key` when it is close enough to be a slip of
// the keyboard (a couple of characters wrong, more for long keys); "" when
// none is.
std::string nearestKey(std::string_view key, const std::vector<std::string_view> &known) {
  const size_t allowed = std::max<size_t>(2, key.size() / 5);
  std::string_view nearest;
  size_t nearest_distance = allowed + 1;
  for (std::string_view candidate : known) {
    const size_t length_difference =
        candidate.size() > key.size() ? candidate.size() - key.size() : key.size() - candidate.size();
    if (length_difference > allowed)
      continue;  // too far apart, whatever the letters
    const size_t distance = editDistance(key, candidate);
    if (distance < nearest_distance) {
      nearest = candidate;
      nearest_distance = distance;
    }
  }
  return std::string(nearest);
}

// Walks the elements of the stripped text as the attribute parser does and
// records every problem of form: an unknown key, a known key set again
// (the parser takes the first), a setting that runs on into the next line
// or holds a second setting for want of a comma, and an element of colons
// only (the parser stops there). Returns the line of the first occurrence
// of each known key, the one that counts.
std::map<std::string, int, std::less<>> checkElements(const StrippedText &stripped,
                                                      const std::vector<std::string_view> &known,
                                                      std::vector<Problem> &problems) {
  std::map<std::string, int, std::less<>> key_lines;
  std::string_view rest(stripped.text);
  std::string_view element;
  while (nextAttributeToken(rest, ',', element)) {
    const size_t offset = static_cast<size_t>(element.data() - stripped.text.data());
    const int line = stripped.lineAt(offset);
    const int last_line = stripped.lineAt(offset + element.size() - 1);
    std::string_view tokens = element;
    std::string_view key, value, extra;
    if (!nextAttributeToken(tokens, ':', key)) {
      problems.push_back({line, "a setting made of ':' only ends the reading; the settings after it are ignored"});
      break;
    }
    nextAttributeToken(tokens, ':', value);
    if (last_line != line)
      problems.push_back({line, inQuotes(key) + " runs on into line " + std::to_string(last_line) +
                                    " (missing comma at the end of line " + std::to_string(line) + "?)"});
    else if (nextAttributeToken(tokens, ':', extra))
      problems.push_back({line, inQuotes(key) + " holds two settings (missing comma?); only " + inQuotes(value) +
                                    " is read as its value"});
    if (std::find(known.begin(), known.end(), key) != known.end()) {
      // The first occurrence counts; a later one says so, naming both lines.
      const auto [first, is_first] = key_lines.emplace(std::string(key), line);
      if (!is_first) {
        const std::string first_line = std::to_string(first->second);
        problems.push_back({line, inQuotes(key) + " is set again (first on line " + first_line +
                                      "); the setting on line " + first_line + " counts, this one is ignored"});
      }
      continue;
    }
    std::string problem = "unknown key " + inQuotes(key);
    const std::string nearest = nearestKey(key, known);
    if (key[0] == '#')
      problem += " (only a '#' in the first column starts a comment)";
    else if (!nearest.empty())
      problem += " (did you mean '" + nearest + "'?)";
    problems.push_back({line, problem});
  }
  return key_lines;
}

// "window" or "terminal" from the environment; anything else is refused
// with a message naming where it came from.
void setDisplay(const std::string &value, int &field, const char *origin) {
  if (value.empty())
    return;
  if (value == "window")
    field = DISPLAY_WINDOW;
  else if (value == "terminal")
    field = DISPLAY_TERMINAL;
  else
    LogManager::getInstance().writeLog("loadConfig(): Unsupported display '%s' (from %s)", value.c_str(), origin);
}

}  // namespace

Config::Config()
    : window_horizontal_pixels(1024),
      window_vertical_pixels(768),
      window_horizontal_chars(80),
      window_vertical_chars(24),
      window_style(STYLE_DEFAULT),
      window_background_color(0),
      frame_time(33),
      font_scale(2.0f),
      window_title("Corvane"),
      show_mouse(false),
      headless(false),
      font_file("cv-font.ttf"),
      logfile(LOGFILE_NAME),
      random_seed(0),
      networking(false),
      quadtree_threshold(1),
      quadtree_depth(10),
      grid_width(20),
      grid_height(8),
      display(DISPLAY_WINDOW),
      log_level(0),
      log_level_given(false),
      config_file_found(false) {}

Config &Config::getInstance() {
  static Config config;
  return config;
}

std::string Config::readConfigFile() const {
  const char *from_environment = std::getenv("CORVANE_CONFIG");
  const std::string filename = from_environment ? from_environment : CONFIG_FILENAME;
  config_file = filename;
  std::string contents;
  const ReadResult result = readFile(filename, contents);
  config_file_found = result != ReadResult::UNREADABLE;
  switch (result) {
    case ReadResult::UNREADABLE:
      LogManager::getInstance().writeLog(1, "Config::readConfig(): Cannot open Corvane configuration file '%s'.",
                                         filename.c_str());
      return "";
    case ReadResult::TOO_LARGE:
      LogManager::getInstance().writeLog(
          "Config::readConfig(): Error! configuration file '%s' is larger than %zu bytes.", filename.c_str(),
          CONFIG_MAX_BYTES);
      return "";
    case ReadResult::READ:
      break;
  }
  return contents;
}

std::string Config::readConfig() const { return joined(linesOf(readConfigFile(), true)); }

void Config::loadConfig(std::string text) {
  // The lines, numbered as the file numbers them, so that a warning can name
  // the line a mistake is on. A text given directly is numbered by its own
  // line breaks.
  std::vector<SourceLine> lines;
  if (text.empty()) {
    lines = linesOf(readConfigFile(), true);
    text = joined(lines);
  } else {
    lines = linesOf(text, false);
  }
  config_text = text;
  // Without text there is nothing to parse; a look-up would read the table
  // some other reader left behind.
  if (text.empty()) {
    readDisplayVariable();
    return;
  }

  std::vector<std::string_view> known;
  for (const Setting &setting : settings())
    known.emplace_back(setting.key);
  std::vector<Problem> problems;
  const auto key_lines = checkElements(StrippedText(lines), known, problems);
  lines.clear();

  // The first look-up parses the text; every later one reads the kept table.
  bool parsed = false;
  for (const Setting &setting : settings()) {
    const std::string value = match(parsed ? std::string() : std::move(text), setting.key);
    parsed = true;
    const auto found = key_lines.find(setting.key);
    const int line = found == key_lines.end() ? 0 : found->second;
    std::string problem;
    if (value.empty()) {
      if (found != key_lines.end())
        problems.push_back({line, inQuotes(setting.key) + " has no value; it stays " + inQuotes(currentText(setting))});
      continue;
    }
    const bool taken = applySetting(setting, value, problem);
    if (!problem.empty())
      problems.push_back({line, problem});
    if (taken && setting.field == decltype(setting.field)(&Config::log_level))
      log_level_given = true;
  }
  reportProblems(problems);
  // The environment has the last word.
  readDisplayVariable();
}

bool Config::applySetting(const Setting &setting, const std::string &value, std::string &problem) {
  const std::string stays = "; it stays " + inQuotes(currentText(setting));
  const std::string what = inQuotes(setting.key) + " value " + inQuotes(value);
  switch (setting.kind) {
    case Kind::WHOLE_NUMBER: {
      int number = 0;
      bool out_of_range = false;
      if (!readWholeNumber(value, number, out_of_range)) {
        problem = what + " is not a whole number" + stays;
        return false;
      }
      if (out_of_range || !inRange(number, setting.range)) {
        problem = what + " is out of range (" + rangeText(setting.range) + ")" + stays;
        return false;
      }
      this->*std::get<int Config::*>(setting.field) = number;
      if (number == 0 && setting.field == decltype(setting.field)(&Config::frame_time))
        problem = inQuotes(setting.key) + " is 0: the game loop runs unpaced, it never sleeps";
      return true;
    }
    case Kind::NUMBER: {
      float number = 0;
      if (!readNumber(value, number)) {
        problem = what + " is not a number" + stays;
        return false;
      }
      if (!std::isfinite(number) || (setting.range == Range::ABOVE_ZERO && !(number > 0))) {
        problem = what + " is out of range (" + rangeText(setting.range) + ")" + stays;
        return false;
      }
      this->*std::get<float Config::*>(setting.field) = number;
      return true;
    }
    case Kind::TEXT:
      this->*std::get<std::string Config::*>(setting.field) = value;
      return true;
    case Kind::SWITCH:
      if (value != "true" && value != "false")
        problem = what + " is neither true nor false; it reads as false";
      this->*std::get<bool Config::*>(setting.field) = value == "true";
      return true;
    case Kind::NAMED:
      for (const NamedValue &named : setting.names) {
        if (value == named.name) {
          this->*std::get<int Config::*>(setting.field) = named.value;
          return true;
        }
      }
      LogManager::getInstance().writeLog("loadConfig(): Unsupported %s '%s'", setting.what, value.c_str());
      return false;
  }
  return false;
}

std::string Config::currentText(const Setting &setting) const {
  switch (setting.kind) {
    case Kind::WHOLE_NUMBER:
      return std::to_string(this->*std::get<int Config::*>(setting.field));
    case Kind::NUMBER: {
      std::ostringstream number;
      number << this->*std::get<float Config::*>(setting.field);
      return number.str();
    }
    case Kind::TEXT:
      return this->*std::get<std::string Config::*>(setting.field);
    case Kind::SWITCH:
      return boolText(this->*std::get<bool Config::*>(setting.field));
    case Kind::NAMED: {
      const int value = this->*std::get<int Config::*>(setting.field);
      for (const NamedValue &named : setting.names)
        if (named.value == value)
          return named.name;
      return std::to_string(value);
    }
  }
  return "";
}

void Config::readDisplayVariable() {
  const char *from_environment = std::getenv("CORVANE_DISPLAY");
  if (from_environment)
    setDisplay(from_environment, display, "CORVANE_DISPLAY");
}

void Config::print() const {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(1, "-----------------------------------");
  log_manager.writeLog(1, "Corvane configuration:");
  log_manager.writeLog(1, "  Window horizontal pixels: %d", window_horizontal_pixels);
  log_manager.writeLog(1, "  Window vertical pixels: %d", window_vertical_pixels);
  log_manager.writeLog(1, "  Window horizontal characters: %d", window_horizontal_chars);
  log_manager.writeLog(1, "  Window vertical characters: %d", window_vertical_chars);
  log_manager.writeLog(1, "  Window background color: %d", window_background_color);
  log_manager.writeLog(1, "  Frame time: %d", frame_time);
  log_manager.writeLog(1, "  Window style: %s", window_style == STYLE_DEFAULT ? "default" : "fullscreen");
  log_manager.writeLog(1, "  Window title: %s", window_title.c_str());
  log_manager.writeLog(1, "  Show mouse: %s", boolText(show_mouse));
  log_manager.writeLog(1, "  Headless: %s", boolText(headless));
  log_manager.writeLog(1, "  Font file: %s", font_file.c_str());
  log_manager.writeLog(1, "  Log file: %s", logfile.c_str());
  log_manager.writeLog(1, "  Random seed: %d", random_seed);
  log_manager.writeLog(1, "  Networking: %s", boolText(networking));
  log_manager.writeLog(1, "  Grid width: %d", grid_width);
  log_manager.writeLog(1, "  Grid height: %d", grid_height);
  log_manager.writeLog(1, "  Quadtree threshold: %d", quadtree_threshold);
  log_manager.writeLog(1, "  Quadtree depth: %d", quadtree_depth);
  log_manager.writeLog(1, "-----------------------------------");
}

std::string Config::getConfigText() const { return config_text; }
int Config::getWindowHorizontalPixels() const { return window_horizontal_pixels; }
int Config::getWindowVerticalPixels() const { return window_vertical_pixels; }
int Config::getWindowHorizontalChars() const { return window_horizontal_chars; }
int Config::getWindowVerticalChars() const { return window_vertical_chars; }
int Config::getWindowStyle() const { return window_style; }
int Config::getWindowBackgroundColor() const { return window_background_color; }
int Config::getFrameTime() const { return frame_time; }
float Config::getFontScale() const { return font_scale; }
std::string Config::getWindowTitle() const { return window_title; }
bool Config::getShowMouse() const { return show_mouse; }
bool Config::getHeadless() const { return headless; }
std::string Config::getFontFile() const { return font_file; }
std::string Config::getLogFile() const { return logfile; }
std::string Config::getConfigFile() const { return config_file; }
bool Config::getConfigFileFound() const { return config_file_found; }
int Config::getRandomSeed() const { return random_seed; }
bool Config::getNetworking() const { return networking; }
int Config::getQuadtreeThreshold() const { return quadtree_threshold; }
int Config::getQuadtreeDepth() const { return quadtree_depth; }
int Config::getGridWidth() const { return grid_width; }
int Config::getGridHeight() const { return grid_height; }
DisplayMode Config::getDisplay() const { return static_cast<DisplayMode>(display); }
int Config::getLogLevel() const { return log_level; }
bool Config::hasLogLevel() const { return log_level_given; }

}  // namespace cv
