#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "presentation/InputSource.h"
#include "presentation/input/InputRecorder.h"

namespace cv {

class Event;
class InputManager;

/// Plays a recording made by InputRecorder back into the game, step by
/// step, in place of live input. At the start of every step it compares the
/// world with the recorded world and sends the step's recorded events; a
/// world or an event that reaches a different number of objects than in the
/// recording is a drift, logged with its step. The recording's last step
/// ends the game.
class InputReplayer {
 public:
  InputReplayer();
  InputReplayer(const InputReplayer &) = delete;
  InputReplayer &operator=(const InputReplayer &) = delete;

  /// Reads the whole recording `filename`. -1 (logged, with the line) when
  /// it cannot be read or a line is malformed.
  int open(const std::string &filename);

  /// The seed the recorded game started with.
  int getSeed() const;

  /// The configuration text the recorded game started with.
  std::string getConfigText() const;

  /// The last step the recorded game ran.
  int getLastStep() const;

  /// At the start of `step`: compares `world` with the recording and sends
  /// the step's recorded events to `dispatch`.
  void playStep(int step, WorldDigest world, const InputDispatch &dispatch);

  /// playStep to the objects interested in each event, as `input_manager`
  /// would hand them live input.
  void playStep(int step, WorldDigest world, const InputManager &input_manager);

  /// After the game's last step `last_step`: compares the final world and
  /// logs whether the replay matched its recording.
  void finish(int last_step, WorldDigest world);

 private:
  /// One recorded line after the header.
  struct Entry {
    enum Kind { WORLD, KEYBOARD, MOUSE } kind;
    int step;           ///< the step it belongs to
    WorldDigest world;  ///< WORLD: the world at the start of the step
    int action;         ///< KEYBOARD, MOUSE: the event's action
    int code;           ///< KEYBOARD: the key; MOUSE: the button
    float x, y;         ///< MOUSE: the position in cells
    int receivers;      ///< KEYBOARD, MOUSE: objects that took the event
  };

  /// Reads one line after the header into `entries`; false when malformed.
  bool readEntry(const std::string &line);
  /// Logs a drift at `step`, the first one with its details.
  void drift(int step, const std::string &what);

  std::string filename;          ///< the recording, for messages
  int seed;                      ///< the recorded seed
  std::string config_text;       ///< the recorded configuration text
  std::vector<Entry> entries;    ///< the recorded steps, in order
  std::size_t next;              ///< the next entry to play
  int last_step;                 ///< the recording's last step
  WorldDigest final_world;       ///< the world after the last step
  int drifts;                    ///< drifts found so far
};

}  // namespace cv
