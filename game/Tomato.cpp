#include "Tomato.h"

#include <algorithm>

#include "Bullet.h"
#include "Corvane.h"
#include "GameOver.h"
#include "Pickup.h"
#include "Reflector.h"
#include "Reticle.h"
#include "SuperBullet.h"
#include "resources.h"

namespace {

// Whether two boxes share more than an edge: a picture may stand right
// beside a wall, in the next cell, without meeting it.
bool overlap(const cv::Box &a, const cv::Box &b) {
  const auto spans_overlap = [](float a_min, float a_extent, float b_min, float b_extent) {
    return a_min < b_min + b_extent && b_min < a_min + a_extent;
  };
  return spans_overlap(a.getCorner().getX(), a.getHorizontal(), b.getCorner().getX(), b.getHorizontal()) &&
         spans_overlap(a.getCorner().getY(), a.getVertical(), b.getCorner().getY(), b.getVertical());
}

}  // namespace

Tomato::Tomato()
    : reticle(nullptr),
      ammo(2),
      rfl_depleted(false),
      rfl_max(30),
      rfl_power(30),
      fire_slowdown(15),
      fire_countdown(15),
      move_countdown(2),
      move_slowdown(2),
      reflector_on(false),
      move_dy(0),
      move_dx(0),
      pickup(nullptr),
      reflector(nullptr) {
  setType("Hero");
  setAltitude(3);
  setSolidness(cv::HARD);
  setSprite("player");
  registerInterest(cv::KEYBOARD_EVENT);
  registerInterest(cv::MOUSE_EVENT);
  registerInterest(cv::STEP_EVENT);
  const cv::Box boundary = cv::WorldManager::getInstance().getBoundary();
  setPosition(cv::Vector(boundary.getHorizontal() * 0.5f, boundary.getVertical() * 3 * 0.25f));
  reticle = new Reticle;
  pickup = new Pickup(getPosition());
  cv::LogManager &log = cv::LogManager::getInstance();
  log.writeLog("Collision box size: %f", static_cast<double>(getBox().getHorizontal()));
  // One cell at the middle of the picture, which is drawn centred on the position.
  setBox(cv::Box(cv::Vector(-0.5f, -0.5f), 1, 1));
  log.writeLog("Collision box size: %f", static_cast<double>(getBox().getHorizontal()));
}

Tomato::~Tomato() {
  playSound("player-death-sound");
  new GameOver;
}

int Tomato::eventHandler(const cv::Event *event) {
  const std::string type = event->getType();
  if (type == cv::KEYBOARD_EVENT) {
    keyboard(static_cast<const cv::EventKeyboard *>(event));
    return 1;
  }
  if (type == cv::MOUSE_EVENT) {
    const auto *mouse = static_cast<const cv::EventMouse *>(event);
    if (mouse->getMouseAction() == cv::CLICKED && mouse->getMouseButton() == cv::Mouse::LEFT_BUTTON)
      fire(reticle->getPosition());
    if (mouse->getMouseAction() == cv::CLICKED && mouse->getMouseButton() == cv::Mouse::RIGHT_BUTTON)
      superFire(reticle->getPosition());
    return 1;
  }
  if (type == cv::STEP_EVENT) {
    step();
    return 1;
  }
  return type == cv::COLLISION_EVENT || type == cv::OUT_EVENT ? 1 : 0;
}

void Tomato::keyboard(const cv::EventKeyboard *event) {
  const bool pressed = event->getKeyboardAction() == cv::KEY_PRESSED;
  const bool released = event->getKeyboardAction() == cv::KEY_RELEASED;
  const int change = pressed ? 1 : released ? -1 : 0;
  switch (event->getKey()) {
    case cv::Keyboard::W:
      move_dy -= change;
      break;
    case cv::Keyboard::S:
      move_dy += change;
      break;
    case cv::Keyboard::A:
      move_dx -= change;
      break;
    case cv::Keyboard::D:
      move_dx += change;
      break;
    case cv::Keyboard::SPACE:
      if (pressed)
        toggleReflector();
      break;
    case cv::Keyboard::Q:
      if (pressed) {
        cv::WorldManager::getInstance().markForDelete(this);
        cv::GameManager::getInstance().setGameOver(true);
      }
      break;
    default:
      return;
  }
  move(0, 0);
}

void Tomato::toggleReflector() {
  if (reflector_on) {
    dropReflector();
  } else if (!rfl_depleted) {
    reflector = new Reflector(getPosition());
    reflector_on = true;
  }
}

void Tomato::dropReflector() {
  reflector_on = false;
  cv::WorldManager::getInstance().markForDelete(reflector);
  reflector = nullptr;
}

cv::Vector Tomato::aimAt(cv::Vector target) const {
  cv::Vector direction = target - getPosition();
  direction.normalize();
  return direction;
}

void Tomato::fire(cv::Vector target) {
  const cv::Vector velocity = aimAt(target);
  if (fire_countdown > 0 || ammo < 1 || velocity.getMagnitude() == 0)
    return;
  fire_countdown = fire_slowdown;
  auto *bullet = new Bullet(cv::Vector(getPosition().getX() - 2, getPosition().getY() - 1), false);
  bullet->setVelocity(velocity);
  ammo--;
  report("Bullets", -1);
  playSound("fire");
}

void Tomato::superFire(cv::Vector target) {
  const cv::Vector velocity = aimAt(target);
  if (ammo <= 2 || velocity.getMagnitude() == 0)
    return;
  auto *bullet = new SuperBullet(cv::Vector(getPosition().getX() - 2, getPosition().getY() - 1));
  bullet->setVelocity(velocity);
  report("Bullets", -ammo);
  ammo = 0;
  rfl_depleted = true;
  rfl_power -= 60;
  report("RFL POWER", -60);
  playSound("fire");
}

void Tomato::step() {
  fire_countdown = std::max(fire_countdown - 1, 0);
  move_countdown = std::max(move_countdown - 1, 0);
  if (reflector_on) {
    rfl_power--;
    report("RFL POWER", -1);
    if (rfl_power < 0)
      rfl_depleted = true;
    if (rfl_power <= -30)
      dropReflector();
  }
  if (!reflector_on && !rfl_depleted) {
    if (rfl_power < rfl_max)
      report("RFL POWER", 1);
    rfl_power = std::min(rfl_power + 1, rfl_max);
  } else if (rfl_depleted && !reflector_on) {
    rfl_power++;
    if (rfl_power <= rfl_max)
      report("RFL POWER", 1);
    if (rfl_power >= rfl_max) {
      rfl_depleted = false;
      rfl_power = rfl_max;
    }
  }
  move(move_dx, move_dy);
}

void Tomato::move(int dx, int dy) {
  if (move_countdown > 0)
    return;
  move_countdown = move_slowdown;
  cv::WorldManager &world = cv::WorldManager::getInstance();
  // The one-cell box alone would let the picture walk into a wall: the hero
  // stops sideways where its picture would meet one, and still moves up or down.
  if (dx != 0 && pictureMeetsWall(cv::Vector(getPosition().getX() + static_cast<float>(dx), getPosition().getY())))
    dx = 0;
  const cv::Vector target(getPosition().getX() + static_cast<float>(dx), getPosition().getY() + static_cast<float>(dy));
  // Only the lower half, and never onto the last row: below it the hero would
  // walk out of sight, where nothing can reach it and the game never ends.
  const float height = world.getBoundary().getVertical();
  if (target.getY() > height * 0.5f && target.getY() < height - 1)
    world.moveObject(this, target);
  for (const char *follower : {"Reflector", "Pickup"}) {
    const cv::ObjectList list = world.objectsOfType(follower);
    for (cv::ObjectListIterator li(&list); !li.isDone(); li.next())
      li.currentObject()->setPosition(getPosition());
  }
}

bool Tomato::pictureMeetsWall(cv::Vector where) const {
  const cv::Box picture = getAnimation().getBox();
  const cv::Box drawn(picture.getCorner() + where, picture.getHorizontal(), picture.getVertical());
  const cv::ObjectList walls = cv::WorldManager::getInstance().objectsOfType("Wall");
  for (cv::ObjectListIterator li(&walls); !li.isDone(); li.next())
    if (overlap(drawn, cv::getWorldBox(li.currentObject())))
      return true;
  return false;
}

void Tomato::report(const char *tag, int value) const {
  const cv::EventView view(tag, value, true);
  cv::WorldManager::getInstance().onEvent(&view);
}

int Tomato::getAmmo() const { return ammo; }

void Tomato::addAmmo(int amount) { ammo += amount; }

int Tomato::getReflectorPower() const { return rfl_power; }

bool Tomato::isReflectorDepleted() const { return rfl_depleted; }

bool Tomato::isReflectorOn() const { return reflector_on; }

Reticle *Tomato::getReticle() const { return reticle; }
