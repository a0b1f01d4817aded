#pragma once

#include "core/Manager.h"

namespace cv {

/// Runs path searches within the time budget the game loop gives it.
class PathManager : public Manager {
 public:
  static PathManager &getInstance();

  int startUp() override;
  void shutDown() override;

  /// Advances the running searches for at most `budget_ms` milliseconds.
  void cycle(int budget_ms);

 private:
  PathManager();
  PathManager(const PathManager &) = delete;
  PathManager &operator=(const PathManager &) = delete;
};

}  // namespace cv
