#pragma once

#include <SFML/Audio/Music.hpp>
#include <string>

namespace cv {

/// A long piece streamed from its file while it plays, found by its label.
class Music {
 public:
  Music();

  /// 0 opened, -1 when the file does not open as a music stream.
  int loadMusic(std::string filename);
  void setLabel(std::string new_label);
  std::string getLabel() const;
  void play(bool loop = true);
  void pause();
  void stop();

 private:
  Music(const Music &) = delete;
  Music &operator=(const Music &) = delete;

  sf::Music music;    ///< the streamed piece
  std::string label;  ///< look-up name
};

}  // namespace cv
