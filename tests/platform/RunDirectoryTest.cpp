// A game started from any working directory: entering its run directory
// beside the executable, keeping the working directory when there is none,
// and saying so on standard error when no configuration file is found.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TestEngine.h"

namespace {

// The engine program as a game of its own: a link to it named "game" in
// `directory`.
std::string placeGame(const std::string &directory) {
  const std::string game = directory + "/game";
  if (::link(CORVANE_ENGINE_MAIN, game.c_str()) != 0)
    std::filesystem::copy_file(CORVANE_ENGINE_MAIN, game);
  return game;
}

// Runs `game` from `working_directory` with no configuration or log named
// by the environment and no display; its standard error goes to `errors`.
cvtest::ChildEnd runGame(const std::string &game, const std::string &working_directory, const std::string &errors,
                         std::map<std::string, std::string> environment = {}) {
  environment.insert({{"CORVANE_CONFIG", ""}, {"CORVANE_LOG", ""}, {"DISPLAY", ""}});
  cvtest::ChildProcess process(game, {"--enter-run-directory", "--stop-after", "2"}, environment, errors,
                               working_directory);
  return process.wait(30);
}

// The lines of `text` with their time and step prefixes taken off.
std::vector<std::string> messagesOf(const std::string &text) {
  std::vector<std::string> messages;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    messages.push_back(line.rfind("engine: ", 0) == 0 ? line : cvtest::messageOf(line));
  return messages;
}

}  // namespace

TEST(RunDirectory, GameRunsFromTheDirectoryOfItsExecutableWhateverTheWorkingDirectory) {
  for (const std::string layout : {"", "/run"}) {
    SCOPED_TRACE("files in the executable's directory" + layout);
    const std::string directory = cvtest::makeTempDirectory(), elsewhere = cvtest::makeTempDirectory();
    const std::string game = placeGame(directory), files = directory + layout;
    std::filesystem::create_directories(files);
    cvtest::writeFile(files + "/cv-config.txt", "headless:true,frame_time:5,");
    const std::string errors = directory + "/stderr.txt";

    const cvtest::ChildEnd end = runGame(game, elsewhere, errors);
    EXPECT_TRUE(end.exited);
    EXPECT_EQ(end.exit_status, 0);
    EXPECT_EQ(cvtest::readWholeFile(errors), "");
    // The configuration was read there (headless: no display needed) and the log written there.
    const std::string log = cvtest::readWholeFile(files + "/corvane.log");
    EXPECT_NE(log.find("** Game engine stopped **"), std::string::npos) << log;
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere)) << "nothing is written where it was started from";
  }
}

TEST(RunDirectory, WithoutOneTheGameKeepsItsWorkingDirectory) {
  // No configuration beside the program, as in a web build whose files sit
  // in the working directory.
  const std::string directory = cvtest::makeTempDirectory(), working = cvtest::makeTempDirectory();
  const std::string game = placeGame(directory);
  cvtest::writeFile(working + "/cv-config.txt", "headless:true,frame_time:5,");
  const std::string errors = directory + "/stderr.txt";

  const cvtest::ChildEnd end = runGame(game, working, errors);
  EXPECT_TRUE(end.exited);
  EXPECT_EQ(end.exit_status, 0);
  EXPECT_EQ(cvtest::readWholeFile(errors), "");
  EXPECT_NE(cvtest::readWholeFile(working + "/corvane.log").find("** Game engine stopped **"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(directory + "/corvane.log"));
}

TEST(RunDirectory, MissingConfigurationIsSaidOnStandardErrorWithTheWorkingDirectoryAndTheLog) {
  const std::string directory = cvtest::makeTempDirectory(), working = cvtest::makeTempDirectory();
  const std::string game = placeGame(directory);
  const std::string here = std::filesystem::canonical(working).string();
  const struct {
    std::map<std::string, std::string> environment;
    std::string file, log;
  } cases[] = {
      {{}, "cv-config.txt", here + "/corvane.log"},
      {{{"CORVANE_CONFIG", directory + "/settings.txt"}, {"CORVANE_LOG", "game.log"}}, directory + "/settings.txt",
       here + "/game.log"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.file);
    const std::string errors = directory + "/stderr.txt";
    const cvtest::ChildEnd end = runGame(game, working, errors, c.environment);
    EXPECT_TRUE(end.exited);
    // Every setting at its default: a window, and no display to open it on.
    EXPECT_EQ(end.exit_status, 1);
    const std::string missing = "GameManager::startUp(): Warning! configuration file '" + c.file +
                                "' not found (working directory '" + here +
                                "'); every setting keeps its default, and the log goes to '" + c.log + "'.";
    EXPECT_EQ(messagesOf(cvtest::readWholeFile(errors)),
              (std::vector<std::string>{missing, "engine: cannot start: DisplayManager::startUp(): Error! no display "
                                                 "to open a window on (DISPLAY is not set)."}));
    // The log says it too.
    EXPECT_NE(cvtest::readWholeFile(c.log).find(missing), std::string::npos);
  }
}
