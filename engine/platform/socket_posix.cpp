// POSIX implementation of the socket layer.

#include "platform/socket.h"

#include <fcntl.h>        // Required for: fcntl(), O_NONBLOCK, FD_CLOEXEC
#include <netdb.h>        // Required for: getaddrinfo(), gai_strerror()
#include <netinet/in.h>   // Required for: sockaddr_in, sockaddr_in6
#include <poll.h>         // Required for: poll()
#include <sys/ioctl.h>    // Required for: ioctl(), FIONREAD
#include <sys/socket.h>   // Required for: socket(), accept(), recv(), send()
#include <unistd.h>       // Required for: close()

#include <cerrno>
#include <climits>
#include <cstring>  // Required for: strerror()

#include "platform/platform.h"

namespace cv {
namespace platform {

namespace {

#ifdef MSG_NOSIGNAL
const int NO_SIGNAL = MSG_NOSIGNAL;  // a closed peer gives EPIPE, not SIGPIPE
#else
const int NO_SIGNAL = 0;
#endif

// Sets the receive buffer of a socket to `bytes` (the system may round it).
int setReceiveBuffer(int handle, int bytes) {
  return setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof(bytes)) == 0 ? 0 : -1;
}

// Makes a socket non-blocking and keeps it from leaking into child processes.
bool makeNonBlocking(int handle) {
  const int flags = fcntl(handle, F_GETFL, 0);
  if (flags == -1 || fcntl(handle, F_SETFL, flags | O_NONBLOCK) == -1)
    return false;
  fcntl(handle, F_SETFD, FD_CLOEXEC);
#ifdef SO_NOSIGPIPE
  const int on = 1;
  setsockopt(handle, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof(on));
#endif
  return true;
}

// Closes a socket without disturbing errno, for clean-up after a failure.
void discard(int handle) {
  const int saved = errno;
  ::close(handle);
  errno = saved;
}

// Waits up to `timeout_milliseconds` for a non-blocking connect to finish.
// Returns 0 when connected; -1 with errno set otherwise.
int finishConnect(int handle, int timeout_milliseconds) {
  pollfd entry{};
  entry.fd = handle;
  entry.events = POLLOUT;
  const std::int64_t deadline = monotonicMicroseconds() + static_cast<std::int64_t>(timeout_milliseconds) * 1000;
  while (true) {
    const std::int64_t left = deadline - monotonicMicroseconds();
    if (left <= 0) {
      errno = ETIMEDOUT;
      return -1;
    }
    const int ready = poll(&entry, 1, static_cast<int>((left + 999) / 1000));
    if (ready == -1 && errno == EINTR)
      continue;
    if (ready == -1)
      return -1;
    if (ready == 0) {
      errno = ETIMEDOUT;
      return -1;
    }
    int error = 0;
    socklen_t length = sizeof(error);
    if (getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &length) == -1)
      return -1;
    if (error != 0) {
      errno = error;
      return -1;
    }
    return 0;
  }
}

}  // namespace

std::string socketsUnavailable() { return ""; }

int socketStartUp() { return 0; }

void socketShutDown() {}

int lastSocketError() { return errno; }

std::string socketErrorText(int code) {
  const char *text = std::strerror(code);
  return text ? text : "";
}

bool isWouldBlock(int code) { return code == EAGAIN || code == EWOULDBLOCK; }

bool isNothingToAccept(int code) {
  return isWouldBlock(code) || code == EINTR || code == ECONNABORTED || code == EPROTO;
}

int listenTcp(const std::string &port, bool loopback_only) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV | AI_NUMERICHOST;
  addrinfo *found = nullptr;
  if (getaddrinfo(loopback_only ? "127.0.0.1" : nullptr, port.c_str(), &hints, &found) != 0 || !found) {
    errno = EINVAL;
    return -1;
  }
  const int handle = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (handle == -1) {
    freeaddrinfo(found);
    return -1;
  }
  const int on = 1;
  setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  const bool ready = makeNonBlocking(handle) && bind(handle, found->ai_addr, found->ai_addrlen) == 0 &&
                     listen(handle, SOMAXCONN) == 0;
  freeaddrinfo(found);
  if (!ready) {
    discard(handle);
    return -1;
  }
  return handle;
}

int boundPort(int handle) {
  sockaddr_storage address{};
  socklen_t length = sizeof(address);
  if (getsockname(handle, reinterpret_cast<sockaddr *>(&address), &length) == -1)
    return -1;
  if (address.ss_family == AF_INET)
    return ntohs(reinterpret_cast<sockaddr_in *>(&address)->sin_port);
  if (address.ss_family == AF_INET6)
    return ntohs(reinterpret_cast<sockaddr_in6 *>(&address)->sin6_port);
  return -1;
}

int acceptConnection(int listener) {
  sockaddr_storage address{};
  socklen_t length = sizeof(address);
  const int handle = ::accept(listener, reinterpret_cast<sockaddr *>(&address), &length);
  if (handle == -1)
    return -1;
  if (!makeNonBlocking(handle)) {
    discard(handle);
    return -1;
  }
  return handle;
}

int connectTcp(const std::string &host, const std::string &port, int timeout_milliseconds, std::string &failure,
               int receive_buffer) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo *found = nullptr;
  const int resolved = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
  if (resolved != 0) {
    failure = gai_strerror(resolved);
    return -1;
  }
  const std::int64_t deadline = monotonicMicroseconds() + static_cast<std::int64_t>(timeout_milliseconds) * 1000;
  failure = "no address";
  // Try each address in turn ("localhost" may name ::1 before 127.0.0.1),
  // all within the one time limit.
  for (addrinfo *entry = found; entry; entry = entry->ai_next) {
    const int left = static_cast<int>((deadline - monotonicMicroseconds()) / 1000);
    if (left <= 0) {
      failure = socketErrorText(ETIMEDOUT);
      break;
    }
    const int handle = socket(entry->ai_family, entry->ai_socktype, entry->ai_protocol);
    if (handle == -1) {
      failure = socketErrorText(errno);
      continue;
    }
    if (!makeNonBlocking(handle) || (receive_buffer > 0 && setReceiveBuffer(handle, receive_buffer) == -1)) {
      failure = socketErrorText(errno);
      discard(handle);
      continue;
    }
    int result = ::connect(handle, entry->ai_addr, entry->ai_addrlen);
    if (result == -1 && (errno == EINPROGRESS || errno == EINTR))
      result = finishConnect(handle, left);
    if (result == 0) {
      freeaddrinfo(found);
      return handle;
    }
    failure = socketErrorText(errno);
    discard(handle);
  }
  freeaddrinfo(found);
  return -1;
}

int bytesWaiting(int handle, int &count) {
  int waiting = 0;
  if (ioctl(handle, FIONREAD, &waiting) == -1)
    return -1;
  count = waiting;
  return 0;
}

int peekBytes(int handle, void *buffer, int nbytes) {
  while (true) {
    const ssize_t got = recv(handle, buffer, static_cast<size_t>(nbytes), MSG_PEEK | MSG_DONTWAIT);
    if (got == -1 && errno == EINTR)
      continue;
    return static_cast<int>(got);
  }
}

int receiveBytes(int handle, void *buffer, int nbytes) {
  while (true) {
    const ssize_t got = recv(handle, buffer, static_cast<size_t>(nbytes), MSG_DONTWAIT);
    if (got == -1 && errno == EINTR)
      continue;
    if (got == -1 && isWouldBlock(errno))
      return 0;
    return static_cast<int>(got);
  }
}

int sendBytes(int handle, const void *buffer, int nbytes) {
  while (true) {
    const ssize_t sent = ::send(handle, buffer, static_cast<size_t>(nbytes), MSG_DONTWAIT | NO_SIGNAL);
    if (sent == -1 && errno == EINTR)
      continue;
    if (sent == -1 && isWouldBlock(errno))
      return 0;
    return static_cast<int>(sent);
  }
}

bool peerFinished(int handle) {
  pollfd entry{};
  entry.fd = handle;
  entry.events = POLLIN;
#ifdef POLLRDHUP
  entry.events |= POLLRDHUP;
#endif
  if (poll(&entry, 1, 0) <= 0)
    return false;
  short finished = POLLHUP | POLLERR | POLLNVAL;
#ifdef POLLRDHUP
  finished |= POLLRDHUP;
#endif
  if (entry.revents & finished)
    return true;
  // Without a hang-up flag, a socket readable with nothing to read is at its end.
  int count = 0;
  return (entry.revents & POLLIN) && bytesWaiting(handle, count) == 0 && count == 0;
}

int receiveBufferSize(int handle) {
  int size = 0;
  socklen_t length = sizeof(size);
  if (getsockopt(handle, SOL_SOCKET, SO_RCVBUF, &size, &length) == -1)
    return -1;
  return size;
}

int raiseReceiveBuffer(int handle, int bytes) {
  if (receiveBufferSize(handle) >= bytes)
    return 0;
  // Linux reports (and grants) twice what is asked; other systems what is
  // asked. Try the smaller request first so neither system is overcharged.
  for (const int request : {bytes / 2 + bytes % 2, bytes}) {
    setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &request, sizeof(request));
    if (receiveBufferSize(handle) >= bytes)
      return 0;
  }
  return -1;
}

bool receiveBufferAllowed(int bytes) {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  if (probe == -1)
    return false;
  const bool allowed = raiseReceiveBuffer(probe, bytes) == 0;
  discard(probe);
  return allowed;
}

int finishSending(int handle) { return shutdown(handle, SHUT_WR) == 0 ? 0 : -1; }

int closeSocket(int handle) { return ::close(handle); }

}  // namespace platform
}  // namespace cv
