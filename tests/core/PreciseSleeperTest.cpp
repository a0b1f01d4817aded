#include <gtest/gtest.h>

#include "Corvane.h"

// The loop's frame must never be cut short: whatever the margin, the sleeper
// returns no earlier than asked, and at once for nothing to sleep.
TEST(PreciseSleeper, NeverWakesEarly) {
  cv::PreciseSleeper sleeper;
  for (const long microseconds : {0L, -5L, 1L, 150L, 199L, 200L, 201L, 2500L, 12000L, 150L}) {
    cv::Clock clock;
    sleeper.sleep(microseconds);
    EXPECT_GE(clock.split(), microseconds) << "asked for " << microseconds;
    EXPECT_GE(sleeper.getMargin(), 200) << "after " << microseconds;
    EXPECT_LE(sleeper.getMargin(), 1500) << "after " << microseconds;
  }
}
