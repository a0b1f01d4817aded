#include "foundation/Config.h"

#include <cstdlib>  // Required for: getenv(), atoi(), atof()
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

// Converts a non-empty value to an int, as atoi does; empty leaves `field`.
void readInt(const std::string &key, int &field) {
  const std::string value = match("", key);
  if (!value.empty())
    field = std::atoi(value.c_str());
}

void readFloat(const std::string &key, float &field) {
  const std::string value = match("", key);
  if (!value.empty())
    field = static_cast<float>(std::atof(value.c_str()));
}

void readString(const std::string &key, std::string &field) {
  const std::string value = match("", key);
  if (!value.empty())
    field = value;
}

// Only the exact text "true" is true.
void readBool(const std::string &key, bool &field) {
  const std::string value = match("", key);
  if (!value.empty())
    field = value == "true";
}

void readColor(int &field) {
  const std::string value = match("", "window_background_color");
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

void readStyle(int &field) {
  const std::string value = match("", "window_style");
  if (value.empty())
    return;
  if (value == "fullscreen")
    field = STYLE_FULLSCREEN;
  else if (value == "default")
    field = STYLE_DEFAULT;
  else
    LogManager::getInstance().writeLog("loadConfig(): Unsupported window style '%s'", value.c_str());
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
      log_level(0) {}

Config &Config::getInstance() {
  static Config config;
  return config;
}

std::string Config::readConfig() const {
  const char *from_environment = std::getenv("CORVANE_CONFIG");
  const std::string filename = from_environment ? from_environment : CONFIG_FILENAME;
  std::ifstream file(filename);
  if (!file.is_open()) {
    LogManager::getInstance().writeLog(1, "Config::readConfig(): Cannot open Corvane configuration file '%s'.",
                                       filename.c_str());
    return "";
  }
  std::string text;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || line[0] == '#')
      continue;
    text += line;
  }
  return text;
}

void Config::loadConfig(std::string text) {
  if (text.empty())
    text = readConfig();
  config_text = text;
  if (text.empty())
    return;  // nothing to read: looking up would read another text's table
  match(text, "");  // parse once; every look-up below reads the kept table

  readInt("frame_time", frame_time);
  readFloat("font_scale", font_scale);
  readInt("window_horizontal_pixels", window_horizontal_pixels);
  readInt("window_vertical_pixels", window_vertical_pixels);
  readInt("window_horizontal_chars", window_horizontal_chars);
  readInt("window_vertical_chars", window_vertical_chars);
  readColor(window_background_color);
  readStyle(window_style);
  readString("window_title", window_title);
  readBool("show_mouse", show_mouse);
  readBool("headless", headless);
  readString("font_file", font_file);
  readString("logfile", logfile);
  readInt("random_seed", random_seed);
  readBool("networking", networking);
  readInt("grid_width", grid_width);
  readInt("grid_height", grid_height);
  readInt("quadtree_depth", quadtree_depth);
  readInt("quadtree_threshold", quadtree_threshold);
  readInt("log_level", log_level);
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
int Config::getLogLevel() const { return log_level; }

}  // namespace cv
