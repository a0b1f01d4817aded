#pragma once

#include "core/Event.h"

namespace cv {

const std::string STEP_EVENT = "cv-step";

/// Sent once per game-loop iteration to the objects interested in "cv-step".
class EventStep : public Event {
 public:
  /// A step event sent at game-loop step `step_count`.
  explicit EventStep(int step_count = 0);

  /// Sets the step the event reports.
  void setStepCount(int new_step_count);

  /// The game-loop step at which the event was sent.
  int getStepCount() const;

 private:
  int step_count;  ///< the game-loop step at which the event was sent
};

}  // namespace cv
