// Shared inside the audio folder: failure reporting with its per-load limit.
#pragma once

#include <string>

// Writes "audio: text (detail)" to stderr. Within a load (between begin_audio_message_pass
// and end_audio_message_pass) the failure is kept for that load's one message, once per file
// (detail "path: reason" names the file); outside one, text and caption are shown at once.
void report_audio_failure(const char* text, const char* caption, const std::string& detail);
// A line on stderr only.
void log_audio(const std::string& line);
// Starts a load: its failures are gathered from here on.
void begin_audio_message_pass();
// Ends the load: one message through the handler lists every file that failed and why.
void end_audio_message_pass();
