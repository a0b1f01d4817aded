// Measures the network manager's data pass: genDataEvents over every
// connection, as the game loop makes it, with N connections to the engine
// itself over 127.0.0.1 (N opened with connect, N accepted).
// BM_IdlePass: nothing waits. BM_MessagePass: one 64-byte message waits on
// each accepted connection; a handler receives it, as a game would.
// BM_EchoClients: the engine's own game loop (33 ms a step) as an echo
// server for 16 clients on 127.0.0.1, each sending 20,000 messages of 64
// bytes, `batch` messages a write, and reading every echo in order; it
// reports messages a second and the server thread's share of a core.

#include <arpa/inet.h>    // Required for: htons(), htonl()
#include <netinet/in.h>   // Required for: sockaddr_in
#include <sys/socket.h>   // Required for: socket(), connect(), send(), recv()
#include <time.h>         // Required for: clock_gettime()

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>  // Required for: write(), close(), unlink()
#include <vector>

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

// Starts the engine headless with networking, serving on a free port of
// 127.0.0.1 with room for `max_sockets` connections.
bool startServer(int max_sockets, char *config) {
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
  network.setMaxSockets(max_sockets);
  return network.setServer("0", true) == 0;
}

// Starts the engine headless with networking and `pairs` connections to
// itself: indices 0 to pairs - 1 outgoing, pairs to 2 * pairs - 1 accepted.
bool startWithConnections(int pairs, char *config) {
  if (!startServer(2 * pairs, config))
    return false;
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
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

const int ECHO_CLIENTS = 16;
const int MESSAGES_PER_CLIENT = 20000;
const int MESSAGE_BYTES = 64;

// Sends every message back on its connection, and ends the loop once every
// client is done, or after a minute.
class Echo : public cv::Object {
 public:
  explicit Echo(const std::atomic<int> &clients_done) : clients_done(clients_done) {
    registerInterest(cv::NETWORK_EVENT);
    registerInterest(cv::STEP_EVENT);
  }
  int refused = 0;  ///< echoes the manager refused

  int eventHandler(const cv::Event *event) override {
    if (event->getType() == cv::STEP_EVENT) {
      if (clients_done == ECHO_CLIENTS || static_cast<const cv::EventStep *>(event)->getStepCount() > 60 * 1000 / 33)
        cv::GameManager::getInstance().setGameOver();
      return 1;
    }
    const auto *network = static_cast<const cv::EventNetwork *>(event);
    if (network->getLabel() != cv::NETWORK_DATA || network->getBytes() > static_cast<int>(sizeof(buffer)))
      return 1;
    cv::NetworkManager &manager = cv::NetworkManager::getInstance();
    const int bytes = manager.receive(network->getSocketIndex(), buffer, network->getBytes());
    if (bytes > 0 && manager.send(network->getSocketIndex(), buffer, bytes) == -1)
      refused++;
    return 1;
  }

 private:
  const std::atomic<int> &clients_done;  ///< clients that have finished
  char buffer[256];                      ///< one message
};

// One client: a writer sends the messages `batch` at a time, one write each,
// while the reader takes the echoes and checks their order. Gives up when
// nothing comes back for three seconds. Returns the echoes received in order.
int runClient(int port, int batch) {
  const int handle = socket(AF_INET, SOCK_STREAM, 0);
  timeval limit{3, 0};
  setsockopt(handle, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
  setsockopt(handle, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(handle, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0) {
    close(handle);
    return 0;
  }
  std::thread writer([&] {
    std::string bytes;
    for (int first = 0; first < MESSAGES_PER_CLIENT; first += batch) {
      bytes.clear();
      for (int n = first; n < first + batch && n < MESSAGES_PER_CLIENT; n++) {
        std::string message(MESSAGE_BYTES, 'e');
        const std::int32_t length = MESSAGE_BYTES;
        std::memcpy(&message[0], &length, 4);
        std::memcpy(&message[4], &n, 4);
        bytes += message;
      }
      for (size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = send(handle, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (wrote <= 0)
          return;
        done += static_cast<size_t>(wrote);
      }
    }
  });
  int in_order = 0;
  char message[MESSAGE_BYTES];
  size_t have = 0;
  while (in_order < MESSAGES_PER_CLIENT) {
    const ssize_t got = recv(handle, message + have, sizeof(message) - have, 0);
    if (got <= 0)
      break;
    have += static_cast<size_t>(got);
    if (have < sizeof(message))
      continue;
    have = 0;
    std::int32_t number = -1;
    std::memcpy(&number, message + 4, 4);
    if (number != in_order)
      break;
    in_order++;
  }
  shutdown(handle, SHUT_RDWR);  // wakes a writer stuck on a stalled connection
  writer.join();
  close(handle);
  return in_order;
}

// Processor time of the calling thread, in microseconds.
double threadCpuMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

void BM_EchoClients(benchmark::State &state) {
  const int batch = static_cast<int>(state.range(0));
  char config[] = "/tmp/corvane-bench-XXXXXX";
  if (!startServer(ECHO_CLIENTS, config)) {
    state.SkipWithError("cannot start the engine");
    return;
  }
  const int port = cv::NetworkManager::getInstance().getPort();
  for (auto _ : state) {
    std::atomic<int> clients_done{0};
    std::atomic<int> echoed{0};
    Echo *echo = new Echo(clients_done);  // owned by the world, destroyed at shut-down
    std::vector<std::thread> clients;
    const auto start = std::chrono::steady_clock::now();
    const double cpu_before = threadCpuMicroseconds();
    for (int c = 0; c < ECHO_CLIENTS; c++)
      clients.emplace_back([&] {
        echoed += runClient(port, batch);
        clients_done++;
      });
    cv::GameManager::getInstance().run();
    const double cpu = threadCpuMicroseconds() - cpu_before;
    for (std::thread &client : clients)
      client.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int expected = ECHO_CLIENTS * MESSAGES_PER_CLIENT;
    state.SetIterationTime(seconds);
    state.counters["echoes_in_order"] = echoed.load();
    state.counters["msgs_per_s"] = echoed.load() / seconds;
    state.counters["server_cpu_pct"] = 100.0 * cpu / (seconds * 1e6);
    state.counters["refused"] = echo->refused;
    if (echoed != expected) {
      state.SkipWithError("echoes stopped coming: the connections stalled");
      break;
    }
  }
  stop(config);
}
BENCHMARK(BM_EchoClients)->Arg(1)->Arg(10)->Arg(100)->Arg(20000)->Iterations(1)->UseManualTime()->Unit(
    benchmark::kMillisecond);

}  // namespace
