// Windows implementation of catching standard error.

#include <io.h>       // Required for: _dup(), _dup2(), _close(), _fileno()
#include <windows.h>  // Required for: GetTempPathW(), GetTempFileNameW()

#include <cstdio>
#include <vector>

#include "platform/error_output.h"

namespace cv {
namespace platform {

namespace {

// A new temporary file, removed when closed; null when none can be made.
// (The run-time library's tmpfile() writes to the root of the drive, which
// ordinary users may not.)
FILE *openTemporaryFile() {
  wchar_t folder[MAX_PATH + 1];
  wchar_t path[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"cv", 0, path) == 0)
    return nullptr;
  FILE *file = _wfopen(path, L"w+bD");  // D: deleted when the last handle closes
  if (!file)
    DeleteFileW(path);
  return file;
}

}  // namespace

std::string captureErrorOutput(const std::function<void()> &action, std::size_t max_bytes) {
  std::fflush(stderr);
  FILE *capture = openTemporaryFile();
  const int error_handle = _fileno(stderr);
  const int saved = capture && error_handle >= 0 ? _dup(error_handle) : -1;
  if (saved == -1 || _dup2(_fileno(capture), error_handle) == -1) {
    if (saved != -1)
      _close(saved);
    if (capture)
      std::fclose(capture);
    action();
    return "";
  }
  action();
  std::fflush(stderr);
  _dup2(saved, error_handle);
  _close(saved);

  std::vector<char> text(max_bytes);
  std::rewind(capture);
  const std::size_t got = max_bytes > 0 ? std::fread(text.data(), 1, max_bytes, capture) : 0;
  std::fclose(capture);
  return std::string(text.data(), got);
}

}  // namespace platform
}  // namespace cv
