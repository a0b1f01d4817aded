// Writes short tones as WAV, Ogg and FLAC into the directory given, as the
// seeds of the sound fuzz target: mono and stereo, a few rates.

#include <SFML/Audio/OutputSoundFile.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

void put(std::string &bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; i++)
    bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A mono WAV whose format chunk is followed by a chunk of odd size (with its
// pad byte, as RIFF wants) before the data: chunk walking has to get the
// padding right.
bool writeOddChunkWave(const std::string &path, int bits) {
  const std::uint32_t rate = 8000, frames = 400, bytes_per_sample = static_cast<std::uint32_t>(bits) / 8;
  std::string body = "WAVEfmt ";
  put(body, 16, 4);
  put(body, 1, 2);
  put(body, 1, 2);
  put(body, rate, 4);
  put(body, rate * bytes_per_sample, 4);
  put(body, bytes_per_sample, 2);
  put(body, static_cast<std::uint32_t>(bits), 2);
  body += "LIST";
  put(body, 3, 4);
  body += std::string("abc") + '\0';
  body += "data";
  put(body, frames * bytes_per_sample, 4);
  for (std::uint32_t i = 0; i < frames; i++)
    put(body, static_cast<std::uint32_t>(i * 97), static_cast<int>(bytes_per_sample));
  std::string file = "RIFF";
  put(file, static_cast<std::uint32_t>(body.size()), 4);
  std::ofstream out(path, std::ios::binary);
  out << file << body;
  return static_cast<bool>(out);
}

}  // namespace

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
  written += writeOddChunkWave(dir + "/odd-chunk-16.wav", 16);
  written += writeOddChunkWave(dir + "/odd-chunk-8.wav", 8);
  std::printf("%d sound seeds written\n", written);
  return written > 0 ? 0 : 1;
}
