#include "core/ObjectList.h"

#include <cstdlib>  // Required for: malloc(), realloc(), free()
#include <cstring>  // Required for: memcpy(), memmove()
#include <limits>

namespace cv {

namespace {

// Allocates `slots` pointer slots, or returns null.
Object **allocateSlots(int slots) {
  if (slots <= 0)
    return nullptr;
  return static_cast<Object **>(std::malloc(sizeof(Object *) * static_cast<size_t>(slots)));
}

}  // namespace

ObjectList::ObjectList() : count(0), capacity(1), items(allocateSlots(1)) {
  if (!items)
    capacity = 0;
}

ObjectList::ObjectList(const ObjectList &other)
    : count(other.count), capacity(other.capacity), items(allocateSlots(other.capacity)) {
  if (!items) {
    count = 0;
    capacity = 0;
    return;
  }
  if (count > 0)
    std::memcpy(items, other.items, sizeof(Object *) * static_cast<size_t>(count));
}

ObjectList &ObjectList::operator=(const ObjectList &other) {
  if (this == &other)
    return *this;
  Object **copy = allocateSlots(other.capacity);
  std::free(items);
  items = copy;
  if (!items) {
    count = 0;
    capacity = 0;
    return *this;
  }
  count = other.count;
  capacity = other.capacity;
  if (count > 0)
    std::memcpy(items, other.items, sizeof(Object *) * static_cast<size_t>(count));
  return *this;
}

ObjectList::~ObjectList() { std::free(items); }

int ObjectList::grow() {
  if (capacity > std::numeric_limits<int>::max() / 2)
    return -1;
  const int new_capacity = capacity > 0 ? capacity * 2 : 1;
  void *grown = std::realloc(items, sizeof(Object *) * static_cast<size_t>(new_capacity));
  if (!grown)
    return -1;
  items = static_cast<Object **>(grown);
  capacity = new_capacity;
  return 0;
}

int ObjectList::insert(Object *object) {
  if (!object)
    return -1;
  if (count == capacity && grow() == -1)
    return -1;
  items[count++] = object;
  return 0;
}

int ObjectList::remove(Object *object) {
  for (int i = 0; i < count; i++) {
    if (items[i] == object) {
      std::memmove(&items[i], &items[i + 1], sizeof(Object *) * static_cast<size_t>(count - i - 1));
      count--;
      return 0;
    }
  }
  return -1;
}

void ObjectList::clear() { count = 0; }

int ObjectList::getCount() const { return count; }

bool ObjectList::isEmpty() const { return count == 0; }

ObjectList ObjectList::operator+(ObjectList other) const {
  ObjectList sum(*this);
  for (int i = 0; i < other.count; i++)
    sum.insert(other.items[i]);  // null pointers and failed growth are skipped
  return sum;
}

}  // namespace cv
