#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace cv {

class Event;

/// First line of every recording, naming its format.
const std::string RECORDING_HEADER = "corvane-recording 1";

/// What a recording compares at every step: the number of objects in the
/// world and a digest of their state.
struct WorldDigest {
  int objects = 0;           ///< objects in the world, inactive ones too
  std::uint32_t digest = 0;  ///< hash of their state, in world order

  bool operator==(const WorldDigest &other) const { return objects == other.objects && digest == other.digest; }
  bool operator!=(const WorldDigest &other) const { return !(*this == other); }
};

/// The world as it is now: every object's id, type, position, velocity,
/// altitude, solidness, activity, visibility and animation frame, hashed.
WorldDigest digestWorld();

/// Writes a game's recording: the seed and configuration it started with,
/// the world's digest at the start of every step, every input event sent
/// with its step and the number of objects that took it, and the end. One
/// line each, so that a recording can be read and compared by eye.
class InputRecorder {
 public:
  InputRecorder() = default;
  InputRecorder(const InputRecorder &) = delete;
  InputRecorder &operator=(const InputRecorder &) = delete;

  /// Creates `filename` and writes the header, the seed and the
  /// configuration text. -1 (logged) when the file cannot be written.
  int open(const std::string &filename, int seed, const std::string &config_text);

  /// The world at the start of `step`.
  void checkpoint(int step, WorldDigest world);

  /// An input event sent at `step` and the number of objects that took it.
  /// Events other than keyboard and mouse events are not recorded.
  void event(int step, const Event &event, int receivers);

  /// The last step run and the world after it; closes the file, logging
  /// an error when the recording could not be written whole.
  void close(int last_step, WorldDigest world);

 private:
  std::ofstream file;    ///< the recording being written
  std::string filename;  ///< its name, for messages
};

}  // namespace cv
