#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/ObjectList.h"
#include "world/Object.h"
#include "world/SpatialGrid.h"

namespace cv {

/// The world's index of its objects: every active object, the solid ones,
/// the visible ones per altitude, the inactive ones, the active ones by
/// type and every object by id. Objects keep it current through their
/// setters, which call the update operations before they store a new value.
/// It never owns objects.
class SceneGraph {
 public:
  /// An empty index.
  SceneGraph();

  /// Empties the type and id indexes. Returns 0.
  int startUp();
  /// Empties the type and id indexes.
  void shutDown();

  /// Adds `object` to every list its state calls for (or only to the
  /// inactive list). Steps done before a failure stay done.
  int insertObject(Object *object);
  /// Removes `object` from every list it should be in; every removal is tried.
  int removeObject(Object *object);

  /// Copy of every active object, in insertion order.
  ObjectList activeObjects() const;
  /// Copy of every inactive object.
  ObjectList inactiveObjects() const;
  /// The active hard and soft objects.
  const ObjectList &solidObjects() const;
  /// The active hard and soft objects whose boxes may meet `area` (every
  /// one that does, perhaps more), in the order of the solid list. The list
  /// is reused by the next call.
  const std::vector<Object *> &solidObjectsNear(const Box &area) const;
  /// Whether collision queries use the grid of solid objects (the default)
  /// or read the whole solid list. Both give the same collisions.
  void setSpatialIndex(bool on);
  bool getSpatialIndex() const;
  /// Copy of the active visible objects at `altitude`; empty, with a
  /// warning, for an altitude outside 0..4.
  ObjectList visibleObjects(int altitude) const;
  /// Copy of the active objects of `type` (an entry is made for a new type).
  ObjectList objectsOfType(std::string type);
  /// The objects, active or not, that hold `id`, in the order they took it.
  /// Ids are unique unless a read restored a taken one or the ids ran out,
  /// so this is usually one object or none.
  ObjectList objectsWithId(int id) const;

  // The update operations are called by the object before it stores the new
  // value, so its getters still give the old one. 0 success, -1 failure.

  /// Moves the object between the active lists and the inactive list.
  int updateActive(Object *object, bool active);
  /// Moves a visible active object to the visible list of `new_altitude`.
  int updateAltitude(Object *object, int new_altitude);
  /// Adds the object to or removes it from the solid list.
  int updateSolidness(Object *object, Solidness new_solidness);
  /// Adds the object to or removes it from its altitude's visible list.
  int updateVisible(Object *object, bool visible);
  /// Moves the object to the type index entry of `new_type`.
  int updateType(Object *object, std::string new_type);
  /// Moves the object to the id index entry of `new_id`. -1, without a
  /// message, when the object is not in the index (not in the world).
  int updateId(Object *object, int new_id);
  /// Moves a solid object's entry in the grid to its box at `new_position`.
  void updatePosition(Object *object, Vector new_position);

 private:
  /// Removes `object` from the entry of its current type. -1 if not there.
  int removeFromType(Object *object);
  /// Removes `object` from the id index entry of `id`. -1 if not there.
  int removeFromIds(Object *object, int id);
  /// Adds `object` to the solid list and the grid. -1 if the list refuses.
  int insertSolid(Object *object);
  /// Removes `object` from the solid list and the grid. -1 if not listed.
  int removeSolid(Object *object);

  ObjectList objects;                                ///< every active object
  ObjectList solid_objects;                          ///< active hard and soft objects
  ObjectList visible_objects[MAX_ALTITUDE + 1];      ///< active visible objects by altitude
  ObjectList inactive_objects;                       ///< every inactive object
  std::map<std::string, ObjectList> type_map;        ///< active objects by type
  /// Every object by id, active or not: what reading an id asks, whether
  /// another object holds it, is answered without walking the world.
  std::unordered_map<int, std::vector<Object *>> id_map;
  SpatialGrid solid_grid;                            ///< where the solid objects are
  bool spatial_index;                                ///< collision queries use solid_grid
};

}  // namespace cv
