#pragma once
// Catching what libraries print on the process's standard error, for the
// few calls (opening an audio device) whose libraries complain there
// directly instead of through an interface the engine can read.

#include <cstddef>
#include <functional>
#include <string>

namespace cv {
namespace platform {

/// Runs `action` with the process's standard error sent to a temporary file
/// and returns at most `max_bytes` of what was written there meanwhile.
/// When the redirection cannot be set up, `action` runs with standard error
/// as it is and "" is returned.
std::string captureErrorOutput(const std::function<void()> &action, std::size_t max_bytes);

}  // namespace platform
}  // namespace cv
