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

 private:
  GameManager();
  GameManager(const GameManager &) = delete;
  GameManager &operator=(const GameManager &) = delete;

  int startManagers();
  int startOne(Manager &manager, const char *failure, const char *success);
  void seedRandom() const;
  void pollNetwork(const class Clock &clock) const;

  bool game_over;  ///< the loop ends after the iteration in which it becomes true
  int frame_time;  ///< target milliseconds per iteration
  int step_count;  ///< iterations completed since the loop started
  std::string start_up_failure;  ///< why the last start-up failed, "" if it did not
};

}  // namespace cv
