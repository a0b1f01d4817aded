// Network framing on a real loopback connection. The input is a series of
// pieces, each a length byte and up to that many bytes; each piece is sent
// on a client connection and the manager's passes run until nothing more
// comes. The oracle is a decoder of the four-byte framing of its own: it
// predicts every message the manager reports (and its bytes) and the point
// where the manager must close the connection, for an impossible length or
// for the client finishing when the input ends.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "Corvane.h"
#include "FuzzEngine.h"
#include "network/NetworkSupport.h"

namespace {

// Small, so that inputs can reach it.
const int MAX_MESSAGE = 300;

// What the decoder expects after the bytes seen so far.
struct Expectation {
  std::vector<std::string> messages;  // whole messages, length bytes included
  bool close = false;                 // an impossible length: the connection must close
};

Expectation decode(const std::string &stream) {
  Expectation expected;
  std::size_t at = 0;
  while (stream.size() - at >= 4) {
    const std::uint32_t length = static_cast<std::uint8_t>(stream[at]) |
                                 static_cast<std::uint8_t>(stream[at + 1]) << 8 |
                                 static_cast<std::uint8_t>(stream[at + 2]) << 16 |
                                 static_cast<std::uint32_t>(static_cast<std::uint8_t>(stream[at + 3])) << 24;
    if (length < 4 || length > static_cast<std::uint32_t>(MAX_MESSAGE)) {
      expected.close = true;
      break;
    }
    if (stream.size() - at < length)
      break;
    expected.messages.push_back(stream.substr(at, length));
    at += length;
  }
  return expected;
}

// Receives every message reported and notes the closes.
class Receiver : public cv::Object {
 public:
  Receiver() {
    setSolidness(cv::SPECTRAL);
    registerInterest(cv::NETWORK_EVENT);
  }
  std::vector<std::string> messages;
  int closes = 0;
  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::NETWORK_EVENT)
      return 0;
    const auto *network = static_cast<const cv::EventNetwork *>(event);
    if (network->getLabel() == cv::NETWORK_CLOSE) {
      closes++;
    } else if (network->getLabel() == cv::NETWORK_DATA) {
      std::string bytes(static_cast<std::size_t>(network->getBytes()), '\0');
      const int got = cv::NetworkManager::getInstance().receive(network->getSocketIndex(), &bytes[0],
                                                                network->getBytes());
      if (got != network->getBytes())
        cvfuzz::fail("a reported message could not be received whole", std::to_string(got));
      messages.push_back(bytes);
    }
    return 1;
  }
};

// Passes over the connections until one reports nothing.
void pump() {
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  for (int round = 0; round < 10000 && network.getNumSockets() > 0; round++)
    if (network.genDataEvents(0) <= 0)
      return;
}

// The unlevelled log lines written since the input began, one a line; the
// next input begins noting afresh.
std::string notedLines() {
  std::string lines;
  for (const std::string &line : cv::LogManager::getInstance().endNoting())
    lines += line + "\n";
  return lines.empty() ? "(no error logged: the manager saw the peer's end)\n" : lines;
}

// The socket error codes in the noted `lines`: the manager follows a failed
// socket call with "\t<code> - <the system's text>".
std::vector<int> socketErrorCodes(const std::string &lines) {
  std::vector<int> codes;
  std::istringstream stream(lines);
  for (std::string line; std::getline(stream, line);) {
    if (line.empty() || line[0] != '\t')
      continue;
    char *end = nullptr;
    const long code = std::strtol(line.c_str() + 1, &end, 10);
    if (end != line.c_str() + 1 && std::strncmp(end, " - ", 3) == 0)
      codes.push_back(static_cast<int>(code));
  }
  return codes;
}

// Whether the noted `lines` say the connection ended on the system's word
// alone: every socket error logged is a reset or a refused connection. With
// thousands of loopback connections a second, a reused port can meet what
// is left of an old connection, which says nothing about the manager. Any
// other close, or one with another error, is the manager's.
bool closedBySystem(const std::string &lines) {
  const std::vector<int> codes = socketErrorCodes(lines);
  return !codes.empty() && std::all_of(codes.begin(), codes.end(), [](int code) {
    return code == ECONNRESET || code == ECONNREFUSED;
  });
}

// `bytes` as hexadecimal pairs, for a failure that must be replayed by hand.
std::string hexOf(const std::string &bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (const char byte : bytes) {
    text += digits[(static_cast<unsigned char>(byte) >> 4) & 0xf];
    text += digits[static_cast<unsigned char>(byte) & 0xf];
  }
  return text;
}

void compare(const Receiver &receiver, const Expectation &expected, const std::string &stream) {
  if (receiver.messages != expected.messages)
    cvfuzz::fail("the manager's messages differ from the decoder's",
                 std::to_string(receiver.messages.size()) + " received, " +
                     std::to_string(expected.messages.size()) + " expected, after " +
                     std::to_string(stream.size()) + " bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  cvfuzz::startEngine("headless:true,networking:true,");
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  static bool listening = false;
  if (!listening) {
    listening = network.setServer("0", true) == 0 && network.setMaxMessageSize(MAX_MESSAGE) == 0;
    if (!listening)
      cvfuzz::fail("no loopback server", "");
  }
  Receiver receiver;
  cvtest::TestClient client(network.getPort());
  // Thousands of connections a second: each is reset when the client goes,
  // so that no end of it waits out the system's minute and the loopback
  // ports (and their reuse) stay out of the picture. Should they run out
  // all the same, the client cannot even start a connection, and the input
  // is skipped. Any other failure to connect to a listening loopback server
  // is reported: a connect left half-made would reach the manager's queue
  // and be taken by the next input in place of its own.
  if (!client.isConnected()) {
    if (client.connectError() == EADDRNOTAVAIL)
      return 0;
    cvfuzz::fail("the client could not connect", std::strerror(client.connectError()));
  }
  client.resetOnClose();
  cv::LogManager::getInstance().beginNoting();
  if (network.accept() != 0)
    cvfuzz::fail("the loopback connection was not accepted", "");
  std::string stream;
  Expectation expected;
  std::size_t at = 0;
  while (at < size && !expected.close) {
    const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
    const std::string piece(reinterpret_cast<const char *>(data + at + 1), length);
    at += 1 + length;
    if (!client.write(piece))
      cvfuzz::fail("the client could not send", "");
    stream += piece;
    expected = decode(stream);
    // Passes run until the manager has caught up with the decoder (loopback
    // delivers at once, but allow it two seconds).
    for (int round = 0; round < 2000; round++) {
      pump();
      if (receiver.messages.size() >= expected.messages.size() && receiver.closes >= (expected.close ? 1 : 0))
        break;
      usleep(1000);
    }
    if (expected.close != (receiver.closes == 1) || receiver.closes > 1) {
      const std::string lines = notedLines();
      if (!expected.close && receiver.closes == 1 && closedBySystem(lines))
        return 0;
      cvfuzz::fail(expected.close ? "an impossible length did not close the connection"
                                  : "the connection closed without cause",
                   std::to_string(stream.size()) + " bytes sent: " + hexOf(stream) + "\n" + lines);
    }
    compare(receiver, expected, stream);
  }
  if (!expected.close) {
    // The client finishes: whatever is left is no whole message, and the
    // manager must close the connection, within two seconds.
    client.abort();
    for (int round = 0; round < 2000 && receiver.closes == 0; round++) {
      pump();
      if (receiver.closes == 0)
        usleep(1000);
    }
    if (receiver.closes != 1)
      cvfuzz::fail("the client finished but the connection stayed open", std::to_string(stream.size()));
    compare(receiver, expected, stream);
  }
  if (network.getNumSockets() != 0)
    cvfuzz::fail("a connection was left open", "");
  return 0;
}
