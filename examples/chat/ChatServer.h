#pragma once

#include "Corvane.h"

/// The server's side of the chat: prints every message a client sends and
/// answers it with "got: " and the text. The game ends when the client leaves.
class ChatServer : public cv::Object {
 public:
  ChatServer();
  int eventHandler(const cv::Event *event) override;

  /// Messages received so far.
  int getReceived() const;

 private:
  int received = 0;  ///< messages received so far
};
