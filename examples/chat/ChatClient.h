#pragma once

#include <string>
#include <vector>

#include "Corvane.h"

/// The client's side of the chat: sends its lines one at a time over an
/// open connection, each after the server's answer to the one before, and
/// prints the answers. After the last answer it closes the connection and
/// ends the game; so does a server that goes away.
class ChatClient : public cv::Object {
 public:
  /// Sends the first of `lines` on connection `sock_index` at once.
  ChatClient(int sock_index, std::vector<std::string> lines);
  int eventHandler(const cv::Event *event) override;

  /// Answers received so far.
  int getAnswers() const;

 private:
  /// Sends the next line, or closes and ends the game when none is left.
  void sendNext();

  int sock_index;                  ///< the connection to the server
  std::vector<std::string> lines;  ///< what to say, in order
  std::size_t next_line = 0;       ///< the line to send next
  int answers = 0;                 ///< answers received so far
};
