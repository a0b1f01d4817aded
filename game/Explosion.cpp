#include "Explosion.h"

#include "Corvane.h"
#include "resources.h"

Explosion::Explosion(const std::string &sprite_label) : time_to_live(0) {
  registerInterest(cv::STEP_EVENT);
  if (setSprite(sprite_label) == 0)
    time_to_live = getAnimation().getSprite()->getFrameCount();
  setType("Explosion");
  setSolidness(cv::SPECTRAL);
  setAltitude(2);
  playSound("explosion-sound");
}

int Explosion::eventHandler(const cv::Event *event) {
  if (event->getType() != cv::STEP_EVENT)
    return 0;
  if (--time_to_live <= 0)
    cv::WorldManager::getInstance().markForDelete(this);
  return 1;
}
