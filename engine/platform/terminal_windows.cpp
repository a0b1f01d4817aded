// Windows has no terminal display: its console takes neither the escape
// sequences nor the raw input the terminal display is written for. Every
// call refuses, and the display's start-up says why.

#include "platform/terminal.h"

namespace cv {
namespace platform {

bool terminalDisplaySupported() { return false; }

bool isTerminal() { return false; }

bool terminalSize(int &, int &) { return false; }

bool enterTerminalMode(const std::string &, const std::string &) { return false; }

void setTerminalRestoreText(const std::string &) {}

void leaveTerminalMode() {}

int readTerminal(char *, int) { return -1; }

int writeTerminal(const std::string &) { return -1; }

bool terminalResized() { return false; }

}  // namespace platform
}  // namespace cv
