#pragma once
// TCP sockets for the network manager, behind a thin interface. Every socket
// this layer hands out is non-blocking, so no call here waits on a peer
// (connectTcp waits at most its given time). Failing calls return -1 and
// leave the system's error code for lastSocketError().

#include <string>

namespace cv {
namespace platform {

/// Why this system has no TCP sockets at all (a web page has none); ""
/// where it has them.
std::string socketsUnavailable();

/// Prepares the system's socket library. Returns 0, or the system's error
/// code when it cannot be prepared. POSIX systems need nothing.
int socketStartUp();

/// Releases what socketStartUp prepared.
void socketShutDown();

/// The error code of the last failed socket call on this thread.
int lastSocketError();

/// The system's text for socket error `code`; empty when it has none.
std::string socketErrorText(int code);

/// Whether error `code` from acceptConnection only means that no connection
/// is ready to be taken: none waiting, the call interrupted, or a connection
/// that its peer gave up before it was taken.
bool isNothingToAccept(int code);

/// Whether error `code` from acceptConnection is the plain "would block".
bool isWouldBlock(int code);

/// A listening TCP socket on `port` (decimal, "0" for any free port), on the
/// loopback address only when `loopback_only`, else on every address.
/// Returns its handle or -1.
int listenTcp(const std::string &port, bool loopback_only);

/// The local port a socket is bound to, or -1.
int boundPort(int handle);

/// Takes one pending connection from a listening socket. Returns its handle
/// (non-blocking) or -1.
int acceptConnection(int listener);

/// Opens a TCP connection to `host`:`port`, waiting at most
/// `timeout_milliseconds` for it to be established. Returns its handle
/// (non-blocking) or -1; `failure` then names the step that failed. When
/// `receive_buffer` is not 0 the socket gets a receive buffer of that many
/// bytes before it connects, so the window the two ends agree on fits it (a
/// buffer shrunk after connecting can leave the peer waiting on retries).
int connectTcp(const std::string &host, const std::string &port, int timeout_milliseconds, std::string &failure,
               int receive_buffer = 0);

/// Stores in `count` how many bytes wait to be read. Returns 0 or -1.
int bytesWaiting(int handle, int &count);

/// Copies up to `nbytes` waiting bytes into `buffer` without removing them.
/// Returns the bytes copied or -1.
int peekBytes(int handle, void *buffer, int nbytes);

/// Removes up to `nbytes` waiting bytes into `buffer`. Returns the bytes
/// read, 0 when none wait, or -1 on an error.
int receiveBytes(int handle, void *buffer, int nbytes);

/// Writes up to `nbytes` from `buffer` without waiting. Returns the bytes
/// written (0 when the send buffer is full) or -1 on an error. A closed peer
/// is an error, never a signal.
int sendBytes(int handle, const void *buffer, int nbytes);

/// Whether the peer has finished sending (closed or shut down its end) or
/// the connection has failed: no further bytes can arrive.
bool peerFinished(int handle);

/// The receive buffer size the system reports for a socket, or -1.
int receiveBufferSize(int handle);

/// Asks for a receive buffer of at least `bytes` as the system reports it.
/// Returns 0 when the socket now has that much, -1 when the system will not
/// allow it.
int raiseReceiveBuffer(int handle, int bytes);

/// Whether the system would give a new socket a receive buffer of at least
/// `bytes`, as it reports it.
bool receiveBufferAllowed(int bytes);

/// Ends the sending side of a connection only (a half-close): the peer sees
/// the end of the data and can still answer. Returns 0 or -1.
int finishSending(int handle);

/// Closes a socket. Returns 0 or -1.
int closeSocket(int handle);

}  // namespace platform
}  // namespace cv
