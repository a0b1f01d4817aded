#pragma once

#include "core/Event.h"

namespace cv {

const std::string STEP_EVENT = "cv-step";

/// Sent once per game-loop iteration to the objects interested in "cv-step".
class EventStep : public Event {
 public:
  explicit EventStep(int step_count = 0);

  void setStepCount(int new_step_count);
  int getStepCount() const;

 private:
  int step_count;  ///< the game-loop step at which the event was sent
};

}  // namespace cv
