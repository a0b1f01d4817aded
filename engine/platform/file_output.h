#pragma once
// Writing files through the system's own handles, without a library buffer
// in between: what the caller keeps in its own buffer is all that is not
// yet written, so it can still be written from a fatal-signal cleanup.

#include <cstddef>
#include <string>

namespace cv {
namespace platform {

/// Opens `name` for writing, creating it or truncating what it held.
/// Returns its handle, or -1 when it cannot be opened.
int openOutputFile(const std::string &name);

/// The handle of the process's standard error.
int errorOutputHandle();

/// Writes up to `size` bytes of `data` to `handle`, resuming after
/// interruptions. Returns the bytes written (at least 1 when `size` is not
/// 0) or -1 on an error. Safe to call from a fatal-signal cleanup.
long writeOutput(int handle, const char *data, std::size_t size);

/// Closes a handle from openOutputFile. Returns 0 or -1.
int closeOutputFile(int handle);

}  // namespace platform
}  // namespace cv
