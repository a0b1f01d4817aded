#include "core/PreciseSleeper.h"

#include <algorithm>

#include "platform/platform.h"

namespace cv {

namespace {

// Bounds of the margin, in microseconds. The smallest covers an ordinary
// wake-up delay; the largest caps the waiting at a twentieth of a default
// frame: a system that wakes the loop later than that is too busy for any
// margin to help.
const long MIN_MARGIN = 200;
const long MAX_MARGIN = 1500;

// Added to the latest lateness when the margin widens, in microseconds.
const long GUARD = 250;

// Narrowing per punctual sleep, in microseconds: after a burst of late
// wake-ups the margin comes back down over a few seconds of frames.
const long NARROWING = 10;

}  // namespace

PreciseSleeper::PreciseSleeper() : margin(MIN_MARGIN) { platform::requestPreciseWakeups(); }

void PreciseSleeper::sleep(long microseconds) {
  if (microseconds <= 0)
    return;
  const std::int64_t start = platform::monotonicMicroseconds();
  const std::int64_t end = start + microseconds;
  const long system_sleep = microseconds - margin;
  if (system_sleep > 0) {
    platform::sleepMicroseconds(system_sleep);
    learn(static_cast<long>(platform::monotonicMicroseconds() - start) - system_sleep);
  }
  while (platform::monotonicMicroseconds() < end) {
    // Watch the clock: handing the processor back could cost a whole time slice.
  }
}

long PreciseSleeper::getMargin() const { return margin; }

void PreciseSleeper::learn(long lateness) {
  if (lateness + GUARD > margin)
    margin = std::min(lateness + GUARD, MAX_MARGIN);
  else
    margin = std::max(margin - NARROWING, MIN_MARGIN);
}

}  // namespace cv
