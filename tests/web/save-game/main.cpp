// A game that counts how often it was started, in a file it keeps: the web
// tests reload its page and expect the count to go on. The count is the
// x of an object, saved and restored with the object's serialization.

#include <fstream>
#include <sstream>
#include <string>

#include "Corvane.h"

namespace {

const char *const SAVES = "/saves";
const char *const SAVED = "/saves/counter.txt";

// Shows the count as "run N" in the top-left corner.
class RunCount : public cv::Object {
 public:
  RunCount() {
    setType("RunCount");
    setSolidness(cv::SPECTRAL);
  }
  int draw() override {
    const std::string text = "run " + std::to_string(static_cast<int>(getPosition().getX()));
    return cv::DisplayManager::getInstance().drawString(cv::Vector(0, 0), text, cv::LEFT_JUSTIFIED, cv::WHITE);
  }
};

}  // namespace

int main() {
  cv::GameManager &game = cv::GameManager::getInstance();
  if (game.startUp() != 0)
    return 1;
  game.keepFiles(SAVES);
  auto *count = new RunCount;
  std::ifstream saved(SAVED);
  std::stringstream text;
  text << saved.rdbuf();
  if (!text.str().empty())
    count->deserialize(text.str());
  count->setPosition(cv::Vector(count->getPosition().getX() + 1, 0));
  std::ofstream(SAVED) << count->serialize("ALL");
  game.saveKeptFiles();
  game.run();
  game.shutDown();
  return 0;
}
