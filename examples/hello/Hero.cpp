#include "Hero.h"

namespace {

/// Cells walked per game step.
const float WALK_SPEED = 0.5f;

/// The unit direction a movement key walks in; (0, 0) for other keys.
cv::Vector directionOf(cv::Keyboard::Key key) {
  switch (key) {
    case cv::Keyboard::W:
    case cv::Keyboard::UP:
      return cv::Vector(0, -1);
    case cv::Keyboard::S:
    case cv::Keyboard::DOWN:
      return cv::Vector(0, 1);
    case cv::Keyboard::A:
    case cv::Keyboard::LEFT:
      return cv::Vector(-1, 0);
    case cv::Keyboard::D:
    case cv::Keyboard::RIGHT:
      return cv::Vector(1, 0);
    default:
      return cv::Vector();
  }
}

}  // namespace

Hero::Hero(cv::Vector where) {
  setType("Hero");
  setSprite("hero");
  setPosition(where);
  registerInterest(cv::KEYBOARD_EVENT);
  // Collision events come without registering.
}

int Hero::eventHandler(const cv::Event *event) {
  if (event->getType() == cv::KEYBOARD_EVENT) {
    handleKey(*static_cast<const cv::EventKeyboard *>(event));
    return 1;
  }
  if (event->getType() == cv::COLLISION_EVENT) {
    handleCollision(*static_cast<const cv::EventCollision *>(event));
    return 1;
  }
  return 0;
}

void Hero::handleKey(const cv::EventKeyboard &key) {
  if (key.getKey() == cv::Keyboard::Q && key.getKeyboardAction() == cv::KEY_PRESSED) {
    cv::GameManager::getInstance().setGameOver();
    return;
  }
  cv::Vector direction = directionOf(key.getKey());
  if (direction == cv::Vector())
    return;
  if (key.getKeyboardAction() == cv::KEY_PRESSED) {
    direction.scale(WALK_SPEED);
    setVelocity(direction);
  } else if (key.getKeyboardAction() == cv::KEY_RELEASED) {
    setVelocity(cv::Vector());
  }
}

void Hero::handleCollision(const cv::EventCollision &collision) {
  const cv::Object *other = collision.getObject1() == this ? collision.getObject2() : collision.getObject1();
  if (other->getType() != "Rock")
    return;
  setVelocity(cv::Vector());
  const cv::EventView bump("Bumps", 1, true);
  cv::WorldManager::getInstance().onEvent(&bump);
}
