#pragma once

#include <cstdint>

namespace cv {

/// A microsecond stopwatch on a monotonic time source.
class Clock {
 public:
  /// Starts the stopwatch: stores the current reading.
  Clock();

  /// Microseconds since the stored reading; stores a new reading.
  long int delta();

  /// Microseconds since the stored reading; stores nothing.
  long int split() const;

 private:
  std::int64_t previous_time;  ///< reading taken at creation or by the last delta()
};

}  // namespace cv
