#pragma once
// The start screen.

#include "hud/ViewObject.h"

namespace cv {
class Music;
class Sound;
}  // namespace cv

/// The start screen, type "GameStart": the "gamestart" picture in the centre
/// with the title music looping. P starts a game and hides the screen until
/// the game is over; Q ends the program.
class GameStart : public cv::ViewObject {
 public:
  /// Shows the picture at the centre of the view and starts the title music.
  GameStart();
  /// Starts a game on P, ends the program on Q. Returns 1 for every
  /// keyboard event, 0 for any other.
  int eventHandler(const cv::Event *event) override;
  /// Draws the picture (no label or value).
  int draw() override;
  /// Shows the screen again with the title music in place of the game music.
  void comeBack();

 private:
  /// Switches to the game music and fills the world for a new game.
  void startGame();
  cv::Music *start_music;  ///< title music, or null when not loaded
  cv::Music *game_music;   ///< in-game music, set when a game starts; null before
  cv::Sound *start_sound;  ///< start sound, set when a game starts; null before
};

/// Creates the objects of a new game: the hero, two walls, a grape and the
/// three counters.
void populateWorld();

/// The middle of the play field between the two walls, in whole cells.
cv::Vector fieldCentre();
