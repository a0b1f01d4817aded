#pragma once

#include <memory>
#include <string>

namespace cv {

/// One sound effect's samples and the voice that plays them (see Sound).
class SoundVoice {
 public:
  virtual ~SoundVoice() = default;

  /// Loads the samples of `filename` and gives them to the voice. 0 loaded;
  /// -1 with `reason` saying why not, and then the voice keeps the samples it
  /// had (and keeps playing them if it was).
  virtual int load(const std::string &filename, std::string &reason) = 0;
  /// Starts playing from the beginning, repeating until stopped if `loop`.
  virtual void play(bool loop) = 0;
  /// Stops playing.
  virtual void stop() = 0;
  /// Whether the voice is playing now.
  virtual bool isPlaying() const = 0;
  /// Whether the voice repeats when it reaches its end.
  virtual bool isLooping() const = 0;
  /// The number of samples loaded (all channels counted), 0 when none.
  virtual unsigned long getSampleCount() const = 0;
};

/// One piece of music, streamed from its file while it plays (see Music).
class MusicStream {
 public:
  virtual ~MusicStream() = default;

  /// Opens `filename` for streaming. 0 opened; -1 when it does not open,
  /// with `reason` saying why ("" when the audio library said so itself).
  virtual int open(const std::string &filename, std::string &reason) = 0;
  /// Starts or resumes playing, repeating at the end if `loop`.
  virtual void play(bool loop) = 0;
  /// Pauses; the next play continues from here.
  virtual void pause() = 0;
  /// Stops; the next play starts from the beginning.
  virtual void stop() = 0;
  /// Whether the music is playing now.
  virtual bool isPlaying() const = 0;
  /// Whether the music is paused.
  virtual bool isPaused() const = 0;
  /// Whether the music repeats when it reaches its end.
  virtual bool isLooping() const = 0;
};

/// Where sounds and music are heard. One output serves the whole program
/// (see BackEnd.h); sounds and music ask it for their voices and streams.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;

  /// Whether sound can be heard here. The first call that finds it cannot
  /// logs why, once; the game then plays on in silence.
  virtual bool isAvailable() = 0;
  /// Why no sound can be heard ("" when it can, or before isAvailable).
  virtual std::string getFailureReason() const = 0;
  /// A voice with no samples yet; null when none can be made.
  virtual std::unique_ptr<SoundVoice> makeSound() = 0;
  /// A stream with no file open yet; null when none can be made.
  virtual std::unique_ptr<MusicStream> makeMusic() = 0;
};

}  // namespace cv
