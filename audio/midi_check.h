// Checking that bytes are a Standard MIDI File before handing them to the synthesiser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// True when data holds an "MThd" header of 6 bytes (format 0..2, 1 to 127 tracks, a division
// in ticks per quarter note, not SMPTE frames) followed by as many "MTrk" chunks as it
// announces and no other chunk, every chunk lying within the data, and each track a run of
// well-formed events within its chunk (channel messages, meta events of their proper lengths,
// system exclusive) ending with End of Track, the longest track lasting at least one tick.
// False with *why set otherwise. The synthesiser loops on anything less without end.
bool check_midi_file(const uint8_t* data, size_t size, std::string* why);
