#pragma once

#include <fstream>
#include <list>
#include <memory>
#include <string>

#include "presentation/sprites/Frame.h"

namespace cv {

class Sprite;

/// Longest line a sprite file may hold, in UTF-8 characters; longer lines
/// are refused unread.
const int MAX_SPRITE_LINE_LENGTH = 65536;

/// Reads one sprite file: a HEADER of settings, a BODY of frames and a FOOTER.
/// Every problem is logged, with the 1-based number of the line it concerns
/// where the message gives one, and the file is refused.
class SpriteFileReader {
 public:
  SpriteFileReader();

  /// Reads `filename` into a new sprite (its label not yet set), or returns
  /// null after logging why the file was refused.
  std::unique_ptr<Sprite> read(const std::string &filename);

 private:
  /// The settings a header gives.
  struct Header {
    int frames = 0;                 ///< number of frames in the body
    int width = 0;                  ///< characters per frame row
    int height = 0;                 ///< rows per frame
    std::string color = "default";  ///< colour name
    char32_t transparency = 0;      ///< character not drawn; 0 for none
    int transparency_line = 0;      ///< line of the file that gives it
    int slowdown = 0;               ///< draws per frame
  };

  SpriteFileReader(const SpriteFileReader &) = delete;
  SpriteFileReader &operator=(const SpriteFileReader &) = delete;

  /// Opens the file; false (logged) when it is missing or not a plain file.
  bool open(const std::string &filename);
  /// Reads the HEADER section into `header`. False (logged) when refused.
  bool readHeader(Header &header);
  /// Takes the required positive integer `key` from the header lines.
  bool requireInt(std::list<std::string> &lines, const std::string &key, int &value);
  /// Takes the optional settings from the header lines, with their
  /// defaults. False (logged) for a transparency that fills no single cell.
  bool readOptional(std::list<std::string> &lines, Header &header);
  /// Logs the settings read, at level 5.
  void logHeader(const Header &header) const;
  /// Reads the BODY section into a sprite with `header`'s settings.
  std::unique_ptr<Sprite> readBody(const Header &header);
  /// Reads `header.frames` frames from `body` into `sprite`, then checks
  /// that nothing is left. False (logged) when refused.
  bool readFrames(std::list<std::string> &body, const Header &header, Sprite &sprite);
  /// Reads the FOOTER section. False (logged) when refused.
  bool readFooter();

  /// The next line without its line break (and one '\r' before it). An
  /// empty line, logged, at the end of the file, on a failed read or past
  /// MAX_SPRITE_LINE_LENGTH characters.
  std::string getLine();
  /// Whether `line`, the last one read, is UTF-8; logs where it is not.
  bool isUtf8(const std::string &line) const;
  /// The lines between "<name>" and "</name>"; empty (logged) when the
  /// section is malformed, holds a line that is not UTF-8, or has no lines.
  std::list<std::string> readData(const std::string &name);
  /// Removes every line starting with `key` and returns the last one's
  /// integer value, or -1 without such a line.
  int matchLineInt(std::list<std::string> &lines, const std::string &key);
  /// Removes every line starting with `key` and returns the last one's
  /// value, or "" without such a line.
  std::string matchLineStr(std::list<std::string> &lines, const std::string &key);
  /// Takes the next frame from `lines`; an empty frame (logged) when the
  /// lines do not hold one.
  Frame nextFrame(std::list<std::string> &lines, int width, int height);
  /// Removes and returns the first of `lines`, or "" when there is none.
  std::string takeFirst(std::list<std::string> &lines);

  std::ifstream file;    ///< the sprite file being read
  int line_number;       ///< lines accounted for so far, for messages
  int lines_read;        ///< lines read from the file so far
  int first_data_line;   ///< the number of the first line inside the last section read
};

}  // namespace cv
