#pragma once
// Chat messages on the wire: the network manager's framing, a 32-bit
// little-endian length that counts the whole message (its own four bytes
// included), followed by the text.

#include <string>

/// The text framed as one message, ready for NetworkManager::send.
std::string frameMessage(const std::string &text);

/// Takes the message of `bytes` bytes waiting on connection `sock_index`
/// (the bytes of its NETWORK_DATA event) and returns its text.
std::string receiveMessage(int sock_index, int bytes);

/// Sends `text` as one message on connection `sock_index`. 0 sent, -1 not.
int sendMessage(int sock_index, const std::string &text);
