// POSIX implementation of the platform services.

#include "platform/platform.h"

#include <unistd.h>  // Required for: readlink()

#include <cerrno>
#include <ctime>  // Required for: clock_gettime(), nanosleep(), localtime_r()
#include <vector>
#ifdef __linux__
#include <sys/prctl.h>  // Required for: prctl(PR_SET_TIMERSLACK)
#endif

namespace cv {
namespace platform {

std::int64_t monotonicMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

bool localTime(std::time_t when, std::tm &local) { return localtime_r(&when, &local) != nullptr; }

namespace {

// Sleeps the whole interval, resuming after signals.
void sleepNanoseconds(std::int64_t nanoseconds) {
  if (nanoseconds <= 0)
    return;
  timespec remaining{};
  remaining.tv_sec = static_cast<time_t>(nanoseconds / 1000000000);
  remaining.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
  while (nanosleep(&remaining, &remaining) == -1 && errno == EINTR) {
  }
}

}  // namespace

void sleepMilliseconds(long milliseconds) {
  sleepNanoseconds(static_cast<std::int64_t>(milliseconds) * 1000000);
}

void sleepMicroseconds(long microseconds) {
  sleepNanoseconds(static_cast<std::int64_t>(microseconds) * 1000);
}

bool requestPreciseWakeups() {
#ifdef __linux__
  // The default slack lets the kernel end a sleep up to 50 us late to batch
  // wake-ups; one nanosecond is the least it accepts.
  return prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
#else
  return true;
#endif
}

std::string executablePath() {
#ifdef __linux__
  // The link's target can be longer than any fixed buffer: grow until it fits.
  for (std::size_t size = 256; size <= 65536; size *= 2) {
    std::vector<char> name(size);
    const ssize_t length = readlink("/proc/self/exe", name.data(), size);
    if (length == -1)
      return "";
    if (static_cast<std::size_t>(length) < size)
      return std::string(name.data(), static_cast<std::size_t>(length));
  }
#endif
  return "";
}

// POSIX sleeps already have sub-millisecond resolution: nothing to ask for.
bool requestTimerResolution(int) { return true; }

bool releaseTimerResolution(int) { return true; }

}  // namespace platform
}  // namespace cv
