#pragma once

#include <cstdint>

namespace cv {

/// Sleeps for a given time and wakes close to its end: it lets the system
/// sleep until shortly before the end, then waits out the rest itself,
/// watching the clock. How early it hands over to its own waiting (the
/// margin) follows how late the system has recently woken it: a margin that
/// covers those delays keeps the wake-ups punctual, and a small one costs
/// little processor time.
class PreciseSleeper {
 public:
  /// Starts with the smallest margin and asks the system for precise wake-ups.
  PreciseSleeper();

  /// Returns after `microseconds` (at once for 0 or less), as precisely as
  /// the system lets the thread run.
  void sleep(long microseconds);

  /// The current margin in microseconds.
  long getMargin() const;

 private:
  /// Widens the margin at once after a late wake-up, narrows it slowly after punctual ones.
  void learn(long lateness);

  long margin;  ///< microseconds before the end at which the system's sleep should end
};

}  // namespace cv
