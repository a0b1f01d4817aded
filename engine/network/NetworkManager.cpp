#include "network/NetworkManager.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "foundation/LogManager.h"
#include "network/EventNetwork.h"
#include "platform/platform.h"
#include "platform/socket.h"

namespace cv {

namespace {

// The system reports a socket's receive buffer with its own bookkeeping
// included; asking for twice the message leaves room for that, so a message
// of the largest size can arrive whole between two passes.
const int RECEIVE_BUFFER_FACTOR = 2;

// Held output past this much on one connection is written at once, so a
// handler answering many messages keeps a bounded queue, well within what
// MAX_PENDING_OUTPUT allows.
const size_t HELD_OUTPUT_CHUNK = 65536;

// Logs the system's text for the last socket error as "\t<code> - <text>",
// after `heading`; nothing more when the system has no text for it.
void logSocketError(const char *heading) {
  const int code = platform::lastSocketError();
  LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog("%s", heading);
  std::string text = platform::socketErrorText(code);
  text = text.substr(0, text.find('\r'));
  if (!text.empty())
    log_manager.writeLog("\t%d - %s", code, text.c_str());
}

// The 32-bit length that starts a message, stored little-endian.
int decodeLength(const unsigned char bytes[4]) {
  const std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                              static_cast<std::uint32_t>(bytes[2]) << 16 |
                              static_cast<std::uint32_t>(bytes[3]) << 24;
  return static_cast<std::int32_t>(value);
}

// Whether `port` is a decimal port number, 0 to 65535.
bool isPortNumber(const std::string &port) {
  if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) {
        return c >= '0' && c <= '9';
      }))
    return false;
  return std::stoi(port) <= 65535;
}

// Sends a network event about connection `sock_index`.
void sendNetworkEvent(int label, int sock_index, int bytes) {
  EventNetwork event(label);
  event.setSocketIndex(sock_index);
  event.setBytes(bytes);
  NetworkManager::getInstance().onEvent(&event);
}

// Milliseconds from `since` (monotonic microseconds) to `now`.
int millisecondsBetween(std::int64_t since, std::int64_t now) {
  return static_cast<int>(std::min<std::int64_t>((now - since) / 1000, INT_MAX));
}

}  // namespace

NetworkManager::NetworkManager()
    : server_socket(-1),
      max_sockets(1),
      max_message_size(DEFAULT_MAX_MESSAGE_SIZE),
      idle_timeout(0),
      stall_timeout(STALLED_PEER_MILLISECONDS),
      limit_warned(false),
      limit_refused(0),
      limit_refused_at(0),
      limit_logged(0),
      output_held(false) {
  setType("NetworkManager");
}

NetworkManager &NetworkManager::getInstance() {
  static NetworkManager network_manager;
  return network_manager;
}

int NetworkManager::startUp() {
  const std::string unavailable = platform::socketsUnavailable();
  if (!unavailable.empty()) {
    LogManager::getInstance().writeLog("NetworkManager::startUp(): Error! %s.", unavailable.c_str());
    return 1;
  }
  const int error = platform::socketStartUp();
  if (error != 0) {
    LogManager::getInstance().writeLog("NetworkManager::startUp(): Error! WSAStartup() code : %d", error);
    return 1;
  }
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "NetworkManager::startUp(): successfully started.");
  return 0;
}

void NetworkManager::shutDown() {
  // Stop first, so a handler of the closing events cannot open new
  // connections (connect() needs a started manager).
  Manager::shutDown();
  if (server_socket != -1) {
    platform::closeSocket(server_socket);
    server_socket = -1;
  }
  // From the last, so every event names the index the connection had.
  while (!sockets.empty())
    close(getNumSockets() - 1);
  max_sockets = 1;
  max_message_size = DEFAULT_MAX_MESSAGE_SIZE;
  idle_timeout = 0;
  stall_timeout = STALLED_PEER_MILLISECONDS;
  limit_warned = false;
  limit_refused = 0;
  limit_logged = 0;
  output_held = false;
  platform::socketShutDown();
  LogManager::getInstance().writeLog(5, "NetworkManager::shutDown(): successfully stopped.");
}

bool NetworkManager::isValid(std::string event_type) const {
  if (event_type == "cv-network" || event_type == "cv-keyboard-network" || event_type == "cv-mouse-network" ||
      event_type == "cv-custom-network")
    return true;
  LogManager::getInstance().writeLog("NetworkManager::isValid(): Error! NetworkManager does not handle %s.",
                                     event_type.c_str());
  return false;
}

int NetworkManager::setServer(std::string port, bool loopback_only) {
  LogManager &log_manager = LogManager::getInstance();
  if (refuseUnlessStarted())
    return -1;
  if (isServer()) {
    log_manager.writeLog("NetworkManager::setServer(): Error! Already a server on port %d.", getPort());
    return -1;
  }
  if (!isPortNumber(port)) {
    log_manager.writeLog("NetworkManager::setServer(): Error! Port '%s' is not a number from 0 to 65535.",
                         port.c_str());
    return -1;
  }
  const int handle = platform::listenTcp(port, loopback_only);
  if (handle == -1) {
    logSocketError("NetworkManager::setServer(): Error! listen() returned:");
    return -1;
  }
  // Accepted connections take their receive buffer from the listening socket.
  platform::raiseReceiveBuffer(handle, neededReceiveBuffer());
  server_socket = handle;
  log_manager.writeLog(1, "NetworkManager::setServer(): Listening on port %d.", getPort());
  return 0;
}

bool NetworkManager::isServer() const { return server_socket != -1; }

int NetworkManager::getPort() const { return isServer() ? platform::boundPort(server_socket) : -1; }

int NetworkManager::accept() {
  bool taken = false;
  return takeConnection(taken);
}

int NetworkManager::acceptWaiting(long budget_microseconds) {
  const std::int64_t deadline = platform::monotonicMicroseconds() + budget_microseconds;
  int added = 0;
  bool taken = true;
  // Each round takes a connection off the system's queue, so the queue's
  // length bounds the rounds as well as the time does.
  while (taken) {
    taken = false;
    if (takeConnection(taken) >= 0)
      added++;
    if (platform::monotonicMicroseconds() >= deadline)
      break;
  }
  return added;
}

int NetworkManager::takeConnection(bool &taken) {
  LogManager &log_manager = LogManager::getInstance();
  taken = false;
  if (!isServer()) {
    log_manager.writeLog("NetworkManager::accept(): Error! Not setup as server.");
    return -2;
  }
  logRefusals(false);
  const int handle = platform::acceptConnection(server_socket);
  if (handle == -1) {
    if (platform::isNothingToAccept(platform::lastSocketError())) {
      log_manager.writeLog(15, "NetworkManager::accept(): No new connection. Not blocking.");
      return -1;
    }
    logSocketError("NetworkManager::accept(): Error! accept() returned:");
    return -2;
  }
  taken = true;
  const int index = addConnection(handle, "NetworkManager::accept()");
  if (index == -1)
    return -1;
  log_manager.writeLog(1, "NetworkManager::accept(): New connection.");
  sendNetworkEvent(NETWORK_ACCEPT, index, 0);
  return index;
}

int NetworkManager::connect(std::string host, std::string port) {
  LogManager &log_manager = LogManager::getInstance();
  if (refuseUnlessStarted())
    return -1;
  if (!isPortNumber(port)) {
    log_manager.writeLog("NetworkManager::connect(): Error! Port '%s' is not a number from 0 to 65535.",
                         port.c_str());
    return -1;
  }
  if (getNumSockets() >= max_sockets) {
    log_manager.writeLog("NetworkManager::connect(): Warning! At limit (%d).", max_sockets);
    log_manager.writeLog("\tUse NM.setMaxSockets() to change.");
    return -1;
  }
  std::string failure;
  const int handle = platform::connectTcp(host, port, CONNECT_TIMEOUT_MILLISECONDS, failure);
  if (handle == -1) {
    log_manager.writeLog("NetworkManager::connect(): Error! Cannot connect to %s port %s: %s", host.c_str(),
                         port.c_str(), failure.c_str());
    return -1;
  }
  const int index = addConnection(handle, "NetworkManager::connect()");
  if (index != -1)
    log_manager.writeLog(1, "NetworkManager::connect(): Connected to %s port %s.", host.c_str(), port.c_str());
  return index;
}

int NetworkManager::addConnection(int handle, const char *caller) {
  LogManager &log_manager = LogManager::getInstance();
  if (getNumSockets() >= max_sockets) {
    // Two lines for every connection of a flood would bury the log: the
    // warning is written when the limit is met, unless a line about it was
    // written in the last second, and the rest are counted.
    const std::int64_t now = platform::monotonicMicroseconds();
    if (!limit_warned && (limit_logged == 0 || now - limit_logged >= 1000000)) {
      log_manager.writeLog(1, "%s: Warning! accept() connection, but at limit (%d).", caller, max_sockets);
      log_manager.writeLog(1, "\tUse NM.setMaxSockets() to change.");
      limit_logged = now;
    } else {
      limit_refused++;
      limit_refused_at = max_sockets;
      logRefusals(false);
    }
    limit_warned = true;
    platform::closeSocket(handle);
    return -1;
  }
  platform::raiseReceiveBuffer(handle, neededReceiveBuffer());
  Connection connection;
  connection.last_received = connection.last_sent = platform::monotonicMicroseconds();
  sockets.push_back(handle);
  connections.push_back(std::move(connection));
  return getNumSockets() - 1;
}

void NetworkManager::logRefusals(bool freed) {
  if (limit_refused == 0)
    return;
  const std::int64_t now = platform::monotonicMicroseconds();
  if (!freed && now - limit_logged < 1000000)
    return;
  LogManager::getInstance().writeLog(1, "NetworkManager::accept(): Warning! %d more connection%s refused at limit (%d).",
                                     limit_refused, limit_refused == 1 ? "" : "s", limit_refused_at);
  limit_refused = 0;
  limit_logged = now;
}

void NetworkManager::noteLimitFree() {
  if (!limit_warned || getNumSockets() >= max_sockets)
    return;
  logRefusals(true);
  limit_warned = false;
}

int NetworkManager::getNumSockets() const { return static_cast<int>(sockets.size()); }

int NetworkManager::setMaxSockets(int new_max_sockets) {
  if (new_max_sockets < 0) {
    LogManager::getInstance().writeLog("NetworkManager::setMaxSockets(): Error! Limit %d is below 0.",
                                       new_max_sockets);
    return -1;
  }
  max_sockets = new_max_sockets;
  noteLimitFree();
  return 0;
}

int NetworkManager::getMaxSockets() const { return max_sockets; }

int NetworkManager::setMaxMessageSize(int new_max_message_size) {
  LogManager &log_manager = LogManager::getInstance();
  if (new_max_message_size < 4) {
    log_manager.writeLog("NetworkManager::setMaxMessageSize(): Error! Size %d is below 4.", new_max_message_size);
    return -1;
  }
  const std::int64_t needed = static_cast<std::int64_t>(new_max_message_size) * RECEIVE_BUFFER_FACTOR;
  bool allowed = needed <= INT_MAX && platform::receiveBufferAllowed(static_cast<int>(needed));
  if (allowed && isServer())
    allowed = platform::raiseReceiveBuffer(server_socket, static_cast<int>(needed)) == 0;
  for (size_t i = 0; allowed && i < sockets.size(); i++)
    allowed = sockets[i] <= 0 || platform::raiseReceiveBuffer(sockets[i], static_cast<int>(needed)) == 0;
  if (!allowed) {
    log_manager.writeLog(
        "NetworkManager::setMaxMessageSize(): Error! The system will not hold %d bytes waiting on a connection.",
        new_max_message_size);
    return -1;
  }
  max_message_size = new_max_message_size;
  return 0;
}

int NetworkManager::getMaxMessageSize() const { return max_message_size; }

int NetworkManager::setIdleTimeout(int milliseconds) {
  if (milliseconds < 0) {
    LogManager::getInstance().writeLog("NetworkManager::setIdleTimeout(): Error! Timeout %d is below 0.",
                                       milliseconds);
    return -1;
  }
  idle_timeout = milliseconds;
  return 0;
}

int NetworkManager::getIdleTimeout() const { return idle_timeout; }

int NetworkManager::setStallTimeout(int milliseconds) {
  if (milliseconds < 0) {
    LogManager::getInstance().writeLog("NetworkManager::setStallTimeout(): Error! Timeout %d is below 0.",
                                       milliseconds);
    return -1;
  }
  stall_timeout = milliseconds;
  return 0;
}

int NetworkManager::getStallTimeout() const { return stall_timeout; }

int NetworkManager::neededReceiveBuffer() const {
  const std::int64_t needed = static_cast<std::int64_t>(max_message_size) * RECEIVE_BUFFER_FACTOR;
  return static_cast<int>(std::min<std::int64_t>(needed, INT_MAX));
}

bool NetworkManager::isConnected(int sock_index) const {
  return sock_index >= 0 && sock_index < getNumSockets() && sockets[sock_index] > 0;
}

int NetworkManager::genDataEvents(int sock_index) {
  if (!isConnected(sock_index))
    return 0;
  if (!output_held)
    flushOutput(sock_index);
  if (closeIfStalled(sock_index, false))
    return -1;
  bool finished = false;
  if (!hasCompleteMessage(sock_index)) {
    // The end of the peer's data is looked for before what waits is read,
    // so that once the end is seen, what is read is all the peer sent.
    finished = platform::peerFinished(sockets[sock_index]);
    if (fillInput(sock_index) == -1)
      return -1;
  }
  const int buffered = bufferedInput(sock_index);
  if (buffered < 4)
    return closeIfDone(sock_index, finished);
  const Connection &connection = connections[sock_index];
  const int length = decodeLength(reinterpret_cast<const unsigned char *>(&connection.input[connection.input_start]));
  if (length < 4 || length > max_message_size) {
    LogManager::getInstance().writeLog(
        "NetworkManager::genDataEvents(): Error! Message length %d out of range (4 to %d): closing connection %d.",
        length, max_message_size, sock_index);
    close(sock_index);
    return -1;
  }
  if (buffered < length)
    return closeIfDone(sock_index, finished);
  LogManager::getInstance().writeLog(15, "NetworkManager::genDataEvents(): have full message (%d bytes).", length);
  sendNetworkEvent(NETWORK_DATA, sock_index, length);
  return 1;
}

int NetworkManager::bufferedInput(int sock_index) const {
  const Connection &connection = connections[sock_index];
  return static_cast<int>(connection.input.size() - connection.input_start);
}

bool NetworkManager::hasCompleteMessage(int sock_index) const {
  const int buffered = bufferedInput(sock_index);
  if (buffered < 4)
    return false;
  const Connection &connection = connections[sock_index];
  // A length below 4 counts as complete, so that it is seen and refused.
  return decodeLength(reinterpret_cast<const unsigned char *>(&connection.input[connection.input_start])) <= buffered;
}

int NetworkManager::fillInput(int sock_index) {
  const int handle = sockets[sock_index];
  int waiting = 0;
  if (platform::bytesWaiting(handle, waiting) == -1) {
    logSocketError("NetworkManager::isData(): Error! ioctl()/ioctlsocket() returned:");
    return -1;
  }
  // Never more than the largest message in all: the buffer then holds at
  // most one incomplete message, and always has room for the rest of it.
  const int wanted = std::min(waiting, max_message_size - bufferedInput(sock_index));
  if (wanted <= 0)
    return 0;
  Connection &connection = connections[sock_index];
  connection.input.erase(0, connection.input_start);
  connection.input_start = 0;
  const size_t kept = connection.input.size();
  connection.input.resize(kept + static_cast<size_t>(wanted));
  const int got = platform::receiveBytes(handle, &connection.input[kept], wanted);
  connection.input.resize(kept + static_cast<size_t>(std::max(got, 0)));
  if (got == -1) {
    logSocketError("NetworkManager::genDataEvents(): Error! recv() returned:");
    return -1;
  }
  if (got > 0)
    connection.last_received = platform::monotonicMicroseconds();
  return 0;
}

int NetworkManager::closeIfDone(int sock_index, bool finished) {
  if (finished) {
    // What is queued for the peer goes out before the connection closes;
    // held output too, since nothing more will come to join it.
    if (output_held && !connections[sock_index].output.empty())
      flushOutput(sock_index);
    if (!connections[sock_index].output.empty())
      return closeIfStalled(sock_index, true) ? -1 : 0;
    closeFinished(sock_index, bufferedInput(sock_index));
    return 0;
  }
  if (idle_timeout > 0) {
    const int idle = millisecondsBetween(connections[sock_index].last_received, platform::monotonicMicroseconds());
    if (idle >= idle_timeout)
      closeIdle(sock_index, idle);
  }
  return 0;
}

bool NetworkManager::closeIfStalled(int sock_index, bool finished) {
  const Connection &connection = connections[sock_index];
  if (stall_timeout == 0 || connection.output.empty() || !(connection.output_refused || finished))
    return false;
  const int quiet = millisecondsBetween(connection.last_sent, platform::monotonicMicroseconds());
  if (quiet < stall_timeout)
    return false;
  LogManager::getInstance().writeLog(
      "NetworkManager::genDataEvents(): Warning! Peer of connection %d has taken nothing for %d ms with %d bytes "
      "waiting to be sent: closing connection.",
      sock_index, quiet, static_cast<int>(connection.output.size()));
  close(sock_index);
  return true;
}

void NetworkManager::closeFinished(int sock_index, int waiting) {
  LogManager &log_manager = LogManager::getInstance();
  if (waiting > 0)
    log_manager.writeLog(
        "NetworkManager::genDataEvents(): Warning! Peer of connection %d closed in the middle of a message "
        "(%d bytes dropped).",
        sock_index, waiting);
  else
    log_manager.writeLog(1, "NetworkManager::genDataEvents(): Peer of connection %d closed.", sock_index);
  close(sock_index);
}

void NetworkManager::closeIdle(int sock_index, int milliseconds) {
  LogManager &log_manager = LogManager::getInstance();
  const int waiting = bufferedInput(sock_index);
  if (waiting > 0)
    log_manager.writeLog(
        "NetworkManager::genDataEvents(): Warning! Connection %d idle for %d ms in the middle of a message "
        "(%d bytes dropped): closing it.",
        sock_index, milliseconds, waiting);
  else
    log_manager.writeLog(1, "NetworkManager::genDataEvents(): Connection %d idle for %d ms: closing it.", sock_index,
                         milliseconds);
  close(sock_index);
}

int NetworkManager::isData(int sock_index) const {
  if (!isConnected(sock_index)) {
    LogManager::getInstance().writeLog("NetworkManager::isData(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  int waiting = 0;
  if (platform::bytesWaiting(sockets[sock_index], waiting) == -1) {
    logSocketError("NetworkManager::isData(): Error! ioctl()/ioctlsocket() returned:");
    return -1;
  }
  return bufferedInput(sock_index) + waiting;
}

void NetworkManager::close(int sock_index) {
  if (sock_index < 0 || sock_index >= getNumSockets()) {
    LogManager::getInstance().writeLog("NetworkManager::close(): sock_index (%d) out of range.", sock_index);
    return;
  }
  // A connection already being closed (a handler of its NETWORK_CLOSE event
  // closing it again) has nothing left to close or report.
  if (sockets[sock_index] == -1)
    return;
  // What is queued goes out as far as the system takes it at once.
  flushOutput(sock_index, false);
  if (platform::closeSocket(sockets[sock_index]) == -1)
    logSocketError("NetworkManager::close(): Error! close() returned:");
  sockets[sock_index] = -1;
  sendNetworkEvent(NETWORK_CLOSE, sock_index, 0);
  // Handlers may have closed connections below this one; find the slot again.
  const auto closed = std::find(sockets.begin(), sockets.end(), -1);
  connections.erase(connections.begin() + (closed - sockets.begin()));
  sockets.erase(closed);
  noteLimitFree();
}

int NetworkManager::receive(int sock_index, void *buffer, int nbytes) {
  LogManager &log_manager = LogManager::getInstance();
  if (!isConnected(sock_index)) {
    log_manager.writeLog("NetworkManager::receive(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  if (!buffer || nbytes < 0) {
    log_manager.writeLog("NetworkManager::receive(): Error! No buffer for %d bytes.", nbytes);
    return -1;
  }
  // What was read already comes first, then what still waits on the socket.
  char *into = static_cast<char *>(buffer);
  Connection &connection = connections[sock_index];
  int received = std::min(nbytes, bufferedInput(sock_index));
  if (received > 0)
    std::memcpy(into, &connection.input[connection.input_start], static_cast<size_t>(received));
  connection.input_start += static_cast<size_t>(received);
  if (connection.input_start == connection.input.size()) {
    connection.input.clear();
    connection.input_start = 0;
  }
  while (received < nbytes) {
    const int got = platform::receiveBytes(sockets[sock_index], into + received, nbytes - received);
    if (got == -1) {
      logSocketError("NetworkManager::receive(): Error! recv() returned:");
      return -1;
    }
    if (got == 0)
      break;
    connection.last_received = platform::monotonicMicroseconds();
    received += got;
  }
  return received;
}

int NetworkManager::send(int sock_index, const void *buffer, int nbytes) {
  LogManager &log_manager = LogManager::getInstance();
  if (!isConnected(sock_index)) {
    log_manager.writeLog("NetworkManager::send(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  if (!buffer || nbytes < 4 || decodeLength(static_cast<const unsigned char *>(buffer)) != nbytes) {
    log_manager.writeLog("NetworkManager::send(): Error! %d bytes are not one message with its length.", nbytes);
    return -1;
  }
  Connection &connection = connections[sock_index];
  const auto fits = [&] { return static_cast<std::int64_t>(connection.output.size()) + nbytes <= MAX_PENDING_OUTPUT; };
  // The queue is written to make room only when the message does not fit.
  if (!fits() && flushOutput(sock_index) == -1)
    return -1;
  if (!fits()) {
    // Said once: a peer that stops reading would otherwise fill the log. It
    // is closed if it stays that way (see closeIfStalled).
    if (!connection.output_refused)
      log_manager.writeLog(
          "NetworkManager::send(): Error! Connection %d already has %d bytes waiting to be sent; message refused.",
          sock_index, static_cast<int>(connection.output.size()));
    connection.output_refused = true;
    return -1;
  }
  // Queue behind what is still waiting, so messages keep their order and
  // never interleave.
  if (connection.output.empty())
    connection.last_sent = platform::monotonicMicroseconds();
  connection.output.append(static_cast<const char *>(buffer), static_cast<size_t>(nbytes));
  if ((!output_held || connection.output.size() >= HELD_OUTPUT_CHUNK) && flushOutput(sock_index) == -1)
    return -1;
  return nbytes;
}

void NetworkManager::holdOutput() { output_held = true; }

void NetworkManager::releaseOutput() {
  output_held = false;
  for (int i = 0; i < getNumSockets(); i++)
    if (sockets[i] > 0 && !connections[i].output.empty())
      flushOutput(i);
}

int NetworkManager::flushOutput(int sock_index, bool report_errors) {
  Connection &connection = connections[sock_index];
  std::string &pending = connection.output;
  size_t sent = 0;
  while (sent < pending.size()) {
    const int chunk = static_cast<int>(std::min<size_t>(pending.size() - sent, INT_MAX));
    const int wrote = platform::sendBytes(sockets[sock_index], pending.data() + sent, chunk);
    if (wrote == -1) {
      if (report_errors)
        logSocketError("NetworkManager::send(): Error! send() returned:");
      pending.clear();
      connection.output_refused = false;
      return -1;
    }
    if (wrote == 0)
      break;
    sent += static_cast<size_t>(wrote);
  }
  if (sent > 0) {
    pending.erase(0, sent);
    connection.last_sent = platform::monotonicMicroseconds();
  }
  if (pending.size() < MAX_PENDING_OUTPUT / 2)
    connection.output_refused = false;
  return 0;
}

}  // namespace cv
