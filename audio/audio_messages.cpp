// Audio failures: every one on stderr, and the files that failed in one load gathered into
// a single message for the player.
#include <cstdio>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "audio/audio_local.h"
#include "platform/fs.h"

namespace {

constexpr size_t MAX_LINES_SHOWN = 12;   // more would not fit the window; the rest are counted
constexpr size_t MAX_LINE_LENGTH = 72;

struct Failure {
    std::string file;   // the path of the file that failed, or "" when the failure names none
    std::string line;   // what the message says of it
};

AudioMessageHandler messageHandler = nullptr;
bool passOpen = false;
std::vector<Failure> failures;   // this load's, one per file

// "sounds/putt.wav: no RIFF header" -> file "sounds/putt.wav", reason "no RIFF header". A
// detail that starts with no path or file name (a mixer's own words) gives no file.
void split_detail(const std::string& detail, std::string& file, std::string& reason)
{
    const size_t colon = detail.find(": ");
    const std::string head = detail.substr(0, colon);
    const bool namesFile = head.find('/') != std::string::npos ||
                           (head.find('.') != std::string::npos && head.find(' ') == std::string::npos);
    file = namesFile ? head : std::string();
    reason = namesFile ? (colon == std::string::npos ? std::string() : detail.substr(colon + 2)) : detail;
    // the dialog font has no colon
    for (size_t at = reason.find(':'); at != std::string::npos; at = reason.find(':', at)) reason[at] = '-';
}

}  // namespace

void set_audio_message_handler(AudioMessageHandler handler) { messageHandler = handler; }

void begin_audio_message_pass()
{
    passOpen = true;
    failures.clear();
}

void end_audio_message_pass()
{
    passOpen = false;
    if (failures.empty() || !messageHandler) {
        failures.clear();
        return;
    }
    std::string text = failures.size() == 1 ? "A sound file could not be loaded, so it stays silent."
                                            : "These sound files could not be loaded, so they stay silent.";
    for (size_t k = 0; k < failures.size() && k < MAX_LINES_SHOWN; ++k) text += "\n     " + failures[k].line;
    if (failures.size() > MAX_LINES_SHOWN)
        text += "\n     and " + std::to_string(failures.size() - MAX_LINES_SHOWN) + " more";
    failures.clear();
    messageHandler(text.c_str(), "Sound Files");
}

void log_audio(const std::string& line) { std::fprintf(stderr, "audio: %s\n", line.c_str()); }

void report_audio_failure(const char* text, const char* caption, const std::string& detail)
{
    log_audio(detail.empty() ? std::string(text) : std::string(text) + " (" + detail + ")");
    if (!messageHandler) return;
    if (!passOpen) {
        messageHandler(text, caption);
        return;
    }
    std::string file, reason;
    split_detail(detail, file, reason);
    // The first failure of a file says why; what follows from it ("Load file failed") does not.
    for (const Failure& failure : failures) {
        if (file.empty() ? failure.line.rfind(text, 0) == 0 : failure.file == file) return;
    }
    std::string line = file.empty() ? std::string(text) : base_name(file) + " - " + text;
    if (!reason.empty()) line += " (" + reason + ")";
    if (line.size() > MAX_LINE_LENGTH) line = line.substr(0, MAX_LINE_LENGTH - 3) + "...";
    failures.push_back({file, line});
}
