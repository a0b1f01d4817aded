#pragma once

namespace cv {

class Object;
class ObjectList;

/// A cursor over an ObjectList. It reads the list's count on every call,
/// so it never runs past the end of a list that shrinks.
class ObjectListIterator {
 public:
  /// A cursor on the first pointer of `list`, which must outlive it.
  explicit ObjectListIterator(const ObjectList *list);

  /// Moves the cursor back to the first pointer.
  void first();

  /// Moves the cursor one pointer on, stopping at the end.
  void next();

  /// Whether the cursor is past the last pointer.
  bool isDone() const;

  /// The pointer under the cursor, or null when done.
  Object *currentObject() const;

 private:
  int index;               ///< position of the cursor
  const ObjectList *list;  ///< the list walked
};

}  // namespace cv
