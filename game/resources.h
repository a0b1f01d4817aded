#pragma once
// The game's sprites, sounds and music, and small helpers to use them by label.

#include <string>

namespace cv {
class Music;
}

/// Loads every sprite, sound and music the game uses, in a fixed order.
/// A file that does not load leaves only the resource manager's message.
void loadResources();

/// Plays the sound labelled `label` once; does nothing when it is not loaded.
void playSound(const std::string &label);

/// The music labelled `label`, or null when it is not loaded.
cv::Music *findMusic(const std::string &label);
