#pragma once

#include "core/Event.h"

namespace cv {

const std::string OUT_EVENT = "cv-out";

/// Sent to an object that has just left the world's boundary.
class EventOut : public Event {
 public:
  /// An event of type "cv-out".
  EventOut();
};

}  // namespace cv
