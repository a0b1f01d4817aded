// Sprite files through ResourceManager::loadSprite. The oracle is a reading
// of the sprite file format of its own, written apart from the engine's
// reader: both must accept or refuse the same files, and an accepted sprite
// must have the frames, size and colour the oracle read.

#include <cctype>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "Corvane.h"
#include "FuzzEngine.h"

namespace {

// Longest line the engine reads, its line break not counted.
const std::size_t LONGEST_LINE = 65536;

struct OracleSprite {
  int frames = 0, width = 0, height = 0;
  int color = 7;
  std::vector<std::string> frame_texts;
};

// Splits the file into lines as the format reads them. Only the lines that
// end in a line break exist: the text after the last break is never a line.
// A line longer than the engine reads stops the list (reading fails there).
std::vector<std::string> linesOf(const std::string &text, bool &overlong) {
  std::vector<std::string> lines;
  overlong = false;
  std::size_t begin = 0;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', begin)) {
    std::string line = text.substr(begin, at - begin);
    if (line.size() > LONGEST_LINE) {
      overlong = true;
      return lines;
    }
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
    begin = at + 1;
  }
  // The unfinished last line can also be too long to read.
  overlong = text.size() - begin > LONGEST_LINE;
  return lines;
}

// atoi, with the value held at the int range.
int leadingInt(const std::string &text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
    at++;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-'))
    negative = text[at++] == '-';
  long long value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; at++)
    if (value <= static_cast<long long>(INT_MAX) + 1)
      value = value * 10 + (text[at] - '0');
  value = negative ? -value : value;
  if (value > INT_MAX)
    return INT_MAX;
  if (value < INT_MIN)
    return INT_MIN;
  return static_cast<int>(value);
}

// Takes the section `name` starting at lines[next]. False when it is not there.
bool section(const std::vector<std::string> &lines, std::size_t &next, const std::string &name,
             std::vector<std::string> &out) {
  if (next >= lines.size() || lines[next] != "<" + name + ">")
    return false;
  for (next++; next < lines.size(); next++) {
    if (lines[next] == "</" + name + ">") {
      next++;
      return !out.empty();
    }
    if (lines[next].empty())
      return false;
    out.push_back(lines[next]);
  }
  return false;
}

// The value of the last line starting with `key`, removing every such line;
// `found` says whether there was one.
std::string takeKey(std::vector<std::string> &lines, const std::string &key, bool &found) {
  std::string value;
  found = false;
  std::vector<std::string> rest;
  for (const std::string &line : lines) {
    if (line.compare(0, key.size(), key) != 0) {
      rest.push_back(line);
      continue;
    }
    found = true;
    value = line.size() > key.size() ? line.substr(key.size() + 1) : "";
  }
  lines = rest;
  return value;
}

// A required integer setting: present, not -1, at least 1.
bool positiveSetting(std::vector<std::string> &header, const std::string &key, int &value) {
  bool found = false;
  const std::string text = takeKey(header, key, found);
  value = found ? leadingInt(text) : -1;
  return value >= 1;
}

bool colorValue(const std::string &name, int &color) {
  const char *names[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
  for (int i = 0; i < 8; i++)
    if (name == names[i]) {
      color = i;
      return true;
    }
  if (name == "default") {
    color = 7;
    return true;
  }
  return false;
}

// Whether the format accepts `text`, and what it reads.
bool oracleAccepts(const std::string &text, OracleSprite &sprite) {
  bool overlong = false;
  const std::vector<std::string> lines = linesOf(text, overlong);
  std::size_t next = 0;
  std::vector<std::string> header, body, footer;
  if (!section(lines, next, "HEADER", header))
    return false;
  if (!positiveSetting(header, "frames", sprite.frames) || !positiveSetting(header, "width", sprite.width) ||
      !positiveSetting(header, "height", sprite.height))
    return false;
  bool found = false;
  std::string color = takeKey(header, "color", found);
  if (color.empty())
    color = "default";
  if (!section(lines, next, "BODY", body) || !colorValue(color, sprite.color))
    return false;
  std::size_t at = 0;
  for (int f = 0; f < sprite.frames; f++) {
    std::string frame;
    for (int row = 0; row < sprite.height; row++, at++) {
      if (at >= body.size() || body[at].size() != static_cast<std::size_t>(sprite.width))
        return false;
      frame += body[at];
    }
    if (at >= body.size() || body[at] != "end")
      return false;
    at++;
    sprite.frame_texts.push_back(frame);
  }
  if (at != body.size() || !section(lines, next, "FOOTER", footer))
    return false;
  return !takeKey(footer, "version", found).empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  cvfuzz::startEngine();
  const std::string text(reinterpret_cast<const char *>(data), size);
  const std::string path = cvfuzz::writeInput(data, size);
  // Each input is loaded under a label of its own and the manager restarted
  // now and then, so the 1000-sprite limit is never what refuses a file.
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  static int loads = 0;
  if (++loads % 900 == 0) {
    resources.shutDown();
    resources.startUp();
  }
  const std::string label = "fuzz" + std::to_string(loads);
  const bool loaded = resources.loadSprite(path, label) == 0;
  OracleSprite expected;
  const bool accepted = oracleAccepts(text, expected);
  if (loaded != accepted)
    cvfuzz::fail(loaded ? "the engine loaded a sprite the format refuses"
                        : "the engine refused a sprite the format accepts",
                 text.substr(0, 400));
  if (!loaded)
    return 0;
  const cv::Sprite *sprite = resources.getSprite(label);
  if (!sprite || sprite->getFrameCount() != expected.frames || sprite->getWidth() != expected.width ||
      sprite->getHeight() != expected.height || static_cast<int>(sprite->getColor()) != expected.color)
    cvfuzz::fail("the loaded sprite differs from the file", text.substr(0, 400));
  for (int i = 0; i < expected.frames; i++)
    if (sprite->getFrame(i).getString() != expected.frame_texts[i])
      cvfuzz::fail("a loaded frame differs from the file", text.substr(0, 400));
  return 0;
}
