// Shared inside the audio folder: failure reporting with its per-load limit.
#pragma once

#include <string>

// Writes "audio: text (detail)" to stderr and shows text with caption through the message
// handler, unless this text was already shown since the last begin_audio_message_pass.
void report_audio_failure(const char* text, const char* caption, const std::string& detail);
// A line on stderr only.
void log_audio(const std::string& line);
// Starts a new load: each text may be shown once again.
void begin_audio_message_pass();
