// Measures the network manager's data pass: genDataEvents over every
// connection, as the game loop makes it, with N connections to the engine
// itself over 127.0.0.1 (N opened with connect, N accepted).
// BM_IdlePass: nothing waits. BM_MessagePass: one 64-byte message waits on
// each accepted connection; a handler receives it, as a game would.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>  // Required for: write(), close(), unlink()

#include "Corvane.h"

namespace {

// Receives every reported message whole.
class Reader : public cv::Object {
 public:
  Reader() { registerInterest(cv::NETWORK_EVENT); }
  int eventHandler(const cv::Event *event) override {
    const auto *network = static_cast<const cv::EventNetwork *>(event);
    if (network->getLabel() == cv::NETWORK_DATA && network->getBytes() <= static_cast<int>(sizeof(buffer)))
      cv::NetworkManager::getInstance().receive(network->getSocketIndex(), buffer, network->getBytes());
    return 1;
  }

 private:
  char buffer[256];  ///< where messages are read into
};

// Starts the engine headless with networking and `pairs` connections to
// itself: indices 0 to pairs - 1 outgoing, pairs to 2 * pairs - 1 accepted.
bool startWithConnections(int pairs, char *config) {
  const int fd = mkstemp(config);
  const std::string text = "headless:true,networking:true,";
  if (fd == -1 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
    return false;
  close(fd);
  setenv("CORVANE_CONFIG", config, 1);
  setenv("CORVANE_LOG", "/dev/null", 1);
  if (cv::GameManager::getInstance().startUp() != 0)
    return false;
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  network.setMaxSockets(2 * pairs);
  if (network.setServer("0", true) != 0)
    return false;
  const std::string port = std::to_string(network.getPort());
  for (int i = 0; i < pairs; i++)
    if (network.connect("127.0.0.1", port) == -1)
      return false;
  for (int i = 0; i < pairs; i++)
    if (network.accept() < 0)
      return false;
  new Reader;  // owned by the world, destroyed at shut-down
  return true;
}

void stop(char *config) {
  cv::GameManager::getInstance().shutDown();
  unlink(config);
}

// One pass over every connection, as the game loop makes it.
int pass() {
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  int reported = 0;
  for (int i = 0; i < network.getNumSockets(); i++)
    reported += network.genDataEvents(i) > 0;
  return reported;
}

void BM_IdlePass(benchmark::State &state) {
  const int pairs = static_cast<int>(state.range(0));
  char config[] = "/tmp/corvane-bench-XXXXXX";
  if (!startWithConnections(pairs, config)) {
    state.SkipWithError("cannot start the engine with its connections");
    return;
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(pass());
  state.SetItemsProcessed(state.iterations() * 2 * pairs);  // connections looked at
  stop(config);
}
BENCHMARK(BM_IdlePass)->Arg(1)->Arg(16)->Arg(64);

void BM_MessagePass(benchmark::State &state) {
  const int pairs = static_cast<int>(state.range(0));
  char config[] = "/tmp/corvane-bench-XXXXXX";
  if (!startWithConnections(pairs, config)) {
    state.SkipWithError("cannot start the engine with its connections");
    return;
  }
  std::string message(64, 'm');
  message[0] = 64;
  message[1] = message[2] = message[3] = 0;
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < pairs; i++)
      network.send(i, message.data(), 64);
    state.ResumeTiming();
    // Loopback delivers at once; count what was reported to be sure.
    if (pass() != pairs) {
      state.SkipWithError("a message was not waiting");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * pairs);  // messages reported and read
  stop(config);
}
BENCHMARK(BM_MessagePass)->Arg(1)->Arg(16)->Arg(64);

}  // namespace
