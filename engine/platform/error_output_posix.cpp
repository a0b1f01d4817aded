// POSIX implementation of catching standard error.

#include <unistd.h>  // Required for: dup(), dup2(), close(), STDERR_FILENO

#include <cstdio>
#include <vector>

#include "platform/error_output.h"

namespace cv {
namespace platform {

std::string captureErrorOutput(const std::function<void()> &action, std::size_t max_bytes) {
  std::fflush(stderr);
  FILE *capture = std::tmpfile();
  const int saved = capture ? dup(STDERR_FILENO) : -1;
  if (saved == -1 || dup2(fileno(capture), STDERR_FILENO) == -1) {
    if (saved != -1)
      close(saved);
    if (capture)
      std::fclose(capture);
    action();
    return "";
  }
  action();
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);

  std::vector<char> text(max_bytes);
  std::rewind(capture);
  const std::size_t got = max_bytes > 0 ? std::fread(text.data(), 1, max_bytes, capture) : 0;
  std::fclose(capture);
  return std::string(text.data(), got);
}

}  // namespace platform
}  // namespace cv
