#include "presentation/window/AudioDevice.h"

#include <AL/alc.h>

#include "foundation/LogManager.h"
#include "platform/error_output.h"

namespace cv {

namespace {

// Most of the audio library's own complaints kept while probing.
const std::size_t MAX_PROBE_OUTPUT = 4096;

enum class Probe { NOT_TRIED, OPENED, FAILED };

Probe probe_result = Probe::NOT_TRIED;  // what the first question found
std::string failure_reason;              // why no device opened

// The last non-blank line of `text`, without its line break.
std::string lastLine(const std::string &text) {
  std::size_t end = text.find_last_not_of(" \t\r\n");
  if (end == std::string::npos)
    return "";
  const std::size_t break_before = text.find_last_of('\n', end);
  const std::size_t start = break_before == std::string::npos ? 0 : break_before + 1;
  return text.substr(start, end - start + 1);
}

}  // namespace

std::string AudioDevice::probe() {
  bool opened = false;
  // The audio library and the sound system below it print their complaints
  // on standard error; they are the reason, and belong in the log.
  const std::string complaints = platform::captureErrorOutput(
      [&opened] {
        ALCdevice *device = alcOpenDevice(nullptr);
        if (device) {
          opened = true;
          alcCloseDevice(device);
        }
      },
      MAX_PROBE_OUTPUT);
  if (opened)
    return "";
  const std::string reason = lastLine(complaints);
  return reason.empty() ? "OpenAL has no audio back end that opens a device" : reason;
}

bool AudioDevice::isAvailable() {
  if (probe_result == Probe::NOT_TRIED) {
    failure_reason = probe();
    probe_result = failure_reason.empty() ? Probe::OPENED : Probe::FAILED;
    if (probe_result == Probe::FAILED)
      LogManager::getInstance().writeLog(
          "AudioDevice::isAvailable(): Warning! No audio device could be opened (%s). Playing without sound.",
          failure_reason.c_str());
  }
  return probe_result == Probe::OPENED;
}

std::string AudioDevice::getFailureReason() { return failure_reason; }

}  // namespace cv
