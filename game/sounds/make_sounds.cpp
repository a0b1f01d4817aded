// Writes the tomato game's sound effects and music as WAV files (mono,
// 22050 Hz, 16-bit), synthesised from scratch, into the directory named on
// the command line. Built and run at build time; the output is the same on
// every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const int RATE = 22050;            // samples per second
const double PI = 3.14159265358979323846;

using Samples = std::vector<double>;  // one channel, full scale at +-1

/// Frequency in Hz of a MIDI note number (69 is A 440 Hz).
double noteFrequency(int midi_note) { return 440.0 * std::pow(2.0, (midi_note - 69) / 12.0); }

/// A repeatable noise source, so every build writes the same files.
class Noise {
 public:
  /// The next value, evenly spread over -1 to 1.
  double next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

 private:
  uint32_t state = 12345u;  ///< linear congruential state
};

/// Wave shapes by phase in cycles; each is band-limited enough to sound clean.
enum class Wave { SINE, TRIANGLE, SOFT_SQUARE, PULSE };

double waveAt(Wave wave, double phase) {
  const double p = phase - std::floor(phase);
  switch (wave) {
    case Wave::SINE:
      return std::sin(2 * PI * p);
    case Wave::TRIANGLE:
      return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
    case Wave::SOFT_SQUARE:  // the first odd harmonics of a square wave
      return (std::sin(2 * PI * p) + std::sin(6 * PI * p) / 3 + std::sin(10 * PI * p) / 5) * 0.8;
    case Wave::PULSE:  // a quarter-duty pulse from its first harmonics
      return (std::sin(2 * PI * p) + 0.7 * std::sin(4 * PI * p) + 0.3 * std::sin(6 * PI * p)) * 0.6;
  }
  return 0;
}

/// Note envelope at time t of a note lasting `length` seconds: a short
/// attack, an exponential decay and a release that reaches zero exactly at
/// the end, so notes never click.
double envelope(double t, double length, double attack, double decay_rate) {
  const double release = std::min(0.03, length * 0.3);
  const double rise = std::min(1.0, t / attack);
  const double fall = std::min(1.0, std::max(0.0, (length - t) / release));
  return rise * std::exp(-t * decay_rate) * fall;
}

/// Adds a tone to `out` starting at `start` seconds, its frequency gliding
/// from `from_hz` to `to_hz` over its length.
void addTone(Samples &out, double start, double length, double from_hz, double to_hz, Wave wave, double volume,
             double decay_rate = 3.0, double vibrato = 0.0) {
  const int first = static_cast<int>(start * RATE);
  const int count = static_cast<int>(length * RATE);
  if (out.size() < static_cast<size_t>(first + count))
    out.resize(static_cast<size_t>(first + count), 0.0);
  double phase = 0;
  for (int i = 0; i < count; i++) {
    const double t = static_cast<double>(i) / RATE;
    const double hz = from_hz + (to_hz - from_hz) * t / length;
    phase += hz * (1.0 + vibrato * std::sin(2 * PI * 6 * t)) / RATE;
    out[static_cast<size_t>(first + i)] += volume * envelope(t, length, 0.005, decay_rate) * waveAt(wave, phase);
  }
}

/// Adds a burst of noise, darkened by a one-pole low-pass whose cut-off
/// slides from `bright` to `dark` (0 to 1, 1 lets everything through).
void addNoise(Samples &out, double start, double length, double volume, double decay_rate, double bright, double dark,
              Noise &noise) {
  const int first = static_cast<int>(start * RATE);
  const int count = static_cast<int>(length * RATE);
  if (out.size() < static_cast<size_t>(first + count))
    out.resize(static_cast<size_t>(first + count), 0.0);
  double low = 0;
  for (int i = 0; i < count; i++) {
    const double t = static_cast<double>(i) / RATE;
    const double cut = bright + (dark - bright) * t / length;
    low += cut * (noise.next() - low);
    out[static_cast<size_t>(first + i)] += volume * envelope(t, length, 0.002, decay_rate) * low;
  }
}

/// One note of a tune: a MIDI note number (negative for a rest) and its length in beats.
struct Note {
  int midi;      ///< MIDI note number, or -1 for a rest
  double beats;  ///< length in beats
};

/// Adds a line of notes from time 0 at `tempo` beats per minute; returns its length in seconds.
double addLine(Samples &out, const std::vector<Note> &notes, double tempo, Wave wave, double volume,
               double decay_rate) {
  const double beat = 60.0 / tempo;
  double at = 0;
  for (const Note &note : notes) {
    const double length = note.beats * beat;
    if (note.midi >= 0) {
      const double hz = noteFrequency(note.midi);
      addTone(out, at, length * 0.95, hz, hz, wave, volume, decay_rate, 0.004);
    }
    at += length;
  }
  return at;
}

/// Scales `samples` so the loudest one sits at `peak` of full scale.
void normalise(Samples &samples, double peak) {
  double loudest = 0;
  for (double s : samples)
    loudest = std::max(loudest, std::fabs(s));
  if (loudest > 0)
    for (double &s : samples)
      s *= peak / loudest;
}

void putLittleEndian(std::ofstream &file, uint32_t value, int size) {
  for (int i = 0; i < size; i++)
    file.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

/// Writes `samples` as a 16-bit mono PCM WAV file; false when it cannot.
bool writeWav(const std::string &path, const Samples &samples) {
  std::ofstream file(path, std::ios::binary);
  if (!file)
    return false;
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
  file.write("RIFF", 4);
  putLittleEndian(file, 36 + data_bytes, 4);
  file.write("WAVEfmt ", 8);
  putLittleEndian(file, 16, 4);        // format chunk size
  putLittleEndian(file, 1, 2);         // PCM
  putLittleEndian(file, 1, 2);         // mono
  putLittleEndian(file, RATE, 4);      // sample rate
  putLittleEndian(file, RATE * 2, 4);  // bytes per second
  putLittleEndian(file, 2, 2);         // bytes per sample frame
  putLittleEndian(file, 16, 2);        // bits per sample
  file.write("data", 4);
  putLittleEndian(file, data_bytes, 4);
  for (double s : samples) {
    const double clamped = std::max(-1.0, std::min(1.0, s));
    putLittleEndian(file, static_cast<uint32_t>(static_cast<int16_t>(std::lround(clamped * 32767))), 2);
  }
  return static_cast<bool>(file);
}

// The hero's trigger: a short thump with a click on top.
Samples fireSound() {
  Samples out;
  Noise noise;
  addTone(out, 0, 0.12, 220, 70, Wave::SINE, 0.9, 20);
  addNoise(out, 0, 0.05, 0.5, 40, 0.9, 0.3, noise);
  return out;
}

// A bullet leaving: a falling laser "pew".
Samples shootSound() {
  Samples out;
  addTone(out, 0, 0.18, 1400, 350, Wave::PULSE, 0.8, 12);
  return out;
}

// A fruit bursting: dark noise with a falling low tone under it.
Samples explosionSound() {
  Samples out;
  Noise noise;
  addNoise(out, 0, 0.6, 1.0, 6, 0.6, 0.05, noise);
  addTone(out, 0, 0.45, 160, 45, Wave::SINE, 0.7, 6);
  return out;
}

// A bigger, longer blast.
Samples explodeSound() {
  Samples out;
  Noise noise;
  addNoise(out, 0, 0.9, 1.0, 4, 0.4, 0.02, noise);
  addTone(out, 0, 0.8, 90, 30, Wave::SINE, 0.9, 4);
  addNoise(out, 0.08, 0.5, 0.4, 8, 0.8, 0.1, noise);
  return out;
}

// A game begins: a rising major arpeggio.
Samples startSound() {
  Samples out;
  const int notes[] = {60, 64, 67, 72};
  for (int i = 0; i < 4; i++) {
    const double hz = noteFrequency(notes[i]);
    addTone(out, i * 0.09, i == 3 ? 0.4 : 0.12, hz, hz, Wave::SOFT_SQUARE, 0.6, i == 3 ? 5 : 10);
  }
  return out;
}

// An enemy squashed: a quick falling squeak.
Samples enemyDeathSound() {
  Samples out;
  addTone(out, 0, 0.35, 900, 200, Wave::TRIANGLE, 0.8, 6, 0.05);
  return out;
}

// The hero lost: a slow sliding lament down a minor line.
Samples playerDeathSound() {
  Samples out;
  const int notes[] = {67, 66, 65, 64};
  for (int i = 0; i < 4; i++) {
    const double hz = noteFrequency(notes[i]);
    const double length = i == 3 ? 0.6 : 0.25;
    addTone(out, i * 0.25, length, hz, i == 3 ? hz * 0.75 : hz, Wave::SOFT_SQUARE, 0.6, 2, 0.01);
  }
  return out;
}

// The title tune: a light C major melody over a walking bass, 8 bars at 120 bpm.
Samples titleMusic() {
  const std::vector<Note> melody = {
      {64, 1}, {67, 1}, {72, 1}, {67, 1}, {69, 1}, {67, 1}, {64, 2},  {65, 1}, {69, 1}, {72, 1},
      {69, 1}, {67, 3}, {-1, 1}, {64, 1}, {67, 1}, {72, 1}, {76, 1},  {74, 1}, {72, 1}, {69, 2},
      {67, 1}, {65, 1}, {64, 1}, {62, 1}, {60, 3}, {-1, 1}};
  std::vector<Note> bass;
  for (int root : {48, 45, 41, 43, 48, 41, 43, 48}) {
    bass.push_back({root, 1});
    bass.push_back({root + 7, 1});
    bass.push_back({root + 12, 1});
    bass.push_back({root + 7, 1});
  }
  Samples out;
  const double tempo = 120;
  const double seconds = addLine(out, melody, tempo, Wave::PULSE, 0.35, 2.5);
  addLine(out, bass, tempo, Wave::TRIANGLE, 0.4, 3);
  out.resize(static_cast<size_t>(seconds * RATE), 0.0);
  normalise(out, 0.7);
  return out;
}

// The game tune: a driving A minor line over eighth-note octave bass and a
// ticking hi-hat, 8 bars at 150 bpm.
Samples gameMusic() {
  const std::vector<Note> melody = {
      {69, .5}, {72, .5}, {76, 1},  {74, .5}, {72, .5}, {71, 1},  {69, .5}, {71, .5}, {72, 1},  {71, 1},
      {67, 1},  {65, .5}, {69, .5}, {72, 1},  {74, .5}, {72, .5}, {69, 1},  {68, 1.5}, {71, .5}, {76, 2},
      {69, .5}, {72, .5}, {76, 1},  {79, .5}, {77, .5}, {76, 1},  {74, .5}, {72, .5}, {71, 1},  {67, 2},
      {65, .5}, {67, .5}, {69, 1},  {72, .5}, {71, .5}, {69, 1},  {68, 1},  {71, 1},  {69, 2}};
  std::vector<Note> bass;
  for (int root : {45, 43, 41, 40, 45, 43, 41, 40})
    for (int i = 0; i < 8; i++)
      bass.push_back({i % 2 ? root + 12 : root, 0.5});
  Samples out;
  const double tempo = 150;
  const double seconds = addLine(out, melody, tempo, Wave::SOFT_SQUARE, 0.3, 2);
  addLine(out, bass, tempo, Wave::TRIANGLE, 0.45, 4);
  Noise noise;
  const double beat = 60.0 / tempo;
  for (int i = 0; i < 32; i++)
    addNoise(out, (i + 0.5) * beat, 0.04, 0.12, 60, 1.0, 0.9, noise);
  out.resize(static_cast<size_t>(seconds * RATE), 0.0);
  normalise(out, 0.7);
  return out;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sounds DIRECTORY\n");
    return 2;
  }
  const std::string dir = argv[1];
  struct {
    const char *file;
    Samples (*make)();
    double peak;
  } sounds[] = {
      {"fire.wav", fireSound, 0.8},
      {"explode.wav", explodeSound, 0.8},
      {"explosion-sound.wav", explosionSound, 0.8},
      {"start-sound.wav", startSound, 0.7},
      {"enemy-death-sound.wav", enemyDeathSound, 0.7},
      {"player-death-sound.wav", playerDeathSound, 0.7},
      {"shoot-sound.wav", shootSound, 0.6},
      {"title-music.wav", titleMusic, 0.7},
      {"game-music.wav", gameMusic, 0.7},
  };
  for (const auto &sound : sounds) {
    Samples samples = sound.make();
    normalise(samples, sound.peak);
    const std::string path = dir + "/" + sound.file;
    if (!writeWav(path, samples)) {
      std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
