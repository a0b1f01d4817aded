#include "enemyRules.h"

#include <cstdlib>  // Required for: rand()

#include "Banana.h"
#include "Bullet.h"
#include "Corvane.h"
#include "Durian.h"
#include "Explosion.h"
#include "Grape.h"
#include "Lemon.h"
#include "MainEnemy.h"
#include "Points.h"
#include "SuperBullet.h"
#include "Watermelon.h"

namespace {

/// The points counter: the view object at the top right, or null.
Points *findPointsCounter() {
  const cv::ObjectList views = cv::WorldManager::getInstance().objectsOfType("ViewObject");
  for (cv::ObjectListIterator li(&views); !li.isDone(); li.next()) {
    auto *view = dynamic_cast<cv::ViewObject *>(li.currentObject());
    if (view && view->getLocation() == cv::TOP_RIGHT)
      if (auto *points = dynamic_cast<Points *>(view))
        return points;
  }
  return nullptr;
}

/// Sends `points` to the "Points" counter.
void score(int points) {
  const cv::EventView view("Points", points, true);
  cv::WorldManager::getInstance().onEvent(&view);
}

/// Leaves an explosion of `sprite` at `where`.
void explodeAt(const std::string &sprite, cv::Vector where) {
  auto *explosion = new Explosion(sprite);
  explosion->setPosition(where);
}

}  // namespace

int countOfType(const std::string &type) {
  const cv::ObjectList all = cv::WorldManager::getInstance().getAllObjects(true);
  int count = 0;
  for (cv::ObjectListIterator li(&all); !li.isDone(); li.next())
    if (li.currentObject()->getType() == type)
      count++;
  return count;
}

bool heroExists() { return countOfType("Hero") > 0; }

cv::Object *otherObject(const cv::EventCollision *collision, const cv::Object *self) {
  return collision->getObject1() == self ? collision->getObject2() : collision->getObject1();
}

bool eitherIs(const cv::EventCollision *collision, const std::string &type) {
  return collision->getObject1()->getType() == type || collision->getObject2()->getType() == type;
}

void spawnEnemy(int exclude) {
  if (!heroExists())
    return;
  const Points *counter = findPointsCounter();
  if (!counter)
    return;
  const int enemies = countOfType("Enemy");
  if (enemies > counter->getLevel())
    return;
  cv::LogManager::getInstance().writeLog("current enemy count: %d", enemies);
  const int draw = rand() % 5;
  if (draw == exclude) {
    new Grape;
    return;
  }
  switch (draw) {
    case BANANA:
      new Banana;
      break;
    case WATERMELON:
      new Watermelon;
      break;
    case LEMON:
      new Lemon;
      break;
    case DURIAN:
      if (enemies >= 2)
        new Durian;
      else
        new Grape;
      break;
    default:
      new Grape;
      new Grape;
      break;
  }
}

void placeAtTop(cv::Object *enemy) {
  cv::WorldManager &world = cv::WorldManager::getInstance();
  const float width = world.getBoundary().getHorizontal();
  // A world narrower than the walls' margin still gets a spot: the first column past it.
  const int span = static_cast<int>(width * 2 / 3 - 7);
  float x = static_cast<float>(span > 0 ? rand() % span + 7 : 7);
  if (x > width * 3 / 5)
    x -= 20;
  float y = static_cast<float>(rand() % 3);
  while (!world.getCollisions(enemy, cv::Vector(x, y)).isEmpty())
    y -= 1;
  world.moveObject(enemy, cv::Vector(x, y));
}

void hitByBullet(const cv::EventCollision *collision, int points, const std::string &explosion_sprite) {
  cv::Object *first = collision->getObject1(), *second = collision->getObject2();
  const bool bullet_first = first->getType() == "Bullet";
  const auto *bullet = dynamic_cast<const Bullet *>(bullet_first ? first : second);
  auto *enemy = dynamic_cast<MainEnemy *>(bullet_first ? second : first);
  // An enemy is scored once, even when it meets the same bullet again before its deletion.
  if (!bullet || !enemy || enemy->isKilled())
    return;
  enemy->setKilled(bullet->getId());
  score((bullet->isReflected() + 1) * (bullet->getBounces() + 1) * points);
  cv::WorldManager::getInstance().markForDelete(first);
  cv::WorldManager::getInstance().markForDelete(second);
  explodeAt(explosion_sprite, enemy->getPosition());
}

void hitBySuperBullet(const cv::EventCollision *collision, int points, const std::string &explosion_sprite) {
  cv::Object *first = collision->getObject1(), *second = collision->getObject2();
  const bool bullet_first = first->getType() == "SuperBullet";
  const auto *bullet = dynamic_cast<const SuperBullet *>(bullet_first ? first : second);
  auto *enemy = dynamic_cast<MainEnemy *>(bullet_first ? second : first);
  // An enemy is scored once, even when it meets the same bullet again before its deletion.
  if (!bullet || !enemy || enemy->isKilled())
    return;
  enemy->setKilled(bullet->getId());
  score((bullet->getKills() + 1) * (bullet->getBounces() + 1) * points);
  cv::WorldManager::getInstance().markForDelete(enemy);
  explodeAt(explosion_sprite, enemy->getPosition());
}
