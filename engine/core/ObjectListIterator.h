#pragma once

namespace cv {

class Object;
class ObjectList;

/// A cursor over an ObjectList. It reads the list's count on every call,
/// so it never runs past the end of a list that shrinks.
class ObjectListIterator {
 public:
  explicit ObjectListIterator(const ObjectList *list);

  void first();
  void next();
  bool isDone() const;

  /// The pointer under the cursor, or null when done.
  Object *currentObject() const;

 private:
  int index;               ///< position of the cursor
  const ObjectList *list;  ///< the list walked
};

}  // namespace cv
