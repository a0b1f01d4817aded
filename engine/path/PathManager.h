#pragma once

#include <vector>

#include "core/Manager.h"

namespace cv {

class Clock;
class Object;
class PathFind;

/// Runs the path searches in the time the game loop leaves in each frame,
/// and hands each ended search's outcome straight to the object that asked
/// for it, as an EventPath. The manager never owns a search: the object
/// does, and removes it when the search ends or the object goes away.
class PathManager : public Manager {
 public:
  /// The one path manager.
  static PathManager &getInstance();

  /// Takes a tenth of the game manager's frame time as the least time a
  /// cycle may use. Starting again only warns. Returns 0.
  int startUp() override;
  /// Stops the manager; running searches stay listed.
  void shutDown() override;

  /// Steps the searches, one cell each in turn, until the larger of the
  /// cycle time and `min_time` milliseconds (at least 1) have passed or no
  /// search is left. Each search that ends is reported to its object.
  void cycle(int min_time);

  /// Appends `path_find` to the searches being run. -1 if it is null or
  /// already listed.
  int addPathFind(PathFind *path_find);
  /// Removes every listing of `path_find`, keeping the order of the rest,
  /// without destroying it. -1 if it is null or not listed.
  int removePathFind(PathFind *path_find);
  /// Lets every listed search aimed at `target` lead to its goal cell
  /// instead: the target is going away.
  void forgetTarget(const Object *target);

  /// Number of searches being run.
  int getSearchCount() const;
  /// Least milliseconds a cycle may use.
  int getCycleTime() const;

 private:
  PathManager();
  PathManager(const PathManager &) = delete;
  PathManager &operator=(const PathManager &) = delete;

  /// Steps each listed search once, reporting those that end, until the
  /// list has been walked or `budget` milliseconds have passed on `clock`.
  /// A search still listed after its report is taken off the list.
  void walkSearches(const Clock &clock, int budget);

  std::vector<PathFind *> searches;  ///< searches being run, not owned
  int cycle_time;                    ///< least milliseconds a cycle may use
};

}  // namespace cv
