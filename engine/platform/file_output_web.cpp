// Output files in a web page: files of the page's in-memory file system,
// written with the POSIX calls Emscripten provides. What is written to a
// file (the log) also goes to the browser's console, a line at a time.

#include "platform/file_output.h"

#include <emscripten.h>  // Required for: EM_JS
#include <fcntl.h>       // Required for: open()
#include <unistd.h>      // Required for: write(), close()

#include <cerrno>
#include <string>

// Writes one line of the log to the browser's console.
EM_JS(void, printLogLine, (const char *line), { console.log(UTF8ToString(line)); });

namespace cv {
namespace platform {

namespace {

// What has been written to a file but not yet ended by a line break.
std::string console_line;

// Sends the whole lines of `data` to the console.
void echoToConsole(const char *data, std::size_t size) {
  for (std::size_t i = 0; i < size; i++) {
    if (data[i] != '\n') {
      console_line += data[i];
      continue;
    }
    printLogLine(console_line.c_str());
    console_line.clear();
  }
}

}  // namespace

int openOutputFile(const std::string &name) { return open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644); }

int errorOutputHandle() { return 2; }

long writeOutput(int handle, const char *data, std::size_t size) {
  ssize_t written;
  do {
    written = write(handle, data, size);
  } while (written == -1 && errno == EINTR);
  // Standard error reaches the console by itself.
  if (written > 0 && handle != errorOutputHandle())
    echoToConsole(data, static_cast<std::size_t>(written));
  return written;
}

int closeOutputFile(int handle) { return close(handle); }

}  // namespace platform
}  // namespace cv
