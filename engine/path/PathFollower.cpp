#include "path/PathFollower.h"

#include "foundation/utility.h"
#include "world/Object.h"

namespace cv {

bool PathFollower::closeToNode(const Object &object) {
  const float node_distance = distance(object.position, object.path.currentNode());
  const float three_steps = object.speed * 3;
  return static_cast<double>(node_distance) <= static_cast<double>(three_steps) * 0.25;
}

void PathFollower::step(Object &object) {
  if (!object.follow_path)
    return;
  while (!object.path.isDone()) {
    if (!closeToNode(object)) {
      // The direction is steering, not a change the object asked for: no modified flag.
      Vector towards = object.path.currentNode() - object.position;
      towards.normalize();
      object.direction = towards;
      return;
    }
    object.setPosition(object.path.currentNode());
    object.path.next();
    object.setModified(PATH);
  }
  object.direction = Vector();
  object.setFollowPath(false);
}

}  // namespace cv
