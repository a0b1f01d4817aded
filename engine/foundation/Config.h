#pragma once

#include <string>

namespace cv {

/// Default name of the configuration file, used unless "CORVANE_CONFIG" names another.
const std::string CONFIG_FILENAME = "cv-config.txt";

/// The engine's start-up settings, read once from the configuration file
/// (attribute text spread over lines). Values the file does not give keep
/// their defaults.
class Config {
 public:
  static Config &getInstance();

  /// The text of the configuration file, lines starting with "#" skipped and
  /// the rest joined without separator; "" if the file cannot be opened.
  std::string readConfig() const;

  /// Fills the settings from `text`, or from readConfig() when `text` is empty.
  void loadConfig(std::string text);

  /// Writes the configuration summary to the log.
  void print() const;

  std::string getConfigText() const;
  int getWindowHorizontalPixels() const;
  int getWindowVerticalPixels() const;
  int getWindowHorizontalChars() const;
  int getWindowVerticalChars() const;
  int getWindowStyle() const;
  int getWindowBackgroundColor() const;
  int getFrameTime() const;
  float getFontScale() const;
  std::string getWindowTitle() const;
  bool getShowMouse() const;
  bool getHeadless() const;
  std::string getFontFile() const;
  std::string getLogFile() const;
  int getRandomSeed() const;
  bool getNetworking() const;
  int getQuadtreeThreshold() const;
  int getQuadtreeDepth() const;
  int getGridWidth() const;
  int getGridHeight() const;
  int getLogLevel() const;

 private:
  Config();
  Config(const Config &) = delete;
  Config &operator=(const Config &) = delete;

  std::string config_text;       ///< the text the settings were read from
  int window_horizontal_pixels;  ///< window width in pixels
  int window_vertical_pixels;    ///< window height in pixels
  int window_horizontal_chars;   ///< columns of the character grid
  int window_vertical_chars;     ///< rows of the character grid
  int window_style;              ///< window style bits: 5 title bar and close, 8 full screen
  int window_background_color;   ///< colour value of the background
  int frame_time;                ///< milliseconds per game-loop iteration
  float font_scale;              ///< character size relative to the cell
  std::string window_title;      ///< text in the window's title bar
  bool show_mouse;               ///< show the mouse cursor over the window
  bool headless;                 ///< run without window and input
  std::string font_file;         ///< TrueType font file
  std::string logfile;           ///< log file name
  int random_seed;               ///< 0 time-based, -1 unseeded, else the seed
  bool networking;               ///< run the network manager
  int quadtree_threshold;        ///< reported only
  int quadtree_depth;            ///< reported only
  int grid_width;                ///< reported only
  int grid_height;               ///< reported only
  int log_level;                 ///< log level set when the log starts
};

}  // namespace cv
