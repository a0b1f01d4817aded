#include <gtest/gtest.h>

#include "Corvane.h"

namespace {

cv::Path threeNodes() { return cv::Path({cv::Vector(1, 1), cv::Vector(2, 1), cv::Vector(3, 2)}); }

TEST(PathTest, EmptyPathIsDoneAndHeadsNowhere) {
  cv::Path path;
  EXPECT_TRUE(path.isDone());
  EXPECT_EQ(path.getIndex(), 0);
  EXPECT_EQ(path.currentNode(), cv::Vector());
  path.next();
  EXPECT_EQ(path.getIndex(), 0);
}

TEST(PathTest, NextWalksTheNodesAndStopsAtTheCount) {
  cv::Path path = threeNodes();
  EXPECT_FALSE(path.isDone());
  EXPECT_EQ(path.currentNode(), cv::Vector(1, 1));
  EXPECT_EQ(path.next().currentNode(), cv::Vector(2, 1));
  EXPECT_EQ(path.next().currentNode(), cv::Vector(3, 2));
  path.next().next();
  EXPECT_TRUE(path.isDone());
  EXPECT_EQ(path.getIndex(), 3);
  EXPECT_EQ(path.currentNode(), cv::Vector());
}

TEST(PathTest, SetIndexTakesOnlyIndicesOfNodes) {
  cv::Path path = threeNodes();
  EXPECT_EQ(path.setIndex(3), -1);
  EXPECT_EQ(path.setIndex(-1), -1);
  EXPECT_EQ(path.getIndex(), 0);
  EXPECT_EQ(path.setIndex(2), 0);
  EXPECT_EQ(path.getIndex(), 2);
  cv::Path copy = path;
  EXPECT_EQ(copy.getIndex(), 2);
  EXPECT_EQ(copy.getNodeCount(), 3);
}

}  // namespace
