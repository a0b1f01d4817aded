// A tiny game: one walker with a sprite of its own walks right for ten
// steps, then the game ends and says where the walker stopped.
#include <cstdio>

#include "Corvane.h"

namespace {

class Walker : public cv::Object {
 public:
  Walker() {
    setType("Walker");
    setSprite("walker");
    setPosition(cv::Vector(5, 5));
    setVelocity(cv::Vector(1, 0));
    registerInterest(cv::STEP_EVENT);
  }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::STEP_EVENT)
      return 0;
    if (++steps == 10)
      cv::GameManager::getInstance().setGameOver();
    return 1;
  }

 private:
  int steps = 0;
};

}  // namespace

int main() {
  cv::GameManager &game = cv::GameManager::getInstance();
  game.enterRunDirectory();
  if (game.startUp() != 0) {
    std::fprintf(stderr, "tiny: %s\n", game.getStartUpFailure().c_str());
    return 1;
  }
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  if (resources.loadSprite("sprites/walker-spr.txt", "walker") != 0) {
    std::fprintf(stderr, "tiny: %s\n", resources.getLoadFailure().c_str());
    game.shutDown();
    return 1;
  }
  Walker *walker = new Walker;
  game.run();
  std::printf("walker at %.0f,%.0f\n", walker->getPosition().getX(), walker->getPosition().getY());
  game.shutDown();
  return 0;
}
