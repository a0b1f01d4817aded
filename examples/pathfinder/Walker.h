#pragma once

#include "Corvane.h"

/// Walks round the walls to wherever the left mouse button clicks. A click
/// starts a path search; when the path arrives the walker follows it, and
/// each time it reaches the end the "Arrivals" counter goes up. A click
/// where no path leads adds one to "No way" instead.
class Walker : public cv::Object {
 public:
  explicit Walker(cv::Vector where);
  int eventHandler(const cv::Event *event) override;

 private:
  void handleClick(const cv::EventMouse &mouse);
  void handlePath(const cv::EventPath &found);
  void handleStep();

  bool walking = false;  ///< following a path it has not yet finished
};
