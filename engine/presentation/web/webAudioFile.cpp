#include "presentation/web/webAudioFile.h"

#include <filesystem>

#include "presentation/web/webAudioPage.h"

namespace cv {

int decodeInPage(const std::string &filename, std::uint64_t max_bytes, std::uint64_t max_samples,
                 std::uint64_t &samples, std::string &reason) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(filename, error)) {
    reason = "missing or not a plain file";
    return -1;
  }
  const std::uintmax_t size = std::filesystem::file_size(filename, error);
  if (error || size > max_bytes) {
    reason = "file of " + std::to_string(size) + " bytes, more than the " + std::to_string(max_bytes) + " allowed";
    return -1;
  }
  const int buffer = decodeAudioInPage(filename.c_str());
  if (buffer == -1) {
    reason = "not a sound file the browser decodes";
    return -1;
  }
  samples = static_cast<std::uint64_t>(corvane_audio_samples(buffer));
  if (samples == 0 || samples > max_samples) {
    reason = samples == 0 ? "no samples"
                          : std::to_string(samples) + " samples, more than the " + std::to_string(max_samples) +
                                " allowed";
    corvane_audio_forget(buffer);
    return -1;
  }
  return buffer;
}

}  // namespace cv
