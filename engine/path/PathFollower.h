#pragma once

namespace cv {

class Object;

/// Steers objects along their paths, one step per object per world update.
class PathFollower {
 public:
  /// One step of path following for `object`, made right after its move.
  /// Does nothing unless the object follows its path. Every node within
  /// 0.75 x speed of the object is snapped onto (with no collision test)
  /// and passed, several in one step if they are close; the object then
  /// heads for the next node. At the end of the path it stops and stops
  /// following.
  static void step(Object &object);

 private:
  /// Whether `object` is close enough to its current node to snap onto it.
  static bool closeToNode(const Object &object);
};

}  // namespace cv
