#pragma once

#include <string>

#include "foundation/Box.h"
#include "foundation/Vector.h"

namespace cv {

class Sprite;

/// Playback state of a sprite for one object: which sprite, which frame is
/// showing and how far along the slowdown count is.
class Animation {
 public:
  Animation();
  virtual ~Animation();

  /// Binds `sprite` (not owned) and restarts at frame 0.
  void setSprite(Sprite *new_sprite);
  Sprite *getSprite() const;

  void setName(std::string new_name);
  std::string getName() const;
  void setIndex(int new_index);
  int getIndex() const;
  /// -1 freezes the animation on its current frame.
  void setSlowdownCount(int new_slowdown_count);
  int getSlowdownCount() const;

  /// Whether any field changed since the flag was last cleared.
  bool isModified() const;
  void setModified(bool new_modified);

  /// Draws the current frame centred on `position`, then advances.
  int draw(Vector position);

  /// The box the sprite covers, relative to the object's position.
  Box getBox() const;

 private:
  Sprite *sprite;      ///< the sprite played, not owned; null draws nothing
  int index;           ///< frame being shown
  int slowdown_count;  ///< draws done on the current frame; -1 frozen
  std::string name;    ///< label of the sprite
  bool modified;       ///< a field changed since last written
};

}  // namespace cv
