#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "Corvane.h"
#include "support/TestEngine.h"

namespace {

const int DRAWS = 5;  ///< random numbers each run reports

struct SeedRun {
  std::vector<int> draws;  ///< the first rand() values after start-up
  long started;            ///< calendar time just before the run
  long ended;              ///< calendar time just after it
};

// Starts the engine in a child process with `random_seed` configured and
// returns the first rand() values it draws after start-up.
SeedRun runWithSeed(int seed) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0)
    ADD_FAILURE() << "no pipe";
  SeedRun run{{}, static_cast<long>(std::time(nullptr)), 0};
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    cvtest::TestEngine engine("headless:true,random_seed:" + std::to_string(seed) + ",");
    if (engine.start() == 0) {
      int draws[DRAWS];
      for (int &draw : draws)
        draw = std::rand();
      if (write(pipe_ends[1], draws, sizeof draws) != static_cast<ssize_t>(sizeof draws))
        _exit(2);
    }
    _exit(0);  // leave without the test framework's exit handling
  }
  close(pipe_ends[1]);
  int draws[DRAWS];
  size_t got = 0;
  for (ssize_t n; got < sizeof draws && (n = read(pipe_ends[0], reinterpret_cast<char *>(draws) + got,
                                                  sizeof draws - got)) > 0;)
    got += static_cast<size_t>(n);
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(got, sizeof draws) << "the child reported nothing";
  if (got == sizeof draws)
    run.draws.assign(draws, draws + DRAWS);
  run.ended = static_cast<long>(std::time(nullptr));
  return run;
}

// The first rand() values after srand(seed).
std::vector<int> sequenceOf(unsigned seed) {
  std::srand(seed);
  std::vector<int> draws(DRAWS);
  for (int &draw : draws)
    draw = std::rand();
  return draws;
}

// Waits until the calendar time has passed `second`.
void waitPast(long second) {
  while (static_cast<long>(std::time(nullptr)) <= second)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

}  // namespace

TEST(Seed, FixedSeedRepeatsItsSequence) {
  const SeedRun first = runWithSeed(7);
  waitPast(first.ended);  // a clock-based seed would now differ
  const SeedRun second = runWithSeed(7);
  EXPECT_EQ(first.draws, sequenceOf(7));
  EXPECT_EQ(second.draws, first.draws);
}

TEST(Seed, MinusOneLeavesTheGeneratorUnseeded) {
  // The children inherit this process's generator; left alone, they draw
  // what this process would draw next.
  const SeedRun first = runWithSeed(-1);
  waitPast(first.ended);
  const SeedRun second = runWithSeed(-1);
  std::vector<int> own(DRAWS);
  for (int &draw : own)
    draw = std::rand();
  EXPECT_EQ(first.draws, own);
  EXPECT_EQ(second.draws, own);
}

TEST(Seed, ZeroSeedsFromTheClock) {
  const SeedRun first = runWithSeed(0);
  waitPast(first.ended);
  const SeedRun second = runWithSeed(0);
  EXPECT_NE(first.draws, second.draws);
  for (const SeedRun &run : {first, second}) {
    bool from_clock = false;
    for (long second_of_run = run.started; second_of_run <= run.ended; second_of_run++)
      from_clock = from_clock || sequenceOf(static_cast<unsigned>(second_of_run)) == run.draws;
    EXPECT_TRUE(from_clock);
  }
}
