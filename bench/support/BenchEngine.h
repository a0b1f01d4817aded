#pragma once
// Starts the engine once for a benchmark program, from a configuration text
// and logging to /dev/null, and stops it when the program exits.

#include <cstdlib>
#include <string>
#include <unistd.h>  // Required for: write(), close(), unlink()

#include "Corvane.h"

namespace benchsupport {

class BenchEngine {
 public:
  explicit BenchEngine(const std::string &text) {
    const int fd = mkstemp(config);
    if (fd != -1) {
      started = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
      close(fd);
    }
    setenv("CORVANE_CONFIG", config, 1);
    setenv("CORVANE_LOG", "/dev/null", 1);
    started = started && cv::GameManager::getInstance().startUp() == 0;
  }
  ~BenchEngine() {
    cv::GameManager::getInstance().shutDown();
    unlink(config);
  }
  BenchEngine(const BenchEngine &) = delete;
  BenchEngine &operator=(const BenchEngine &) = delete;

  bool started = false;                           ///< the engine is up
  char config[32] = "/tmp/corvane-bench-XXXXXX";  ///< configuration file
};

/// Starts the engine on the first call, from `config_text`; whether it is up.
/// Later calls return the first call's answer, whatever text they pass.
inline bool engineStarted(const std::string &config_text = "headless:true,") {
  static BenchEngine engine(config_text);
  return engine.started;
}

}  // namespace benchsupport
