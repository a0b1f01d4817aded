#include "foundation/Config.h"

#include <algorithm>
#include <climits>
#include <cstdlib>  // Required for: getenv(), strtol(), strtof()
#include <fstream>

#include "foundation/LogManager.h"
#include "hud/match.h"

namespace cv {

namespace {

// Window style bits of the window library.
const int STYLE_DEFAULT = 5;
const int STYLE_FULLSCREEN = 8;

const char *const COLOR_NAMES[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};

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

// Joins the lines of `contents` without separator, each with one trailing
// carriage return removed, skipping empty lines and lines starting with "#".
std::string joinLines(const std::string &contents) {
  std::string text;
  size_t start = 0;
  while (start < contents.size()) {
    size_t end = contents.find('\n', start);
    if (end == std::string::npos)
      end = contents.size();
    size_t length = end - start;
    if (length > 0 && contents[start + length - 1] == '\r')
      length--;
    if (length > 0 && contents[start] != '#')
      text.append(contents, start, length);
    start = end + 1;
  }
  return text;
}

// Decimal integer as atoi reads it (leading digits, 0 if none), with values
// beyond the int range held at its ends.
int toInt(const std::string &value) {
  const long number = std::strtol(value.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long>(number, INT_MIN, INT_MAX));
}

// A non-empty value sets an int field; an empty one leaves it.
void setInt(const std::string &value, int &field) {
  if (!value.empty())
    field = toInt(value);
}

// Decimal number as atof reads it, converted straight to float so that a
// value beyond the float range gives infinity.
void setFloat(const std::string &value, float &field) {
  if (!value.empty())
    field = std::strtof(value.c_str(), nullptr);
}

void setString(const std::string &value, std::string &field) {
  if (!value.empty())
    field = value;
}

// Only the exact text "true" is true.
void setBool(const std::string &value, bool &field) {
  if (!value.empty())
    field = value == "true";
}

void setColor(const std::string &value, int &field) {
  if (value.empty())
    return;
  for (int color = 0; color < 8; color++) {
    if (value == COLOR_NAMES[color]) {
      field = color;
      return;
    }
  }
  LogManager::getInstance().writeLog("loadConfig(): Unsupported window color '%s'", value.c_str());
}

void setStyle(const std::string &value, int &field) {
  if (value.empty())
    return;
  if (value == "fullscreen")
    field = STYLE_FULLSCREEN;
  else if (value == "default")
    field = STYLE_DEFAULT;
  else
    LogManager::getInstance().writeLog("loadConfig(): Unsupported window style '%s'", value.c_str());
}

// "window" or "terminal"; anything else is refused with a message.
void setDisplay(const std::string &value, DisplayMode &field, const char *origin) {
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
      log_level_given(false) {}

Config &Config::getInstance() {
  static Config config;
  return config;
}

std::string Config::readConfig() const {
  const char *from_environment = std::getenv("CORVANE_CONFIG");
  const std::string filename = from_environment ? from_environment : CONFIG_FILENAME;
  std::string contents;
  switch (readFile(filename, contents)) {
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
  return joinLines(contents);
}

void Config::loadConfig(std::string text) {
  if (text.empty())
    text = readConfig();
  config_text = text;
  // Without text there is nothing to parse; a look-up would read the table
  // some other reader left behind.
  if (text.empty()) {
    readDisplayVariable();
    return;
  }

  // The first look-up parses the text; every later one reads the kept table.
  setInt(match(std::move(text), "frame_time"), frame_time);
  setFloat(match("", "font_scale"), font_scale);
  setInt(match("", "window_horizontal_pixels"), window_horizontal_pixels);
  setInt(match("", "window_vertical_pixels"), window_vertical_pixels);
  setInt(match("", "window_horizontal_chars"), window_horizontal_chars);
  setInt(match("", "window_vertical_chars"), window_vertical_chars);
  setColor(match("", "window_background_color"), window_background_color);
  setStyle(match("", "window_style"), window_style);
  setString(match("", "window_title"), window_title);
  setBool(match("", "show_mouse"), show_mouse);
  setBool(match("", "headless"), headless);
  setString(match("", "font_file"), font_file);
  setString(match("", "logfile"), logfile);
  setInt(match("", "random_seed"), random_seed);
  setBool(match("", "networking"), networking);
  setInt(match("", "grid_width"), grid_width);
  setInt(match("", "grid_height"), grid_height);
  setInt(match("", "quadtree_depth"), quadtree_depth);
  setInt(match("", "quadtree_threshold"), quadtree_threshold);
  const std::string level = match("", "log_level");
  setInt(level, log_level);
  log_level_given = log_level_given || !level.empty();
  setDisplay(match("", "display"), display, "the configuration");
  // The environment has the last word.
  readDisplayVariable();
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
int Config::getRandomSeed() const { return random_seed; }
bool Config::getNetworking() const { return networking; }
int Config::getQuadtreeThreshold() const { return quadtree_threshold; }
int Config::getQuadtreeDepth() const { return quadtree_depth; }
int Config::getGridWidth() const { return grid_width; }
int Config::getGridHeight() const { return grid_height; }
DisplayMode Config::getDisplay() const { return display; }
int Config::getLogLevel() const { return log_level; }
bool Config::hasLogLevel() const { return log_level_given; }

}  // namespace cv
