// Checking that bytes are a Standard MIDI File before handing them to the synthesiser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// True when data holds an "MThd" header of at least 6 bytes (format 0..2, at least one track,
// a non-zero division) followed by as many "MTrk" chunks as it announces, every chunk lying
// within the data. Other chunks between tracks are skipped. False with *why set otherwise.
bool check_midi_file(const uint8_t* data, size_t size, std::string* why);
