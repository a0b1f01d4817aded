#pragma once

#include <string>

namespace cv {

/// Type of an event whose type was never set; such an event is never delivered.
const std::string UNDEFINED_EVENT = "cv-undefined";

/// Base of every event. Events are built on the sender's stack and passed
/// by pointer; receivers must not keep the pointer.
class Event {
 public:
  /// An event of type "cv-undefined".
  Event();
  virtual ~Event();

  /// Sets the event's type; derived events set theirs when constructed.
  void setType(std::string new_type);

  /// The event's type, "cv-undefined" unless set.
  std::string getType() const;

 private:
  std::string event_type;  ///< names the kind of event, "cv-..." for the engine's own
};

}  // namespace cv
