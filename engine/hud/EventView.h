#pragma once

#include <string>

#include "core/Event.h"

namespace cv {

const std::string VIEW_EVENT = "cv-view";

/// A HUD update: view objects whose label equals `tag` take `value`, added
/// to their value when `delta` is true, replacing it otherwise.
class EventView : public Event {
 public:
  EventView(std::string tag, int value, bool delta);

  std::string getTag() const;
  int getValue() const;
  bool getDelta() const;

 private:
  std::string tag;  ///< label of the view objects meant
  int value;        ///< amount to add, or the new value
  bool delta;       ///< add when true, replace when false
};

}  // namespace cv
