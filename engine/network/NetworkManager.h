#pragma once

#include <string>
#include <vector>

#include "core/Manager.h"

namespace cv {

/// Port a server listens on unless told otherwise.
const std::string DEFAULT_PORT = "9876";

/// Largest message a connection accepts unless told otherwise: 64 KiB.
const int DEFAULT_MAX_MESSAGE_SIZE = 65536;

/// Longest time connect() waits for a server to answer.
const int CONNECT_TIMEOUT_MILLISECONDS = 1000;

/// Most bytes a connection keeps waiting to be sent when its peer reads slowly.
const int MAX_PENDING_OUTPUT = 1 << 20;

/// TCP connections: a listening server socket and the connections accepted
/// on it or opened with connect(). Once per game-loop iteration the game
/// manager has it accept one connection and report every complete message
/// waiting on a connection, as "cv-network" events. A message starts with a
/// 32-bit little-endian length that counts the whole message, its four length
/// bytes included. Connections are numbered by their place in the list; when
/// one closes, the later ones move down one place. Nothing here waits on a
/// peer. Results: 0 success, -1 failure, unless an operation says otherwise.
class NetworkManager : public Manager {
 public:
  static NetworkManager &getInstance();

  /// Prepares the system's sockets. 0 on success, 1 on failure.
  int startUp() override;

  /// Closes the listening socket and every connection, each connection with
  /// its NETWORK_CLOSE event, and resets the limits.
  void shutDown() override;

  /// Accepts exactly the four network event types.
  bool isValid(std::string event_type) const override;

  /// Listens for connections on `port` ("0" picks a free port; see
  /// getPort()), on the loopback address only when `loopback_only`.
  int setServer(std::string port = DEFAULT_PORT, bool loopback_only = false);

  /// Whether the manager listens for connections.
  bool isServer() const;

  /// The port the server listens on, or -1 when it is not a server.
  int getPort() const;

  /// Takes one waiting connection. Returns its index, -1 when none was added
  /// (none waiting, or over the limit), -2 on an error or when not a server.
  int accept();

  /// Opens a connection to a server at `host`, waiting at most
  /// CONNECT_TIMEOUT_MILLISECONDS. Returns its index or -1. The connection
  /// then behaves as an accepted one.
  int connect(std::string host, std::string port = DEFAULT_PORT);

  /// Number of open connections.
  int getNumSockets() const;

  /// Sets the most connections kept at once (0 or more). Connections already
  /// open stay open.
  int setMaxSockets(int new_max_sockets);
  int getMaxSockets() const;

  /// Sets the largest message accepted (4 or more). A larger message closes
  /// its connection. Refused when the system will not let a connection hold
  /// that much waiting.
  int setMaxMessageSize(int new_max_message_size);
  int getMaxMessageSize() const;

  /// Reports one complete message waiting on connection `sock_index` with a
  /// NETWORK_DATA event, without consuming it. Returns 1 when it reported
  /// one, 0 when there is none (or no such connection), -1 on an error. A
  /// connection whose peer has finished with no complete message left, or
  /// whose message length is impossible, is closed.
  int genDataEvents(int sock_index);

  /// Bytes waiting on connection `sock_index`, or -1.
  int isData(int sock_index) const;

  /// Closes connection `sock_index`, sends its NETWORK_CLOSE event and
  /// removes it from the list.
  void close(int sock_index);

  /// Removes up to `nbytes` waiting bytes from connection `sock_index` into
  /// `buffer`. A whole message is the `bytes` of its NETWORK_DATA event.
  /// Returns the bytes removed or -1.
  int receive(int sock_index, void *buffer, int nbytes);

  /// Sends one whole message of `nbytes`, its length prefix included, on
  /// connection `sock_index`. What the connection cannot take at once is
  /// kept and sent on later passes, up to MAX_PENDING_OUTPUT. Returns
  /// `nbytes` or -1.
  int send(int sock_index, const void *buffer, int nbytes);

 private:
  NetworkManager();
  NetworkManager(const NetworkManager &) = delete;
  NetworkManager &operator=(const NetworkManager &) = delete;

  /// Whether `sock_index` names an open connection.
  bool isConnected(int sock_index) const;

  /// Adds a connection within the limit. Returns its index, or -1 after the
  /// at-limit warning of `caller` when full (the socket is then closed).
  int addConnection(int handle, const char *caller);

  /// Sends what waits to be sent on connection `sock_index`. -1 on an error.
  int flushOutput(int sock_index);

  /// Closes connection `sock_index`, whose peer has finished sending with
  /// `waiting` bytes of no complete message left, saying so in the log.
  void closeFinished(int sock_index, int waiting);

  /// Receive buffer each connection needs to hold a whole message waiting.
  int neededReceiveBuffer() const;

  int server_socket;                        ///< the listening socket, -1 when not a server
  std::vector<int> sockets;                 ///< the connections; an index is a place here
  std::vector<std::string> pending_output;  ///< bytes waiting to be sent, one entry per connection
  int max_sockets;                          ///< the most connections kept at once
  int max_message_size;                     ///< the largest message a connection accepts
};

}  // namespace cv
