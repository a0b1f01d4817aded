#pragma once
// The page's side of sound (Web Audio), defined in WebAudioOutput.cpp: the
// audio context, decoded buffers and the players that play them, all kept
// in Module.corvaneAudio. Browsers let a page make sound only after the
// player's first key or click; until then the page shows its element with
// id "sound" (if it has one), sounds asked for are dropped, and musics asked
// for start then.

extern "C" {

/// Makes the audio context and waits for the first key or click. 0, or -1
/// when the browser has no Web Audio.
int corvane_audio_start();
/// Samples in buffer `buffer`, all channels counted.
double corvane_audio_samples(int buffer);
/// Forgets buffer `buffer`.
void corvane_audio_forget(int buffer);
/// A new player, playing nothing.
int corvane_player_new();
/// Forgets player `player`, stopping it.
void corvane_player_forget(int player);
/// Gives player `player` buffer `buffer` to play, stopping what it played.
void corvane_player_set_buffer(int player, int buffer);
/// Plays from the start, or from where a pause left off when `resume`;
/// repeating when `loop`. Before the first key or click: dropped, or
/// started then when `wait_for_sound`.
void corvane_player_play(int player, int loop, int resume, int wait_for_sound);
/// Pauses, keeping the place.
void corvane_player_pause(int player);
/// Stops; the next play starts from the beginning.
void corvane_player_stop(int player);
/// 0 stopped, 1 playing (or waiting to start with sound), 2 paused.
int corvane_player_state(int player);
/// Whether the player repeats at the end.
int corvane_player_looping(int player);
}

namespace cv {

/// Decodes the file `path` of the page's file system, waiting for the
/// browser. The new buffer's number, or -1 when the browser does not decode it.
int decodeAudioInPage(const char *path);

}  // namespace cv
