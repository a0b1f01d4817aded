#include "presentation/sprites/SpriteFileReader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <vector>

#include "foundation/LogManager.h"
#include "presentation/sprites/Sprite.h"

namespace cv {

namespace {

// The integer at the start of `text`, read as atoi does (leading blanks, a
// sign, digits; 0 without digits), but clamped to the int range.
int toInt(const std::string &text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp(value, static_cast<long>(INT_MIN), static_cast<long>(INT_MAX)));
}

// What follows `key` and one separator character in `line`.
std::string valueOf(const std::string &line, const std::string &key) {
  return line.size() > key.size() ? line.substr(key.size() + 1) : std::string();
}

bool startsWith(const std::string &line, const std::string &key) { return line.compare(0, key.size(), key) == 0; }

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

SpriteFileReader::SpriteFileReader() : line_number(0) {}

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
  return true;
}

bool SpriteFileReader::readHeader(Header &header) {
  std::list<std::string> lines = readData("HEADER");
  if (lines.empty())
    return false;
  if (!requireInt(lines, "frames", header.frames) || !requireInt(lines, "width", header.width) ||
      !requireInt(lines, "height", header.height))
    return false;
  readOptional(lines, header);
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

void SpriteFileReader::readOptional(std::list<std::string> &lines, Header &header) {
  header.color = matchLineStr(lines, "color");
  if (header.color.empty()) {
    warnMissing("color");
    header.color = "default";
  }
  const std::string transparency = matchLineStr(lines, "transparency");
  header.transparency = transparency.empty() ? 0 : transparency[0];
  if (transparency.empty())
    warnMissing("transparency");
  header.slowdown = matchLineInt(lines, "slowdown");
  if (header.slowdown == -1) {
    warnMissing("slowdown");
    header.slowdown = 0;
  }
}

void SpriteFileReader::logHeader(const Header &header) const {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "\t      Frames: %d", header.frames);
  log_manager.writeLog(5, "\t       Width: %d", header.width);
  log_manager.writeLog(5, "\t      Height: %d", header.height);
  log_manager.writeLog(5, "\t    Slowdown: %d", header.slowdown);
  if (header.transparency)
    log_manager.writeLog(5, "\tTransparency: %c", header.transparency);
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
  // Read character by character so an overlong line is refused before it is
  // held in memory.
  std::string line;
  std::streambuf *buffer = file.rdbuf();
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      LogManager::getInstance().writeLog("getLine(): Error! Unexpected end of file.");
      return std::string();
    }
    if (c == '\n')
      break;
    if (line.size() == static_cast<size_t>(MAX_SPRITE_LINE_LENGTH)) {
      LogManager::getInstance().writeLog("getLine(): Error! Line longer than %d characters.", MAX_SPRITE_LINE_LENGTH);
      return std::string();
    }
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return line;
}

std::list<std::string> SpriteFileReader::readData(const std::string &name) {
  const LogManager &log_manager = LogManager::getInstance();
  const std::string begin_tag = "<" + name + ">";
  const std::string end_tag = "</" + name + ">";
  std::string line = getLine();
  line_number++;
  if (line != begin_tag) {
    log_manager.writeLog("readData(): Error line %d! Expected '%s', have '%s'.", line_number, begin_tag.c_str(),
                         line.c_str());
    return {};
  }
  std::list<std::string> lines;
  for (line = getLine(); line != end_tag; line = getLine()) {
    if (line.empty()) {
      log_manager.writeLog("readData(): Error! Never encountered '%s'.", end_tag.c_str());
      return {};
    }
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
    if (line.size() != static_cast<size_t>(width)) {
      log_manager.writeLog("\tError! Line %d: Line length is %d (frame width is %d).", line_number,
                           static_cast<int>(line.size()), width);
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
