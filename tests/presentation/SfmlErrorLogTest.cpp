// The window, graphics and audio library's error stream goes into the log,
// one log line for each line it writes (without trailing blanks or carriage
// returns), and not to the terminal.

#include <gtest/gtest.h>

#include <SFML/Graphics/Font.hpp>
#include <SFML/System/Err.hpp>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

TEST(SfmlErrorLog, EachLineTheLibraryWritesBecomesOneLogLine) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  testing::internal::CaptureStderr();
  sf::err() << "first line\n\n   \nsecond " << 2 << " \r\n";
  sf::err() << std::string(cv::SfmlErrorLog::MAX_LINE + 5, 'x') << std::endl;
  sf::Font font;
  EXPECT_FALSE(font.loadFromFile(engine.directory() + "/missing.ttf"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(engine.messagesFrom("SFML: first line"),
            (std::vector<std::string>{
                "SFML: first line", "SFML: second 2", "SFML: " + std::string(cv::SfmlErrorLog::MAX_LINE, 'x'),
                "SFML: xxxxx",
                "SFML: Failed to load font \"" + engine.directory() + "/missing.ttf\" (failed to create the font face)",
            }));
}

TEST(SfmlErrorLog, AfterShutDownTheLibraryWritesToItsOwnStreamAgain) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  engine.stop();
  testing::internal::CaptureStderr();
  sf::err() << "after the engine stopped" << std::endl;
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "after the engine stopped\n");
  EXPECT_FALSE(engine.logged("SFML: after the engine stopped"));
}
