// Windows implementation of the socket layer, on Windows Sockets 2.2.
//
// Handles are the sockets' SOCKET values as int: Windows keeps socket
// handles within 32 bits so that 32- and 64-bit programs can share them,
// and INVALID_SOCKET becomes -1.

#include "platform/socket.h"

#include <winsock2.h>  // Required for: WSAStartup(), socket(), select(), ioctlsocket()
#include <ws2tcpip.h>  // Required for: getaddrinfo(), socklen_t
#include <windows.h>   // Required for: FormatMessageW(), SetHandleInformation()

#include <cstdint>

#include "platform/platform.h"

namespace cv {
namespace platform {

namespace {

SOCKET toSocket(int handle) { return static_cast<SOCKET>(static_cast<unsigned int>(handle)); }

int toHandle(SOCKET socket) { return socket == INVALID_SOCKET ? -1 : static_cast<int>(socket); }

// Sets the receive buffer of a socket to `bytes` (the system may round it).
int setReceiveBuffer(SOCKET socket, int bytes) {
  return setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char *>(&bytes), sizeof(bytes)) == SOCKET_ERROR
             ? -1
             : 0;
}

// Makes a socket non-blocking and keeps it from being inherited by child processes.
bool makeNonBlocking(SOCKET socket) {
  u_long on = 1;
  if (ioctlsocket(socket, FIONBIO, &on) == SOCKET_ERROR)
    return false;
  SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0);
  return true;
}

// Closes a socket without disturbing the last error, for clean-up after a failure.
void discard(SOCKET socket) {
  const int saved = WSAGetLastError();
  closesocket(socket);
  WSASetLastError(saved);
}

// Waits up to `milliseconds` for `socket` to be ready in the sets asked for.
// Returns select's result: ready sockets, 0 on time-out, SOCKET_ERROR.
int waitFor(SOCKET socket, bool readable, bool writable, bool failed, int milliseconds) {
  fd_set reads, writes, failures;
  FD_ZERO(&reads);
  FD_ZERO(&writes);
  FD_ZERO(&failures);
  if (readable)
    FD_SET(socket, &reads);
  if (writable)
    FD_SET(socket, &writes);
  if (failed)
    FD_SET(socket, &failures);
  timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
  const int ready = select(0, readable ? &reads : nullptr, writable ? &writes : nullptr,
                           failed ? &failures : nullptr, &limit);
  if (ready > 0 && failed && FD_ISSET(socket, &failures))
    return -2;
  return ready;
}

// Waits up to `timeout_milliseconds` for a non-blocking connect to finish.
// Returns 0 when connected; -1 with the last error set otherwise. A refused
// connection shows in the failure set, with its reason in SO_ERROR.
int finishConnect(SOCKET socket, int timeout_milliseconds) {
  const int ready = waitFor(socket, false, true, true, timeout_milliseconds);
  if (ready == SOCKET_ERROR)
    return -1;
  if (ready == 0) {
    WSASetLastError(WSAETIMEDOUT);
    return -1;
  }
  int error = 0;
  int length = sizeof(error);
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&error), &length) == SOCKET_ERROR)
    return -1;
  if (error != 0 || ready == -2) {
    WSASetLastError(error != 0 ? error : WSAECONNREFUSED);
    return -1;
  }
  return 0;
}

}  // namespace

std::string socketsUnavailable() { return ""; }

int socketStartUp() {
  WSADATA data{};
  return WSAStartup(MAKEWORD(2, 2), &data);
}

void socketShutDown() { WSACleanup(); }

int lastSocketError() { return WSAGetLastError(); }

std::string socketErrorText(int code) {
  wchar_t *wide = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t *>(&wide), 0, nullptr);
  std::string text;
  if (length > 0 && wide) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
      text.resize(static_cast<std::size_t>(bytes));
      WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), &text[0], bytes, nullptr, nullptr);
    }
  }
  if (wide)
    LocalFree(wide);
  // The system's texts end with a full stop and CR LF; a log line ends
  // where its message does.
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  return text;
}

bool isWouldBlock(int code) { return code == WSAEWOULDBLOCK; }

// A connection its peer reset before it was taken fails accept with
// WSAECONNRESET on Windows.
bool isNothingToAccept(int code) {
  return isWouldBlock(code) || code == WSAEINTR || code == WSAECONNRESET || code == WSAECONNABORTED;
}

int listenTcp(const std::string &port, bool loopback_only) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST;
  addrinfo *found = nullptr;
  if (port.find_first_not_of("0123456789") != std::string::npos || port.empty() ||
      getaddrinfo(loopback_only ? "127.0.0.1" : nullptr, port.c_str(), &hints, &found) != 0 || !found) {
    WSASetLastError(WSAEINVAL);
    return -1;
  }
  const SOCKET socket = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (socket == INVALID_SOCKET) {
    freeaddrinfo(found);
    return -1;
  }
  // Windows' SO_REUSEADDR would let another program take the port over;
  // SO_EXCLUSIVEADDRUSE is what keeps it ours.
  const BOOL on = TRUE;
  setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char *>(&on), sizeof(on));
  const bool ready = makeNonBlocking(socket) &&
                     bind(socket, found->ai_addr, static_cast<int>(found->ai_addrlen)) != SOCKET_ERROR &&
                     listen(socket, SOMAXCONN) != SOCKET_ERROR;
  freeaddrinfo(found);
  if (!ready) {
    discard(socket);
    return -1;
  }
  return toHandle(socket);
}

int boundPort(int handle) {
  sockaddr_storage address{};
  int length = sizeof(address);
  if (getsockname(toSocket(handle), reinterpret_cast<sockaddr *>(&address), &length) == SOCKET_ERROR)
    return -1;
  if (address.ss_family == AF_INET)
    return ntohs(reinterpret_cast<sockaddr_in *>(&address)->sin_port);
  if (address.ss_family == AF_INET6)
    return ntohs(reinterpret_cast<sockaddr_in6 *>(&address)->sin6_port);
  return -1;
}

int acceptConnection(int listener) {
  sockaddr_storage address{};
  int length = sizeof(address);
  const SOCKET socket = ::accept(toSocket(listener), reinterpret_cast<sockaddr *>(&address), &length);
  if (socket == INVALID_SOCKET)
    return -1;
  // Accepted sockets inherit non-blocking mode on Windows; set it anyway.
  if (!makeNonBlocking(socket)) {
    discard(socket);
    return -1;
  }
  return toHandle(socket);
}

int connectTcp(const std::string &host, const std::string &port, int timeout_milliseconds, std::string &failure,
               int receive_buffer) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo *found = nullptr;
  if (port.find_first_not_of("0123456789") != std::string::npos || port.empty()) {
    failure = socketErrorText(WSAEINVAL);
    return -1;
  }
  const int resolved = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
  if (resolved != 0) {
    failure = socketErrorText(resolved);
    return -1;
  }
  const std::int64_t deadline = monotonicMicroseconds() + static_cast<std::int64_t>(timeout_milliseconds) * 1000;
  failure = "no address";
  // Try each address in turn ("localhost" may name ::1 before 127.0.0.1),
  // all within the one time limit.
  for (addrinfo *entry = found; entry; entry = entry->ai_next) {
    const int left = static_cast<int>((deadline - monotonicMicroseconds()) / 1000);
    if (left <= 0) {
      failure = socketErrorText(WSAETIMEDOUT);
      break;
    }
    const SOCKET socket = ::socket(entry->ai_family, entry->ai_socktype, entry->ai_protocol);
    if (socket == INVALID_SOCKET) {
      failure = socketErrorText(WSAGetLastError());
      continue;
    }
    if (!makeNonBlocking(socket) || (receive_buffer > 0 && setReceiveBuffer(socket, receive_buffer) == -1)) {
      failure = socketErrorText(WSAGetLastError());
      discard(socket);
      continue;
    }
    int result = ::connect(socket, entry->ai_addr, static_cast<int>(entry->ai_addrlen)) == SOCKET_ERROR ? -1 : 0;
    if (result == -1 && WSAGetLastError() == WSAEWOULDBLOCK)
      result = finishConnect(socket, left);
    if (result == 0) {
      freeaddrinfo(found);
      return toHandle(socket);
    }
    failure = socketErrorText(WSAGetLastError());
    discard(socket);
  }
  freeaddrinfo(found);
  return -1;
}

int bytesWaiting(int handle, int &count) {
  u_long waiting = 0;
  if (ioctlsocket(toSocket(handle), FIONREAD, &waiting) == SOCKET_ERROR)
    return -1;
  count = static_cast<int>(waiting);
  return 0;
}

int peekBytes(int handle, void *buffer, int nbytes) {
  const int got = recv(toSocket(handle), static_cast<char *>(buffer), nbytes, MSG_PEEK);
  return got == SOCKET_ERROR ? -1 : got;
}

int receiveBytes(int handle, void *buffer, int nbytes) {
  const int got = recv(toSocket(handle), static_cast<char *>(buffer), nbytes, 0);
  if (got == SOCKET_ERROR)
    return isWouldBlock(WSAGetLastError()) ? 0 : -1;
  return got;
}

// Windows raises no signal for a closed peer: the call fails instead.
int sendBytes(int handle, const void *buffer, int nbytes) {
  const int sent = ::send(toSocket(handle), static_cast<const char *>(buffer), nbytes, 0);
  if (sent == SOCKET_ERROR)
    return isWouldBlock(WSAGetLastError()) ? 0 : -1;
  return sent;
}

bool peerFinished(int handle) {
  const int ready = waitFor(toSocket(handle), true, false, true, 0);
  if (ready == -2 || ready == SOCKET_ERROR)
    return true;
  if (ready == 0)
    return false;
  // Readable with nothing to read: the peer has closed its end, or the
  // connection has failed.
  int count = 0;
  return bytesWaiting(handle, count) == -1 || count == 0;
}

int receiveBufferSize(int handle) {
  int size = 0;
  int length = sizeof(size);
  if (getsockopt(toSocket(handle), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char *>(&size), &length) == SOCKET_ERROR)
    return -1;
  return size;
}

int raiseReceiveBuffer(int handle, int bytes) {
  if (receiveBufferSize(handle) >= bytes)
    return 0;
  // Windows reports what is asked; Linux twice that. Try the smaller
  // request first so neither system is overcharged.
  for (const int request : {bytes / 2 + bytes % 2, bytes}) {
    setsockopt(toSocket(handle), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char *>(&request), sizeof(request));
    if (receiveBufferSize(handle) >= bytes)
      return 0;
  }
  return -1;
}

bool receiveBufferAllowed(int bytes) {
  const SOCKET probe = ::socket(AF_INET, SOCK_STREAM, 0);
  if (probe == INVALID_SOCKET)
    return false;
  const bool allowed = raiseReceiveBuffer(toHandle(probe), bytes) == 0;
  discard(probe);
  return allowed;
}

int finishSending(int handle) { return shutdown(toSocket(handle), SD_SEND) == SOCKET_ERROR ? -1 : 0; }

int closeSocket(int handle) { return closesocket(toSocket(handle)) == SOCKET_ERROR ? -1 : 0; }

}  // namespace platform
}  // namespace cv
