#pragma once

#include <string>

#include "core/Manager.h"

namespace cv {

/// The engine's version, shown in the start banner.
const float CORVANE_VERSION = 4.15f;

/// Starts every manager in order, runs the fixed-rate game loop and stops
/// the managers in reverse order. Accepts interest in "cv-step".
class GameManager : public Manager {
 public:
  /// The one game manager, created on first use.
  static GameManager &getInstance();

  /// Makes the game's run directory the working directory, so that the
  /// configuration, the font, the log and every file the game names
  /// relative to it are found whatever directory the program was started
  /// from. The run directory is "run/" beside the executable, else the
  /// executable's own directory, whichever holds a "cv-config.txt" (the
  /// directory corvane_add_run_directory assembles). Call it before
  /// startUp. 0 when the working directory now is the run directory; -1
  /// when none is found or it cannot be entered: the working directory then
  /// stays as it was (a web build's files are there).
  int enterRunDirectory();

  /// The full name of the working directory, where the game's relative file
  /// names are taken from; "" when the system cannot tell.
  std::string getRunDirectory() const;

  /// Loads the configuration and starts the managers. -1 at the first
  /// manager that fails (the managers started so far stay running);
  /// getStartUpFailure then says why.
  int startUp() override;

  /// Why the last start-up failed: the first message the failing manager
  /// wrote about it (its own words, as in the log), or "" when the last
  /// start-up succeeded or none has run. A game shows it to the user.
  std::string getStartUpFailure() const;

  /// Stops every manager in reverse order, the log last.
  void shutDown() override;

  /// Runs the game loop until the game-over flag is set, or until SIGINT or
  /// SIGTERM arrives (caught from start-up until shut-down): either ends the
  /// loop after the current iteration.
  void run();

  /// Accepts interest only in "cv-step".
  bool isValid(std::string event_type) const override;

  /// The loop ends after the iteration in which this becomes true.
  void setGameOver(bool new_game_over = true);

  /// Whether the loop ends after the current iteration.
  bool getGameOver() const;

  /// Target duration of one loop iteration, in milliseconds.
  int getFrameTime() const;

  /// Iterations completed since the loop started.
  int getStepCount() const;

  /// Keeps the files the game writes in `directory` (made if missing) from
  /// one run to the next, for saved games and settings. On a desktop they
  /// are plain files and last anyway. In a web page the directory lives in
  /// the browser's storage (IndexedDB): what was kept there is read back
  /// now, and what the game writes there is kept at saveKeptFiles() and at
  /// shut-down. 0, or -1 (logged) when it cannot.
  int keepFiles(std::string directory);

  /// Keeps what the game wrote in its kept directories now (see keepFiles).
  /// 0, or -1 (logged) when it cannot.
  int saveKeptFiles();

 private:
  GameManager();
  GameManager(const GameManager &) = delete;
  GameManager &operator=(const GameManager &) = delete;

  int startManagers();
  int startOne(Manager &manager, const char *failure, const char *success);
  int seedRandom() const;
  void pollNetwork(const class Clock &clock) const;

  bool game_over;  ///< the loop ends after the iteration in which it becomes true
  int frame_time;  ///< target milliseconds per iteration
  int step_count;  ///< iterations completed since the loop started
  std::string start_up_failure;  ///< why the last start-up failed, "" if it did not
  bool kept_files;               ///< the game keeps files (keepFiles), to be saved at shut-down
};

}  // namespace cv
