#pragma once
// How much a sound or a music may hold, whatever plays it.

#include <cstdint>

namespace cv {

/// Most samples (all channels counted) a sound may decode to: one minute of
/// stereo at 48 kHz. Sounds are held whole, twice (the buffer's samples and
/// the audio device's copy), so this is 22 MB per sound; longer pieces are
/// played as music, which streams.
const std::uint64_t MAX_SOUND_SAMPLES = 1ull * 60 * 48000 * 2;

/// Most samples a music may hold: three hours of stereo at 48 kHz. Music is
/// streamed, so this only keeps absurd headers out.
const std::uint64_t MAX_MUSIC_SAMPLES = 3ull * 60 * 60 * 48000 * 2;

/// Most bytes a sound's file may hold: its samples at 32 bits, the widest
/// integer PCM, and a mebibyte of other chunks. A sound's file is read whole
/// into memory, checked there and decoded from the same bytes.
const std::uint64_t MAX_SOUND_FILE_BYTES = MAX_SOUND_SAMPLES * 4 + (1u << 20);

}  // namespace cv
