#pragma once
// Runs the engine in a process of its own (support/engine_main.cpp) with
// the configuration and log of a TestEngine's directory.

#include <map>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TestEngine.h"

namespace cvtest {

/// The engine program run with `arguments` and the environment changes
/// `environment` on `engine`'s configuration and log; its standard error goes
/// to "stderr.txt" in that directory.
inline ChildProcess runEngineProcess(const TestEngine &engine, const std::vector<std::string> &arguments,
                                     const std::map<std::string, std::string> &environment = {}) {
  return ChildProcess(CORVANE_ENGINE_MAIN, arguments, environment, engine.directory() + "/stderr.txt");
}

/// What the engine process wrote on standard error.
inline std::string engineErrorOutput(const TestEngine &engine) {
  return readWholeFile(engine.directory() + "/stderr.txt");
}

/// Waits up to ten seconds for `message` to appear in `engine`'s log.
inline bool waitForLogMessage(const TestEngine &engine, const std::string &message) {
  for (int i = 0; i < 1000; i++) {
    if (engine.logged(message))
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace cvtest
