#include "MainEnemy.h"

#include "AmmoBox.h"
#include "Corvane.h"
#include "EnemyBullet.h"
#include "enemyRules.h"

MainEnemy::MainEnemy() : fire_interval(0), fire_counter(0), points(0), kind(GRAPE), left_limit(2), killer_id(0) {
  setType("Enemy");
  setAltitude(2);
  setPosition(cv::Vector(0, 0));
  registerInterest(cv::STEP_EVENT);
}

MainEnemy::~MainEnemy() {
  spawnEnemy(kind);
  if (heroExists())
    new AmmoBox(getPosition());
}

void MainEnemy::setKind(int new_kind, float new_left_limit, int new_points, std::string new_explosion_sprite,
                        int new_fire_interval, cv::Vector new_bullet_velocity) {
  kind = new_kind;
  left_limit = new_left_limit;
  points = new_points;
  explosion_sprite = std::move(new_explosion_sprite);
  fire_interval = new_fire_interval;
  bullet_velocity = new_bullet_velocity;
}

int MainEnemy::getPoints() const { return points; }

int MainEnemy::getKind() const { return kind; }

bool MainEnemy::isKilled() const { return killer_id != 0; }

void MainEnemy::setKilled(int new_killer_id) { killer_id = new_killer_id; }

int MainEnemy::getKillerId() const { return killer_id; }

int MainEnemy::eventHandler(const cv::Event *event) {
  if (event->getType() == cv::STEP_EVENT) {
    stepKind();
    checkWalls();
    return 1;
  }
  if (event->getType() == cv::OUT_EVENT) {
    if (getPosition().getY() > cv::WorldManager::getInstance().getBoundary().getVertical())
      leaveAtBottom();
    return 1;
  }
  if (event->getType() == cv::COLLISION_EVENT) {
    collide(static_cast<const cv::EventCollision *>(event));
    return 1;
  }
  return 0;
}

void MainEnemy::stepKind() {
  if (fire_interval <= 0 || ++fire_counter < fire_interval)
    return;
  fireVolley();
  fire_counter = 0;
}

void MainEnemy::fireVolley() {}

void MainEnemy::leaveAtBottom() {
  placeAtTop(this);
  spawnEnemy(kind);
}

bool MainEnemy::turnsOnContact() const { return false; }

void MainEnemy::fireAtHeroes() {
  const cv::ObjectList heroes = cv::WorldManager::getInstance().objectsOfType("Hero");
  for (cv::ObjectListIterator li(&heroes); !li.isDone(); li.next()) {
    cv::Vector aim = li.currentObject()->getPosition() - getPosition();
    // A hero exactly here gives no direction: such a bullet would never leave.
    if (aim.getMagnitude() == 0)
      continue;
    auto *bullet = new EnemyBullet(getPosition(), bullet_velocity);
    aim.normalize();
    aim.scale(0.5f);
    bullet->setVelocity(aim);
  }
}

void MainEnemy::checkWalls() {
  const float x = getPosition().getX();
  if (x > cv::WorldManager::getInstance().getBoundary().getHorizontal() * 2 / 3 || x < left_limit)
    cv::WorldManager::getInstance().markForDelete(this);
}

void MainEnemy::collide(const cv::EventCollision *collision) {
  // The enemy is always one of the two objects: the rules look at the other.
  cv::Object *other_object = otherObject(collision, this);
  const std::string other = other_object->getType();
  const bool turns = turnsOnContact();
  if ((other == "Enemy" && !turns) || isKilled())
    return;
  if (turns && (other == "Enemy" || other == "Wall" || other == "Shield")) {
    const cv::Vector velocity = getVelocity();
    setVelocity(cv::Vector(-velocity.getX(), velocity.getY()));
  }
  if (other == "Bullet")
    hitByBullet(collision, points, explosion_sprite);
  if (other == "SuperBullet")
    hitBySuperBullet(collision, points, explosion_sprite);
  if (other == "Hero") {
    killer_id = other_object->getId();
    cv::WorldManager::getInstance().markForDelete(collision->getObject1());
    cv::WorldManager::getInstance().markForDelete(collision->getObject2());
  }
}
