#pragma once

#include <memory>
#include <string>

namespace cv {

class MusicStream;

/// A long piece streamed from its file while it plays, found by its label.
/// It plays through the program's audio output (see BackEnd.h).
class Music {
 public:
  /// A music with no file open, labelled "[Undefined]".
  Music();
  ~Music();

  /// Opens `filename` for streaming. The file is checked first (at most
  /// MAX_MUSIC_SAMPLES) and a refusal is logged with its reason. 0 opened,
  /// -1 when the file does not open as a music stream.
  int loadMusic(std::string filename);
  /// Sets the name the music is found by.
  void setLabel(std::string new_label);
  /// The name the music is found by.
  std::string getLabel() const;
  /// Starts or resumes playing, repeating at the end if `loop`.
  void play(bool loop = true);
  /// Pauses; the next play continues from here.
  void pause();
  /// Stops; the next play starts from the beginning.
  void stop();
  /// Whether the music is playing now.
  bool isPlaying() const;
  /// Whether the music is paused.
  bool isPaused() const;
  /// Whether the music repeats when it reaches its end.
  bool isLooping() const;

 private:
  Music(const Music &) = delete;
  Music &operator=(const Music &) = delete;

  std::unique_ptr<MusicStream> stream;  ///< the streamed piece; null without one
  std::string label;                    ///< look-up name
};

}  // namespace cv
