#pragma once
// Real TCP clients on 127.0.0.1 and a recorder of network events, for the
// network manager's tests. On POSIX systems the client is a plain blocking
// socket; the Windows build of the tests has it on the engine's own socket
// layer, and starts child programs through the command interpreter.

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/tcp.h>  // tcp_info with its count of data segments

#include <cstddef>
#endif
#else
#include <atomic>
#include <future>
#include <map>

#include "platform/socket.h"
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Corvane.h"

namespace cvtest {

/// Four bytes holding `length` little-endian, as a message starts.
inline std::string lengthBytes(std::uint32_t length) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<char>((length >> shift) & 0xff));
  return bytes;
}

/// A message: its length (counting the four length bytes), then `payload`.
inline std::string frame(const std::string &payload) {
  return lengthBytes(static_cast<std::uint32_t>(payload.size() + 4)) + payload;
}

#ifndef _WIN32
/// A blocking TCP client connected to 127.0.0.1:`port`, with a receive
/// buffer of `receive_buffer` bytes when that is not 0 (a small one keeps the
/// system from taking much of what the server sends).
class TestClient {
 public:
  explicit TestClient(int port, int receive_buffer = 0) : handle(socket(AF_INET, SOCK_STREAM, 0)) {
    if (receive_buffer > 0)
      setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &receive_buffer, sizeof(receive_buffer));
    // Never wait more than two seconds for the connection or for a write.
    timeval limit{2, 0};
    setsockopt(handle, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected = ::connect(handle, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    connect_error = connected ? 0 : errno;
    // A signal (a fuzzer's watchdog alarm, say) interrupts a connect that
    // then goes on by itself: the server may well accept it. Its outcome is
    // waited for, so a client never takes for failed a connection the server
    // has.
    if (connect_error == EINTR)
      finishConnect();
    // Never wait more than two seconds for the server to answer.
    setsockopt(handle, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
  }
  ~TestClient() { close(); }
  TestClient(const TestClient &) = delete;
  TestClient &operator=(const TestClient &) = delete;

  bool isConnected() const { return connected; }

  /// Why the connection was not made (an errno value), 0 when it was.
  int connectError() const { return connect_error; }

  /// Writes all of `bytes`. False on an error.
  bool write(const std::string &bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t wrote = ::send(handle, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (wrote == -1 && errno == EINTR)
        continue;
      if (wrote <= 0)
        return false;
      done += static_cast<size_t>(wrote);
    }
    return true;
  }

  /// Reads exactly `nbytes`, or what came before the end or two seconds.
  std::string read(size_t nbytes) {
    std::string bytes(nbytes, '\0');
    size_t done = 0;
    while (done < nbytes) {
      const ssize_t got = ::recv(handle, &bytes[done], nbytes - done, 0);
      if (got == -1 && errno == EINTR)
        continue;
      if (got <= 0)
        break;
      done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return bytes;
  }

  /// Whether the server has closed the connection (within two seconds):
  /// an orderly end, or a reset when it closed with bytes left unread.
  bool sawEnd() {
    char byte;
    ssize_t got;
    do
      got = ::recv(handle, &byte, 1, 0);
    while (got == -1 && errno == EINTR);
    return got == 0 || (got == -1 && errno == ECONNRESET);
  }

  /// Ends the sending side only (a half-close): the server sees the end of
  /// the client's data and can still answer.
  void finishSending() { shutdown(handle, SHUT_WR); }

  /// Stops both directions at once, waking a thread blocked in write().
  void abort() { shutdown(handle, SHUT_RDWR); }

  /// How many segments carrying data the client has received, or -1 where
  /// the system does not say. One write of the server's, when it fits in a
  /// segment, arrives as one.
  int dataSegmentsReceived() const {
#ifdef __linux__
    tcp_info info{};
    socklen_t length = sizeof(info);
    if (getsockopt(handle, IPPROTO_TCP, TCP_INFO, &info, &length) == 0 &&
        length >= offsetof(tcp_info, tcpi_data_segs_in) + sizeof(info.tcpi_data_segs_in))
      return static_cast<int>(info.tcpi_data_segs_in);
#endif
    return -1;
  }

  /// Makes close() reset the connection instead of ending it in order, so
  /// that neither end keeps it waiting out the system's minute: a program
  /// that makes thousands of connections a second would otherwise use up
  /// the loopback ports.
  void resetOnClose() {
    const linger at_once{1, 0};
    setsockopt(handle, SOL_SOCKET, SO_LINGER, &at_once, sizeof(at_once));
  }

  void close() {
    if (handle != -1)
      ::close(handle);
    handle = -1;
  }

 private:
  /// Waits up to two seconds for an interrupted connect to end, and notes
  /// how it ended.
  void finishConnect() {
    pollfd entry{};
    entry.fd = handle;
    entry.events = POLLOUT;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int ready = 0;
    do {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now());
      ready = poll(&entry, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    } while (ready == -1 && errno == EINTR);
    if (ready != 1) {
      connect_error = ready == 0 ? ETIMEDOUT : errno;
      return;
    }
    socklen_t length = sizeof(connect_error);
    if (getsockopt(handle, SOL_SOCKET, SO_ERROR, &connect_error, &length) == -1)
      connect_error = errno;
    connected = connect_error == 0;
  }

  int handle;              ///< the client's socket
  bool connected = false;  ///< whether the connection was made
  int connect_error = 0;   ///< why it was not, an errno value
};

#else
/// A TCP client connected to 127.0.0.1:`port`, on the engine's own socket
/// layer (the Windows build of the tests includes no Windows header). Its
/// calls wait as a blocking client would, reads at most two seconds. A
/// receive buffer of `receive_buffer` bytes when that is not 0.
class TestClient {
 public:
  explicit TestClient(int port, int receive_buffer = 0) : started(cv::platform::socketStartUp() == 0) {
    std::string failure;
    if (started)
      handle = cv::platform::connectTcp("127.0.0.1", std::to_string(port), 2000, failure, receive_buffer);
    connected = handle != -1;
  }
  ~TestClient() {
    close();
    if (started)
      cv::platform::socketShutDown();
  }
  TestClient(const TestClient &) = delete;
  TestClient &operator=(const TestClient &) = delete;

  bool isConnected() const { return connected; }

  /// Writes all of `bytes`, waiting while the connection is full. False on
  /// an error or after abort().
  bool write(const std::string &bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      if (aborted)
        return false;
      const int wrote = cv::platform::sendBytes(handle, bytes.data() + done, static_cast<int>(bytes.size() - done));
      if (wrote < 0)
        return false;
      if (wrote == 0)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      done += static_cast<size_t>(wrote);
    }
    return true;
  }

  /// Reads exactly `nbytes`, or what came before the end or two seconds.
  std::string read(size_t nbytes) {
    std::string bytes(nbytes, '\0');
    size_t done = 0;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (done < nbytes && std::chrono::steady_clock::now() < limit) {
      const int got = cv::platform::receiveBytes(handle, &bytes[done], static_cast<int>(nbytes - done));
      if (got < 0 || (got == 0 && cv::platform::peerFinished(handle)))
        break;
      if (got == 0)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return bytes;
  }

  /// Whether the server has closed the connection (within two seconds):
  /// an orderly end, or a reset when it closed with bytes left unread.
  bool sawEnd() {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < limit) {
      int waiting = 0;
      if (cv::platform::bytesWaiting(handle, waiting) == 0 && waiting > 0)
        return false;
      if (cv::platform::peerFinished(handle))
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  /// Ends the sending side only (a half-close): the server sees the end of
  /// the client's data and can still answer.
  void finishSending() { cv::platform::finishSending(handle); }

  /// How many segments carrying data the client has received: the system
  /// does not say here.
  int dataSegmentsReceived() const { return -1; }

  /// Stops writing at once, waking a thread waiting in write().
  void abort() {
    aborted = true;
    cv::platform::finishSending(handle);
  }

  void close() {
    if (handle != -1)
      cv::platform::closeSocket(handle);
    handle = -1;
  }

 private:
  bool started;                     ///< whether the socket library was started for this client
  int handle = -1;                  ///< the client's socket
  bool connected = false;           ///< whether the connection was made
  std::atomic<bool> aborted{false}; ///< set by abort()
};

#endif

/// One network event as it was received.
struct NetworkRecord {
  int label;         ///< the event's label
  int socket_index;  ///< the connection it names
  int bytes;         ///< the message length it reports

  bool operator==(const NetworkRecord &other) const {
    return label == other.label && socket_index == other.socket_index && bytes == other.bytes;
  }
};

/// An object that records the network events it receives.
class NetworkRecorder : public cv::Object {
 public:
  NetworkRecorder() { registerInterest(cv::NETWORK_EVENT); }

  std::vector<NetworkRecord> events;                          ///< received, in order
  std::function<void(const cv::EventNetwork &)> on_network;  ///< called after recording

  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::NETWORK_EVENT)
      return 0;
    const auto *network = static_cast<const cv::EventNetwork *>(event);
    events.push_back({network->getLabel(), network->getSocketIndex(), network->getBytes()});
    if (on_network)
      on_network(*network);
    return 1;
  }

  /// Takes and forgets the events recorded so far.
  std::vector<NetworkRecord> take() {
    std::vector<NetworkRecord> taken;
    taken.swap(events);
    return taken;
  }
};

/// Makes passes of genDataEvents over every connection, a millisecond apart,
/// until `done` or two seconds have gone by. Returns whether `done` held.
inline bool pumpUntil(const std::function<bool()> &done) {
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  for (int round = 0; round < 2000; round++) {
    for (int i = 0; i < network.getNumSockets(); i++)
      network.genDataEvents(i);
    if (done())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

#ifndef _WIN32
/// Starts `program` with `arguments` (the program's name first) as a child
/// process. Returns its process id, or -1.
inline pid_t spawnProcess(const std::vector<std::string> &arguments) {
  std::vector<char *> argv;
  for (const std::string &argument : arguments)
    argv.push_back(const_cast<char *>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = -1;
  return posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? child : -1;
}

/// Waits up to `seconds` for child `child` to end; kills it after that.
/// Returns its exit status, or -1 when it did not end by itself.
inline int waitForExit(pid_t child, int seconds) {
  for (int round = 0; round < seconds * 100; round++) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child)
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return -1;
}

#else
/// The child processes started so far, by number, each with its exit status to come.
inline std::map<pid_t, std::future<int>> &childProcesses() {
  static std::map<pid_t, std::future<int>> children;
  return children;
}

/// Starts `program` with `arguments` (the program's name first) as a child
/// process, through the command interpreter on a thread of its own. Returns
/// its number.
inline pid_t spawnProcess(const std::vector<std::string> &arguments) {
  std::string program = arguments.at(0);
  std::replace(program.begin(), program.end(), '/', '\\');  // the command interpreter's separator
  std::string command = "\"\"" + program + "\" ";
  for (size_t i = 1; i < arguments.size(); i++)
    command += "\"" + arguments[i] + "\" ";
  command += "\"";
  const pid_t number = static_cast<pid_t>(childProcesses().size() + 1);
  childProcesses()[number] = std::async(std::launch::async, [command] { return std::system(command.c_str()); });
  return number;
}

/// Waits up to `seconds` for child `child` to end. Returns its exit status,
/// or -1 when it did not end by itself (it is left running).
inline int waitForExit(pid_t child, int seconds) {
  std::future<int> &status = childProcesses()[child];
  if (!status.valid() || status.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready)
    return -1;
  return status.get();
}

#endif

}  // namespace cvtest
