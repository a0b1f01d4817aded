// Sprite files through ResourceManager::loadSprite. The oracle is a reading
// of the sprite file format of its own, written apart from the engine's
// reader, with a UTF-8 decoder of its own too: both must accept or refuse the
// same files, and an accepted sprite must have the frames (as bytes and as
// characters), size, colour and transparency the oracle read.
//
// Whether a character fills one cell is the engine's own table. The oracle
// knows it for some ranges only; a file whose verdict hangs on a character
// outside them may go either way, but what the engine loads must still be
// what the oracle read.

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
  char32_t transparency = 0;
  std::vector<std::string> frame_texts;
  std::vector<std::u32string> frame_characters;
};

// The well-formed UTF-8 sequences, by their first byte: the range the second
// byte must fall in, and the number of bytes.
struct Sequence {
  unsigned char first_low, first_high;    // first byte
  unsigned char second_low, second_high;  // second byte
  int length;
};
const Sequence SEQUENCES[] = {
    {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3}, {0xE1, 0xEC, 0x80, 0xBF, 3},
    {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3}, {0xF0, 0xF0, 0x90, 0xBF, 4},
    {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
};

// The characters of `text`; false when it is not well-formed UTF-8.
bool decode(const std::string &text, std::u32string &characters) {
  characters.clear();
  std::size_t at = 0;
  while (at < text.size()) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (byte(at) < 0x80) {
      characters.push_back(byte(at++));
      continue;
    }
    const Sequence *form = nullptr;
    for (const Sequence &sequence : SEQUENCES)
      if (byte(at) >= sequence.first_low && byte(at) <= sequence.first_high)
        form = &sequence;
    if (!form || at + static_cast<std::size_t>(form->length) > text.size() || byte(at + 1) < form->second_low ||
        byte(at + 1) > form->second_high)
      return false;
    // The first byte keeps 7 - length bits, every other byte six.
    char32_t value = byte(at) & (0x7F >> form->length);
    for (int i = 1; i < form->length; i++) {
      const unsigned char next = byte(at + static_cast<std::size_t>(i));
      if (next < 0x80 || next > 0xBF)
        return false;
      value = value << 6 | (next & 0x3F);
    }
    characters.push_back(value);
    at += static_cast<std::size_t>(form->length);
  }
  return true;
}

// Whether `c` fills one cell, as far as the oracle knows: ASCII always (as the
// engine has always read it), the ranges below for sure one way or the other,
// and everything else `unknown`.
bool fillsOneCell(char32_t c, bool unknown) {
  struct Range {
    char32_t low, high;
  };
  static const Range single[] = {
      {0x00A1, 0x00AC}, {0x00AE, 0x017F}, {0x0391, 0x03A1}, {0x03A3, 0x03A9}, {0x03B1, 0x03C9},
      {0x0410, 0x044F}, {0x2190, 0x22FF}, {0x2500, 0x25FC}, {0x1D400, 0x1D454},
  };
  static const Range not_single[] = {
      {0x0080, 0x009F},   {0x0300, 0x036F},   {0x1100, 0x115F}, {0x200B, 0x200F}, {0x3041, 0x3096},
      {0x30A1, 0x30FA},   {0x4E00, 0x9FFF},   {0xAC00, 0xD7A3}, {0xFE00, 0xFE0F}, {0xFF01, 0xFF60},
      {0x1F300, 0x1F64F}, {0x20000, 0x2FFFD},
  };
  if (c < 0x80)
    return true;
  for (const Range &range : single)
    if (c >= range.low && c <= range.high)
      return true;
  for (const Range &range : not_single)
    if (c >= range.low && c <= range.high)
      return false;
  return unknown;
}

// The bytes of the character starting with `lead` in well-formed UTF-8.
std::size_t lengthFrom(unsigned char lead) { return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

// The characters of a line as the length limit counts them: in well-formed
// UTF-8, the bytes that start a character. (A line that is not UTF-8 is
// refused whatever its length.)
std::size_t charactersIn(const std::string &line) {
  std::size_t count = 0;
  for (const char c : line)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
      count++;
  return count;
}

// Splits the file into lines as the format reads them. Only the lines that
// end in a line break exist: the text after the last break is never a line.
// A line longer than the engine reads stops the list (reading fails there).
std::vector<std::string> linesOf(const std::string &text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', begin)) {
    std::string line = text.substr(begin, at - begin);
    if (charactersIn(line) > LONGEST_LINE)
      return lines;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
    begin = at + 1;
  }
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

// Takes the section `name` starting at lines[next]. False when it is not
// there or one of its lines is not UTF-8.
bool section(const std::vector<std::string> &lines, std::size_t &next, const std::string &name,
             std::vector<std::string> &out) {
  if (next >= lines.size() || lines[next] != "<" + name + ">")
    return false;
  std::u32string characters;
  for (next++; next < lines.size(); next++) {
    if (lines[next] == "</" + name + ">") {
      next++;
      return !out.empty();
    }
    if (lines[next].empty() || !decode(lines[next], characters))
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
    // After the key, one separator character (of one or more bytes).
    value = line.size() > key.size() ? line.substr(key.size() + lengthFrom(static_cast<unsigned char>(line[key.size()])))
                                     : "";
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

// Whether the format accepts `text`, and what it reads, taking the characters
// whose width the oracle does not know as filling one cell or not (`unknown`).
bool oracleAccepts(const std::string &text, bool unknown, OracleSprite &sprite) {
  const std::vector<std::string> lines = linesOf(text);
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
  std::u32string characters;
  const std::string transparency = takeKey(header, "transparency", found);
  if (!transparency.empty()) {
    decode(transparency, characters);
    sprite.transparency = characters[0];
    if (!fillsOneCell(sprite.transparency, unknown))
      return false;
  }
  if (!section(lines, next, "BODY", body) || !colorValue(color, sprite.color))
    return false;
  std::size_t at = 0;
  for (int f = 0; f < sprite.frames; f++) {
    std::string frame;
    std::u32string frame_characters;
    for (int row = 0; row < sprite.height; row++, at++) {
      if (at >= body.size())
        return false;
      decode(body[at], characters);
      if (characters.size() != static_cast<std::size_t>(sprite.width))
        return false;
      for (const char32_t c : characters)
        if (!fillsOneCell(c, unknown))
          return false;
      frame += body[at];
      frame_characters += characters;
    }
    if (at >= body.size() || body[at] != "end")
      return false;
    at++;
    sprite.frame_texts.push_back(frame);
    sprite.frame_characters.push_back(frame_characters);
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
  // Read once taking every character of unknown width as filling one cell,
  // once as not: where the two agree, the engine must too.
  OracleSprite expected, strict;
  const bool accepted = oracleAccepts(text, true, expected);
  const bool surely_accepted = oracleAccepts(text, false, strict);
  if (loaded && !accepted)
    cvfuzz::fail("the engine loaded a sprite the format refuses", text.substr(0, 400));
  if (!loaded && surely_accepted)
    cvfuzz::fail("the engine refused a sprite the format accepts", text.substr(0, 400));
  if (!loaded)
    return 0;
  const cv::Sprite *sprite = resources.getSprite(label);
  if (!sprite || sprite->getFrameCount() != expected.frames || sprite->getWidth() != expected.width ||
      sprite->getHeight() != expected.height || static_cast<int>(sprite->getColor()) != expected.color ||
      sprite->getTransparency() != expected.transparency)
    cvfuzz::fail("the loaded sprite differs from the file", text.substr(0, 400));
  for (int i = 0; i < expected.frames; i++)
    if (sprite->getFrame(i).getString() != expected.frame_texts[static_cast<std::size_t>(i)] ||
        sprite->getFrame(i).getCharacters() != expected.frame_characters[static_cast<std::size_t>(i)])
      cvfuzz::fail("a loaded frame differs from the file", text.substr(0, 400));
  return 0;
}
