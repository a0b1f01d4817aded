// Writes short tones as WAV, Ogg and FLAC into the directory given, as the
// seeds of the sound fuzz target: mono and stereo, a few rates.

#include <SFML/Audio/OutputSoundFile.hpp>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s directory\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const char *formats[] = {"wav", "ogg", "flac"};
  const unsigned int rates[] = {8000, 22050};
  int written = 0;
  for (const char *format : formats)
    for (unsigned int rate : rates)
      for (unsigned int channels = 1; channels <= 2; channels++) {
        // A twentieth of a second of a 440 Hz tone.
        std::vector<sf::Int16> samples(rate / 20 * channels);
        for (std::size_t i = 0; i < samples.size(); i++)
          samples[i] = static_cast<sf::Int16>(8000 * std::sin(6.2831853 * 440.0 * (i / channels) / rate));
        const std::string path = dir + "/tone-" + std::to_string(rate) + "-" + std::to_string(channels) + "." + format;
        sf::OutputSoundFile file;
        if (!file.openFromFile(path, rate, channels))
          continue;
        file.write(samples.data(), samples.size());
        written++;
      }
  std::printf("%d sound seeds written\n", written);
  return written > 0 ? 0 : 1;
}
