#pragma once

#include <map>
#include <string>

#include "core/ObjectList.h"
#include "world/Object.h"

namespace cv {

/// The world's index of its objects: every active object, the solid ones,
/// the visible ones per altitude, the inactive ones and the active ones by
/// type. Objects keep it current through their setters, which call the
/// update operations before they store a new value. It never owns objects.
class SceneGraph {
 public:
  SceneGraph();

  /// Empties the type index. Returns 0.
  int startUp();
  /// Empties the type index.
  void shutDown();

  int insertObject(Object *object);
  int removeObject(Object *object);

  ObjectList activeObjects() const;
  ObjectList inactiveObjects() const;
  const ObjectList &solidObjects() const;
  ObjectList visibleObjects(int altitude) const;
  ObjectList objectsOfType(std::string type);

  int updateActive(Object *object, bool active);
  int updateAltitude(Object *object, int new_altitude);
  int updateSolidness(Object *object, Solidness new_solidness);
  int updateVisible(Object *object, bool visible);
  int updateType(Object *object, std::string new_type);

 private:
  ObjectList objects;                                ///< every active object
  ObjectList solid_objects;                          ///< active hard and soft objects
  ObjectList visible_objects[MAX_ALTITUDE + 1];      ///< active visible objects by altitude
  ObjectList inactive_objects;                       ///< every inactive object
  std::map<std::string, ObjectList> type_map;        ///< active objects by type
};

}  // namespace cv
