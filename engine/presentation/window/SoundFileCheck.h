#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "presentation/audio/soundLimits.h"

namespace sf {
class FileInputStream;
class InputSoundFile;
class InputStream;
}  // namespace sf

namespace cv {


/// Checks sound and music files before the audio library decodes them, so
/// a malformed or absurd file is refused instead of crashing the program or
/// filling memory. A WAV file is read chunk by chunk here first; every file
/// must then have a channel count the audio device plays, a plausible sample
/// rate and a decoded size within the given limit.
class SoundFileCheck {
 public:
  /// Opens `filename` in `stream` if it is a plain file (the audio library
  /// would read a directory or a pipe without end). 0, or -1 with `reason`.
  static int openFile(const std::string &filename, sf::FileInputStream &stream, std::string &reason);

  /// Reads the whole of `stream`, from its start, into `bytes`, unless it
  /// holds more than `max_bytes`. 0, or -1 with `reason`.
  static int readAll(sf::InputStream &stream, std::uint64_t max_bytes, std::vector<char> &bytes,
                     std::string &reason);

  /// Checks the sound in `stream` and opens it from there in `file` (header
  /// only, nothing decoded), so that what is decoded is what was checked.
  /// 0 when it may be decoded; -1 with `reason` saying why not, `file` then
  /// being unusable.
  static int open(sf::InputStream &stream, std::uint64_t max_samples, sf::InputSoundFile &file, std::string &reason);

  /// Whether `channel_count` is a layout the audio device plays: mono,
  /// stereo, quad, 5.1, 6.1 or 7.1.
  static bool isPlayableChannelCount(unsigned int channel_count);

 private:
  /// The structure of a RIFF WAVE file: its format chunk must come before its
  /// data chunk, describe integer PCM sanely, and every chunk up to the data
  /// must lie within the file and have an even size (where readers disagree
  /// on the pad byte of an odd chunk, the decoder would meet other chunks
  /// than the ones checked); then its channels, rate and size as
  /// checkFacts does. 0 when sound or not a RIFF file, -1 with `reason`
  /// otherwise.
  static int checkWave(sf::InputStream &stream, std::uint64_t max_samples, std::string &reason);

  /// The facts read from the header: channels, rate and decoded size.
  static int checkFacts(unsigned int channel_count, unsigned int sample_rate, std::uint64_t sample_count,
                        std::uint64_t max_samples, std::string &reason);
};

}  // namespace cv
