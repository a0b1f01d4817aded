#pragma once
// The game-over screen.

#include "hud/ViewObject.h"

/// The game-over screen, type "GameOver": the "gameover" picture in the
/// centre for one run of its animation. Its end clears the game away and
/// brings the start screen back.
class GameOver : public cv::ViewObject {
 public:
  /// Shows the picture at the centre of the view for one run of its animation.
  GameOver();
  /// Removes the enemies, walls, reticle, reflector, counters and every
  /// projectile, and shows the start screen again with its title music.
  ~GameOver() override;
  /// Counts down on "cv-step" and removes itself when done (returns 1); 0
  /// for any other event.
  int eventHandler(const cv::Event *event) override;
  /// Draws the picture (no label or value).
  int draw() override;

 private:
  int time_to_live;  ///< steps the screen still stays
};
