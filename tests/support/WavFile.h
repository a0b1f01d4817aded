#pragma once
// Writes small WAV files of our own making for the sound tests.

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace cvtest {

/// Appends `value` to `bytes` little-endian in `size` bytes.
inline void putLittleEndian(std::vector<char> &bytes, uint32_t value, int size) {
  for (int i = 0; i < size; i++)
    bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

/// The 44-byte header of a mono 16-bit PCM WAV whose data chunk claims
/// `data_bytes` bytes.
inline std::vector<char> wavHeader(uint32_t data_bytes, uint32_t rate) {
  std::vector<char> bytes;
  bytes.reserve(44);
  const std::string riff = "RIFF", wave = "WAVEfmt ", data = "data";
  bytes.insert(bytes.end(), riff.begin(), riff.end());
  putLittleEndian(bytes, data_bytes + 36, 4);
  bytes.insert(bytes.end(), wave.begin(), wave.end());
  putLittleEndian(bytes, 16, 4);        // format chunk size
  putLittleEndian(bytes, 1, 2);         // PCM
  putLittleEndian(bytes, 1, 2);         // one channel
  putLittleEndian(bytes, rate, 4);      // sample rate
  putLittleEndian(bytes, rate * 2, 4);  // bytes per second
  putLittleEndian(bytes, 2, 2);         // bytes per frame
  putLittleEndian(bytes, 16, 2);        // bits per sample
  bytes.insert(bytes.end(), data.begin(), data.end());
  putLittleEndian(bytes, data_bytes, 4);
  return bytes;
}

/// Writes a sine tone of `milliseconds` at `frequency` Hz to `path`.
inline void writeToneWav(const std::string &path, int milliseconds, double frequency = 440.0) {
  const uint32_t rate = 8000;
  const uint32_t samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
  std::vector<char> bytes = wavHeader(samples * 2, rate);
  for (uint32_t i = 0; i < samples; i++) {
    const double value = 12000.0 * std::sin(2.0 * 3.14159265358979 * frequency * i / rate);
    putLittleEndian(bytes, static_cast<uint32_t>(static_cast<int16_t>(value)), 2);
  }
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// Writes a WAV header that claims far more samples than the few that follow.
inline void writeTruncatedWav(const std::string &path) {
  std::vector<char> bytes = wavHeader(0xFFFFFF00u, 8000);
  bytes.insert(bytes.end(), 64, '\0');
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace cvtest
