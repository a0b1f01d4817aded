#pragma once
// An object that notes the path events it gets and then lets the engine's
// own handler act on them, as a game object that follows paths would.

#include <vector>

#include "Corvane.h"

namespace pathtest {

class Walker : public cv::Object {
 public:
  explicit Walker(cv::Vector where, float walker_speed = 0) {
    setType("Walker");
    setPosition(where);
    setSpeed(walker_speed);
  }

  std::vector<cv::PathStatus> statuses;  ///< status of every path event, in order
  std::vector<cv::Path> paths;           ///< path of every path event, in order

  int eventHandler(const cv::Event *event) override {
    if (const auto *path_event = dynamic_cast<const cv::EventPath *>(event)) {
      statuses.push_back(path_event->getStatus());
      paths.push_back(path_event->getPath());
    }
    return cv::Object::eventHandler(event);
  }
};

}  // namespace pathtest
