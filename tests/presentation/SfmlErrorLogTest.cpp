// The window, graphics and audio library's error stream goes into the log,
// one log line for each line it writes (without trailing blanks or carriage
// returns), and not to the terminal.

#include <gtest/gtest.h>

#include <SFML/Graphics/Font.hpp>
#include <SFML/System/Err.hpp>

#include "Corvane.h"
#include "presentation/window/SfmlErrorLog.h"
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

TEST(SfmlErrorLog, ARepeatedLineIsWrittenOnceThenCounted) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  for (int i = 0; i < 5; i++)
    sf::err() << "same" << std::endl;
  sf::err() << "other" << std::endl;
  // One the library meets every frame: a count every MAX_REPEATS, the rest
  // when the engine stops.
  for (int i = 0; i < 2 * cv::SfmlErrorLog::MAX_REPEATS + 500; i++)
    sf::err() << "every frame" << std::endl;
  engine.stop();
  const std::string counted = "SFML: (the line above came " + std::to_string(cv::SfmlErrorLog::MAX_REPEATS);
  EXPECT_EQ(engine.messagesFrom("SFML: same"),
            (std::vector<std::string>{"SFML: same", "SFML: (the line above came 4 more times)", "SFML: other",
                                      "SFML: every frame", counted + " more times)", counted + " more times)",
                                      "SFML: (the line above came 499 more times)",
                                      "****************************************************",
                                      "** Game engine stopped **"}));
  // A new run starts afresh: its first line is written even if it is the same.
  ASSERT_EQ(engine.start(), 0);
  sf::err() << "every frame" << std::endl;
  EXPECT_EQ(engine.messages().back(), "SFML: every frame");
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
