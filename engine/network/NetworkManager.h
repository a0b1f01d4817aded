#pragma once

#include <cstdint>
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

/// How long a peer may take nothing while its queue is full (or while what
/// is queued for a peer that has finished sending waits to go out) before
/// its connection is closed, unless setStallTimeout() says otherwise.
const int STALLED_PEER_MILLISECONDS = 1000;

/// TCP connections: a listening server socket and the connections accepted
/// on it or opened with connect(). Once per game-loop iteration the game
/// manager has it accept the waiting connections and report every complete
/// message waiting on a connection, as "cv-network" events. A message starts
/// with a 32-bit little-endian length that counts the whole message, its four
/// length bytes included. What arrives is read into a buffer of the
/// connection's own, which holds at most one incomplete message besides the
/// complete ones not yet received. Connections are numbered by their place in
/// the list; when one closes, the later ones move down one place. Nothing here
/// waits on a peer. Results: 0 success, -1 failure, unless an operation says
/// otherwise.
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
  /// A connection over the limit is closed at once. The first one writes
  /// the at-limit warning (unless a line about the limit was written in the
  /// last second); those refused after it are counted, and the count is
  /// written when the limit is next free or, while it stays full, once a
  /// second.
  int accept();

  /// Takes every waiting connection, as accept() does, until none waits, an
  /// error stops it, or `budget_microseconds` have gone by (one is always
  /// tried). Connections over the limit are closed as they are taken.
  /// Returns the number added.
  int acceptWaiting(long budget_microseconds);

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

  /// Closes a connection whose peer has sent nothing for `milliseconds`
  /// (and has no complete message waiting); 0, the default, never does.
  int setIdleTimeout(int milliseconds);
  int getIdleTimeout() const;

  /// Closes a connection whose peer has taken nothing for `milliseconds`
  /// while its queue was full (or, once it has finished sending, while
  /// anything was queued); 0 never does. STALLED_PEER_MILLISECONDS by
  /// default.
  int setStallTimeout(int milliseconds);
  int getStallTimeout() const;

  /// Reports one complete message waiting on connection `sock_index` with a
  /// NETWORK_DATA event, without consuming it. Returns 1 when it reported
  /// one, 0 when there is none (or no such connection), -1 on an error. It
  /// also sends what waits to be sent. A connection is closed when its
  /// message length is impossible, when its peer has finished with no
  /// complete message left (once what is queued for it has gone out), when
  /// it has been idle longer than the idle timeout, and when its peer has
  /// taken nothing for the stall timeout while its queue was full.
  int genDataEvents(int sock_index);

  /// Bytes waiting on connection `sock_index`, read or not, or -1.
  int isData(int sock_index) const;

  /// Closes connection `sock_index`, sends its NETWORK_CLOSE event and
  /// removes it from the list.
  void close(int sock_index);

  /// Removes up to `nbytes` waiting bytes from connection `sock_index` into
  /// `buffer`. A whole message is the `bytes` of its NETWORK_DATA event.
  /// Returns the bytes removed or -1.
  int receive(int sock_index, void *buffer, int nbytes);

  /// Sends one whole message of `nbytes`, its length prefix included, on
  /// connection `sock_index`: at once, or, while output is held, when it is
  /// released. What the connection cannot take at once is kept and sent on
  /// later passes, up to MAX_PENDING_OUTPUT; a message that does not fit is
  /// refused, with a log line the first time until the queue has gone down
  /// to half. Returns `nbytes` or -1.
  int send(int sock_index, const void *buffer, int nbytes);

  /// Holds what send() is given: it is queued and goes out at
  /// releaseOutput(), in one write a connection, rather than in one write a
  /// message (a connection whose queue reaches 64 KiB is written at once,
  /// and one being closed, or whose peer has finished sending, as well). The
  /// game loop holds the output over its network passes, so that every
  /// answer its handlers give a connection in a step goes out together.
  void holdOutput();

  /// Writes what each connection has queued, as far as the system takes it,
  /// and stops holding.
  void releaseOutput();

 private:
  /// What the manager keeps for one connection besides its socket.
  struct Connection {
    std::string input;                   ///< bytes read from the socket, not yet received
    size_t input_start = 0;              ///< where the unreceived bytes start in `input`
    std::string output;                  ///< bytes waiting to be sent
    std::int64_t last_received = 0;      ///< monotonic microseconds of the last bytes read
    std::int64_t last_sent = 0;          ///< when the peer last took bytes, or the queue began
    bool output_refused = false;         ///< a message was refused since the queue was last below half
  };

  NetworkManager();
  NetworkManager(const NetworkManager &) = delete;
  NetworkManager &operator=(const NetworkManager &) = delete;

  /// Whether `sock_index` names an open connection.
  bool isConnected(int sock_index) const;

  /// Takes one waiting connection as accept() does; `taken` tells whether
  /// there was one to take.
  int takeConnection(bool &taken);

  /// Adds a connection within the limit. Returns its index, or -1 when full
  /// (the socket is then closed, and refused as accept() says, the warning
  /// naming `caller`).
  int addConnection(int handle, const char *caller);

  /// Writes the count of connections refused at the limit since the last
  /// line about it, when there are any and the limit is `freed` or a second
  /// has gone by since that line.
  void logRefusals(bool freed);

  /// Called when a connection closes or the limit rises: once the limit is
  /// free again, writes the count of refused connections, and the next one
  /// refused may write the warning again.
  void noteLimitFree();

  /// Sends what waits to be sent on connection `sock_index`. -1 on an error,
  /// logged only when `report_errors`.
  int flushOutput(int sock_index, bool report_errors = true);

  /// Bytes read from connection `sock_index` and not yet received.
  int bufferedInput(int sock_index) const;

  /// Whether the buffer of connection `sock_index` starts with a length and
  /// holds at least as many bytes as it says.
  bool hasCompleteMessage(int sock_index) const;

  /// Reads what waits on connection `sock_index` into its buffer, up to the
  /// largest message in all. -1 on an error.
  int fillInput(int sock_index);

  /// Called when no complete message waits: closes connection `sock_index`
  /// when its peer has `finished` (once its queue is sent) or it has been
  /// idle too long. Returns what genDataEvents returns.
  int closeIfDone(int sock_index, bool finished);

  /// Closes connection `sock_index` when its peer has taken nothing for the
  /// stall timeout while its queue was full, or, when the peer
  /// has `finished`, while anything was queued. Whether it closed it.
  bool closeIfStalled(int sock_index, bool finished);

  /// Closes connection `sock_index`, whose peer has finished sending with
  /// `waiting` bytes of no complete message left, saying so in the log.
  void closeFinished(int sock_index, int waiting);

  /// Closes connection `sock_index`, idle for `milliseconds`, saying so.
  void closeIdle(int sock_index, int milliseconds);

  /// Receive buffer each connection needs to hold a whole message waiting.
  int neededReceiveBuffer() const;

  int server_socket;                        ///< the listening socket, -1 when not a server
  std::vector<int> sockets;                 ///< the connections; an index is a place here
  std::vector<Connection> connections;      ///< buffers and times, one entry per connection
  int max_sockets;                          ///< the most connections kept at once
  int max_message_size;                     ///< the largest message a connection accepts
  int idle_timeout;                         ///< milliseconds of silence that close a connection, 0 never
  int stall_timeout;                        ///< milliseconds a stalled peer is kept, 0 for ever
  bool limit_warned;                        ///< the limit was met and has not been free since
  int limit_refused;                        ///< connections refused at the limit, not yet in the log
  int limit_refused_at;                     ///< the limit they were refused at
  std::int64_t limit_logged;                ///< monotonic microseconds of the last line about the limit
  bool output_held;                         ///< send() queues until releaseOutput()
};

}  // namespace cv
