#include "path/EventPath.h"

namespace cv {

EventPath::EventPath() : status(NOT_FOUND) { setType(PATH_EVENT); }

PathStatus EventPath::getStatus() const { return status; }

void EventPath::setStatus(PathStatus new_status) { status = new_status; }

Path EventPath::getPath() const { return path; }

void EventPath::setPath(const Path &new_path) { path = new_path; }

}  // namespace cv
