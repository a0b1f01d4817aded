#include "network/NetworkManager.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "foundation/LogManager.h"
#include "network/EventNetwork.h"
#include "platform/socket.h"

namespace cv {

namespace {

// The system reports a socket's receive buffer with its own bookkeeping
// included; asking for twice the message leaves room for that, so a message
// of the largest size can wait whole on a connection.
const int RECEIVE_BUFFER_FACTOR = 2;

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

}  // namespace

NetworkManager::NetworkManager()
    : server_socket(-1), max_sockets(1), max_message_size(DEFAULT_MAX_MESSAGE_SIZE) {
  setType("NetworkManager");
}

NetworkManager &NetworkManager::getInstance() {
  static NetworkManager network_manager;
  return network_manager;
}

int NetworkManager::startUp() {
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
  LogManager &log_manager = LogManager::getInstance();
  if (!isServer()) {
    log_manager.writeLog("NetworkManager::accept(): Error! Not setup as server.");
    return -2;
  }
  const int handle = platform::acceptConnection(server_socket);
  if (handle == -1) {
    if (platform::isNothingToAccept(platform::lastSocketError())) {
      log_manager.writeLog(15, "NetworkManager::accept(): No new connection. Not blocking.");
      return -1;
    }
    logSocketError("NetworkManager::accept(): Error! accept() returned:");
    return -2;
  }
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
    log_manager.writeLog(1, "%s: Warning! accept() connection, but at limit (%d).", caller, max_sockets);
    log_manager.writeLog(1, "\tUse NM.setMaxSockets() to change.");
    platform::closeSocket(handle);
    return -1;
  }
  platform::raiseReceiveBuffer(handle, neededReceiveBuffer());
  sockets.push_back(handle);
  pending_output.emplace_back();
  return getNumSockets() - 1;
}

int NetworkManager::getNumSockets() const { return static_cast<int>(sockets.size()); }

int NetworkManager::setMaxSockets(int new_max_sockets) {
  if (new_max_sockets < 0) {
    LogManager::getInstance().writeLog("NetworkManager::setMaxSockets(): Error! Limit %d is below 0.",
                                       new_max_sockets);
    return -1;
  }
  max_sockets = new_max_sockets;
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

int NetworkManager::neededReceiveBuffer() const {
  const std::int64_t needed = static_cast<std::int64_t>(max_message_size) * RECEIVE_BUFFER_FACTOR;
  return static_cast<int>(std::min<std::int64_t>(needed, INT_MAX));
}

bool NetworkManager::isConnected(int sock_index) const {
  return sock_index >= 0 && sock_index < getNumSockets() && sockets[sock_index] > 0;
}

int NetworkManager::genDataEvents(int sock_index) {
  LogManager &log_manager = LogManager::getInstance();
  if (static_cast<unsigned>(sock_index) >= sockets.size() || sockets[sock_index] <= 0)
    return 0;
  flushOutput(sock_index);
  const int handle = sockets[sock_index];
  int waiting = 0;
  if (platform::bytesWaiting(handle, waiting) == -1) {
    logSocketError("NetworkManager::isData(): Error! ioctl()/ioctlsocket() returned:");
    return -1;
  }
  if (waiting < 4) {
    if (platform::peerFinished(handle))
      closeFinished(sock_index, waiting);
    return 0;
  }
  unsigned char prefix[4];
  if (platform::peekBytes(handle, prefix, 4) != 4) {
    logSocketError("NetworkManager::genDataEvents(): Error! recv() returned:");
    return -1;
  }
  const int length = decodeLength(prefix);
  if (length < 4 || length > max_message_size) {
    log_manager.writeLog(
        "NetworkManager::genDataEvents(): Error! Message length %d out of range (4 to %d): closing connection %d.",
        length, max_message_size, sock_index);
    close(sock_index);
    return -1;
  }
  waiting = isData(sock_index);
  if (waiting == -1)
    return -1;
  if (waiting < length) {
    if (waiting >= 0 && platform::peerFinished(handle))
      closeFinished(sock_index, waiting);
    return 0;
  }
  log_manager.writeLog(15, "NetworkManager::genDataEvents(): have full message (%d bytes).", length);
  sendNetworkEvent(NETWORK_DATA, sock_index, length);
  return 1;
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
  return waiting;
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
  if (platform::closeSocket(sockets[sock_index]) == -1)
    logSocketError("NetworkManager::close(): Error! close() returned:");
  sockets[sock_index] = -1;
  sendNetworkEvent(NETWORK_CLOSE, sock_index, 0);
  // Handlers may have closed connections below this one; find the slot again.
  const auto closed = std::find(sockets.begin(), sockets.end(), -1);
  pending_output.erase(pending_output.begin() + (closed - sockets.begin()));
  sockets.erase(closed);
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
  char *into = static_cast<char *>(buffer);
  int received = 0;
  while (received < nbytes) {
    const int got = platform::receiveBytes(sockets[sock_index], into + received, nbytes - received);
    if (got == -1) {
      logSocketError("NetworkManager::receive(): Error! recv() returned:");
      return -1;
    }
    if (got == 0)
      break;
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
  std::string &pending = pending_output[sock_index];
  if (flushOutput(sock_index) == -1)
    return -1;
  if (static_cast<std::int64_t>(pending.size()) + nbytes > MAX_PENDING_OUTPUT) {
    log_manager.writeLog(
        "NetworkManager::send(): Error! Connection %d already has %d bytes waiting to be sent; message refused.",
        sock_index, static_cast<int>(pending.size()));
    return -1;
  }
  // Queue behind what is still waiting, so messages keep their order and
  // never interleave.
  pending.append(static_cast<const char *>(buffer), static_cast<size_t>(nbytes));
  if (flushOutput(sock_index) == -1)
    return -1;
  return nbytes;
}

int NetworkManager::flushOutput(int sock_index) {
  std::string &pending = pending_output[sock_index];
  size_t sent = 0;
  while (sent < pending.size()) {
    const int chunk = static_cast<int>(std::min<size_t>(pending.size() - sent, INT_MAX));
    const int wrote = platform::sendBytes(sockets[sock_index], pending.data() + sent, chunk);
    if (wrote == -1) {
      logSocketError("NetworkManager::send(): Error! send() returned:");
      pending.clear();
      return -1;
    }
    if (wrote == 0)
      break;
    sent += static_cast<size_t>(wrote);
  }
  pending.erase(0, sent);
  return 0;
}

}  // namespace cv
