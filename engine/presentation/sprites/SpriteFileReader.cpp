#include "presentation/sprites/SpriteFileReader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <vector>

#include "foundation/LogManager.h"
#include "foundation/utf8.h"
#include "presentation/sprites/Sprite.h"

namespace cv {

namespace {

// The integer at the start of `text`, read as atoi does (leading blanks, a
// sign, digits; 0 without digits), but clamped to the int range.
int toInt(const std::string &text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp(value, static_cast<long>(INT_MIN), static_cast<long>(INT_MAX)));
}

// What follows `key` and one separator character in `line` (a character, not
// a byte: the line is UTF-8).
std::string valueOf(const std::string &line, const std::string &key) {
  size_t at = key.size();
  if (at >= line.size())
    return std::string();
  decodeUtf8(line, at);
  return line.substr(at);
}

// The bytes of `text` from `at`, `count` of them at most, in hexadecimal.
std::string hexBytes(const std::string &text, size_t at, size_t count) {
  std::string out;
  for (size_t i = at; i < text.size() && i < at + count; i++) {
    static const char digits[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!out.empty())
      out += ' ';
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
  }
  return out;
}

// What is wrong with the character that starts at `line[at]` and is not
// UTF-8, and its bytes.
std::string whyNotUtf8(const std::string &line, size_t at) {
  const auto lead = static_cast<unsigned char>(line[at]);
  if (lead >= 0x80 && lead <= 0xBF)
    return "a stray continuation byte (" + hexBytes(line, at, 1) + ")";
  if (lead >= 0xF8)
    return "a byte that is never UTF-8 (" + hexBytes(line, at, 1) + ")";
  const size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
  char32_t value = lead & (0x3F >> more);
  for (size_t i = 1; i <= more; i++) {
    if (at + i >= line.size() || (static_cast<unsigned char>(line[at + i]) & 0xC0) != 0x80)
      return "a character cut short (" + hexBytes(line, at, i) + ")";
    value = (value << 6) | (static_cast<unsigned char>(line[at + i]) & 0x3F);
  }
  const std::string bytes = " (" + hexBytes(line, at, more + 1) + ")";
  if (value >= 0xD800 && value <= 0xDFFF)
    return "a surrogate" + bytes;
  if (value > 0x10FFFF)
    return "a value past U+10FFFF" + bytes;
  return "an overlong form" + bytes;
}

bool startsWith(const std::string &line, const std::string &key) { return line.compare(0, key.size(), key) == 0; }

// The index of the last of `lines` that starts with `key`; -1 for none.
int lastIndexOf(const std::list<std::string> &lines, const std::string &key) {
  int index = 0;
  int found = -1;
  for (const std::string &line : lines) {
    if (startsWith(line, key))
      found = index;
    index++;
  }
  return found;
}

// The colour called `name` in sprite files; false for an unknown name.
bool colorNamed(const std::string &name, Color &color) {
  static const struct {
    const char *name;
    Color color;
  } names[] = {{"black", BLACK},     {"red", RED},   {"green", GREEN}, {"yellow", YELLOW}, {"blue", BLUE},
               {"magenta", MAGENTA}, {"cyan", CYAN}, {"white", WHITE}, {"default", WHITE}};
  for (const auto &entry : names) {
    if (name == entry.name) {
      color = entry.color;
      return true;
    }
  }
  return false;
}

// The rows of each frame as the body's "end" lines divide it. Empty when the
// body does not divide into exactly `frames` frames each closed by "end":
// then the rows cannot be told apart from a missing or extra "end".
std::vector<int> rowsPerFrame(const std::list<std::string> &body, int frames) {
  std::vector<int> rows;
  int count = 0;
  for (const std::string &line : body) {
    if (line != "end") {
      count++;
      continue;
    }
    if (static_cast<int>(rows.size()) == frames)
      return {};
    rows.push_back(count);
    count = 0;
  }
  if (count > 0 || static_cast<int>(rows.size()) != frames)
    return {};
  return rows;
}

// Whether frame `index` (from 0) was refused because its rows do not number
// `height`: every frame before it had `height` rows, so it starts where the
// reader began it, and its own count differs.
bool heightIsTheFault(const std::vector<int> &rows, int index, int height) {
  if (index >= static_cast<int>(rows.size()) || rows[static_cast<size_t>(index)] == height)
    return false;
  return std::all_of(rows.begin(), rows.begin() + index, [height](int count) { return count == height; });
}

}  // namespace

SpriteFileReader::SpriteFileReader() : line_number(0), lines_read(0), first_data_line(0) {}

std::unique_ptr<Sprite> SpriteFileReader::read(const std::string &filename) {
  if (!open(filename))
    return nullptr;
  Header header;
  if (!readHeader(header))
    return nullptr;
  std::unique_ptr<Sprite> sprite = readBody(header);
  if (!sprite || !readFooter())
    return nullptr;
  return sprite;
}

bool SpriteFileReader::open(const std::string &filename) {
  const LogManager &log_manager = LogManager::getInstance();
  // Only plain files: a directory or a pipe in the sprite's place is refused
  // rather than read (or waited on).
  std::error_code error;
  if (std::filesystem::is_regular_file(filename, error))
    file.open(filename);
  if (!file.is_open()) {
    log_manager.writeLog("ResourceManager::loadSprite(): Error! Cannot open file '%s'.", filename.c_str());
    return false;
  }
  log_manager.writeLog(1, "ResourceManager::loadSprite(): Opened file '%s'.", filename.c_str());
  line_number = 0;
  lines_read = 0;
  return true;
}

bool SpriteFileReader::readHeader(Header &header) {
  std::list<std::string> lines = readData("HEADER");
  if (lines.empty())
    return false;
  // Taking keys removes lines, so the transparency's line is found first.
  header.transparency_line = first_data_line + lastIndexOf(lines, "transparency");
  if (!requireInt(lines, "frames", header.frames) || !requireInt(lines, "width", header.width) ||
      !requireInt(lines, "height", header.height))
    return false;
  if (!readOptional(lines, header))
    return false;
  if (!lines.empty()) {
    const LogManager &log_manager = LogManager::getInstance();
    log_manager.writeLog(1, "ResourceManager::loadSprite(): Warning! Unused HEADER lines:");
    for (const std::string &line : lines)
      log_manager.writeLog(1, "\t'%s'", line.c_str());
    line_number += static_cast<int>(lines.size());
  }
  logHeader(header);
  return true;
}

bool SpriteFileReader::requireInt(std::list<std::string> &lines, const std::string &key, int &value) {
  const LogManager &log_manager = LogManager::getInstance();
  value = matchLineInt(lines, key);
  if (value == -1) {
    log_manager.writeLog("ResourceManager::loadSprite(): Error! Missing '%s' in header.", key.c_str());
    return false;
  }
  // Frames and their sizes below 1 can never describe a sprite.
  if (value < 1) {
    log_manager.writeLog("ResourceManager::loadSprite(): Error! '%s' in header must be at least 1, have %d.",
                         key.c_str(), value);
    return false;
  }
  return true;
}

namespace {

// The notice for an optional header key the file leaves out.
void warnMissing(const char *key) {
  LogManager::getInstance().writeLog(5, "ResourceManager::loadSprite(): Warning! No '%s' in header.", key);
}

}  // namespace

bool SpriteFileReader::readOptional(std::list<std::string> &lines, Header &header) {
  header.color = matchLineStr(lines, "color");
  if (header.color.empty()) {
    warnMissing("color");
    header.color = "default";
  }
  const std::string transparency = matchLineStr(lines, "transparency");
  header.transparency = 0;
  if (transparency.empty()) {
    warnMissing("transparency");
  } else {
    size_t at = 0;
    header.transparency = decodeUtf8(transparency, at);
    // Only a character a frame can hold can be transparent. ASCII, controls
    // included, is taken as it always was.
    if (header.transparency >= 0x80 && !isSingleWidth(header.transparency)) {
      LogManager::getInstance().writeLog(
          "ResourceManager::loadSprite(): Error! Transparency %s does not fill one cell (line %d).",
          describeCharacter(header.transparency).c_str(), header.transparency_line);
      return false;
    }
  }
  header.slowdown = matchLineInt(lines, "slowdown");
  if (header.slowdown == -1) {
    warnMissing("slowdown");
    header.slowdown = 0;
  }
  return true;
}

void SpriteFileReader::logHeader(const Header &header) const {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "\t      Frames: %d", header.frames);
  log_manager.writeLog(5, "\t       Width: %d", header.width);
  log_manager.writeLog(5, "\t      Height: %d", header.height);
  log_manager.writeLog(5, "\t    Slowdown: %d", header.slowdown);
  if (header.transparency)
    log_manager.writeLog(5, "\tTransparency: %s", utf8Of(header.transparency).c_str());
  else
    log_manager.writeLog(5, "\tTransparency: (none)");
  log_manager.writeLog(5, "\t       Color: %s", header.color.c_str());
}

std::unique_ptr<Sprite> SpriteFileReader::readBody(const Header &header) {
  const LogManager &log_manager = LogManager::getInstance();
  std::list<std::string> body = readData("BODY");
  if (body.empty())
    return nullptr;
  // Every frame takes height rows and its "end" line, so the body cannot hold
  // more frames than that: the header's count alone never sizes the storage.
  const long long fit = static_cast<long long>(body.size()) / (static_cast<long long>(header.height) + 1);
  const int capacity = static_cast<int>(std::min(static_cast<long long>(header.frames), fit));
  std::unique_ptr<Sprite> sprite(new (std::nothrow) Sprite(capacity));
  if (!sprite) {
    log_manager.writeLog("ResourceManager::loadSprite(): Error! Unable to create Sprite.");
    return nullptr;
  }
  sprite->setWidth(header.width);
  sprite->setHeight(header.height);
  sprite->setSlowdown(header.slowdown);
  sprite->setTransparency(header.transparency);
  Color color = WHITE;
  if (!colorNamed(header.color, color)) {
    log_manager.writeLog("ResourceManager::loadSprite(): Error! Unrecognized color '%s'.", header.color.c_str());
    log_manager.writeLog("  Valid colors are: black, red, green, yellow,");
    log_manager.writeLog("                    blue, magenta, cyan and white.");
    return nullptr;
  }
  sprite->setColor(color);
  if (!readFrames(body, header, *sprite))
    return nullptr;
  return sprite;
}

bool SpriteFileReader::readFrames(std::list<std::string> &body, const Header &header, Sprite &sprite) {
  const LogManager &log_manager = LogManager::getInstance();
  line_number--;  // readData already counted "</BODY>"
  // A frame with more or fewer rows than the header's height shows up as a
  // row of the wrong length or a missing "end"; the rows between the "end"
  // lines name the real fault.
  const std::vector<int> rows = rowsPerFrame(body, header.frames);
  for (int i = 0; i < header.frames; i++) {
    Frame frame = nextFrame(body, header.width, header.height);
    if (frame.getString().empty()) {
      if (heightIsTheFault(rows, i, header.height))
        log_manager.writeLog("\tError! Frame %d: Line count is %d (frame height is %d).", i + 1,
                             rows[static_cast<size_t>(i)], header.height);
      log_manager.writeLog("ResourceManager::loadSprite(): Error! No frame data to add.");
      return false;
    }
    if (sprite.pushFrame(std::move(frame)) == -1) {
      log_manager.writeLog("ResourceManager::loadSprite(): Error! Cannot add Frame.");
      log_manager.writeLog("\tFramecount is %d, max is %d", sprite.getFrameCount() + 1, header.frames);
      return false;
    }
  }
  line_number++;  // "</BODY>"
  if (body.empty())
    return true;
  log_manager.writeLog(1, "ResourceManager::loadSprite(): Error! Extra BODY:");
  for (const std::string &line : body)
    log_manager.writeLog("\tline %d: %s", line_number++, line.c_str());
  return false;
}

bool SpriteFileReader::readFooter() {
  const LogManager &log_manager = LogManager::getInstance();
  std::list<std::string> lines = readData("FOOTER");
  if (lines.empty())
    return false;
  if (matchLineStr(lines, "version").empty()) {
    log_manager.writeLog("ResourceManager::loadSprite(): Error! Missing '%s' in FOOTER (line %d).", "version",
                         line_number);
    return false;
  }
  if (!lines.empty()) {
    log_manager.writeLog(1, "ResourceManager::loadSprite(): Warning! Unused FOOTER lines:");
    for (const std::string &line : lines)
      log_manager.writeLog(1, "\t'%s'", line.c_str());
  }
  return true;
}

std::string SpriteFileReader::getLine() {
  // Read byte by byte so an overlong line is refused before it is held in
  // memory. The length is counted in UTF-8 characters: a byte that continues
  // the character before it adds none, and a character has at most three
  // such bytes, so a line never holds more than four bytes per character.
  std::string line;
  int characters = 0;
  int continuing = 0;  // continuation bytes the last lead byte announced
  std::streambuf *buffer = file.rdbuf();
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      LogManager::getInstance().writeLog("getLine(): Error! Unexpected end of file.");
      return std::string();
    }
    if (c == '\n')
      break;
    if (continuing > 0 && (c & 0xC0) == 0x80) {
      continuing--;
    } else {
      if (characters == MAX_SPRITE_LINE_LENGTH) {
        LogManager::getInstance().writeLog("getLine(): Error! Line longer than %d characters.",
                                           MAX_SPRITE_LINE_LENGTH);
        return std::string();
      }
      characters++;
      continuing = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    }
    line.push_back(static_cast<char>(c));
  }
  lines_read++;
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return line;
}

bool SpriteFileReader::isUtf8(const std::string &line) const {
  int column = 1;
  for (size_t at = 0; at < line.size(); column++) {
    if (static_cast<unsigned char>(line[at]) < 0x80) {
      at++;
      continue;
    }
    const size_t start = at;
    if (decodeUtf8(line, at) == NOT_UTF8) {
      LogManager::getInstance().writeLog("\tError! Line %d: Column %d is not UTF-8: %s.", lines_read, column,
                                         whyNotUtf8(line, start).c_str());
      return false;
    }
  }
  return true;
}

std::list<std::string> SpriteFileReader::readData(const std::string &name) {
  const LogManager &log_manager = LogManager::getInstance();
  const std::string begin_tag = "<" + name + ">";
  const std::string end_tag = "</" + name + ">";
  std::string line = getLine();
  line_number++;
  if (!isUtf8(line))
    return {};
  if (line != begin_tag) {
    log_manager.writeLog("readData(): Error line %d! Expected '%s', have '%s'.", line_number, begin_tag.c_str(),
                         line.c_str());
    return {};
  }
  first_data_line = lines_read + 1;
  std::list<std::string> lines;
  for (line = getLine(); line != end_tag; line = getLine()) {
    if (line.empty()) {
      log_manager.writeLog("readData(): Error! Never encountered '%s'.", end_tag.c_str());
      return {};
    }
    if (!isUtf8(line))
      return {};
    lines.push_back(std::move(line));
  }
  line_number++;
  return lines;
}

int SpriteFileReader::matchLineInt(std::list<std::string> &lines, const std::string &key) {
  int value = -1;
  for (auto at = lines.begin(); at != lines.end();) {
    if (!startsWith(*at, key)) {
      ++at;
      continue;
    }
    if (value != -1)
      LogManager::getInstance().writeLog(1, "matchLineInt(): Warning! '%s' matches multiple lines.", at->c_str());
    value = toInt(valueOf(*at, key));
    line_number++;
    at = lines.erase(at);
  }
  return value;
}

std::string SpriteFileReader::matchLineStr(std::list<std::string> &lines, const std::string &key) {
  std::string value;
  for (auto at = lines.begin(); at != lines.end();) {
    if (!startsWith(*at, key)) {
      ++at;
      continue;
    }
    if (!value.empty())
      LogManager::getInstance().writeLog(1, "matchLineStr(): Warning! '%s' matches multiple lines.", at->c_str());
    value = valueOf(*at, key);
    line_number++;
    at = lines.erase(at);
  }
  return value;
}

Frame SpriteFileReader::nextFrame(std::list<std::string> &lines, int width, int height) {
  const LogManager &log_manager = LogManager::getInstance();
  if (lines.empty()) {
    log_manager.writeLog("\tError! Line %d: No more frame data.", line_number + 1);
    return Frame();
  }
  std::string text;
  for (int row = 0; row < height; row++) {
    const std::string line = takeFirst(lines);
    line_number++;
    // One cell per character: the row's length is counted in characters,
    // and a character that cannot fill a cell of its own is refused.
    int length = 0;
    for (size_t at = 0; at < line.size(); length++) {
      if (static_cast<unsigned char>(line[at]) < 0x80) {
        at++;
        continue;
      }
      const char32_t c = decodeUtf8(line, at);
      if (!isSingleWidth(c)) {
        log_manager.writeLog("\tError! Line %d: Column %d holds %s, which does not fill one cell.", line_number,
                             length + 1, describeCharacter(c).c_str());
        return Frame();
      }
    }
    if (length != width) {
      log_manager.writeLog("\tError! Line %d: Line length is %d (frame width is %d).", line_number, length, width);
      log_manager.writeLog("\tLine %d: '%s'", line_number, line.c_str());
      return Frame();
    }
    text += line;
  }
  const std::string line = takeFirst(lines);
  line_number++;
  if (line != "end") {
    log_manager.writeLog("\tError! Line %d: Expected '%s'.", line_number, "end");
    log_manager.writeLog("\tLine %d: '%s'", line_number, line.c_str());
    return Frame();
  }
  return Frame(width, height, text);
}

std::string SpriteFileReader::takeFirst(std::list<std::string> &lines) {
  if (lines.empty())
    return std::string();
  std::string first = std::move(lines.front());
  lines.pop_front();
  return first;
}

}  // namespace cv
