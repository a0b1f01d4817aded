// The chat example: a server process and a client process exchange
// messages through the network manager on this machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "message.h"

namespace {

/// Everything `command` writes on standard output, and its exit status.
struct Output {
  std::string text;
  int status = -1;
};

#ifndef _WIN32
/// Where a command's error output goes to be dropped.
const std::string NO_OUTPUT = "/dev/null";

/// A process run from the chat's run directory, bounded by `timeout`.
/// Arguments holding blanks are written in double quotes.
FILE *startChat(const std::string &arguments) {
  const std::string command = "cd '" CHAT_RUN_DIR "' && ALSOFT_DRIVERS=null timeout 20 ./chat " + arguments;
  return popen(command.c_str(), "r");
}

/// The exit status of a process that popen() started.
int closeChat(FILE *process) {
  const int status = pclose(process);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#else
const std::string NO_OUTPUT = "NUL";

/// A process run from the chat's run directory, through the command
/// interpreter (which wants the whole line in one more pair of quotes).
FILE *startChat(const std::string &arguments) {
  _putenv("ALSOFT_DRIVERS=null");
  std::string folder = CHAT_RUN_DIR;
  std::replace(folder.begin(), folder.end(), '/', '\\');  // the command interpreter's separator
  const std::string command = "\"cd /d \"" + folder + "\" && chat.exe " + arguments + "\"";
  return _popen(command.c_str(), "r");
}

int closeChat(FILE *process) { return _pclose(process); }
#endif

Output finish(FILE *process) {
  Output output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, process))
    output.text += buffer;
  output.status = closeChat(process);
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

  FILE *client = startChat("client " + std::to_string(port) + " hello \"how are you\"");
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
  const Output said = finish(startChat("client 1 hello 2>" + NO_OUTPUT));
  EXPECT_EQ(said.text, "");
  EXPECT_NE(said.status, 0);
}

}  // namespace
