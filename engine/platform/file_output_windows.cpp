// Windows implementation of unbuffered file output: the run-time library's
// low-level handles in text mode, so line ends are written as CR LF.

#include "platform/file_output.h"

#include <fcntl.h>     // Required for: _O_WRONLY, _O_CREAT, _O_TRUNC, _O_TEXT, _O_NOINHERIT
#include <io.h>        // Required for: _wopen(), _write(), _close()
#include <sys/stat.h>  // Required for: _S_IREAD, _S_IWRITE
#include <windows.h>   // Required for: MultiByteToWideChar()

#include <climits>
#include <vector>

namespace cv {
namespace platform {

namespace {

// `text` (UTF-8) as the system's wide characters; empty when it is not UTF-8.
std::vector<wchar_t> wideName(const std::string &text) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
  if (length <= 0)
    return {};
  std::vector<wchar_t> wide(static_cast<std::size_t>(length));
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1, wide.data(), length) != length)
    return {};
  return wide;
}

}  // namespace

int openOutputFile(const std::string &name) {
  const std::vector<wchar_t> wide = wideName(name);
  if (wide.empty())
    return -1;
  return _wopen(wide.data(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_TEXT | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int errorOutputHandle() { return 2; }

long writeOutput(int handle, const char *data, std::size_t size) {
  if (size == 0)
    return 0;
  const unsigned int chunk = size > INT_MAX ? INT_MAX : static_cast<unsigned int>(size);
  const int written = _write(handle, data, chunk);
  if (written <= 0)
    return -1;
  // In text mode the CRs added before line feeds are not the caller's bytes.
  return written > static_cast<int>(chunk) ? static_cast<long>(chunk) : static_cast<long>(written);
}

int closeOutputFile(int handle) { return _close(handle) == 0 ? 0 : -1; }

}  // namespace platform
}  // namespace cv
