#pragma once

#include "core/Manager.h"

namespace cv {

/// Turns the window's keyboard and mouse input into "cv-keyboard" and
/// "cv-mouse" events once per game-loop iteration.
class InputManager : public Manager {
 public:
  static InputManager &getInstance();

  int startUp() override;
  void shutDown() override;

  bool isValid(std::string event_type) const override;

  /// Reads and dispatches all input for one iteration.
  void getInput();

 private:
  InputManager();
  InputManager(const InputManager &) = delete;
  InputManager &operator=(const InputManager &) = delete;
};

}  // namespace cv
