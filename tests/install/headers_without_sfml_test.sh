#!/usr/bin/env bash
# The engine's public face needs no window library: a game file that
# includes Corvane.h compiles with no SFML include directory and no SFML
# library, and none of the headers it reads is SFML's.
# Usage: headers_without_sfml_test.sh <c++ compiler> <engine source directory>
set -euo pipefail
compiler="$1"
engine="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat > "$work/game.cpp" <<'CPP'
#include "Corvane.h"

// A little of everything a game touches, so the declarations are all used.
class Hero : public cv::Object {
 public:
  Hero() { setType("Hero"); }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() == cv::KEYBOARD_EVENT) {
      cv::DisplayManager::getInstance().drawString(getPosition(), "hi", cv::CENTER_JUSTIFIED, cv::YELLOW);
      return 1;
    }
    return cv::Object::eventHandler(event);
  }
};

int main() {
  cv::GameManager &game = cv::GameManager::getInstance();
  if (game.startUp() != 0)
    return 1;
  new Hero;
  cv::Sound *fire = cv::ResourceManager::getInstance().getSound("fire");
  if (fire)
    fire->play();
  game.run();
  game.shutDown();
  return 0;
}
CPP

# The headers read: everything Corvane.h includes, and nothing of SFML.
"$compiler" -std=c++17 -I "$engine" -M "$work/game.cpp" > "$work/headers"
if grep -o '[^ ]*SFML/[^ ]*' "$work/headers"; then
  echo "Corvane.h reaches the SFML headers above"
  exit 1
fi
# And it compiles, cleanly, with nothing else given.
"$compiler" -std=c++17 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I "$engine" "$work/game.cpp"
echo "Corvane.h compiles without SFML: $(wc -w < "$work/headers") headers read"
