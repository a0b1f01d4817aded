// Kept directories where files are on a disk (Linux, Windows): what is
// written there lasts anyway.

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/platform.h"

namespace cv {
namespace platform {

int keepDirectory(const std::string &directory, std::string &failure) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::u8path(directory), error);
  if (error && !std::filesystem::is_directory(std::filesystem::u8path(directory))) {
    failure = error.message();
    return -1;
  }
  return 0;
}

// Files on a disk last: nothing to write back.
int saveKeptDirectories(std::string &) { return 0; }

}  // namespace platform
}  // namespace cv
