// The sound effects of all three games: the fixed table of 27 wave files, their stereo
// placement by the position of what makes the sound, the per-frame marks that reduce
// repeated requests, and the opening and closing of the sound output.
#pragma once

#include <cstdint>
#include <memory>

#include "common/Events.h"
#include "media/Wave.h"

namespace kelvra {

constexpr int kSoundCount = 27;
constexpr int kSoundMarks = 128;  // requested ids are taken modulo this
// Files relative to the sound folder "Sounds\", without ".wav".
extern const char* const kSoundFiles[kSoundCount];

// Output rates the sound output accepts, in Hz.
constexpr int kOutputMinRate = 4000;
constexpr int kOutputMaxRate = 192000;

struct TSounds {
  std::shared_ptr<const TWave> wave[kSoundCount];  // empty: missing or unreadable file
  uint8_t mark[kSoundMarks] = {};  // id requested since the start of the drawn frame
  bool outputOpen = false;         // the platform's sound output took the stream
  bool formatReported = false;     // a refused output format was reported in this run
};
extern TSounds gSounds;

// Loads every table entry from the program's sound folder. Problems are reported here,
// once: each damaged file with its own message, 4-bit waves (kept, never played) as
// "Invalid wave format", and missing files with one "Wave is empty" for the first of them.
void LoadSounds();
void FreeSounds();

// Requests effect `id` for a thing at horizontal position `x` in the own units of `kind`
// (kSoundNoPlace: centred, both channels at 512). Plays nothing, and never shows a
// dialog, for an empty slot, a wave that cannot play or a closed output.
void PlaySound(int kind, int id, int x = kSoundNoPlace);
void ClearSoundMarks();  // at the start of every drawn frame

// The stereo position 0..1024 across the play field of `kind` (limited to the field).
int SoundPosition(int kind, int x);
// The left and right volumes (1/1024) of a request, from the stereo option.
void SoundVolumes(int kind, int x, int& left, int& right);

// Opens the platform's sound output in the format of the options (closing it first when
// open); false when the format or the device was refused, already reported.
bool OpenSoundOutput();
void CloseSoundOutput();  // ends every effect and releases the device
void StopSounds();        // ends every effect; the output stays open

}  // namespace kelvra
