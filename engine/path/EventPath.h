#pragma once

#include <string>

#include "core/Event.h"
#include "path/Path.h"
#include "path/PathStatus.h"

namespace cv {

const std::string PATH_EVENT = "cv-path";

/// The end of a path search, handed by the path manager straight to the
/// object that asked: FOUND with the path, or NOT_FOUND with an empty one.
class EventPath : public Event {
 public:
  /// Type "cv-path", status NOT_FOUND, an empty path.
  EventPath();

  /// How the search ended.
  PathStatus getStatus() const;
  void setStatus(PathStatus new_status);
  /// A copy of the found path; empty when the search failed.
  Path getPath() const;
  /// Copies `new_path` into the event.
  void setPath(const Path &new_path);

 private:
  PathStatus status;  ///< FOUND or NOT_FOUND
  Path path;          ///< the found path, empty on failure
};

}  // namespace cv
