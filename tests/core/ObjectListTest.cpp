#include <gtest/gtest.h>

#include "Corvane.h"

namespace {

// Distinct addresses standing in for objects: a list never dereferences them.
cv::Object *fake(int n) {
  static char slots[64];
  return reinterpret_cast<cv::Object *>(&slots[n]);
}

std::vector<cv::Object *> contents(const cv::ObjectList &list) {
  std::vector<cv::Object *> result;
  for (cv::ObjectListIterator li(&list); !li.isDone(); li.next())
    result.push_back(li.currentObject());
  return result;
}

}  // namespace

TEST(ObjectList, GrowsPastItsFirstSlotKeepingOrderAndDuplicates) {
  cv::ObjectList list;
  EXPECT_TRUE(list.isEmpty());
  for (int i = 0; i < 40; i++)
    ASSERT_EQ(list.insert(fake(i % 20)), 0);
  EXPECT_EQ(list.getCount(), 40);
  const std::vector<cv::Object *> held = contents(list);
  for (int i = 0; i < 40; i++)
    EXPECT_EQ(held[i], fake(i % 20));
  EXPECT_EQ(list.insert(nullptr), -1);
  EXPECT_EQ(list.getCount(), 40);
}

TEST(ObjectList, RemoveTakesFirstOccurrenceAndShiftsTheRest) {
  cv::ObjectList list;
  for (int n : {1, 2, 3, 2, 4})
    list.insert(fake(n));
  EXPECT_EQ(list.remove(fake(2)), 0);
  EXPECT_EQ(contents(list), (std::vector<cv::Object *>{fake(1), fake(3), fake(2), fake(4)}));
  EXPECT_EQ(list.remove(fake(9)), -1);
  list.clear();
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.remove(fake(1)), -1);
}

TEST(ObjectList, CopiesAreIndependent) {
  cv::ObjectList list;
  list.insert(fake(1));
  list.insert(fake(2));
  cv::ObjectList copy(list);
  cv::ObjectList assigned;
  assigned = list;
  list.remove(fake(1));
  EXPECT_EQ(contents(copy), (std::vector<cv::Object *>{fake(1), fake(2)}));
  EXPECT_EQ(contents(assigned), (std::vector<cv::Object *>{fake(1), fake(2)}));
  assigned = assigned;
  EXPECT_EQ(assigned.getCount(), 2);
}

TEST(ObjectList, PlusAppendsTheOtherListKeepingDuplicates) {
  cv::ObjectList a, b;
  a.insert(fake(1));
  b.insert(fake(1));
  b.insert(fake(2));
  const cv::ObjectList sum = a + b;
  EXPECT_EQ(contents(sum), (std::vector<cv::Object *>{fake(1), fake(1), fake(2)}));
  EXPECT_EQ(a.getCount(), 1);
}

TEST(ObjectListIterator, StopsAtTheNewEndOfAShrinkingList) {
  cv::ObjectList list;
  for (int n = 0; n < 5; n++)
    list.insert(fake(n));
  cv::ObjectListIterator li(&list);
  li.next();
  li.next();
  li.next();
  EXPECT_EQ(li.currentObject(), fake(3));
  list.remove(fake(0));
  list.remove(fake(1));
  list.remove(fake(2));
  EXPECT_TRUE(li.isDone());
  EXPECT_EQ(li.currentObject(), nullptr);
  li.next();
  EXPECT_TRUE(li.isDone());
  li.first();
  EXPECT_EQ(li.currentObject(), fake(3));
}
