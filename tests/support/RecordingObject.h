#pragma once
// An object that records the events it receives, for dispatch tests.

#include <functional>
#include <string>
#include <vector>

#include "core/Event.h"
#include "world/Object.h"

namespace cvtest {

class RecordingObject : public cv::Object {
 public:
  /// Called for every event before it is recorded.
  std::function<void(const cv::Event *)> on_event;
  /// Types of the events received, in order.
  std::vector<std::string> received;

  int eventHandler(const cv::Event *event) override {
    received.push_back(event->getType());
    if (on_event)
      on_event(event);
    return 1;
  }
};

}  // namespace cvtest
