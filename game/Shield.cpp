#include "Shield.h"

#include "Corvane.h"
#include "enemyRules.h"

Shield::Shield(cv::Vector position) : hits_left(2), last_bullet_id(0) {
  setType("Shield");
  setSprite("shield");
  setSolidness(cv::SOFT);
  registerInterest(cv::STEP_EVENT);
  setPosition(cv::Vector(position.getX(), position.getY() + 3));
}

int Shield::eventHandler(const cv::Event *event) {
  if (event->getType() == cv::STEP_EVENT) {
    if (hits_left <= 0)
      cv::WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  if (event->getType() == cv::COLLISION_EVENT) {
    const auto *collision = static_cast<const cv::EventCollision *>(event);
    // An absorbed bullet stays until the end of the update, and the shield may
    // move into it again meanwhile: each bullet counts once.
    const cv::Object *other = otherObject(collision, this);
    if (other->getType() == "Bullet" && other->getId() != last_bullet_id) {
      hits_left--;
      last_bullet_id = other->getId();
    }
    if (eitherIs(collision, "SuperBullet"))
      cv::WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  return 0;
}

int Shield::getHitsLeft() const { return hits_left; }
