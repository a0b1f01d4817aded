#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cv {

/// Default name of the configuration file, used unless "CORVANE_CONFIG" names another.
const std::string CONFIG_FILENAME = "cv-config.txt";

/// Largest configuration file read, in bytes; a larger one (or a device that
/// never ends) is refused and every setting keeps its value.
const std::size_t CONFIG_MAX_BYTES = 16 * 1024 * 1024;

/// Where the game is shown when not headless: the window (the default) or
/// the text terminal the program runs in.
enum DisplayMode {
  DISPLAY_WINDOW = 0,
  DISPLAY_TERMINAL = 1,
};

/// The engine's start-up settings, read once from the configuration file
/// (attribute text spread over lines). Values the file does not give keep
/// their defaults.
class Config {
 public:
  /// The one configuration, created with the defaults on first use.
  static Config &getInstance();

  /// The text of the configuration file ("CORVANE_CONFIG", else
  /// "cv-config.txt"): lines starting with "#" and empty lines skipped, one
  /// trailing carriage return removed from each line, the rest joined without
  /// separator. "" if the file cannot be opened or read, or is too large.
  std::string readConfig() const;

  /// Fills the settings from `text`, or from readConfig() when `text` is
  /// empty. Keys missing from the text keep their current values. Mistakes
  /// are reported, one line each naming the line and the key: an unknown key
  /// (with the nearest known one when it is close), a key set again (the
  /// first setting counts; both lines are named), a value that is not a
  /// number where one is expected or is out of its range (the setting then
  /// keeps its value), and a setting that runs into the next for want of a
  /// comma.
  void loadConfig(std::string text);

  /// Writes the configuration summary to the log at level 1.
  void print() const;

  /// The text the settings were last loaded from.
  std::string getConfigText() const;
  /// The configuration file the last reading of the file tried
  /// ("CORVANE_CONFIG", else "cv-config.txt"), as named: relative to the
  /// working directory. "" before the file is first read.
  std::string getConfigFile() const;
  /// Whether the last reading of the configuration file could open it
  /// (false when it is missing or unreadable; an empty or too large file was
  /// found). False before the file is first read.
  bool getConfigFileFound() const;
  /// Window width in pixels.
  int getWindowHorizontalPixels() const;
  /// Window height in pixels.
  int getWindowVerticalPixels() const;
  /// Columns of the character grid.
  int getWindowHorizontalChars() const;
  /// Rows of the character grid.
  int getWindowVerticalChars() const;
  /// Window style bits: 5 title bar and close button, 8 full screen.
  int getWindowStyle() const;
  /// Background colour as a colour value (0 black to 7 white).
  int getWindowBackgroundColor() const;
  /// Milliseconds per game-loop iteration.
  int getFrameTime() const;
  /// Character size relative to the cell.
  float getFontScale() const;
  /// Text of the window's title bar.
  std::string getWindowTitle() const;
  /// Whether the mouse cursor shows over the window.
  bool getShowMouse() const;
  /// Whether the engine runs without window and input.
  bool getHeadless() const;
  /// TrueType font file name.
  std::string getFontFile() const;
  /// Log file name (unless "CORVANE_LOG" names another).
  std::string getLogFile() const;
  /// Random seed: 0 from the clock, -1 unseeded, anything else the seed.
  int getRandomSeed() const;
  /// Whether the network manager runs.
  bool getNetworking() const;
  /// Reported in the summary only.
  int getQuadtreeThreshold() const;
  /// Reported in the summary only.
  int getQuadtreeDepth() const;
  /// Reported in the summary only.
  int getGridWidth() const;
  /// Reported in the summary only.
  int getGridHeight() const;
  /// Where the game is shown: the `display` key ("window" or "terminal"),
  /// overridden by the environment variable "CORVANE_DISPLAY".
  DisplayMode getDisplay() const;
  /// Log level the log manager takes when it starts, if the text gave one.
  int getLogLevel() const;
  /// Whether some text loaded so far gave the log level.
  bool hasLogLevel() const;

 private:
  /// One known key: how its value is read and the field it sets.
  struct Setting;

  Config();
  Config(const Config &) = delete;
  Config &operator=(const Config &) = delete;

  /// Every known key, in the order the keys are looked up.
  static const std::vector<Setting> &settings();
  /// The configuration file's whole contents; "" (logged) when it cannot be
  /// opened or read, or is too large.
  std::string readConfigFile() const;
  /// Sets `setting`'s field from the non-empty `value`. False when the value
  /// is refused and the field keeps its value; `problem` then says why where
  /// a warning is due. `problem` may also hold a notice for a value taken.
  bool applySetting(const Setting &setting, const std::string &value, std::string &problem);
  /// The current value of `setting`'s field as the file would write it.
  std::string currentText(const Setting &setting) const;
  /// Applies "CORVANE_DISPLAY" when it is set.
  void readDisplayVariable();

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
  int display;                   ///< a DisplayMode: window or terminal
  int log_level;                 ///< log level set when the log starts
  bool log_level_given;          ///< whether a loaded text gave log_level
  mutable std::string config_file;  ///< the configuration file last tried
  mutable bool config_file_found;   ///< whether config_file could be opened
};

}  // namespace cv
