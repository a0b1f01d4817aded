// chat: two processes talking through the network manager on this machine.
//   ./chat server [port]           listens (port 0 or none: a free one) and
//                                  prints the port it listens on
//   ./chat client port line...     sends each line, prints each answer
#include <cstdio>
#include <string>
#include <vector>

#include "ChatClient.h"
#include "ChatServer.h"
#include "Corvane.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: chat server [port] | chat client port line...\n");
  return 2;
}

/// Listens on the loopback address and says where.
int serve(const std::string &port) {
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  if (network.setServer(port, true) != 0) {
    std::fprintf(stderr, "chat: cannot listen on port %s (see corvane.log)\n", port.c_str());
    return -1;
  }
  std::printf("listening on port %d\n", network.getPort());
  std::fflush(stdout);
  new ChatServer;
  return 0;
}

/// Connects to the server on this machine and starts talking.
int talk(const std::string &port, std::vector<std::string> lines) {
  const int sock_index = cv::NetworkManager::getInstance().connect("127.0.0.1", port);
  if (sock_index < 0) {
    std::fprintf(stderr, "chat: no server on port %s (see corvane.log)\n", port.c_str());
    return -1;
  }
  new ChatClient(sock_index, std::move(lines));
  return 0;
}

}  // namespace

int main(int argc, char *argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool server = !args.empty() && args[0] == "server" && args.size() <= 2;
  const bool client = args.size() >= 3 && args[0] == "client";
  if (!server && !client)
    return usage();

  cv::GameManager &game = cv::GameManager::getInstance();
  // Run from the directory beside the executable that holds the game's files.
  game.enterRunDirectory();
  if (game.startUp() != 0) {
    std::fprintf(stderr, "chat: %s\n", game.getStartUpFailure().c_str());
    return 1;
  }
  const int started = server ? serve(args.size() == 2 ? args[1] : "0")
                             : talk(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
  if (started == 0)
    game.run();
  game.shutDown();
  return started == 0 ? 0 : 1;
}
