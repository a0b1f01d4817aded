// The platform services in a web page (Emscripten): the page's clock, and
// sleeps that hand the browser back its event loop, so the page draws and
// takes input while the game waits for its next frame.

#include "platform/platform.h"

#include <emscripten.h>  // Required for: emscripten_sleep(), emscripten_get_now()

#include <cstdlib>  // Required for: free()
#include <ctime>    // Required for: localtime_r()

// Mounts the browser's storage (IndexedDB) at `directory` and reads back
// what was kept there. "" when done, else why not.
EM_ASYNC_JS(char *, corvane_keep_directory, (const char *directory), {
  const path = UTF8ToString(directory);
  try {
    try {
      FS.mkdirTree(path);
    } catch (error) {
    }
    FS.mount(IDBFS, {}, path);
    await new Promise(function(resolve, reject) { FS.syncfs(true, function(error) { error ? reject(error) : resolve(); }); });
    return 0;
  } catch (error) {
    return allocateUTF8('the browser keeps no files: ' + error);
  }
});

// Writes every directory mounted on the browser's storage back to it.
EM_ASYNC_JS(char *, corvane_save_kept_directories, (), {
  try {
    await new Promise(function(resolve, reject) { FS.syncfs(false, function(error) { error ? reject(error) : resolve(); }); });
    return 0;
  } catch (error) {
    return allocateUTF8('the browser did not keep the files: ' + error);
  }
});

namespace cv {
namespace platform {

std::int64_t monotonicMicroseconds() { return static_cast<std::int64_t>(emscripten_get_now() * 1000.0); }

bool localTime(std::time_t when, std::tm &local) { return localtime_r(&when, &local) != nullptr; }

void sleepMilliseconds(long milliseconds) {
  if (milliseconds > 0)
    emscripten_sleep(static_cast<unsigned int>(milliseconds));
}

void sleepMicroseconds(long microseconds) {
  // The browser's timers count whole milliseconds; a shorter sleep still
  // hands the event loop a turn.
  if (microseconds > 0)
    emscripten_sleep(static_cast<unsigned int>(microseconds / 1000));
}

bool requestPreciseWakeups() { return true; }

// A page has no executable file.
std::string executablePath() { return ""; }

int keepDirectory(const std::string &directory, std::string &failure) {
  char *why = corvane_keep_directory(directory.c_str());
  if (!why)
    return 0;
  failure = why;
  std::free(why);
  return -1;
}

int saveKeptDirectories(std::string &failure) {
  char *why = corvane_save_kept_directories();
  if (!why)
    return 0;
  failure = why;
  std::free(why);
  return -1;
}

bool requestTimerResolution(int) { return true; }

bool releaseTimerResolution(int) { return true; }

}  // namespace platform
}  // namespace cv
