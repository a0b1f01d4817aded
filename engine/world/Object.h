#pragma once

#include <string>

#include "foundation/Box.h"
#include "foundation/Vector.h"
#include "path/Path.h"
#include "presentation/sprites/Animation.h"
#include "presentation/display/Shape.h"

namespace cv {

class Event;
class PathFind;
class PathFollower;

/// How an object collides. Hard and soft objects are solid; spectral ones
/// pass through everything.
enum Solidness : int {
  HARD = 0,
  SOFT = 1,
  SPECTRAL = 2,
};

/// Lowest and highest drawing layer.
const int MIN_ALTITUDE = 0;
const int MAX_ALTITUDE = 4;

/// Most event types one object may be interested in.
const int MAX_OBJ_EVENTS = 100;

/// The attribute groups whose changes an object tracks for serialization.
enum ObjectAttribute {
  ID = 0,
  ACTIVE,
  VISIBLE,
  EVENTS,
  BOX,
  POSITION,
  TYPE,
  ANIMATION,
  ALTITUDE,
  SOLIDNESS,
  NO_SOFT,
  SPEED,
  DIRECTION,
  ACCELERATION,
  SHAPE,
  PATH,
  FOLLOW_PATH,
  AVOID_COLLISIONS,
};
const int OBJECT_ATTRIBUTE_COUNT = 18;

/// Base of everything that lives in the game world. An object inserts
/// itself into the world manager when constructed and removes itself when
/// destroyed; games end an object's life with WorldManager::markForDelete.
/// Setters return 0 on success and -1 on failure, leaving the object as it was.
class Object {
 public:
  /// Sets the default fields, takes the next id and inserts the object
  /// into the world (not inserted while the world manager is stopped).
  Object();
  /// Withdraws every event interest (last registered first), ends a
  /// running path search and removes the object from the world.
  virtual ~Object();

  /// Unique id, counted from 1. Ids are never reused while the counter
  /// lasts; once it reaches the largest int, that id is given again, with
  /// an error in the log each time.
  int getId() const;

  /// Type name, "(Undefined)" until set.
  std::string getType() const;
  /// Moves the object to the new type's entry of the world's type index, then stores it.
  void setType(std::string new_type);

  /// Whether the object takes part in the world.
  bool isActive() const;
  /// Moves the object between the world's active and inactive lists.
  int setActive(bool active = true);

  /// Whether the object is drawn.
  bool isVisible() const;
  /// Shows or hides the object; hidden objects are not drawn.
  int setVisible(bool visible = true);

  /// Extent relative to the position.
  Box getBox() const;
  /// Sets the box, relative to the position. A new box re-inserts the
  /// object into the world, so it moves to the end of every list it is in.
  void setBox(Box new_box);

  /// World position in cells.
  Vector getPosition() const;
  /// Places the object without any collision test. A position that is not
  /// finite is refused with a warning (-1).
  virtual int setPosition(Vector new_position);

  /// Unit direction of motion, or zero.
  Vector getDirection() const;
  /// Stores `new_direction` normalised (zero stays zero; a vector already
  /// of length 1 is kept as it is). A direction that is not finite is
  /// refused with a warning (-1).
  int setDirection(Vector new_direction);
  /// Cells per step.
  float getSpeed() const;
  /// A speed that is not finite is refused with a warning (-1).
  int setSpeed(float new_speed);
  /// Added to the velocity once per world update.
  Vector getAcceleration() const;
  /// An acceleration that is not finite is refused with a warning (-1).
  int setAcceleration(Vector new_acceleration);

  /// Direction scaled by speed.
  Vector getVelocity() const;
  /// Speed becomes the magnitude of `velocity`, direction its unit vector.
  /// A velocity that is not finite, or whose magnitude is beyond the float
  /// range, is refused with a warning (-1).
  int setVelocity(Vector velocity);
  /// Applies the acceleration to the velocity once.
  void updateVelocity();
  /// Position plus velocity: where the next world update moves the object.
  Vector predictPosition() const;

  /// Drawing layer: 0 is drawn first, 4 last.
  int getAltitude() const;
  /// Drawing layer, MIN_ALTITUDE to MAX_ALTITUDE.
  int setAltitude(int new_altitude);

  /// How the object collides.
  Solidness getSolidness() const;
  /// Hard or soft: takes part in collisions.
  bool isSolid() const;
  /// HARD, SOFT or SPECTRAL; any other value is refused with a message.
  int setSolidness(Solidness new_solidness);

  /// Whether soft objects block this one.
  bool getNoSoft() const;
  /// When true, soft objects block this object as hard ones do.
  void setNoSoft(bool new_no_soft = true);
  /// Whether a hard object slides along hard obstacles.
  bool getAvoidCollisions() const;
  /// When true, a hard object slides along hard obstacles.
  void setAvoidCollisions(bool new_avoid_collisions = true);

  /// A copy of the object's animation.
  Animation getAnimation() const;
  /// Puts back an animation taken with getAnimation (its sprite, frame,
  /// count and modified flag), keeping the object's box.
  void setAnimation(Animation new_animation);
  /// Takes the sprite labelled `sprite_label` from the resource manager.
  int setSprite(std::string sprite_label);

  /// The figure drawn over the sprite; its type is SHAPE_UNDEFINED for none.
  Shape getShape() const;
  void setShape(Shape new_shape);

  /// The path the object follows or last followed.
  Path getPath() const;
  /// Copies `new_path` (nodes and index) into the object.
  void setPath(Path new_path);
  /// Whether the object steers along its path.
  bool getFollowPath() const;
  /// Turns path following on or off. When the path is not done, the
  /// direction turns towards its current node either way.
  void setFollowPath(bool new_follow_path = true);
  /// Starts a search for a path from the object's cell to the cell of
  /// `goal`, replacing (and destroying) any running one, and hands it to
  /// the path manager. With a `target`, the search ends as soon as the
  /// object would overlap the target placed on the goal. The outcome
  /// arrives as a "cv-path" event. -1, after a message, when the object or
  /// the goal is outside the world or the world is too large to search;
  /// a running search then goes on.
  int findPath(Vector goal, Object *target = nullptr);

  /// Registers interest in `event_type` with the manager that owns it.
  int registerInterest(std::string event_type);
  /// Withdraws interest in `event_type`.
  int unregisterInterest(std::string event_type);

  /// Handles an event. Returns 1 if handled, 0 if not.
  virtual int eventHandler(const Event *event);

  /// Draws the animation at the position, then the shape if it has one.
  virtual int draw();

  /// Writes the attribute groups `attr` selects as an attribute string and
  /// lowers their modified flags. "ALL" selects every group; "" the groups
  /// changed since they were last written; otherwise each group whose name
  /// followed by "," appears in `attr` ("POSITION,TYPE,"). The animation's
  /// keys appear only while the animation itself is modified.
  virtual std::string serialize(std::string attr = "");
  /// Reads every attribute present in the attribute string `text` and
  /// applies it through the object's own rules (refused values are logged
  /// and leave their attribute as it was). The direction read is made a
  /// unit vector. An id read is taken even when another object holds it
  /// (copies of remote objects keep their ids), with a warning naming both;
  /// an id below 1 is refused. New objects are numbered above the id read;
  /// after the largest int they get that id again, as when the counter
  /// reaches it. Returns 0.
  virtual int deserialize(std::string text);
  /// Whether any attribute changed since it was last written.
  virtual bool isModified() const;
  /// Whether an attribute changed since it was last written.
  virtual bool isModified(ObjectAttribute attribute) const;

 protected:
  /// Raises the modified flag of `attribute`.
  void setModified(ObjectAttribute attribute);

 private:
  /// Whether `attr` selects the group `name`; lowers its flag if so.
  bool takeGroup(const std::string &attr, const char *name, ObjectAttribute attribute);
  /// The readers of deserialize, one per attribute group, in reading
  /// order. Each looks its keys up in the text parsed last.
  void readId();
  void readActivity();
  void readEvents();
  void readBox();
  void readPositionAndType();
  void readLayering();
  void readMotion();
  void readShape();
  void readPath();
  void readPathSettings(bool direction_given);
  // Path following writes the direction while it steers, without marking it modified.
  friend class PathFollower;

  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;

  /// Takes the running path search, if any, from the path manager and destroys it.
  void endPathSearch();

  int id;                                    ///< unique id, counted from 1
  std::string type;                          ///< name used to tell objects apart
  bool is_active;                            ///< inactive objects are not moved, drawn, collided or sent events
  bool is_visible;                           ///< invisible objects are not drawn
  Box box;                                   ///< extent relative to the position; change only through setBox
  Vector position;                           ///< world position in cells; change only through setPosition
  Vector direction;                          ///< unit direction of motion, or zero
  float speed;                               ///< cells per step
  Vector acceleration;                       ///< added to the velocity once per step
  int altitude;                              ///< drawing layer
  Solidness solidness;                       ///< collision behaviour
  Animation animation;                       ///< sprite, current frame and slowdown
  bool no_soft;                              ///< soft objects block this one too
  int event_count;                           ///< number of event types registered
  std::string event_name[MAX_OBJ_EVENTS];    ///< registered event types, in order
  bool modified[OBJECT_ATTRIBUTE_COUNT];     ///< changed since last written
  Shape shape;                               ///< optional figure drawn over the sprite
  PathFind *path_search;                     ///< running path search, owned
  Path path;                                 ///< route to follow
  bool follow_path;                          ///< steer along the path
  bool avoid_collisions;                     ///< slide along hard obstacles
};

}  // namespace cv
