#include "core/ObjectListIterator.h"

#include "core/ObjectList.h"

namespace cv {

ObjectListIterator::ObjectListIterator(const ObjectList *list) : index(0), list(list) {}

void ObjectListIterator::first() { index = 0; }

void ObjectListIterator::next() { index = index + 1 < list->count ? index + 1 : list->count; }

bool ObjectListIterator::isDone() const { return index >= list->count; }

Object *ObjectListIterator::currentObject() const {
  return isDone() ? nullptr : list->items[index];
}

}  // namespace cv
