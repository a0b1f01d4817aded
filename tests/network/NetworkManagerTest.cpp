#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <memory>
#include <regex>
#include <string>
#include <thread>

#include "Corvane.h"
#include "network/NetworkSupport.h"
#include "support/TestEngine.h"

using cvtest::frame;
using cvtest::lengthBytes;
using cvtest::NetworkRecord;
using cvtest::NetworkRecorder;
using cvtest::pumpUntil;
using cvtest::TestClient;
using cvtest::TestEngine;

namespace {

const int ACCEPT = cv::NETWORK_ACCEPT;
const int CLOSE = cv::NETWORK_CLOSE;
const int DATA = cv::NETWORK_DATA;

// A started engine with networking on, serving on a free loopback port, and
// an object recording the network events.
class Network : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(engine.start(), 0);
    ASSERT_EQ(network.setServer("0", true), 0);
    port = network.getPort();
    ASSERT_GT(port, 0);
    recorder = new NetworkRecorder;
  }
  void TearDown() override { engine.stop(); }

  // Accepts the connection of a new client, which must succeed.
  std::unique_ptr<TestClient> connectClient() {
    auto client = std::make_unique<TestClient>(port);
    EXPECT_TRUE(client->isConnected());
    EXPECT_GE(network.accept(), 0);
    return client;
  }

  // The last log message.
  std::string lastMessage() const { return engine.messages().back(); }

  // How many log messages start with `start`.
  int countMessagesStartingWith(const std::string &start) const {
    const std::vector<std::string> messages = engine.messages();
    return static_cast<int>(std::count_if(messages.begin(), messages.end(), [&](const std::string &message) {
      return message.rfind(start, 0) == 0;
    }));
  }

  // Whether some log message matches the whole of `pattern`.
  bool loggedMatching(const std::string &pattern) const {
    const std::regex whole(pattern);
    const std::vector<std::string> messages = engine.messages();
    return std::any_of(messages.begin(), messages.end(),
                       [&](const std::string &message) { return std::regex_match(message, whole); });
  }

  TestEngine engine{"headless:true,networking:true,log_level:1,"};
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  NetworkRecorder *recorder = nullptr;  // owned by the world manager
  int port = 0;
};

}  // namespace

TEST(EventNetwork, KeepsLabelsMinusOneToThreeAndRefusesOthers) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  for (int label : {-1, 0, 1, 2, 3}) {
    const cv::EventNetwork event(label);
    EXPECT_EQ(event.getLabel(), label);
  }
  const cv::EventNetwork event(7);
  EXPECT_EQ(event.getType(), "cv-network");
  EXPECT_EQ(event.getLabel(), cv::NETWORK_UNDEFINED);
  EXPECT_EQ(event.getSocketIndex(), -1);
  EXPECT_EQ(event.getBytes(), 0);
  EXPECT_EQ(engine.messages().back(), "EventNetwork::setLabel(): Undefined type (7).");
  cv::EventNetwork changed(cv::NETWORK_DATA);
  changed.setLabel(-2);
  EXPECT_EQ(changed.getLabel(), cv::NETWORK_UNDEFINED);
  EXPECT_EQ(engine.messages().back(), "EventNetwork::setLabel(): Undefined type (-2).");
}

TEST(NetworkManagerAlone, HandlesExactlyTheFourNetworkTypes) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  for (const char *type : {"cv-network", "cv-keyboard-network", "cv-mouse-network", "cv-custom-network"})
    EXPECT_TRUE(network.isValid(type)) << type;
  EXPECT_FALSE(network.isValid("cv-keyboard"));
  EXPECT_EQ(engine.messages().back(), "NetworkManager::isValid(): Error! NetworkManager does not handle cv-keyboard.");
}

TEST(NetworkManagerAlone, RefusesToAcceptOrServeUntilSetUp) {
  TestEngine engine("headless:true,networking:true,");
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  EXPECT_EQ(network.setServer("0", true), -1);
  ASSERT_EQ(engine.start(), 0);
  EXPECT_FALSE(network.isServer());
  EXPECT_EQ(network.getPort(), -1);
  EXPECT_EQ(network.accept(), -2);
  EXPECT_EQ(engine.messages().back(), "NetworkManager::accept(): Error! Not setup as server.");
  for (const char *port : {"", "port", "65536", "-1", "12a"}) {
    EXPECT_EQ(network.setServer(port, true), -1);
    EXPECT_EQ(engine.messages().back(),
              "NetworkManager::setServer(): Error! Port '" + std::string(port) + "' is not a number from 0 to 65535.");
  }
  EXPECT_FALSE(network.isServer());
}

TEST_F(Network, SecondServerIsRefusedAndShutDownFreesThePort) {
  EXPECT_EQ(network.setServer("0", true), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::setServer(): Error! Already a server on port " + std::to_string(port) + ".");
  auto client = connectClient();
  engine.stop();
  EXPECT_FALSE(network.isServer());
  EXPECT_EQ(network.getNumSockets(), 0);
  EXPECT_TRUE(client->sawEnd());
  EXPECT_FALSE(TestClient(port).isConnected());
  // Started again, the manager can serve on the very same port.
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(network.setServer(std::to_string(port), true), 0);
  EXPECT_TRUE(TestClient(port).isConnected());
}

TEST_F(Network, AcceptReportsTheNewConnection) {
  EXPECT_EQ(network.accept(), -1);
  TestClient client(port);
  ASSERT_TRUE(client.isConnected());
  EXPECT_EQ(network.accept(), 0);
  EXPECT_EQ(network.getNumSockets(), 1);
  EXPECT_EQ(lastMessage(), "NetworkManager::accept(): New connection.");
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{ACCEPT, 0, 0}}));
}

TEST_F(Network, AcceptWaitingTakesEveryWaitingConnectionAndClosesThoseOverTheLimit) {
  network.setMaxSockets(2);
  TestClient first(port), second(port), third(port);
  ASSERT_TRUE(first.isConnected() && second.isConnected() && third.isConnected());
  EXPECT_EQ(network.acceptWaiting(1000000), 2);
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{ACCEPT, 0, 0}, {ACCEPT, 1, 0}}));
  EXPECT_TRUE(third.sawEnd());
  EXPECT_TRUE(engine.logged("NetworkManager::accept(): Warning! accept() connection, but at limit (2)."));
  // Nothing waits any more: it returns at once.
  EXPECT_EQ(network.acceptWaiting(1000000), 0);
  EXPECT_EQ(network.getNumSockets(), 2);
}

TEST_F(Network, ConnectionOverTheLimitIsClosedWithBothWarnings) {
  auto first = connectClient();
  TestClient second(port);
  ASSERT_TRUE(second.isConnected());
  recorder->take();
  EXPECT_EQ(network.accept(), -1);
  const std::vector<std::string> messages = engine.messages();
  EXPECT_EQ(std::vector<std::string>(messages.end() - 2, messages.end()),
            (std::vector<std::string>{"NetworkManager::accept(): Warning! accept() connection, but at limit (1).",
                                      "\tUse NM.setMaxSockets() to change."}));
  EXPECT_TRUE(recorder->events.empty());
  EXPECT_EQ(network.getNumSockets(), 1);
  EXPECT_TRUE(second.sawEnd());
  // A higher limit lets the next one in.
  EXPECT_EQ(network.setMaxSockets(2), 0);
  EXPECT_EQ(network.getMaxSockets(), 2);
  TestClient third(port);
  EXPECT_EQ(network.accept(), 1);
  EXPECT_EQ(network.setMaxSockets(-1), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::setMaxSockets(): Error! Limit -1 is below 0.");
}

TEST_F(Network, FloodOverTheLimitIsWarnedOnceThenCounted) {
  const std::string at_limit = "NetworkManager::accept(): Warning! accept() connection, but at limit (2).";
  const std::string hint = "\tUse NM.setMaxSockets() to change.";
  const auto refused = [](int count) {
    return "NetworkManager::accept(): Warning! " + std::to_string(count) + " more connection" +
           (count == 1 ? "" : "s") + " refused at limit (2).";
  };
  network.setMaxSockets(2);
  std::vector<std::unique_ptr<TestClient>> clients;
  const auto connectClients = [&](int count) {
    for (int i = 0; i < count; i++) {
      clients.push_back(std::make_unique<TestClient>(port));
      ASSERT_TRUE(clients.back()->isConnected());
    }
  };
  const auto sleepASecond = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1100)); };
  // Ten at once: two taken, eight refused, the warning written once.
  connectClients(10);
  EXPECT_EQ(network.acceptWaiting(1000000), 2);
  EXPECT_EQ(countMessagesStartingWith(at_limit), 1);
  EXPECT_EQ(countMessagesStartingWith(hint), 1);
  EXPECT_EQ(lastMessage(), hint);
  // A place comes free: the count of the others.
  network.close(0);
  EXPECT_EQ(lastMessage(), refused(7));
  // Full again within the second: counted only, the count written a second
  // after the last line even with no place free.
  connectClients(3);
  EXPECT_EQ(network.acceptWaiting(1000000), 1);
  EXPECT_EQ(lastMessage(), "NetworkManager::accept(): New connection.");
  EXPECT_EQ(countMessagesStartingWith(at_limit), 1);
  sleepASecond();
  EXPECT_EQ(network.accept(), -1);
  EXPECT_EQ(lastMessage(), refused(2));
  // Raising the limit frees it as a close does.
  connectClients(1);
  EXPECT_EQ(network.accept(), -1);
  EXPECT_EQ(lastMessage(), refused(2));
  EXPECT_EQ(network.setMaxSockets(3), 0);
  EXPECT_EQ(lastMessage(), refused(1));
  EXPECT_EQ(countMessagesStartingWith(at_limit), 1);
  // Met again after a quiet second: the warning again.
  sleepASecond();
  connectClients(2);
  EXPECT_EQ(network.acceptWaiting(1000000), 1);
  const std::vector<std::string> messages = engine.messages();
  EXPECT_EQ(std::vector<std::string>(messages.end() - 2, messages.end()),
            (std::vector<std::string>{"NetworkManager::accept(): Warning! accept() connection, but at limit (3).",
                                      hint}));
  EXPECT_EQ(countMessagesStartingWith(hint), 2);
}

TEST_F(Network, MessageSentWholeIsReportedUntilReceived) {
  auto client = connectClient();
  recorder->take();
  const std::string message = frame("hello, server");
  ASSERT_TRUE(client->write(message));
  ASSERT_TRUE(pumpUntil([&] { return !recorder->events.empty(); }));
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{DATA, 0, 17}}));
  // Not consumed: reported again on every call until read.
  EXPECT_EQ(network.genDataEvents(0), 1);
  EXPECT_EQ(network.genDataEvents(0), 1);
  EXPECT_EQ(recorder->take().size(), 2u);
  std::string got(17, '\0');
  EXPECT_EQ(network.receive(0, &got[0], 17), 17);
  EXPECT_EQ(got, message);
  EXPECT_EQ(network.genDataEvents(0), 0);
  EXPECT_EQ(network.isData(0), 0);
  EXPECT_TRUE(recorder->events.empty());
}

TEST_F(Network, MessageArrivingInPiecesIsReportedOnlyWhenComplete) {
  auto client = connectClient();
  recorder->take();
  const std::string message = frame(std::string(96, 'x'));  // a length of 100
  // 3 bytes: not even a length yet. Then 60 of the 100, then all of them.
  size_t sent = 0;
  for (const size_t upto : {size_t{3}, size_t{60}, size_t{100}}) {
    ASSERT_TRUE(client->write(message.substr(sent, upto - sent)));
    sent = upto;
    ASSERT_TRUE(pumpUntil([&] { return network.isData(0) == static_cast<int>(upto); }));
    for (int pass = 0; pass < 3; pass++)
      EXPECT_EQ(network.genDataEvents(0), upto == 100 ? 1 : 0) << upto << " bytes waiting";
  }
  const std::vector<NetworkRecord> events = recorder->take();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), (NetworkRecord{DATA, 0, 100}));
  for (const NetworkRecord &event : events)
    EXPECT_EQ(event, (NetworkRecord{DATA, 0, 100}));
}

TEST_F(Network, LargestMessageSentWholeIsReported) {
  auto client = connectClient();
  recorder->take();
  const std::string message = frame(std::string(cv::DEFAULT_MAX_MESSAGE_SIZE - 4, 'm'));
  ASSERT_TRUE(client->write(message));
  ASSERT_TRUE(pumpUntil([&] { return !recorder->events.empty(); }));
  EXPECT_EQ(recorder->events.front(), (NetworkRecord{DATA, 0, cv::DEFAULT_MAX_MESSAGE_SIZE}));
}

TEST_F(Network, ImpossibleLengthClosesTheConnection) {
  const struct {
    std::uint32_t length;
    int as_read;
  } cases[] = {{0, 0}, {3, 3}, {0xffffffff, -1}, {0x7fffffff, 0x7fffffff}, {65537, 65537}};
  for (const auto &c : cases) {
    auto client = connectClient();
    recorder->take();
    ASSERT_TRUE(client->write(lengthBytes(c.length) + "payload"));
    ASSERT_TRUE(pumpUntil([&] { return network.getNumSockets() == 0; })) << c.as_read;
    EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 0, 0}})) << c.as_read;
    EXPECT_TRUE(engine.logged("NetworkManager::genDataEvents(): Error! Message length " + std::to_string(c.as_read) +
                              " out of range (4 to 65536): closing connection 0."))
        << c.as_read;
    EXPECT_TRUE(client->sawEnd());
  }
}

TEST_F(Network, PeerThatClosesIsClosedAndItsPlaceFreed) {
  auto client = connectClient();
  recorder->take();
  client->close();
  ASSERT_TRUE(pumpUntil([&] { return network.getNumSockets() == 0; }));
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 0, 0}}));
  EXPECT_EQ(lastMessage(), "NetworkManager::genDataEvents(): Peer of connection 0 closed.");
  // At the limit of one, the next client gets in.
  auto next = connectClient();
  EXPECT_EQ(network.getNumSockets(), 1);
}

TEST_F(Network, PeerThatClosesAfterAMessageHasItReadFirst) {
  auto client = connectClient();
  std::string got;
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() == DATA) {
      got.resize(static_cast<size_t>(event.getBytes()));
      network.receive(event.getSocketIndex(), &got[0], event.getBytes());
    }
  };
  recorder->take();
  ASSERT_TRUE(client->write(frame("last words")));
  client->close();
  ASSERT_TRUE(pumpUntil([&] { return network.getNumSockets() == 0; }));
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{DATA, 0, 14}, {CLOSE, 0, 0}}));
  EXPECT_EQ(got, frame("last words"));
}

TEST_F(Network, PeerThatClosesInTheMiddleOfAMessageIsClosed) {
  auto client = connectClient();
  recorder->take();
  ASSERT_TRUE(client->write(frame("cut short").substr(0, 8)));
  client->close();
  ASSERT_TRUE(pumpUntil([&] { return network.getNumSockets() == 0; }));
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 0, 0}}));
  EXPECT_TRUE(engine.logged(
      "NetworkManager::genDataEvents(): Warning! Peer of connection 0 closed in the middle of a message (8 bytes "
      "dropped)."));
}

TEST_F(Network, CloseMovesLaterConnectionsDown) {
  network.setMaxSockets(2);
  auto first = connectClient();
  auto second = connectClient();
  recorder->take();
  network.close(5);
  EXPECT_EQ(lastMessage(), "NetworkManager::close(): sock_index (5) out of range.");
  EXPECT_EQ(network.getNumSockets(), 2);
  EXPECT_TRUE(recorder->events.empty());

  network.close(0);
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 0, 0}}));
  EXPECT_TRUE(first->sawEnd());
  ASSERT_TRUE(second->write(frame("moved")));
  ASSERT_TRUE(pumpUntil([&] { return !recorder->events.empty(); }));
  EXPECT_EQ(recorder->events.front(), (NetworkRecord{DATA, 0, 9}));
}

TEST_F(Network, HandlerClosingAConnectionAgainDuringItsCloseChangesNothing) {
  network.setMaxSockets(2);
  auto first = connectClient();
  auto second = connectClient();
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() == CLOSE)
      network.close(event.getSocketIndex());
  };
  recorder->take();
  network.close(0);
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 0, 0}}));
  EXPECT_EQ(network.getNumSockets(), 1);
  EXPECT_EQ(network.isData(0), 0);
}

TEST_F(Network, OperationsOnAMissingConnectionAreRefused) {
  char buffer[8] = {};
  EXPECT_EQ(network.genDataEvents(0), 0);
  EXPECT_EQ(network.genDataEvents(-1), 0);
  EXPECT_EQ(network.isData(-1), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::isData(): Error! Sock index -1 not connected.");
  EXPECT_EQ(network.receive(0, buffer, 8), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::receive(): Error! Sock index 0 not connected.");
  EXPECT_EQ(network.send(3, frame("abcd").data(), 8), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::send(): Error! Sock index 3 not connected.");
  auto client = connectClient();
  EXPECT_EQ(network.receive(0, nullptr, 8), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::receive(): Error! No buffer for 8 bytes.");
  EXPECT_EQ(network.receive(0, buffer, -1), -1);
  // A send must be one whole message whose length prefix says its size.
  for (const std::string &bad : {std::string("abc"), frame("abcd").substr(0, 7), frame("abcd") + "e"}) {
    EXPECT_EQ(network.send(0, bad.data(), static_cast<int>(bad.size())), -1);
    EXPECT_EQ(lastMessage(), "NetworkManager::send(): Error! " + std::to_string(bad.size()) +
                                 " bytes are not one message with its length.");
  }
}

TEST_F(Network, SendReachesThePeerAndASlowReaderNeverBlocksTheServer) {
  auto client = connectClient();
  EXPECT_EQ(network.send(0, frame("welcome").data(), 11), 11);
  EXPECT_EQ(client->read(11), frame("welcome"));
  // The client reads nothing for a while: sends keep returning at once, queued
  // up to the limit, and then are refused whole.
  const std::string block = frame(std::string(60000, 'b'));
  int accepted = 0;
  bool refused = false;
  for (int i = 0; i < 2000 && !refused; i++) {
    std::string numbered = block;
    numbered[4] = static_cast<char>(i);
    if (network.send(0, numbered.data(), static_cast<int>(numbered.size())) == -1)
      refused = true;
    else
      accepted++;
  }
  ASSERT_TRUE(refused);
  EXPECT_EQ(lastMessage().rfind("NetworkManager::send(): Error! Connection 0 already has ", 0), 0u) << lastMessage();
  // Once the client reads, the passes send the rest: every accepted message
  // arrives whole and in order.
  std::atomic<bool> done{false};
  std::thread reader([&] {
    for (int i = 0; i < accepted; i++) {
      const std::string got = client->read(block.size());
      if (got.size() != block.size() || got[4] != static_cast<char>(i)) {
        ADD_FAILURE() << "message " << i << " of " << accepted << " lost or out of order";
        break;
      }
    }
    done = true;
  });
  for (int round = 0; round < 10000 && !done; round++) {
    network.genDataEvents(0);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (!done)
    client->abort();
  reader.join();
  EXPECT_TRUE(done);
}

TEST_F(Network, PeerThatNeverReadsIsClosedOnceItsQueueStaysFull) {
  // A small receive buffer keeps the system from taking much for the client.
  auto client = std::make_unique<TestClient>(port, 4096);
  ASSERT_TRUE(client->isConnected());
  ASSERT_EQ(network.accept(), 0);
  recorder->take();
  const std::string block = frame(std::string(60000, 'b'));
  bool refused = false;
  for (int i = 0; i < 200 && !refused; i++)
    refused = network.send(0, block.data(), static_cast<int>(block.size())) == -1;
  ASSERT_TRUE(refused);
  // The server goes on offering a message every pass, as a game does every
  // step, until the connection is closed (five seconds at most).
  const std::string tick = frame("tick");
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < 5000 && network.getNumSockets() == 1; round++) {
    network.send(0, tick.data(), static_cast<int>(tick.size()));
    network.genDataEvents(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(network.getNumSockets(), 0);
  EXPECT_LT(waited, std::chrono::milliseconds(cv::STALLED_PEER_MILLISECONDS + 2000));
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 0, 0}}));
  // One line for the refusals, one for the close.
  EXPECT_EQ(countMessagesStartingWith("NetworkManager::send(): Error! Connection 0 already has "), 1);
  EXPECT_TRUE(loggedMatching(
      "NetworkManager::genDataEvents\\(\\): Warning! Peer of connection 0 has taken nothing for [0-9]+ ms with "
      "[0-9]+ bytes waiting to be sent: closing connection\\."));
  EXPECT_EQ(countMessagesStartingWith("NetworkManager::genDataEvents(): Warning! Peer of connection 0 has taken"), 1);
  // Its place is free again.
  auto next = connectClient();
}

TEST_F(Network, StallTimeoutIsASettingAndZeroKeepsAStalledPeer) {
  EXPECT_EQ(network.getStallTimeout(), cv::STALLED_PEER_MILLISECONDS);
  EXPECT_EQ(network.setStallTimeout(-1), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::setStallTimeout(): Error! Timeout -1 is below 0.");
  ASSERT_EQ(network.setStallTimeout(0), 0);
  auto client = std::make_unique<TestClient>(port, 4096);
  ASSERT_TRUE(client->isConnected());
  ASSERT_EQ(network.accept(), 0);
  recorder->take();
  const std::string block = frame(std::string(60000, 'b'));
  bool refused = false;
  for (int i = 0; i < 200 && !refused; i++)
    refused = network.send(0, block.data(), static_cast<int>(block.size())) == -1;
  ASSERT_TRUE(refused);
  // The server offers a message every pass, as a game does every step.
  const std::string tick = frame("tick");
  const auto offerFor = [&](std::chrono::milliseconds how_long) {
    const auto end = std::chrono::steady_clock::now() + how_long;
    while (network.getNumSockets() == 1 && std::chrono::steady_clock::now() < end) {
      network.send(0, tick.data(), static_cast<int>(tick.size()));
      network.genDataEvents(0);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  };
  // 0: kept well past the default.
  offerFor(std::chrono::milliseconds(cv::STALLED_PEER_MILLISECONDS * 3 / 2));
  EXPECT_EQ(network.getNumSockets(), 1);
  // A timeout longer than the stall so far keeps it too; one shorter closes
  // it at the next pass, saying how long the peer took nothing.
  ASSERT_EQ(network.setStallTimeout(60000), 0);
  offerFor(std::chrono::milliseconds(50));
  EXPECT_EQ(network.getNumSockets(), 1);
  ASSERT_EQ(network.setStallTimeout(300), 0);
  EXPECT_EQ(network.genDataEvents(0), -1);
  EXPECT_EQ(network.getNumSockets(), 0);
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 0, 0}}));
  const std::regex stalled(
      "NetworkManager::genDataEvents\\(\\): Warning! Peer of connection 0 has taken nothing for ([0-9]+) ms with "
      "[0-9]+ bytes waiting to be sent: closing connection\\.");
  std::smatch found;
  const std::string message = lastMessage();
  ASSERT_TRUE(std::regex_match(message, found, stalled)) << message;
  EXPECT_GE(std::stoi(found[1]), cv::STALLED_PEER_MILLISECONDS * 3 / 2);
  // A shut-down manager is back to the default.
  network.shutDown();
  EXPECT_EQ(network.getStallTimeout(), cv::STALLED_PEER_MILLISECONDS);
  ASSERT_EQ(network.startUp(), 0);
}

TEST_F(Network, HalfClosingPeerGetsEverythingQueuedBeforeTheClose) {
  auto client = std::make_unique<TestClient>(port, 4096);
  ASSERT_TRUE(client->isConnected());
  ASSERT_EQ(network.accept(), 0);
  // The answer: numbered blocks until one is refused, so that the system's
  // buffers are full and the rest waits in the manager's queue.
  int count = 0;
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() != DATA)
      return;
    std::string request(static_cast<size_t>(event.getBytes()), '\0');
    network.receive(event.getSocketIndex(), &request[0], event.getBytes());
    for (bool refused = false; count < 200 && !refused;) {
      std::string block = frame(std::string(60000, 'h'));
      block[4] = static_cast<char>(count);
      refused = network.send(event.getSocketIndex(), block.data(), static_cast<int>(block.size())) == -1;
      count += refused ? 0 : 1;
    }
  };
  recorder->take();
  ASSERT_TRUE(client->write(frame("send me everything")));
  client->finishSending();
  ASSERT_TRUE(pumpUntil([&] { return !recorder->events.empty(); }));
  ASSERT_LT(count, 200);
  // The peer's end has arrived; with part of the answer still queued, the
  // connection stays open.
  for (int pass = 0; pass < 5; pass++) {
    network.genDataEvents(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(network.getNumSockets(), 1);
  // Once the client reads, everything arrives in order, then the end.
  std::atomic<bool> done{false};
  std::thread reader([&] {
    for (int i = 0; i < count; i++) {
      const std::string got = client->read(60004);
      if (got.size() != 60004 || got[4] != static_cast<char>(i)) {
        ADD_FAILURE() << "answer " << i << " of " << count << " lost or out of order";
        break;
      }
    }
    EXPECT_TRUE(client->sawEnd());
    done = true;
  });
  for (int round = 0; round < 5000 && (network.getNumSockets() > 0 || !done); round++) {
    network.genDataEvents(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!done)
    client->abort();
  reader.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{DATA, 0, 22}, {CLOSE, 0, 0}}));
  EXPECT_EQ(lastMessage(), "NetworkManager::genDataEvents(): Peer of connection 0 closed.");
}

TEST_F(Network, IdleConnectionsAreClosedAfterTheTimeoutAndTalkingOnesKept) {
  EXPECT_EQ(network.getIdleTimeout(), 0);
  EXPECT_EQ(network.setIdleTimeout(-1), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::setIdleTimeout(): Error! Timeout -1 is below 0.");
  const int timeout = 300;
  ASSERT_EQ(network.setIdleTimeout(timeout), 0);
  network.setMaxSockets(3);
  auto silent = connectClient();
  auto partial = connectClient();
  auto talker = connectClient();
  ASSERT_TRUE(partial->write(frame("never finished").substr(0, 8)));
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() != DATA)
      return;
    char message[14];
    network.receive(event.getSocketIndex(), message, event.getBytes());
  };
  recorder->take();
  // The talker writes every 50 ms; three seconds at most.
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < 300 && network.getNumSockets() > 1; round++) {
    if (round % 5 == 0) {
      ASSERT_TRUE(talker->write(frame("still here")));
    }
    for (int i = 0; i < network.getNumSockets(); i++)
      network.genDataEvents(i);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(timeout));
  ASSERT_EQ(network.getNumSockets(), 1);
  std::vector<NetworkRecord> closes;
  for (const NetworkRecord &event : recorder->take())
    if (event.label == CLOSE)
      closes.push_back(event);
  EXPECT_EQ(closes, (std::vector<NetworkRecord>{{CLOSE, 0, 0}, {CLOSE, 0, 0}}));
  EXPECT_TRUE(silent->sawEnd());
  EXPECT_TRUE(partial->sawEnd());
  EXPECT_TRUE(loggedMatching("NetworkManager::genDataEvents\\(\\): Connection 0 idle for [0-9]+ ms: closing it\\."));
  EXPECT_TRUE(loggedMatching(
      "NetworkManager::genDataEvents\\(\\): Warning! Connection 0 idle for [0-9]+ ms in the middle of a message "
      "\\(8 bytes dropped\\): closing it\\."));
  // The talker is still served; a shut-down manager forgets the timeout.
  ASSERT_TRUE(talker->write(frame("still here")));
  ASSERT_TRUE(pumpUntil([&] { return !recorder->events.empty(); }));
  EXPECT_EQ(recorder->events.front(), (NetworkRecord{DATA, 0, 14}));
  network.shutDown();
  EXPECT_EQ(network.getIdleTimeout(), 0);
  ASSERT_EQ(network.startUp(), 0);
}

TEST_F(Network, MaximumMessageSizeIsSettableWithinWhatTheSystemHolds) {
  EXPECT_EQ(network.setMaxMessageSize(3), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::setMaxMessageSize(): Error! Size 3 is below 4.");
  EXPECT_EQ(network.setMaxMessageSize(INT_MAX), -1);
  EXPECT_EQ(lastMessage(),
            "NetworkManager::setMaxMessageSize(): Error! The system will not hold 2147483647 bytes waiting on a "
            "connection.");
  EXPECT_EQ(network.getMaxMessageSize(), cv::DEFAULT_MAX_MESSAGE_SIZE);

  // Half a megabyte, sent whole, waits whole and is reported.
  const int size = 512 * 1024;
  ASSERT_EQ(network.setMaxMessageSize(size), 0);
  EXPECT_EQ(network.getMaxMessageSize(), size);
  auto client = connectClient();
  recorder->take();
  const std::string message = frame(std::string(size - 4, 'L'));
  std::thread writer([&] { client->write(message); });
  const bool reported = pumpUntil([&] { return !recorder->events.empty(); });
  if (!reported)
    client->abort();  // wakes the writer stuck on a full connection
  writer.join();
  ASSERT_TRUE(reported);
  EXPECT_EQ(recorder->events.front(), (NetworkRecord{DATA, 0, size}));
  std::string got(static_cast<size_t>(size), '\0');
  EXPECT_EQ(network.receive(0, &got[0], size), size);
  EXPECT_EQ(got, message);
}

TEST_F(Network, ConnectOpensAConnectionLikeAnAcceptedOne) {
  network.setMaxSockets(2);
  const int outgoing = network.connect("127.0.0.1", std::to_string(port));
  ASSERT_EQ(outgoing, 0);
  EXPECT_EQ(lastMessage(), "NetworkManager::connect(): Connected to 127.0.0.1 port " + std::to_string(port) + ".");
  const int incoming = network.accept();
  ASSERT_EQ(incoming, 1);
  std::vector<std::string> got;
  recorder->on_network = [&](const cv::EventNetwork &event) {
    if (event.getLabel() != DATA)
      return;
    std::string message(static_cast<size_t>(event.getBytes()), '\0');
    network.receive(event.getSocketIndex(), &message[0], event.getBytes());
    got.push_back(message);
  };
  recorder->take();
  // The manager talks to itself: each end sends, the other reports.
  ASSERT_EQ(network.send(outgoing, frame("ping").data(), 8), 8);
  ASSERT_EQ(network.send(incoming, frame("pong!").data(), 9), 9);
  ASSERT_TRUE(pumpUntil([&] { return recorder->events.size() >= 2; }));
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{DATA, 0, 9}, {DATA, 1, 8}}));
  EXPECT_EQ(got, (std::vector<std::string>{frame("pong!"), frame("ping")}));
  // Closing one end closes the other.
  network.close(0);
  ASSERT_TRUE(pumpUntil([&] { return network.getNumSockets() == 0; }));
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 0, 0}, {CLOSE, 0, 0}}));
}

TEST_F(Network, ConnectFailuresAreReportedAndAddNothing) {
  // The limit of one is taken by the first connection.
  EXPECT_EQ(network.connect("127.0.0.1", std::to_string(port)), 0);
  EXPECT_EQ(network.connect("127.0.0.1", std::to_string(port)), -1);
  const std::vector<std::string> messages = engine.messages();
  EXPECT_EQ(std::vector<std::string>(messages.end() - 2, messages.end()),
            (std::vector<std::string>{"NetworkManager::connect(): Warning! At limit (1).",
                                      "\tUse NM.setMaxSockets() to change."}));
  network.setMaxSockets(3);
  EXPECT_EQ(network.connect("127.0.0.1", "port"), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::connect(): Error! Port 'port' is not a number from 0 to 65535.");
  // Nobody listens on the port a closed server had.
  engine.stop();
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(network.connect("127.0.0.1", std::to_string(port)), -1);
  EXPECT_EQ(lastMessage(), "NetworkManager::connect(): Error! Cannot connect to 127.0.0.1 port " +
                               std::to_string(port) + ": Connection refused");
  EXPECT_EQ(network.getNumSockets(), 0);
}

TEST_F(Network, ShutDownClosesEveryConnectionWithItsEvent) {
  network.setMaxSockets(3);
  auto first = connectClient();
  auto second = connectClient();
  auto third = connectClient();
  recorder->take();
  cv::NetworkManager::getInstance().shutDown();
  EXPECT_EQ(recorder->take(), (std::vector<NetworkRecord>{{CLOSE, 2, 0}, {CLOSE, 1, 0}, {CLOSE, 0, 0}}));
  EXPECT_TRUE(first->sawEnd() && second->sawEnd() && third->sawEnd());
  EXPECT_EQ(network.getMaxSockets(), 1);
  ASSERT_EQ(network.startUp(), 0);
}
