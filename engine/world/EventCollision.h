#pragma once

#include "core/Event.h"
#include "foundation/Vector.h"

namespace cv {

class Object;

const std::string COLLISION_EVENT = "cv-collision";

/// Sent to both objects when a moving object meets a solid one.
class EventCollision : public Event {
 public:
  /// No objects, position (0, 0).
  EventCollision();
  /// `obj1` moving toward `pos` meets `obj2`.
  EventCollision(Object *obj1, Object *obj2, Vector pos);

  /// The moving object.
  Object *getObject1() const;
  void setObject1(Object *new_obj1);
  /// The object it would collide with.
  Object *getObject2() const;
  void setObject2(Object *new_obj2);
  /// Where the mover was trying to go.
  Vector getPosition() const;
  void setPosition(Vector new_pos);

 private:
  Vector pos;     ///< where the mover was trying to go
  Object *obj1;   ///< the moving object
  Object *obj2;   ///< the object it would collide with
};

}  // namespace cv
