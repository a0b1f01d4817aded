#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "Corvane.h"
#include "network/NetworkSupport.h"
#include "support/TestEngine.h"

using cvtest::frame;
using cvtest::NetworkRecorder;
using cvtest::TestClient;
using cvtest::TestEngine;

namespace {

using Microseconds = std::chrono::microseconds;

std::int64_t nowMicroseconds() {
  return std::chrono::duration_cast<Microseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Ends the game loop at step `last`, or earlier when `done` holds.
class Stopper : public cv::Object {
 public:
  Stopper(int last, std::function<bool()> done = nullptr) : last(last), done(std::move(done)) {
    registerInterest(cv::STEP_EVENT);
  }
  int eventHandler(const cv::Event *event) override {
    const int step = static_cast<const cv::EventStep *>(event)->getStepCount();
    if (step >= last || (done && done()))
      cv::GameManager::getInstance().setGameOver();
    return 1;
  }

 private:
  int last;                    ///< the step at which the loop ends at the latest
  std::function<bool()> done;  ///< ends the loop early when it holds
};

// Shuts the engine down when a test ends, however it ends, so the world
// manager deletes the test's objects.
class StopAtEnd {
 public:
  explicit StopAtEnd(TestEngine &engine) : engine(engine) {}
  ~StopAtEnd() {
    if (cv::GameManager::getInstance().isStarted())
      engine.stop();
  }

 private:
  TestEngine &engine;  ///< the engine to stop
};

// The text of a whole file.
std::string readFile(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

TEST(NetworkLoop, UnreadMessageIsReportedUntilTheDeadlineThenResidualWarning) {
  TestEngine engine("headless:true,networking:true,frame_time:10,");
  ASSERT_EQ(engine.start(), 0);
  const StopAtEnd stop_at_end(engine);
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  ASSERT_EQ(network.setServer("0", true), 0);
  TestClient client(network.getPort());
  ASSERT_TRUE(client.write(frame("nobody reads me")));
  auto *recorder = new NetworkRecorder;
  new Stopper(2);
  cv::GameManager::getInstance().run();
  // Accepted in the first step, then the message reported pass after pass.
  ASSERT_GT(recorder->events.size(), 2u);
  EXPECT_EQ(recorder->events.front().label, cv::NETWORK_ACCEPT);
  EXPECT_EQ(recorder->events.back().label, cv::NETWORK_DATA);
  EXPECT_TRUE(engine.logged("GameManager::run(): Warning! Residual network data."));
}

TEST(NetworkLoop, NcMessageIsReadAndAnsweredThenItsHalfCloseClosesTheConnection) {
  if (access("/usr/bin/nc", X_OK) != 0)
    GTEST_SKIP() << "nc (netcat-openbsd) is not installed";
  TestEngine engine("headless:true,networking:true,frame_time:5,");
  ASSERT_EQ(engine.start(), 0);
  const StopAtEnd stop_at_end(engine);
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  ASSERT_EQ(network.setServer("0", true), 0);
  auto *recorder = new NetworkRecorder;
  std::string got;
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() != cv::NETWORK_DATA)
      return;
    got.resize(static_cast<size_t>(event.getBytes()));
    network.receive(event.getSocketIndex(), &got[0], event.getBytes());
    const std::string reply = frame("hello, nc");
    network.send(event.getSocketIndex(), reply.data(), static_cast<int>(reply.size()));
  };
  new Stopper(1000, [&] { return !recorder->events.empty() && recorder->events.back().label == cv::NETWORK_CLOSE; });
  // nc sends the message, shuts down its sending side at the end of its
  // input (-N), and prints what comes back until the server closes.
  const std::string output = engine.directory() + "/nc-output";
  const pid_t nc = cvtest::spawnProcess(
      {"/bin/sh", "-c",
       "printf '\\022\\000\\000\\000hello, corvane' | /usr/bin/nc -N -w 5 127.0.0.1 " +
           std::to_string(network.getPort()) + " > " + output});
  ASSERT_NE(nc, -1);
  cv::GameManager::getInstance().run();
  EXPECT_EQ(cvtest::waitForExit(nc, 10), 0);
  EXPECT_EQ(got, frame("hello, corvane"));
  EXPECT_EQ(readFile(output), frame("hello, nc"));
  EXPECT_EQ(recorder->events, (std::vector<cvtest::NetworkRecord>{{cv::NETWORK_ACCEPT, 0, 0},
                                                                   {cv::NETWORK_DATA, 0, 18},
                                                                   {cv::NETWORK_CLOSE, 0, 0}}));
}

TEST(NetworkLoop, AnswersGivenInAStepGoOutInOneWriteAConnection) {
  TestEngine engine("headless:true,networking:true,frame_time:100,");
  ASSERT_EQ(engine.start(), 0);
  const StopAtEnd stop_at_end(engine);
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  ASSERT_EQ(network.setServer("0", true), 0);
  TestClient client(network.getPort());
  ASSERT_TRUE(client.isConnected());
  if (client.dataSegmentsReceived() < 0)
    GTEST_SKIP() << "the system does not count the segments a socket receives";
  // Twenty messages in one write: a step reports them one a pass, and the
  // handler answers each with its own send.
  std::string requests;
  for (int i = 0; i < 20; i++)
    requests += frame("request " + std::to_string(i));
  ASSERT_TRUE(client.write(requests));
  auto *recorder = new NetworkRecorder;
  int answered = 0;
  std::set<int> steps_answering;
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() != cv::NETWORK_DATA)
      return;
    std::string message(static_cast<size_t>(event.getBytes()), '\0');
    network.receive(event.getSocketIndex(), &message[0], event.getBytes());
    network.send(event.getSocketIndex(), message.data(), event.getBytes());
    answered++;
    steps_answering.insert(cv::GameManager::getInstance().getStepCount());
  };
  new Stopper(50, [&] { return answered == 20; });
  cv::GameManager::getInstance().run();
  EXPECT_EQ(client.read(requests.size()), requests);
  // One write a step that answered (a loaded machine may spread the
  // messages over more than one step), each arriving as one segment.
  ASSERT_FALSE(steps_answering.empty());
  EXPECT_EQ(client.dataSegmentsReceived(), static_cast<int>(steps_answering.size()));
}

TEST(NetworkLoop, TwoEnginesExchangeMessagesBothWays) {
  const int count = 200;
  TestEngine engine("headless:true,networking:true,frame_time:5,");
  ASSERT_EQ(engine.start(), 0);
  const StopAtEnd stop_at_end(engine);
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  ASSERT_EQ(network.setServer("0", true), 0);
  auto *recorder = new NetworkRecorder;
  int answered = 0;
  bool in_order = true;
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() != cv::NETWORK_DATA)
      return;
    std::string ping(static_cast<size_t>(event.getBytes()), '\0');
    network.receive(event.getSocketIndex(), &ping[0], event.getBytes());
    in_order = in_order && ping == frame("ping " + std::to_string(answered));
    const std::string pong = frame("pong " + std::to_string(answered++));
    network.send(event.getSocketIndex(), pong.data(), static_cast<int>(pong.size()));
  };
  // The peer closes its connection when it has every answer.
  new Stopper(4000, [&] { return !recorder->events.empty() && recorder->events.back().label == cv::NETWORK_CLOSE; });
  const pid_t peer = cvtest::spawnProcess({CORVANE_NETWORK_PEER, std::to_string(network.getPort()),
                                           std::to_string(count)});
  ASSERT_NE(peer, -1);
  cv::GameManager::getInstance().run();
  EXPECT_EQ(cvtest::waitForExit(peer, 20), 0);
  EXPECT_EQ(answered, count);
  EXPECT_TRUE(in_order);
  EXPECT_EQ(recorder->events.back().label, cv::NETWORK_CLOSE);
}

TEST(NetworkLoop, SixtyFourClientsLoseNothingAndEachStepKeepsItsNetworkBudget) {
  const int clients = 64;
  const int per_client = 1000;
  const int frame_time = 33;
  TestEngine engine("headless:true,networking:true,frame_time:33,");
  ASSERT_EQ(engine.start(), 0);
  const StopAtEnd stop_at_end(engine);
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  ASSERT_EQ(network.setServer("0", true), 0);
  ASSERT_EQ(network.setMaxSockets(clients), 0);

  // Every message names its client and its number; the server checks that
  // each client's numbers arrive one after the other.
  struct Delivery {
    int step;              // game-loop step it was reported in
    int socket_index;      // connection it came on
    std::int64_t when;     // microseconds
  };
  std::vector<Delivery> deliveries;
  deliveries.reserve(clients * per_client);
  std::vector<int> next(clients, 0);
  int wrong = 0;
  auto *recorder = new NetworkRecorder;
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() != cv::NETWORK_DATA)
      return;
    deliveries.push_back({cv::GameManager::getInstance().getStepCount(), event.getSocketIndex(), nowMicroseconds()});
    char message[12];
    if (event.getBytes() != 12 || network.receive(event.getSocketIndex(), message, 12) != 12) {
      wrong++;
      return;
    }
    int client = 0;
    int number = 0;
    std::memcpy(&client, message + 4, 4);
    std::memcpy(&number, message + 8, 4);
    if (client < 0 || client >= clients || next[client] != number)
      wrong++;
    else
      next[client]++;
  };
  recorder->events.reserve(clients * per_client + clients);
  new Stopper(1500, [&] { return static_cast<int>(deliveries.size()) >= clients * per_client; });

  const int port = network.getPort();
  std::thread senders([&] {
    std::vector<std::unique_ptr<TestClient>> sockets;
    for (int c = 0; c < clients; c++)
      sockets.push_back(std::make_unique<TestClient>(port));
    for (int number = 0; number < per_client; number++)
      for (int c = 0; c < clients; c++) {
        std::string message = frame(std::string(8, '\0'));
        std::memcpy(&message[4], &c, 4);
        std::memcpy(&message[8], &number, 4);
        if (!sockets[c]->write(message))
          return;
      }
    // Keep the connections open until the server has read everything.
    for (auto &socket : sockets)
      socket->sawEnd();
  });
  cv::GameManager::getInstance().run();
  engine.stop();  // closes the connections, which ends the senders
  senders.join();

  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(static_cast<int>(deliveries.size()), clients * per_client);
  for (int c = 0; c < clients; c++)
    EXPECT_EQ(next[c], per_client) << "client " << c;

  // A pass over the connections starts again at a lower index. The loop
  // checks its deadline before each pass, so at most one pass of a step can
  // start after the step's fifth of a frame: the one whose check came just in
  // time (it may start late when the machine is busy and the process waits
  // for a core). The first delivery of a step comes after its deadline was
  // set, so measuring from it is lenient.
  const std::int64_t budget = frame_time * 200;
  const std::int64_t room = 2000;
  std::int64_t longest = 0;
  size_t first = 0;
  int late_passes = 0;
  for (size_t i = 1; i <= deliveries.size(); i++) {
    if (i < deliveries.size() && deliveries[i].step == deliveries[first].step) {
      if (deliveries[i].socket_index <= deliveries[i - 1].socket_index &&
          deliveries[i].when - deliveries[first].when > budget + room)
        late_passes++;
      continue;
    }
    EXPECT_LE(late_passes, 1) << "passes started after the deadline in step " << deliveries[first].step;
    longest = std::max(longest, deliveries[i - 1].when - deliveries[first].when);
    late_passes = 0;
    first = i;
  }
  std::printf("longest network share of a step: %lld us (budget %lld us)\n", static_cast<long long>(longest),
              static_cast<long long>(budget));
}
