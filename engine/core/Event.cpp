#include "core/Event.h"

namespace cv {

Event::Event() : event_type(UNDEFINED_EVENT) {}

Event::~Event() = default;

void Event::setType(std::string new_type) { event_type = std::move(new_type); }

std::string Event::getType() const { return event_type; }

}  // namespace cv
