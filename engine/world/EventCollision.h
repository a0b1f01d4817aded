#pragma once

#include "core/Event.h"
#include "foundation/Vector.h"

namespace cv {

class Object;

const std::string COLLISION_EVENT = "cv-collision";

/// Sent to both objects when a moving object meets a solid one.
class EventCollision : public Event {
 public:
  EventCollision();
  EventCollision(Object *obj1, Object *obj2, Vector pos);

  Object *getObject1() const;
  void setObject1(Object *new_obj1);
  Object *getObject2() const;
  void setObject2(Object *new_obj2);
  Vector getPosition() const;
  void setPosition(Vector new_pos);

 private:
  Vector pos;     ///< where the mover was trying to go
  Object *obj1;   ///< the moving object
  Object *obj2;   ///< the object it would collide with
};

}  // namespace cv
