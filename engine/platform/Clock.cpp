#include "platform/Clock.h"

#include "platform/platform.h"

namespace cv {

Clock::Clock() : previous_time(platform::monotonicMicroseconds()) {}

long int Clock::delta() {
  const std::int64_t now = platform::monotonicMicroseconds();
  const std::int64_t elapsed = now - previous_time;
  previous_time = now;
  return static_cast<long int>(elapsed);
}

long int Clock::split() const {
  return static_cast<long int>(platform::monotonicMicroseconds() - previous_time);
}

}  // namespace cv
