#include <cstdio>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "audio/audio_local.h"

static AudioMessageHandler messageHandler = nullptr;
static std::vector<std::string> shownThisPass;

void set_audio_message_handler(AudioMessageHandler handler) { messageHandler = handler; }

void begin_audio_message_pass() { shownThisPass.clear(); }

void log_audio(const std::string& line) { std::fprintf(stderr, "audio: %s\n", line.c_str()); }

void report_audio_failure(const char* text, const char* caption, const std::string& detail)
{
    log_audio(detail.empty() ? std::string(text) : std::string(text) + " (" + detail + ")");
    if (!messageHandler) return;
    for (const std::string& shown : shownThisPass) {
        if (shown == text) return;
    }
    shownThisPass.emplace_back(text);
    messageHandler(text, caption);
}
