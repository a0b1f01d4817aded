// The network manager under load, against an echo server on the engine run
// as a child process (peer/NetworkEchoServer.cpp), with real clients on
// 127.0.0.1.

#include <dirent.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "network/NetworkSupport.h"
#include "support/TestEngine.h"

using cvtest::frame;
using cvtest::TestClient;

namespace {

using Clock = std::chrono::steady_clock;

// The echo server in its own process: started listening, then stopped with
// SIGTERM, which ends its game loop in order.
class EchoServer {
 public:
  EchoServer(int max_sockets, int idle_timeout_milliseconds)
      : report_path(cvtest::makeTempDirectory() + "/report") {
    pid = cvtest::spawnProcess({CORVANE_NETWORK_ECHO_SERVER, report_path, std::to_string(max_sockets),
                                std::to_string(idle_timeout_milliseconds), "60"});
    // Wait up to ten seconds for it to say where it listens.
    for (int round = 0; pid != -1 && round < 1000 && port <= 0; round++) {
      std::istringstream report(readReport());
      std::string word;
      report >> word >> port >> word >> log_path;
      if (port <= 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~EchoServer() { stop(); }
  EchoServer(const EchoServer &) = delete;
  EchoServer &operator=(const EchoServer &) = delete;

  bool isListening() const { return port > 0; }
  int getPort() const { return port; }

  // The descriptors the server has open, counted in /proc.
  int openDescriptors() const {
    int count = 0;
    if (DIR *directory = opendir(("/proc/" + std::to_string(pid) + "/fd").c_str())) {
      while (const dirent *entry = readdir(directory))
        count += entry->d_name[0] != '.';
      closedir(directory);
    }
    return count;
  }

  // Whether the server's open descriptors come back to `count` within three
  // seconds.
  bool settlesAt(int count) const {
    for (int round = 0; round < 300; round++) {
      if (openDescriptors() == count)
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  // Ends the server; its last report line ("accepted <n> closed <n> ..."),
  // empty when it did not end by itself within ten seconds.
  std::string stop() {
    if (pid == -1)
      return summary;
    kill(pid, SIGTERM);
    const int status = cvtest::waitForExit(pid, 10);
    pid = -1;
    std::istringstream report(readReport());
    for (std::string line; std::getline(report, line);)
      if (status == 0 && line.rfind("accepted ", 0) == 0)
        summary = line;
    return summary;
  }

  // The server's log messages so far.
  std::vector<std::string> messages() const {
    std::vector<std::string> result;
    std::ifstream file(log_path);
    for (std::string line; std::getline(file, line);)
      result.push_back(cvtest::messageOf(line));
    return result;
  }

 private:
  std::string readReport() const {
    std::ifstream file(report_path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::string report_path;  ///< where the server writes its port and counts
  std::string log_path;     ///< the server's log file
  std::string summary;      ///< its last report line, once stopped
  pid_t pid = -1;           ///< the server's process
  int port = 0;             ///< the port it listens on
};

// `count` messages of `size` bytes each, every one telling its number in
// its bytes so that a lost or misplaced one shows.
std::string batch(int count, int size) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(count) * static_cast<size_t>(size));
  for (int i = 0; i < count; i++) {
    std::string payload(static_cast<size_t>(size - 4), '\0');
    for (size_t j = 0; j < payload.size(); j++)
      payload[j] = static_cast<char>(i * 7 + static_cast<int>(j));
    if (payload.size() >= 4)
      std::memcpy(&payload[0], &i, 4);
    bytes += frame(payload);
  }
  return bytes;
}

// Sends `bytes` in one write while reading what comes back; returns what
// came back before the server stopped answering for two seconds.
std::string exchange(TestClient &client, const std::string &bytes) {
  std::thread writer([&] { client.write(bytes); });
  const std::string got = client.read(bytes.size());
  if (got.size() != bytes.size())
    client.abort();  // wakes a writer stuck on a stalled connection
  writer.join();
  return got;
}

}  // namespace

TEST(NetworkEcho, BatchesWrittenInOneWriteAllEchoBackInOrder) {
  EchoServer server(4, 0);
  ASSERT_TRUE(server.isListening());
  const int descriptors = server.openDescriptors();
  const struct {
    int count;
    int size;
  } cases[] = {{5000, 64}, {100, 60000}, {2000, 4},  {2000, 5},   {2000, 100},
               {300, 1000}, {80, 4096},  {20, 65535}, {20, 65536}};
  for (const auto &c : cases) {
    TestClient client(server.getPort());
    ASSERT_TRUE(client.isConnected());
    const std::string sent = batch(c.count, c.size);
    const std::string got = exchange(client, sent);
    EXPECT_EQ(got.size(), sent.size()) << c.count << " x " << c.size << " B";
    EXPECT_TRUE(got == sent) << c.count << " x " << c.size << " B: echoes differ";
  }
  EXPECT_TRUE(server.settlesAt(descriptors));
  EXPECT_EQ(server.stop(), "accepted 9 closed 9 echoed 11520 refused 0");
}

TEST(NetworkEcho, FloodOfConnectsIsServedWithinSecondsAndLeavesNoDescriptor) {
  const int flood = 2000;
  EchoServer server(4096, 0);
  ASSERT_TRUE(server.isListening());
  const int descriptors = server.openDescriptors();
  ASSERT_GT(descriptors, 0);
  for (int i = 0; i < flood; i++)
    ASSERT_TRUE(TestClient(server.getPort()).isConnected()) << "connect " << i;
  // A client behind the flood is answered within the two seconds its read
  // waits (taking one connection a step, the server needed a minute).
  const Clock::time_point start = Clock::now();
  {
    TestClient late(server.getPort());
    ASSERT_TRUE(late.isConnected());
    ASSERT_TRUE(late.write(frame("behind the flood")));
    EXPECT_EQ(late.read(20), frame("behind the flood"));
  }
  std::printf("answered %d ms after the flood\n",
              static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count()));
  EXPECT_TRUE(server.settlesAt(descriptors)) << server.openDescriptors() << " descriptors open, " << descriptors
                                             << " at the start";
  EXPECT_EQ(server.stop(), "accepted 2001 closed 2001 echoed 1 refused 0");
}
