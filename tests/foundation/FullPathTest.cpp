#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Corvane.h"

namespace {

TEST(FullPath, NamesFromTheWorkingDirectoryAndLeavesFullAndEmptyNamesAlone) {
  const std::filesystem::path here = std::filesystem::current_path();
  EXPECT_EQ(cv::fullPath("corvane.log"), (here / "corvane.log").u8string());
  // Compared as paths: on Windows either slash separates.
  EXPECT_EQ(std::filesystem::u8path(cv::fullPath("logs/game.log")), here / "logs" / "game.log");
  const std::string full = (here / "elsewhere.log").u8string();
  EXPECT_EQ(cv::fullPath(full), full);
  EXPECT_EQ(cv::fullPath(""), "");
}

}  // namespace
