// The chat example: a server process and a client process exchange
// messages through the network manager on this machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "message.h"

namespace {

/// Everything `command` writes on standard output, and its exit status.
struct Output {
  std::string text;
  int status = -1;
};

/// A process run from the chat's run directory, bounded by `timeout`.
FILE *startChat(const std::string &arguments) {
  const std::string command = "cd '" CHAT_RUN_DIR "' && ALSOFT_DRIVERS=null timeout 20 ./chat " + arguments;
  return popen(command.c_str(), "r");
}

Output finish(FILE *process) {
  Output output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, process))
    output.text += buffer;
  output.status = pclose(process);
  return output;
}

TEST(ChatTest, FramingCountsTheLengthPrefix) {
  EXPECT_EQ(frameMessage("hi"), std::string("\x06\x00\x00\x00hi", 6));
  EXPECT_EQ(frameMessage("").size(), 4u);
  EXPECT_EQ(frameMessage(std::string(300, 'x')).substr(0, 4), std::string("\x30\x01\x00\x00", 4));
}

TEST(ChatTest, ServerAndClientProcessesExchangeMessages) {
  FILE *server = startChat("server 0");
  ASSERT_NE(server, nullptr);
  char first[128] = "";
  ASSERT_NE(std::fgets(first, sizeof first, server), nullptr);
  int port = 0;
  ASSERT_EQ(std::sscanf(first, "listening on port %d", &port), 1) << first;
  ASSERT_GT(port, 0);

  FILE *client = startChat("client " + std::to_string(port) + " hello 'how are you'");
  ASSERT_NE(client, nullptr);
  const Output said = finish(client);
  const Output heard = finish(server);

  EXPECT_EQ(said.text, "server: got: hello\nserver: got: how are you\n");
  EXPECT_EQ(said.status, 0);
  EXPECT_EQ(heard.text, "client 0 connected\nclient: hello\nclient: how are you\nclient 0 left\n");
  EXPECT_EQ(heard.status, 0);
}

TEST(ChatTest, ClientWithoutServerFails) {
  // Port 1 is privileged and nothing of ours listens there.
  const Output said = finish(startChat("client 1 hello 2>/dev/null"));
  EXPECT_EQ(said.text, "");
  EXPECT_NE(said.status, 0);
}

}  // namespace
