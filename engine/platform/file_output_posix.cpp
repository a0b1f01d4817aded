// POSIX implementation of unbuffered file output.

#include "platform/file_output.h"

#include <fcntl.h>   // Required for: open(), O_WRONLY, O_CREAT, O_TRUNC, O_CLOEXEC
#include <unistd.h>  // Required for: write(), close(), STDERR_FILENO

#include <cerrno>

namespace cv {
namespace platform {

int openOutputFile(const std::string &name) {
  int handle;
  do {
    handle = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (handle == -1 && errno == EINTR);
  return handle;
}

int errorOutputHandle() { return STDERR_FILENO; }

long writeOutput(int handle, const char *data, std::size_t size) {
  if (size == 0)
    return 0;
  while (true) {
    const ssize_t written = write(handle, data, size);
    if (written == -1 && errno == EINTR)
      continue;
    return written > 0 ? static_cast<long>(written) : -1;
  }
}

int closeOutputFile(int handle) { return close(handle) == 0 ? 0 : -1; }

}  // namespace platform
}  // namespace cv
