// A web page has no TCP sockets: a browser opens no listening socket and no
// raw connection. The network manager refuses to start, saying so; every
// other call fails.

#include "platform/socket.h"

namespace cv {
namespace platform {

namespace {

// The error code of every call here.
const int NO_SOCKETS = -1;

}  // namespace

std::string socketsUnavailable() { return "a web page has no TCP sockets: networking does not run in a browser"; }

int socketStartUp() { return NO_SOCKETS; }

void socketShutDown() {}

int lastSocketError() { return NO_SOCKETS; }

std::string socketErrorText(int) { return socketsUnavailable(); }

bool isNothingToAccept(int) { return false; }

bool isWouldBlock(int) { return false; }

int listenTcp(const std::string &, bool) { return -1; }

int boundPort(int) { return -1; }

int acceptConnection(int) { return -1; }

int connectTcp(const std::string &, const std::string &, int, std::string &failure, int) {
  failure = socketsUnavailable();
  return -1;
}

int bytesWaiting(int, int &count) {
  count = 0;
  return -1;
}

int peekBytes(int, void *, int) { return -1; }

int receiveBytes(int, void *, int) { return -1; }

int sendBytes(int, const void *, int) { return -1; }

bool peerFinished(int) { return true; }

int receiveBufferSize(int) { return -1; }

int raiseReceiveBuffer(int, int) { return -1; }

bool receiveBufferAllowed(int) { return false; }

int finishSending(int) { return -1; }

int closeSocket(int) { return -1; }

}  // namespace platform
}  // namespace cv
