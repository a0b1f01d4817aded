#include "Durian.h"

#include <cmath>

#include "Corvane.h"
#include "Shield.h"
#include "enemyRules.h"

Durian::Durian() : shield_id(0) {
  setSprite("durian");
  setVelocity(cv::Vector(0.2f, 0.02f));
  setKind(DURIAN, 2, 20, "durian-explosion");
  placeAtTop(this);
  auto *shield = new Shield(cv::Vector(getPosition().getX(), getPosition().getY() + 3));
  shield->setVelocity(getVelocity());
  shield_id = shield->getId();
}

Durian::~Durian() {
  // The shield may already have been destroyed by bullets: look for it by id.
  const cv::ObjectList shields = cv::WorldManager::getInstance().getAllObjects(true);
  for (cv::ObjectListIterator li(&shields); !li.isDone(); li.next())
    if (li.currentObject()->getId() == shield_id)
      cv::WorldManager::getInstance().markForDelete(li.currentObject());
}

void Durian::stepKind() {
  const cv::Vector here = getPosition();
  const cv::ObjectList shields = cv::WorldManager::getInstance().objectsOfType("Shield");
  for (cv::ObjectListIterator li(&shields); !li.isDone(); li.next()) {
    cv::Object *shield = li.currentObject();
    if (std::fabs(shield->getPosition().getX() - here.getX()) < 1) {
      shield->setPosition(cv::Vector(here.getX(), here.getY() + 3));
      shield->setVelocity(getVelocity());
    }
  }
}

bool Durian::turnsOnContact() const { return true; }
