#pragma once

namespace cv {

class Object;

/// A growable array of non-owning Object pointers in insertion order.
/// Starts with one slot and doubles when full; duplicates are allowed.
/// Results: 0 success, -1 failure.
class ObjectList {
 public:
  /// An empty list with one slot (none if that allocation fails).
  ObjectList();

  /// Copies `other`'s pointers and capacity; empty if the allocation fails.
  ObjectList(const ObjectList &other);
  ObjectList &operator=(const ObjectList &other);
  ~ObjectList();

  /// Appends `object`, growing if full. -1 for null or when growth fails.
  int insert(Object *object);

  /// Removes the first occurrence of `object`, keeping the order of the rest.
  /// -1 if it is not held.
  int remove(Object *object);

  /// Forgets every pointer; the storage stays allocated.
  void clear();

  /// Number of pointers held.
  int getCount() const;

  /// Whether the list holds no pointer.
  bool isEmpty() const;

  /// A copy of this list followed by every non-null pointer of `other`.
  ObjectList operator+(ObjectList other) const;

 private:
  friend class ObjectListIterator;

  /// Doubles the storage. -1 (list unchanged) if that fails.
  int grow();

  int count;        ///< number of pointers held
  int capacity;     ///< number of slots allocated
  Object **items;   ///< the pointers, in insertion order
};

}  // namespace cv
