#pragma once

#include "core/Manager.h"
#include "core/ObjectList.h"
#include "foundation/Box.h"
#include "foundation/Vector.h"
#include "world/SceneGraph.h"

namespace cv {

/// Owns the game world: the scene graph of every object, the objects
/// waiting for deletion, the world's boundary and the view shown on screen.
/// Delivers "cv-view" and game-defined events.
class WorldManager : public Manager {
 public:
  /// The one world manager.
  static WorldManager &getInstance();

  /// Resets the deletions, boundary, view, slack and followed object and
  /// starts the scene graph.
  int startUp() override;
  /// Stops the world and destroys every remaining object.
  void shutDown() override;

  /// Accepts every event type but input, step, collision and out events.
  bool isValid(std::string event_type) const override;

  /// Adds `object` to the scene graph; refused while the world is stopped.
  int insertObject(Object *object);
  /// Takes `object` out of the scene graph; the view stops following it.
  int removeObject(Object *object);

  /// Destroys `object` at the end of the current update (once).
  int markForDelete(Object *object);

  /// Active objects, then inactive ones when `inactive_too`.
  ObjectList getAllObjects(bool inactive_too = false) const;
  /// Active objects of `type`.
  ObjectList objectsOfType(std::string type);

  /// Solid objects other than `object` whose boxes meet its box at `where`.
  ObjectList getCollisions(const Object *object, Vector where) const;

  /// Moves `object` to `where`, with collisions. 0 moved, -1 stayed.
  int moveObject(Object *object, Vector where);

  /// Moves every active object and deletes what was marked.
  void update();
  /// Draws every visible object in the view, lowest altitude first.
  void draw();
  /// Draws the world again as draw() does, but leaves every object's
  /// animation where it was: for showing a frame again while nothing moves
  /// (a pause), which must not move the animations on.
  void redraw();

  /// The world's extent; its corner is taken to be (0, 0).
  Box getBoundary() const;
  void setBoundary(Box new_boundary);
  /// The part of the world shown on screen.
  Box getView() const;
  void setView(Box new_view);
  /// Centres the view on `centre`, kept inside the boundary.
  void setViewPosition(Vector centre);
  /// Centred fraction of the view inside which the followed object moves freely.
  Vector getViewSlack() const;
  /// Stores the slack; components outside [0, 1] are stored with a warning.
  void setViewSlack(Vector new_view_slack);

  /// The object the view follows, or null to stop following. Returns 0.
  int setViewFollowing(Object *object);
  /// The object the view follows, or null.
  Object *getViewFollowing() const;

  /// The index of every object in the world.
  SceneGraph &getSceneGraph();

 private:
  WorldManager();
  WorldManager(const WorldManager &) = delete;
  WorldManager &operator=(const WorldManager &) = delete;

  /// Destroys the marked objects, including those marked meanwhile.
  void deleteMarked();
  /// Replaces `where` by the slide along the first hard obstacle in
  /// `collisions`, and `collisions` by those at the slide destination.
  /// -1 when the slide is blocked by a hard object too.
  int slideDestination(Object *object, ObjectList &collisions, Vector &where) const;
  /// Scrolls the view just enough to keep `position` in the slack area.
  void followView(Vector position);

  SceneGraph scene_graph;   ///< index of all objects
  ObjectList deletions;     ///< objects to destroy at the end of the update
  Object *view_following;   ///< object the view keeps in its slack area
  Box boundary;             ///< the world's extent
  Box view;                 ///< the part of the world shown on screen
  Vector view_slack;        ///< centred fraction of the view the followed object roams freely
  bool shutting_down;       ///< objects are being destroyed at shut-down
};

}  // namespace cv
