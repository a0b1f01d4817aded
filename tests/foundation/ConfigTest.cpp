#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

namespace {

using Settings = std::map<std::string, std::string>;

// Every setting as the accessors give it, by key.
Settings settings() {
  const cv::Config &config = cv::Config::getInstance();
  std::ostringstream scale;
  scale << config.getFontScale();
  auto text = [](bool value) { return std::string(value ? "true" : "false"); };
  return {{"window_horizontal_pixels", std::to_string(config.getWindowHorizontalPixels())},
          {"window_vertical_pixels", std::to_string(config.getWindowVerticalPixels())},
          {"window_horizontal_chars", std::to_string(config.getWindowHorizontalChars())},
          {"window_vertical_chars", std::to_string(config.getWindowVerticalChars())},
          {"window_style", std::to_string(config.getWindowStyle())},
          {"window_background_color", std::to_string(config.getWindowBackgroundColor())},
          {"frame_time", std::to_string(config.getFrameTime())},
          {"font_scale", scale.str()},
          {"window_title", config.getWindowTitle()},
          {"show_mouse", text(config.getShowMouse())},
          {"headless", text(config.getHeadless())},
          {"font_file", config.getFontFile()},
          {"logfile", config.getLogFile()},
          {"random_seed", std::to_string(config.getRandomSeed())},
          {"networking", text(config.getNetworking())},
          {"quadtree_threshold", std::to_string(config.getQuadtreeThreshold())},
          {"quadtree_depth", std::to_string(config.getQuadtreeDepth())},
          {"grid_width", std::to_string(config.getGridWidth())},
          {"grid_height", std::to_string(config.getGridHeight())},
          {"log_level", std::to_string(config.getLogLevel())},
          {"display", config.getDisplay() == cv::DISPLAY_TERMINAL ? "terminal" : "window"}};
}

const Settings DEFAULTS = {
    {"window_horizontal_pixels", "1024"}, {"window_vertical_pixels", "768"}, {"window_horizontal_chars", "80"},
    {"window_vertical_chars", "24"},      {"window_style", "5"},             {"window_background_color", "0"},
    {"frame_time", "33"},                 {"font_scale", "2"},               {"window_title", "Corvane"},
    {"show_mouse", "false"},              {"headless", "false"},             {"font_file", "cv-font.ttf"},
    {"logfile", "corvane.log"},           {"random_seed", "0"},              {"networking", "false"},
    {"quadtree_threshold", "1"},          {"quadtree_depth", "10"},          {"grid_width", "20"},
    {"grid_height", "8"},                 {"log_level", "0"},                {"display", "window"}};

// The defaults with some settings changed.
Settings defaultsWith(const Settings &changes) {
  Settings result = DEFAULTS;
  for (const auto &[key, value] : changes)
    result[key] = value;
  return result;
}

// Points "CORVANE_CONFIG" at a fresh file holding `contents`.
std::string useConfigFile(const std::string &contents) {
  const std::string path = cvtest::makeTempDirectory() + "/cv-config.txt";
  cvtest::writeFile(path, contents);
  setenv("CORVANE_CONFIG", path.c_str(), 1);
  return path;
}

// Loads the configuration file with standard error captured; returns what it got.
std::string loadFileCapturingStderr() {
  testing::internal::CaptureStderr();
  cv::Config::getInstance().loadConfig("");
  return testing::internal::GetCapturedStderr();
}

bool endsWithLine(const std::string &output, const std::string &message) {
  const std::string line = " " + message + "\n";
  return output.size() >= line.size() && output.compare(output.size() - line.size(), line.size(), line) == 0;
}

}  // namespace

TEST(Config, GameRunDirectoryFileSpellsOutEveryDefault) {
  EXPECT_EQ(settings(), DEFAULTS);  // before any load
  const std::filesystem::path file =
      std::filesystem::path(CORVANE_TEST_FIXTURES).parent_path().parent_path() / "game" / "cv-config.txt";
  setenv("CORVANE_CONFIG", file.string().c_str(), 1);
  EXPECT_EQ(loadFileCapturingStderr(), "");  // the game starts without a warning
  EXPECT_EQ(settings(), DEFAULTS);
  for (const auto &entry : DEFAULTS)
    EXPECT_NE(cv::match("", entry.first), "") << entry.first << " is not written out";

  // Every setting line closes with its comma and has a comment line above it.
  std::ifstream in(file);
  std::string previous;
  for (std::string line; std::getline(in, line); previous = line) {
    if (line.empty() || line[0] == '#')
      continue;
    EXPECT_EQ(line.back(), ',') << line;
    EXPECT_EQ(previous.rfind("#", 0), 0u) << line << " has no comment above it";
  }
}

TEST(Config, ReadsCvConfigFromTheWorkingDirectoryUnlessTheVariableNamesAnother) {
  const std::string directory = cvtest::makeTempDirectory();
  cvtest::writeFile(directory + "/cv-config.txt", "frame_time:12,\n");
  std::filesystem::current_path(directory);
  unsetenv("CORVANE_CONFIG");
  cv::Config::getInstance().loadConfig("");
  EXPECT_EQ(cv::Config::getInstance().getFrameTime(), 12);

  useConfigFile("frame_time:13,\n");
  cv::Config::getInstance().loadConfig("");
  EXPECT_EQ(cv::Config::getInstance().getFrameTime(), 13);
}

TEST(Config, CrlfAndLfLineEndsGiveTheSameSettings) {
  // A comment without a comma would swallow the next setting if it were read.
  const std::vector<std::string> lines = {"# frame time below",   "frame_time:25,",         "",
                                          "window_title:Two Ends,", "window_style:fullscreen,", "show_mouse:true,",
                                          "font_scale:1.5,",        "#",                        "random_seed:7,"};
  const Settings expected = defaultsWith({{"frame_time", "25"},
                                          {"window_title", "TwoEnds"},
                                          {"window_style", "8"},
                                          {"show_mouse", "true"},
                                          {"font_scale", "1.5"},
                                          {"random_seed", "7"}});
  for (const std::string end : {"\r\n", "\n"}) {
    std::string contents;
    for (const std::string &line : lines)
      contents += line + end;
    useConfigFile(contents);
    EXPECT_EQ(loadFileCapturingStderr(), "");
    EXPECT_EQ(settings(), expected) << (end == "\n" ? "LF" : "CRLF");
    EXPECT_EQ(cv::Config::getInstance().getConfigText(),
              "frame_time:25,window_title:Two Ends,window_style:fullscreen,show_mouse:true,font_scale:1.5,"
              "random_seed:7,");
  }
}

TEST(Config, ValuesConvert) {
  struct Case {
    std::string text, key, expected;
  };
  // In order: each row starts from what the rows above left.
  const Case cases[] = {
      {"window_title:My Game,", "window_title", "MyGame"},
      {"show_mouse:true,", "show_mouse", "true"},
      {"show_mouse:True,", "show_mouse", "false"},  // only the exact "true" is true
      {"headless:true,", "headless", "true"},
      {"headless:1,", "headless", "false"},
      {"networking:true,", "networking", "true"},
      {"frame_time:,", "frame_time", "33"},  // an empty value leaves the setting
      {"frame_time:+7,", "frame_time", "7"},
      {"frame_time:007,", "frame_time", "7"},
      {"random_seed:2147483647,", "random_seed", "2147483647"},
      {"random_seed:-2147483648,", "random_seed", "-2147483648"},
      {"font_scale:0.25,", "font_scale", "0.25"},
      {"font_scale:1.5e1,", "font_scale", "15"},
      {"window_style:fullscreen,", "window_style", "8"},
      {"window_style:default,", "window_style", "5"},
      {"grid_width:3,grid_height:4,quadtree_threshold:5,quadtree_depth:6,log_level:2,", "quadtree_depth", "6"},
      {"frame_time:40,frame_time:50,", "frame_time", "40"},  // the first wins
      {"logfile:game.log,font_file:font.ttf,", "font_file", "font.ttf"},
  };
  for (const Case &c : cases) {
    cv::Config::getInstance().loadConfig(c.text);
    EXPECT_EQ(settings()[c.key], c.expected) << c.text;
  }
  const char *const colors[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
  for (int color = 7; color >= 0; color--) {
    cv::Config::getInstance().loadConfig(std::string("window_background_color:") + colors[color] + ",");
    EXPECT_EQ(cv::Config::getInstance().getWindowBackgroundColor(), color) << colors[color];
  }
  EXPECT_EQ(settings(), defaultsWith({{"window_title", "MyGame"},
                                      {"show_mouse", "false"},
                                      {"headless", "false"},
                                      {"networking", "true"},
                                      {"frame_time", "40"},
                                      {"random_seed", "-2147483648"},
                                      {"font_scale", "15"},
                                      {"grid_width", "3"},
                                      {"grid_height", "4"},
                                      {"quadtree_threshold", "5"},
                                      {"quadtree_depth", "6"},
                                      {"log_level", "2"},
                                      {"logfile", "game.log"},
                                      {"font_file", "font.ttf"}}));
}

// The messages of standard-error output, one per line.
std::vector<std::string> messagesOf(const std::string &output) {
  std::vector<std::string> messages;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    messages.push_back(cvtest::messageOf(line));
  return messages;
}

TEST(Config, MistakesAreWarnedByLineAndKeyAndRefusedValuesKeepTheDefault) {
  const std::string W = "Config::loadConfig(): Warning! ";
  struct Case {
    std::string contents;
    std::vector<std::string> warnings;
    std::string key, expected;  // the setting after loading
  };
  // Each file is loaded on its own; refused values leave the defaults.
  const Case cases[] = {
      {"# pace\nframe_time:3x3,\n",
       {W + "line 2: 'frame_time' value '3x3' is not a whole number; it stays '33'"}, "frame_time", "33"},
      {"frame_time:-5,", {W + "line 1: 'frame_time' value '-5' is out of range (0 to 2147483647); it stays '33'"},
       "frame_time", "33"},
      {"frame_time:1.5,", {W + "line 1: 'frame_time' value '1.5' is not a whole number; it stays '33'"},
       "frame_time", "33"},
      {"frame_time:0,", {W + "line 1: 'frame_time' is 0: the game loop runs unpaced, it never sleeps"}, "frame_time",
       "0"},
      {"font_scale:abc,", {W + "line 1: 'font_scale' value 'abc' is not a number; it stays '2'"}, "font_scale", "2"},
      {"font_scale:0,", {W + "line 1: 'font_scale' value '0' is out of range (a finite number above 0); it stays '2'"},
       "font_scale", "2"},
      {"font_scale:1e999,",
       {W + "line 1: 'font_scale' value '1e999' is out of range (a finite number above 0); it stays '2'"},
       "font_scale", "2"},
      {"window_horizontal_pixels:0,",
       {W + "line 1: 'window_horizontal_pixels' value '0' is out of range (1 to 2147483647); it stays '1024'"},
       "window_horizontal_pixels", "1024"},
      {"window_vertical_chars:-1,",
       {W + "line 1: 'window_vertical_chars' value '-1' is out of range (1 to 2147483647); it stays '24'"},
       "window_vertical_chars", "24"},
      {"random_seed:99999999999,",
       {W + "line 1: 'random_seed' value '99999999999' is out of range (-2147483648 to 2147483647); it stays '0'"},
       "random_seed", "0"},
      {"show_mouse:True,", {W + "line 1: 'show_mouse' value 'True' is neither true nor false; it reads as false"},
       "show_mouse", "false"},
      {"\nheadless,\n", {W + "line 2: 'headless' has no value; it stays 'false'"}, "headless", "false"},
      // Unknown keys, with the known key a slip of the keyboard away.
      {"# pace\n\nframe_tme:20,\nFrame_Time:21,\nfps:60,\n",
       {W + "line 3: unknown key 'frame_tme' (did you mean 'frame_time'?)",
        W + "line 4: unknown key 'Frame_Time' (did you mean 'frame_time'?)", W + "line 5: unknown key 'fps'"},
       "frame_time", "33"},
      {"window_horizontal_pixel:800,",
       {W + "line 1: unknown key 'window_horizontal_pixel' (did you mean 'window_horizontal_pixels'?)"},
       "window_horizontal_pixels", "1024"},
      // A missing comma: the setting runs into the next line, or a line
      // holds two settings; the run-together value is refused.
      {"frame_time:25\nfont_scale:3.5,\n",
       {W + "line 1: 'frame_time' runs on into line 2 (missing comma at the end of line 1?)",
        W + "line 1: 'frame_time' value '25font_scale' is not a whole number; it stays '33'"},
       "font_scale", "2"},
      {"frame_time:25 font_scale:3.5,\n",
       {W + "line 1: 'frame_time' holds two settings (missing comma?); only '25font_scale' is read as its value",
        W + "line 1: 'frame_time' value '25font_scale' is not a whole number; it stays '33'"},
       "frame_time", "33"},
      {"window_title:Tomato\r\n\r\nshow_mouse:true,\r\n",
       {W + "line 1: 'window_title' runs on into line 3 (missing comma at the end of line 1?)"}, "window_title",
       "Tomatoshow_mouse"},
      {"  # an indented comment\nframe_time:20,\n",
       {W + "line 1: '#anindentedcommentframe_time' runs on into line 2 (missing comma at the end of line 1?)",
        W + "line 1: unknown key '#anindentedcommentframe_time' (only a '#' in the first column starts a comment)"},
       "frame_time", "33"},
      {"a:1,::,frame_time:20,",
       {W + "line 1: unknown key 'a'",
        W + "line 1: a setting made of ':' only ends the reading; the settings after it are ignored"},
       "frame_time", "33"},
      // Bytes a terminal would act on are shown escaped.
      {"\x1b[2J:1,", {W + "line 1: unknown key '\\x1b[2J'"}, "frame_time", "33"},
      // The first occurrence counts; a later one is warned about, not read.
      {"frame_time:20,\n# again\nframe_time:oops,\n",
       {W + "line 3: 'frame_time' is set again (first on line 1); the setting on line 1 counts, this one is ignored"},
       "frame_time", "20"},
      {"frame_time:x,\nframe_time:20,\n",
       {W + "line 1: 'frame_time' value 'x' is not a whole number; it stays '33'",
        W + "line 2: 'frame_time' is set again (first on line 1); the setting on line 1 counts, this one is ignored"},
       "frame_time", "33"},
      {"headless:true,show_mouse:true,headless:false,\n",
       {W + "line 1: 'headless' is set again (first on line 1); the setting on line 1 counts, this one is ignored"},
       "headless", "true"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.contents);
    useConfigFile(c.contents);
    EXPECT_EQ(messagesOf(loadFileCapturingStderr()), c.warnings);
    EXPECT_EQ(settings()[c.key], c.expected);
    cv::Config::getInstance().loadConfig("frame_time:33,font_scale:2,window_title:Corvane,");
  }
}

TEST(Config, WarningsComeInLineOrderAndStopAtTwenty) {
  std::string contents = "frame_time:x,\n";
  for (int i = 2; i <= 30; i++)
    contents += "key" + std::to_string(i) + ":1,\n";
  useConfigFile(contents);
  const std::vector<std::string> warnings = messagesOf(loadFileCapturingStderr());
  ASSERT_EQ(warnings.size(), 21u);
  EXPECT_EQ(warnings[0],
            "Config::loadConfig(): Warning! line 1: 'frame_time' value 'x' is not a whole number; it stays '33'");
  EXPECT_EQ(warnings[19], "Config::loadConfig(): Warning! line 20: unknown key 'key20'");
  EXPECT_EQ(warnings[20], "Config::loadConfig(): Warning! 10 more problems not shown.");
}

TEST(Config, AGivenTextIsNumberedByItsOwnLineBreaks) {
  testing::internal::CaptureStderr();
  cv::Config::getInstance().loadConfig("headless:true,frame_time:20,\nshow_mose:true,");
  EXPECT_EQ(messagesOf(testing::internal::GetCapturedStderr()),
            (std::vector<std::string>{
                "Config::loadConfig(): Warning! line 2: unknown key 'show_mose' (did you mean 'show_mouse'?)"}));
  EXPECT_EQ(cv::Config::getInstance().getFrameTime(), 20);
}

TEST(Config, UnsupportedStyleOrColourKeepsTheValueAndSaysSo) {
  struct Case {
    std::string text, message, key, expected;
  };
  const Case cases[] = {
      {"window_style:windowed,window_title:Read,", "loadConfig(): Unsupported window style 'windowed'",
       "window_style", "5"},
      {"window_style:fullscreen,", "", "window_style", "8"},
      {"window_style:Fullscreen,", "loadConfig(): Unsupported window style 'Fullscreen'", "window_style", "8"},
      {"window_background_color:red,", "", "window_background_color", "1"},
      {"window_background_color:purple,window_title:StillRead,", "loadConfig(): Unsupported window color 'purple'",
       "window_background_color", "1"},
  };
  for (const Case &c : cases) {
    testing::internal::CaptureStderr();
    cv::Config::getInstance().loadConfig(c.text);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(settings()[c.key], c.expected) << c.text;
    if (c.message.empty()) {
      EXPECT_EQ(err, "") << c.text;
    } else {
      EXPECT_TRUE(endsWithLine(err, c.message)) << err;
    }
  }
  // The keys after the unsupported one are still read.
  EXPECT_EQ(cv::Config::getInstance().getWindowTitle(), "StillRead");
}

TEST(Config, UnsupportedStyleAtStartUpGoesToStandardErrorThenTheLog) {
  TestEngine engine("headless:true,window_style:windowed,");
  testing::internal::CaptureStderr();
  ASSERT_EQ(engine.start(), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(endsWithLine(err, "loadConfig(): Unsupported window style 'windowed'")) << err;
  EXPECT_TRUE(engine.logged("loadConfig(): Unsupported window style 'windowed'"));
  EXPECT_EQ(cv::Config::getInstance().getWindowStyle(), 5);
  engine.stop();
}

TEST(Config, KeysSetAgainAreWarnedAboutAtStartUpOnStandardErrorAndInTheLogWithinTheLimit) {
  std::string text = "headless:true,\n";
  for (int line = 2; line <= 25; line++)
    text += "frame_time:" + std::to_string(line) + ",\n";
  TestEngine engine(text);
  testing::internal::CaptureStderr();
  ASSERT_EQ(engine.start(), 0);
  const std::vector<std::string> err = messagesOf(testing::internal::GetCapturedStderr());
  std::vector<std::string> expected;
  for (int line = 3; line <= 22; line++)
    expected.push_back("Config::loadConfig(): Warning! line " + std::to_string(line) +
                       ": 'frame_time' is set again (first on line 2); the setting on line 2 counts, this one is "
                       "ignored");
  expected.push_back("Config::loadConfig(): Warning! 3 more problems not shown.");
  EXPECT_EQ(err, expected);
  // The log repeats them, in the same order (as many as it keeps of what
  // was written before it opened).
  std::vector<std::string> logged;
  for (const std::string &message : engine.messages())
    if (message.rfind("Config::loadConfig(): ", 0) == 0)
      logged.push_back(message);
  ASSERT_FALSE(logged.empty());
  ASSERT_LE(logged.size(), expected.size());
  EXPECT_TRUE(std::equal(logged.begin(), logged.end(), expected.begin()));
  EXPECT_EQ(cv::Config::getInstance().getFrameTime(), 2);
  engine.stop();
}

TEST(Config, UnopenableFileIsNamedAtLevelOneAndEveryDefaultHolds) {
  const std::string directory = cvtest::makeTempDirectory();
  for (const std::string &path : {directory + "/absent.txt", directory}) {
    setenv("CORVANE_CONFIG", path.c_str(), 1);
    const std::string message = "Config::readConfig(): Cannot open Corvane configuration file '" + path + "'.";
    cv::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(loadFileCapturingStderr(), "") << path;
    cv::LogManager::getInstance().setLogLevel(1);
    const std::string err = loadFileCapturingStderr();
    EXPECT_TRUE(endsWithLine(err, message)) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(settings(), DEFAULTS) << path;
  }
}

TEST(Config, SummaryLines) {
  TestEngine engine(
      "headless:true,log_level:1,window_horizontal_pixels:640,window_vertical_pixels:480,"
      "window_horizontal_chars:64,window_vertical_chars:20,window_background_color:blue,frame_time:20,"
      "window_style:fullscreen,window_title:Summary Test,show_mouse:true,font_file:other.ttf,logfile:other.log,"
      "random_seed:42,grid_width:3,grid_height:4,quadtree_threshold:5,quadtree_depth:6,");
  ASSERT_EQ(engine.start(), 0);
  std::vector<std::string> summary = engine.messagesFrom("Log Manager started.");
  ASSERT_GE(summary.size(), 22u);
  summary.resize(22);
  EXPECT_EQ(summary, (std::vector<std::string>{"Log Manager started.",
                                               "-----------------------------------",
                                               "Corvane configuration:",
                                               "  Window horizontal pixels: 640",
                                               "  Window vertical pixels: 480",
                                               "  Window horizontal characters: 64",
                                               "  Window vertical characters: 20",
                                               "  Window background color: 4",
                                               "  Frame time: 20",
                                               "  Window style: fullscreen",
                                               "  Window title: SummaryTest",
                                               "  Show mouse: true",
                                               "  Headless: true",
                                               "  Font file: other.ttf",
                                               "  Log file: other.log",
                                               "  Random seed: 42",
                                               "  Networking: false",
                                               "  Grid width: 3",
                                               "  Grid height: 4",
                                               "  Quadtree threshold: 5",
                                               "  Quadtree depth: 6",
                                               "-----------------------------------"}));
  engine.stop();
}

TEST(Config, AnyFileContentLoadsWithoutHarm) {
  // Files from which nothing can be read: every default holds.
  std::string every_byte;
  for (int repeat = 0; repeat < 4; repeat++)
    for (int byte = 0; byte < 256; byte++)
      every_byte += static_cast<char>(byte);
  const std::string unreadable[] = {"", "\n\n\r\n", "# only a comment,\n", "no commas and no colons here\n",
                                    std::string(1000000, ','), std::string(5000, ':') + ",frame_time:1,"};
  for (const std::string &contents : unreadable) {
    useConfigFile(contents);
    // At most one warning line (an unknown key, or colons only).
    const std::string err = loadFileCapturingStderr();
    EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(settings(), DEFAULTS) << contents.substr(0, 40);
  }

  // Files ending in a readable setting, each a different frame time.
  std::string ten_thousand_keys;
  for (int i = 0; i < 10000; i++)
    ten_thousand_keys += "key" + std::to_string(i) + ":" + std::to_string(i) + ",\n";
  struct Case {
    std::string name, contents;
    int frame_time;
  };
  const Case cases[] = {
      {"every byte value", every_byte + ",\nframe_time:41,\n", 41},
      {"null bytes", std::string("\0\x01\xff:\x7f\0,\n", 8) + "frame_time:42,", 42},
      {"a lone pair without comma", "frame_time:43", 43},
      {"a megabyte line", "window_title:" + std::string(1 << 20, 't') + ",\nframe_time:44,\n", 44},
      {"a million commas", std::string(1000000, ',') + "\nframe_time:46,\n", 46},
      {"ten thousand keys", ten_thousand_keys + "frame_time:45,\nframe_time:99,\n", 45},
  };
  for (const Case &c : cases) {
    useConfigFile(c.contents);
    // However many mistakes, the warnings stay a screenful.
    const std::string err = loadFileCapturingStderr();
    EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 21) << c.name;
    EXPECT_EQ(cv::Config::getInstance().getFrameTime(), c.frame_time) << c.name;
  }
  EXPECT_EQ(cv::Config::getInstance().getWindowTitle(), std::string(1 << 20, 't'));
  EXPECT_EQ(cv::match("", "key9999"), "9999");
}

TEST(Config, EndlessFileIsRefused) {
  setenv("CORVANE_CONFIG", "/dev/zero", 1);
  const std::string err = loadFileCapturingStderr();
  EXPECT_TRUE(endsWithLine(
      err, "Config::readConfig(): Error! configuration file '/dev/zero' is larger than 16777216 bytes."))
      << err;
  EXPECT_EQ(settings(), DEFAULTS);
  EXPECT_EQ(cv::Config::getInstance().getConfigText(), "");
}

TEST(Config, LooksUpTheKeysInOrderParsingOnce) {
  cv::LogManager::getInstance().setLogLevel(25);
  testing::internal::CaptureStderr();
  cv::Config::getInstance().loadConfig("frame_time: 20,");
  std::istringstream err(testing::internal::GetCapturedStderr());
  std::vector<std::string> calls;
  for (std::string line; std::getline(err, line);) {
    const std::string message = cvtest::messageOf(line);
    if (message.rfind("match(\"", 0) == 0)
      calls.push_back(message);
  }
  std::vector<std::string> expected = {"match(\"frame_time: 20,\", \"frame_time\")"};
  for (const char *key : {"font_scale", "window_horizontal_pixels", "window_vertical_pixels",
                          "window_horizontal_chars", "window_vertical_chars", "window_background_color",
                          "window_style", "window_title", "show_mouse", "headless", "font_file", "logfile",
                          "random_seed", "networking", "grid_width", "grid_height", "quadtree_depth",
                          "quadtree_threshold", "log_level", "display"})
    expected.push_back(std::string("match(\"\", \"") + key + "\")");
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(cv::Config::getInstance().getFrameTime(), 20);
}

TEST(Config, DisplayKeyWithTheEnvironmentHavingTheLastWord) {
  struct Case {
    const char *text;         // configuration text
    const char *environment;  // CORVANE_DISPLAY, null for unset
    cv::DisplayMode expected;
    const char *message;      // what standard error ends with, "" for nothing
  };
  const Case cases[] = {
      {"frame_time:33,", nullptr, cv::DISPLAY_WINDOW, ""},
      {"display:terminal,", nullptr, cv::DISPLAY_TERMINAL, ""},
      {"display:window,", nullptr, cv::DISPLAY_WINDOW, ""},
      {"display:window,", "terminal", cv::DISPLAY_TERMINAL, ""},
      {"display:terminal,", "window", cv::DISPLAY_WINDOW, ""},
      {"display:Terminal,", nullptr, cv::DISPLAY_WINDOW, "loadConfig(): Unsupported display 'Terminal'"},
      {"display:terminal,", "tty", cv::DISPLAY_TERMINAL, "loadConfig(): Unsupported display 'tty' (from CORVANE_DISPLAY)"},
  };
  for (const Case &c : cases) {
    if (c.environment)
      setenv("CORVANE_DISPLAY", c.environment, 1);
    else
      unsetenv("CORVANE_DISPLAY");
    cv::Config::getInstance().loadConfig("display:window,");  // the same start for every case
    testing::internal::CaptureStderr();
    cv::Config::getInstance().loadConfig(c.text);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(cv::Config::getInstance().getDisplay(), c.expected) << c.text << " " << (c.environment ? c.environment : "");
    if (*c.message)
      EXPECT_TRUE(endsWithLine(err, c.message)) << err;
    else
      EXPECT_EQ(err, "") << c.text;
  }
  unsetenv("CORVANE_DISPLAY");
}
