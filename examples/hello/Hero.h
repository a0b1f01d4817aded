#pragma once

#include "Corvane.h"

/// The player's character. A movement key (W, A, S, D or the arrows) sets it
/// walking, releasing the key stops it; walking into a rock stops it too and
/// adds one to the "Bumps" counter. Q ends the game.
class Hero : public cv::Object {
 public:
  explicit Hero(cv::Vector where);
  int eventHandler(const cv::Event *event) override;

 private:
  void handleKey(const cv::EventKeyboard &key);
  void handleCollision(const cv::EventCollision &collision);
};
