#include "world/EventCollision.h"

namespace cv {

EventCollision::EventCollision() : pos(), obj1(nullptr), obj2(nullptr) { setType(COLLISION_EVENT); }

EventCollision::EventCollision(Object *obj1, Object *obj2, Vector pos) : pos(pos), obj1(obj1), obj2(obj2) {
  setType(COLLISION_EVENT);
}

Object *EventCollision::getObject1() const { return obj1; }
void EventCollision::setObject1(Object *new_obj1) { obj1 = new_obj1; }
Object *EventCollision::getObject2() const { return obj2; }
void EventCollision::setObject2(Object *new_obj2) { obj2 = new_obj2; }
Vector EventCollision::getPosition() const { return pos; }
void EventCollision::setPosition(Vector new_pos) { pos = new_pos; }

}  // namespace cv
