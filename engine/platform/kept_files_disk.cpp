// Kept directories where files are on a disk (Linux, Windows): what is
// written there lasts anyway.

#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/platform.h"

namespace cv {
namespace platform {

int keepDirectory(const std::string &directory, std::string &failure) {
  // The forms that report through `error` and `probe`: a name that cannot be
  // looked at (no permission, say) is a refusal, not an exception.
  std::error_code error;
  std::error_code probe;
  try {
    const std::filesystem::path path = std::filesystem::u8path(directory);
    std::filesystem::create_directories(path, error);
    if (error && !std::filesystem::is_directory(path, probe)) {
      failure = error.message();
      return -1;
    }
  } catch (const std::exception &exception) {  // a name that is not UTF-8, or out of memory
    failure = exception.what();
    return -1;
  }
  return 0;
}

// Files on a disk last: nothing to write back.
int saveKeptDirectories(std::string &) { return 0; }

}  // namespace platform
}  // namespace cv
