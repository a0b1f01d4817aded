// Reading sprite files through ResourceManager::loadSprite: what loads, and
// every way a file is refused, with its messages and line numbers.

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;
using Messages = std::vector<std::string>;

namespace {

std::string fixture(const std::string &name) { return std::string(CORVANE_TEST_FIXTURES) + "/sprites/" + name; }

const std::string LOADING = "ResourceManager::loadSprite(): Loading sprite '";
const std::string OPENED = "ResourceManager::loadSprite(): Opened file '";
const std::string NOT_LOADED = "ResourceManager::loadSprite(): Sprite 'x' not loaded.";

// The messages of the last loadSprite after its "Loading sprite" line,
// without the "Opened file" line.
Messages lastLoad(const TestEngine &engine) {
  const Messages all = engine.messages();
  size_t start = all.size();
  for (size_t i = 0; i < all.size(); i++)
    if (all[i].rfind(LOADING, 0) == 0)
      start = i + 1;
  Messages result;
  for (size_t i = start; i < all.size(); i++)
    if (all[i].rfind(OPENED, 0) != 0)
      result.push_back(all[i]);
  return result;
}

// Loads `path` under `label` at `log_level` and returns the messages of that load.
Messages load(const TestEngine &engine, const std::string &path, int log_level, int expected_result,
              const std::string &label = "x") {
  cv::LogManager::getInstance().setLogLevel(log_level);
  EXPECT_EQ(cv::ResourceManager::getInstance().loadSprite(path, label), expected_result);
  return lastLoad(engine);
}

}  // namespace

TEST(SpriteFile, GoodFilesLoadWithTheirSettingsAndNotices) {
  const std::string no_color = "ResourceManager::loadSprite(): Warning! No 'color' in header.";
  const std::string no_transparency = "ResourceManager::loadSprite(): Warning! No 'transparency' in header.";
  const std::string no_slowdown = "ResourceManager::loadSprite(): Warning! No 'slowdown' in header.";
  const struct {
    std::string file;
    int log_level;
    int frames, width, height;
    cv::Color color;
    int slowdown;
    char transparency;
    Messages messages;
  } cases[] = {
      {"example.txt", 15, 2, 3, 2, cv::GREEN, 4, '#',
       {"\t      Frames: 2", "\t       Width: 3", "\t      Height: 2", "\t    Slowdown: 4", "\tTransparency: #",
        "\t       Color: green", "Sprite 'example.txt' frames:", "Frame 1:", "\t/o\\", "\t#^#", "Frame 2:",
        "\t\\o/", "\t#v#"}},
      {"crlf.txt", 1, 2, 3, 2, cv::GREEN, 4, '#', {}},
      {"defaults.txt", 5, 1, 2, 1, cv::WHITE, 0, 0,
       {no_color, no_transparency, no_slowdown, "\t      Frames: 1", "\t       Width: 2", "\t      Height: 1",
        "\t    Slowdown: 0", "\tTransparency: (none)", "\t       Color: default"}},
      {"two-widths.txt", 1, 1, 3, 1, cv::WHITE, 1, ' ',
       {"matchLineInt(): Warning! 'width 3' matches multiple lines."}},
      {"unused-header.txt", 1, 1, 1, 1, cv::RED, 2, '.',
       {"ResourceManager::loadSprite(): Warning! Unused HEADER lines:", "\t'author us'",
        "ResourceManager::loadSprite(): Warning! Unused FOOTER lines:", "\t'note unused'"}},
  };
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  for (const auto &c : cases) {
    SCOPED_TRACE(c.file);
    Messages expected = c.messages;
    expected.push_back("ResourceManager::loadSprite(): Sprite '" + c.file + "' loaded.");
    EXPECT_EQ(load(engine, fixture(c.file), c.log_level, 0, c.file), expected);
    cv::LogManager::getInstance().setLogLevel(0);
    const cv::Sprite *sprite = resources.getSprite(c.file);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getLabel(), c.file);
    EXPECT_EQ(sprite->getFrameCount(), c.frames);
    EXPECT_EQ(sprite->getWidth(), c.width);
    EXPECT_EQ(sprite->getHeight(), c.height);
    EXPECT_EQ(sprite->getColor(), c.color);
    EXPECT_EQ(sprite->getSlowdown(), c.slowdown);
    EXPECT_EQ(sprite->getTransparency(), c.transparency);
    for (int i = 0; i < sprite->getFrameCount(); i++) {
      EXPECT_EQ(sprite->getFrame(i).getWidth(), c.width);
      EXPECT_EQ(sprite->getFrame(i).getHeight(), c.height);
      EXPECT_EQ(sprite->getFrame(i).getString().size(), static_cast<size_t>(c.width * c.height));
    }
  }
  const cv::Sprite *example = resources.getSprite("example.txt");
  EXPECT_EQ(example->getFrame(0).getString(), "/o\\#^#");
  EXPECT_EQ(example->getFrame(1).getString(), "\\o/#v#");
  EXPECT_EQ(resources.getSprite("crlf.txt")->getFrame(1).getString(), "\\o/#v#");
}

TEST(SpriteFile, MalformedFilesAreRefusedWithTheLinesAtFault) {
  const std::string no_frame_data = "ResourceManager::loadSprite(): Error! No frame data to add.";
  const std::string colors_1 = "  Valid colors are: black, red, green, yellow,";
  const std::string colors_2 = "                    blue, magenta, cyan and white.";
  const struct {
    std::string file;
    int log_level;
    Messages messages;
  } cases[] = {
      {"capital-color.txt", 0,
       {"ResourceManager::loadSprite(): Error! Unrecognized color 'Green'.", colors_1, colors_2,
        NOT_LOADED}},
      {"color-trailing.txt", 0,
       {"ResourceManager::loadSprite(): Error! Unrecognized color 'green '.", colors_1, colors_2,
        NOT_LOADED}},
      {"row-too-long.txt", 0,
       {"\tError! Line 14: Line length is 4 (frame width is 3).", "\tLine 14: '#vv#'", no_frame_data, NOT_LOADED}},
      {"missing-end.txt", 0, {"\tError! Line 12: Expected 'end'.", "\tLine 12: '\\o/'", no_frame_data, NOT_LOADED}},
      // Frames with fewer or more rows than the header's height: the row or
      // "end" message is followed by the frame's real line count.
      {"short-frames.txt", 0,
       {"\tError! Line 13: Line length is 3 (frame width is 5).", "\tLine 13: 'end'",
        "\tError! Frame 1: Line count is 3 (frame height is 4).", no_frame_data, NOT_LOADED}},
      {"tall-frames.txt", 0,
       {"\tError! Line 10: Expected 'end'.", "\tLine 10: '/ \\'",
        "\tError! Frame 1: Line count is 3 (frame height is 2).", no_frame_data, NOT_LOADED}},
      {"short-second-frame.txt", 0,
       {"\tError! Line 13: Expected 'end'.", "\tLine 13: ''", "\tError! Frame 2: Line count is 1 (frame height is 2).",
        no_frame_data, NOT_LOADED}},
      {"extra-frame.txt", 1,
       {"ResourceManager::loadSprite(): Error! Extra BODY:", "\tline 13: \\o/", "\tline 14: #v#", "\tline 15: end",
        NOT_LOADED}},
      {"missing-frame.txt", 0, {"\tError! Line 16: No more frame data.", no_frame_data, NOT_LOADED}},
      {"huge-frame-count.txt", 0, {"\tError! Line 16: No more frame data.", no_frame_data, NOT_LOADED}},
      {"empty-header-line.txt", 0, {"readData(): Error! Never encountered '</HEADER>'.", NOT_LOADED}},
      {"empty-body-line.txt", 0, {"readData(): Error! Never encountered '</BODY>'.", NOT_LOADED}},
      {"no-final-newline.txt", 0,
       {"getLine(): Error! Unexpected end of file.", "readData(): Error! Never encountered '</FOOTER>'.",
        NOT_LOADED}},
      {"frames-minus-one.txt", 0, {"ResourceManager::loadSprite(): Error! Missing 'frames' in header.", NOT_LOADED}},
      {"no-width.txt", 0, {"ResourceManager::loadSprite(): Error! Missing 'width' in header.", NOT_LOADED}},
      {"zero-width.txt", 0,
       {"ResourceManager::loadSprite(): Error! 'width' in header must be at least 1, have 0.", NOT_LOADED}},
      {"negative-height.txt", 0,
       {"ResourceManager::loadSprite(): Error! 'height' in header must be at least 1, have -2.", NOT_LOADED}},
      {"zero-frames.txt", 0,
       {"ResourceManager::loadSprite(): Error! 'frames' in header must be at least 1, have 0.", NOT_LOADED}},
      {"no-version.txt", 0,
       {"ResourceManager::loadSprite(): Error! Missing 'version' in FOOTER (line 18).", NOT_LOADED}},
      {"bad-header-tag.txt", 0,
       {"readData(): Error line 1! Expected '<HEADER>', have '<HEAD>'.", NOT_LOADED}},
      {"bad-body-tag.txt", 0, {"readData(): Error line 10! Expected '<BODY>', have '<BOD>'.", NOT_LOADED}},
      {"empty-body.txt", 0, {NOT_LOADED}},
  };
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(load(engine, fixture(c.file), c.log_level, -1), c.messages);
  }
  cv::LogManager::getInstance().setLogLevel(0);
  EXPECT_EQ(cv::ResourceManager::getInstance().getSprite("x"), nullptr);
}

TEST(SpriteFile, MissingFilesDirectoriesJunkAndHugeLinesAreRefused) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  const std::string missing = engine.directory() + "/no-such-sprite.txt";
  EXPECT_EQ(load(engine, missing, 0, -1),
            (Messages{"ResourceManager::loadSprite(): Error! Cannot open file '" + missing + "'.", NOT_LOADED}));
  EXPECT_EQ(load(engine, engine.directory(), 0, -1),
            (Messages{"ResourceManager::loadSprite(): Error! Cannot open file '" + engine.directory() + "'.",
                      NOT_LOADED}));

  // Random bytes, line breaks and NULs among them.
  std::mt19937 random(7);
  std::string junk;
  for (int i = 0; i < 100000; i++)
    junk.push_back(static_cast<char>(random() % 256));
  const std::string junk_path = engine.directory() + "/junk.txt";
  cvtest::writeFile(junk_path, junk);
  EXPECT_EQ(load(engine, junk_path, 0, -1).back(), NOT_LOADED);

  // A 10 MB header line is refused without being read whole or logged.
  const std::string long_path = engine.directory() + "/long.txt";
  cvtest::writeFile(long_path, "<HEADER>\nframes 1" + std::string(10 * 1024 * 1024, '1') + "\n</HEADER>\n");
  EXPECT_EQ(load(engine, long_path, 0, -1),
            (Messages{"getLine(): Error! Line longer than 65536 characters.",
                      "readData(): Error! Never encountered '</HEADER>'.", NOT_LOADED}));
  const std::string log = engine.logPath();
  std::ifstream log_file(log, std::ios::ate);
  EXPECT_LT(static_cast<long>(log_file.tellg()), 100000L);
}

TEST(SpriteFile, LoadingNeedsAStartedManager) {
  TestEngine engine("headless:true,");
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  EXPECT_EQ(resources.loadSprite(fixture("example.txt"), "x"), -1);
  EXPECT_EQ(resources.loadSound(fixture("example.txt"), "x"), -1);
  EXPECT_EQ(resources.loadMusic(fixture("example.txt"), "x"), -1);
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(resources.loadSprite(fixture("example.txt"), "x"), 0);
  EXPECT_EQ(resources.startUp(), 0);
  EXPECT_EQ(engine.messages().back(), "ResourceManager::startUp(): Already started.");
  EXPECT_NE(resources.getSprite("x"), nullptr);
}

namespace {

// A sprite of one frame, `width` characters by one row: `extra` is line 5
// (in the header) and `row` is line 8.
std::string oneRowSprite(const std::string &row, const std::string &extra = "author us", int width = 3) {
  return "<HEADER>\nframes 1\nwidth " + std::to_string(width) + "\nheight 1\n" + extra +
         "\n</HEADER>\n<BODY>\n" + row + "\nend\n</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n";
}

// Writes `text` as a sprite file in the engine's directory and loads it.
Messages loadText(const TestEngine &engine, const std::string &text, int expected_result) {
  const std::string path = engine.directory() + "/sprite.txt";
  cvtest::writeFile(path, text);
  return load(engine, path, 0, expected_result);
}

}  // namespace

TEST(SpriteFile, UnicodeFilesHoldOneCharacterPerCell) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  EXPECT_EQ(load(engine, fixture("box-drawing.txt"), 15, 0, "box"),
            (Messages{"ResourceManager::loadSprite(): Warning! No 'transparency' in header.",
                      "ResourceManager::loadSprite(): Warning! No 'slowdown' in header.", "\t      Frames: 1",
                      "\t       Width: 3", "\t      Height: 3", "\t    Slowdown: 0", "\tTransparency: (none)",
                      "\t       Color: cyan", "Sprite 'box' frames:", "Frame 1:", "\t╔═╗", "\t║▓║", "\t╚═╝",
                      "ResourceManager::loadSprite(): Sprite 'box' loaded."}));
  cv::LogManager::getInstance().setLogLevel(0);
  const cv::Sprite *box = resources.getSprite("box");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->getWidth(), 3);
  EXPECT_EQ(box->getHeight(), 3);
  EXPECT_EQ(box->getFrame(0).getCharacters(), U"╔═╗║▓║╚═╝");
  EXPECT_EQ(box->getFrame(0).getString(), "╔═╗║▓║╚═╝");

  // A transparency past ASCII, taken whole from its two bytes.
  EXPECT_EQ(load(engine, fixture("shaded-ball.txt"), 5, 0, "ball"),
            (Messages{"\t      Frames: 2", "\t       Width: 5", "\t      Height: 3", "\t    Slowdown: 8",
                      "\tTransparency: ·", "\t       Color: yellow",
                      "ResourceManager::loadSprite(): Sprite 'ball' loaded."}));
  const cv::Sprite *ball = resources.getSprite("ball");
  ASSERT_NE(ball, nullptr);
  EXPECT_EQ(ball->getTransparency(), U'·');
  EXPECT_EQ(ball->getFrame(1).getCharacters(), U"·▄█▄·█▒░▒█·▀█▀·");
}

TEST(SpriteFile, LinesAreMeasuredInCharacters) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(loadText(engine, oneRowSprite("╔══╗"), -1),
            (Messages{"\tError! Line 8: Line length is 4 (frame width is 3).", "\tLine 8: '╔══╗'",
                      "ResourceManager::loadSprite(): Error! No frame data to add.", NOT_LOADED}));
  // ASCII controls are characters as they always were.
  EXPECT_EQ(loadText(engine, oneRowSprite("a\tb"), 0).back(), "ResourceManager::loadSprite(): Sprite 'x' loaded.");

  // The longest line is 65536 characters, however many bytes they take.
  std::string longest;
  for (int i = 0; i < 65536; i++)
    longest += "═";
  EXPECT_EQ(loadText(engine, oneRowSprite(longest, "author us", 65536), 0).back(),
            "ResourceManager::loadSprite(): Sprite 'x' loaded.");
  EXPECT_EQ(loadText(engine, oneRowSprite(longest + "═", "author us", 65537), -1),
            (Messages{"getLine(): Error! Line longer than 65536 characters.",
                      "readData(): Error! Never encountered '</BODY>'.", NOT_LOADED}));
}

TEST(SpriteFile, LinesThatAreNotUtf8AreRefusedWithTheirLineAndColumn) {
  std::string bad_tag = oneRowSprite("abc");
  bad_tag.replace(bad_tag.find("<BODY>"), 6, "<B\xD0" "DY>");
  const struct {
    const char *what;
    std::string text;
    std::string message;
  } cases[] = {
      {"stray byte", oneRowSprite("║\x80║"), "Line 8: Column 2 is not UTF-8: a stray continuation byte (80)"},
      {"no UTF-8 byte", oneRowSprite("ab\xFF"), "Line 8: Column 3 is not UTF-8: a byte that is never UTF-8 (FF)"},
      {"overlong, two bytes", oneRowSprite("a\xC0\xAF"), "Line 8: Column 2 is not UTF-8: an overlong form (C0 AF)"},
      {"overlong, three bytes", oneRowSprite("\xE0\x80\xAF" "ab"),
       "Line 8: Column 1 is not UTF-8: an overlong form (E0 80 AF)"},
      {"surrogate", oneRowSprite("═\xED\xA0\x80═"), "Line 8: Column 2 is not UTF-8: a surrogate (ED A0 80)"},
      {"past U+10FFFF", oneRowSprite("a\xF4\x90\x80\x80" "b"),
       "Line 8: Column 2 is not UTF-8: a value past U+10FFFF (F4 90 80 80)"},
      {"cut short by the line's end", oneRowSprite("ab\xE2\x95"),
       "Line 8: Column 3 is not UTF-8: a character cut short (E2 95)"},
      {"cut short by the next character", oneRowSprite("\xE2\x95" "ab"),
       "Line 8: Column 1 is not UTF-8: a character cut short (E2 95)"},
      {"in an unused header line", oneRowSprite("abc", "author \xC3"),
       "Line 5: Column 8 is not UTF-8: a character cut short (C3)"},
      {"in a section's tag", bad_tag, "Line 7: Column 3 is not UTF-8: a character cut short (D0)"},
  };
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(loadText(engine, c.text, -1), (Messages{"\tError! " + c.message + ".", NOT_LOADED}));
  }
}

TEST(SpriteFile, CharactersThatDoNotFillOneCellAreRefused) {
  const std::string no_frame_data = "ResourceManager::loadSprite(): Error! No frame data to add.";
  const struct {
    const char *what;
    std::string text;
    Messages messages;
  } cases[] = {
      // Named before the row's length: "a中" would be 3 columns wide in a terminal.
      {"wide", oneRowSprite("a中"),
       {"\tError! Line 8: Column 2 holds U+4E2D '中', which does not fill one cell.", no_frame_data, NOT_LOADED}},
      {"emoji", oneRowSprite("😀ab"),
       {"\tError! Line 8: Column 1 holds U+1F600 '😀', which does not fill one cell.", no_frame_data, NOT_LOADED}},
      {"combining", oneRowSprite("ae\u0301"),
       {"\tError! Line 8: Column 3 holds U+0301 '\u0301', which does not fill one cell.", no_frame_data,
        NOT_LOADED}},
      {"control past ASCII", oneRowSprite("a\u0085b"),
       {"\tError! Line 8: Column 2 holds U+0085, which does not fill one cell.", no_frame_data, NOT_LOADED}},
      {"wide transparency", oneRowSprite("abc", "transparency 中"),
       {"ResourceManager::loadSprite(): Error! Transparency U+4E2D '中' does not fill one cell (line 5).",
        NOT_LOADED}},
      // The line named is the one whose value counts, the last.
      {"wide transparency, given twice", oneRowSprite("abc", "transparency #\ntransparency 中"),
       {"ResourceManager::loadSprite(): Error! Transparency U+4E2D '中' does not fill one cell (line 6).",
        NOT_LOADED}},
  };
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(loadText(engine, c.text, -1), c.messages);
  }
}
