#pragma once

#include <string>

namespace cv {

/// Whether sounds and music can play on this machine. The first question
/// opens the default audio device and closes it again at once; the answer is
/// kept for the rest of the run. Without a device the engine plays on in
/// silence and makes no audio objects, each of which would otherwise fail
/// and complain on its own.
class AudioDevice {
 public:
  /// True when an audio device opened. The first call that finds none logs
  /// once, with the reason, that the game stays silent.
  static bool isAvailable();

  /// Why no device opened ("" when one did or none was tried yet).
  static std::string getFailureReason();

 private:
  AudioDevice() = delete;

  /// Opens and closes the default device. "" when it opened, else the reason.
  static std::string probe();
};

}  // namespace cv
