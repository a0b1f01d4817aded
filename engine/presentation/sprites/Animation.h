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
  /// No sprite, frame 0, count 0, no name, and modified.
  Animation();
  virtual ~Animation();

  /// Binds `sprite` (not owned; null for none) and restarts at frame 0,
  /// keeping the slowdown count. A sprite also gives its label as the name.
  void setSprite(Sprite *new_sprite);
  /// The sprite played, or null.
  Sprite *getSprite() const;

  /// Sets the label of the sprite (marks modified only if it changes).
  void setName(std::string new_name);
  /// The label of the sprite.
  std::string getName() const;
  /// Sets the frame shown (marks modified only if it changes).
  void setIndex(int new_index);
  /// The frame shown.
  int getIndex() const;
  /// Sets the draws done on the current frame (marks modified only if it
  /// changes); -1 freezes the animation on its current frame.
  void setSlowdownCount(int new_slowdown_count);
  /// The draws done on the current frame, or -1 when frozen.
  int getSlowdownCount() const;

  /// Whether any field changed since the flag was last cleared.
  bool isModified() const;
  /// Sets or clears the changed flag.
  void setModified(bool new_modified);

  /// Draws the current frame centred on `position`, then advances unless
  /// frozen (whatever the drawing returned). 0 without a sprite.
  int draw(Vector position);

  /// The box the sprite covers, relative to the object's position.
  Box getBox() const;

  /// Writes "sprite_name", "sprite_index" and "sprite_slowdown_count" when
  /// `attr` selects the group ANIMATION ("ALL", "ANIMATION," or, when
  /// empty, while modified) and lowers the modified flag; otherwise "".
  virtual std::string serialize(std::string attr = "");
  /// Reads the keys serialize writes from the attribute string `text`
  /// (parsed anew), binding the sprite by name through the resource
  /// manager. Absent keys change nothing; unreadable numbers are logged and
  /// ignored. Returns 0.
  virtual int deserialize(std::string text);

 private:
  Sprite *sprite;      ///< the sprite played, not owned; null draws nothing
  int index;           ///< frame being shown
  int slowdown_count;  ///< draws done on the current frame; -1 frozen
  std::string name;    ///< label of the sprite
  bool modified;       ///< a field changed since last written
};

}  // namespace cv
