// Configuration text through match and Config::loadConfig. The oracle for
// match is a parse of the attribute format of its own: for every key the
// text names (and a few it may not), both give the same value. Loading the
// same text twice gives the same settings.

#include <cstdint>
#include <string>
#include <vector>

#include "Corvane.h"
#include "FuzzEngine.h"

namespace {

struct Entry {
  std::string key, value;
};

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Non-empty pieces of `text` between `separator`s.
std::vector<std::string> piecesOf(const std::string &text, char separator) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    if (c != separator) {
      piece.push_back(c);
    } else if (!piece.empty()) {
      pieces.push_back(piece);
      piece.clear();
    }
  }
  if (!piece.empty())
    pieces.push_back(piece);
  return pieces;
}

// The entries of an attribute string, in order.
std::vector<Entry> parse(const std::string &text) {
  std::string stripped;
  for (char c : text)
    if (!isBlank(c))
      stripped.push_back(c);
  std::vector<Entry> entries;
  for (const std::string &element : piecesOf(stripped, ',')) {
    const std::vector<std::string> tokens = piecesOf(element, ':');
    if (tokens.empty())
      break;  // an element of colons alone ends the reading
    entries.push_back({tokens[0], tokens.size() > 1 ? tokens[1] : ""});
  }
  return entries;
}

std::string lookUp(const std::vector<Entry> &entries, const std::string &key) {
  for (const Entry &entry : entries)
    if (entry.key == key)
      return entry.value;
  return "";
}

// Every setting, as text, to compare two loads.
std::string settings() {
  const cv::Config &c = cv::Config::getInstance();
  return std::to_string(c.getWindowHorizontalPixels()) + "," + std::to_string(c.getWindowVerticalPixels()) + "," +
         std::to_string(c.getWindowHorizontalChars()) + "," + std::to_string(c.getWindowVerticalChars()) + "," +
         std::to_string(c.getWindowStyle()) + "," + std::to_string(c.getWindowBackgroundColor()) + "," +
         std::to_string(c.getFrameTime()) + "," + std::to_string(c.getFontScale()) + "," + c.getWindowTitle() +
         "," + std::to_string(c.getShowMouse()) + "," + std::to_string(c.getHeadless()) + "," + c.getFontFile() +
         "," + c.getLogFile() + "," + std::to_string(c.getRandomSeed()) + "," + std::to_string(c.getNetworking()) +
         "," + std::to_string(c.getLogLevel());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  cvfuzz::startEngine();
  const std::string text(reinterpret_cast<const char *>(data), size);
  // An empty text parses nothing and would make loadConfig read the file.
  if (text.empty())
    return 0;
  const std::vector<Entry> expected = parse(text);
  std::vector<std::string> keys = {"", "window_horizontal_chars", "frame_time", "headless", "a"};
  for (std::size_t i = 0; i < expected.size() && i < 64; i++)
    keys.push_back(expected[i].key);
  for (std::size_t i = 0; i < keys.size(); i++) {
    // The first look-up parses; the others use the kept table.
    const std::string got = cv::match(i == 0 ? text : "", keys[i]);
    if (got != lookUp(expected, keys[i]))
      cvfuzz::fail("match disagrees with the attribute format", "key '" + keys[i] + "', got '" + got +
                                                                    "'\ntext: " + text.substr(0, 400));
  }
  cv::Config &config = cv::Config::getInstance();
  config.loadConfig(text);
  const std::string first = settings();
  config.loadConfig(text);
  if (settings() != first)
    cvfuzz::fail("loading the same text twice gave different settings", text.substr(0, 400));
  config.print();
  return 0;
}
