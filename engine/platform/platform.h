#pragma once
// The operating-system services the engine needs, behind one small
// interface. Nothing outside engine/platform/ includes an OS header.

#include <cstdint>
#include <ctime>
#include <string>

namespace cv {
namespace platform {

/// Microseconds from a monotonic source; only differences are meaningful.
std::int64_t monotonicMicroseconds();

/// The local-time breakdown of `when` into `local`. False when the system
/// cannot give it.
bool localTime(std::time_t when, std::tm &local);

/// Blocks the calling thread for at least `milliseconds` (nothing for <= 0).
void sleepMilliseconds(long milliseconds);

/// Blocks the calling thread for at least `microseconds` (nothing for <= 0).
void sleepMicroseconds(long microseconds);

/// Asks the system to end sleeps as close to their requested end as it can
/// (on Linux, the smallest timer slack). Returns false when it refuses.
bool requestPreciseWakeups();

/// Asks the system timer for a resolution of `milliseconds`.
/// Returns false when the system refuses; true when granted or not needed.
bool requestTimerResolution(int milliseconds);

/// Gives back a resolution obtained with requestTimerResolution.
/// Returns false when the system refuses.
bool releaseTimerResolution(int milliseconds);

/// The full name of the running program's executable file, links resolved;
/// "" when the system cannot tell.
std::string executablePath();

/// Keeps the files written in `directory` (made if missing) from one run to
/// the next: where files last anyway, only makes it; in a web page, puts it
/// in the browser's storage and reads back what was kept there. 0, or -1
/// with `failure` saying why.
int keepDirectory(const std::string &directory, std::string &failure);

/// Writes the kept directories to lasting storage now (nothing to do where
/// files last anyway). 0, or -1 with `failure` saying why.
int saveKeptDirectories(std::string &failure);

}  // namespace platform
}  // namespace cv
