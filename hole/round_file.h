// The round file: the round in progress kept on disk after every stroke, so a round can be
// resumed after the game was closed or died. It holds the putts of the hole in play, not the
// physics: the physics plays the same putts the same way, so replaying them puts every ball
// back where it lay. The format is described beside its reader in round_file.cpp.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "hole/round_state.h"

constexpr int ROUND_FILE_VERSION = 1;
constexpr const char* ROUND_FILE_NAME = "round_in_play.rnd";
constexpr long ROUND_FILE_MAX_BYTES = 1L << 20;     // a file larger than this is not ours
constexpr int ROUND_LINE_MAX = 4200;                // characters of one line
constexpr int ROUND_PATH_MAX = 4096;                // characters of the course path
constexpr int ROUND_EVENTS_MAX = 20000;             // aims, putts and pick-ups of one hole
constexpr int ROUND_SCORE_MAX = 9999;               // strokes of one hole
constexpr long ROUND_STEPS_MAX = 100000000L;        // ball steps of one hole (over 100 hours)

// What happened on the hole, at a ball step counted from the hole's start.
enum class RoundEventKind {
    Aim = 0,      // before step `step`: aiming began (clicks 1) or ended without a putt (clicks 0)
    Putt = 1,     // in step `step`: the putter struck player's ball along angle with power
    PickUp = 2,   // before step `step`: player picked the ball up
    Settle = 3,   // before step `step`: the balls' rotations were settled (a replay began)
    Skip = 4,     // before step `step`: player's time for the turn ran out; the turn passed
};

struct RoundEvent {
    RoundEventKind kind = RoundEventKind::Putt;
    long step = 0;        // ball steps since the hole started (the putt's own step for Putt)
    int player = 1;       // 1-based (Putt, PickUp, Skip)
    int clicks = 0;       // 0 or 1 (Aim)
    float angle = 0.0f;   // degrees (Putt)
    float power = 0.0f;   // struck power 1..54 (Putt)
};

// One seat of the round.
struct RoundSeat {
    std::string name;          // 1..13 characters
    int ballColour = 1;        // 1..11
    Seat seat = Seat::Person;  // a person or the computer at a level
};

struct RoundFile {
    std::string coursePath;                       // the course file as it was opened
    unsigned long long courseHash = 0;            // hash_bytes of its contents
    int holeCount = 0;                            // holes of the course, 1..18
    unsigned long long roundSeed = 0;             // the round's dice
    GoToHoleMode mode = GoToHoleMode::Scored;     // Scored or Moved
    bool aimGuideUsed = false;                    // the aim guide was shown in the round
    std::vector<RoundSeat> seats;                 // 1..4 players in playing order
    int scoreTable[MAX_PLAYERS][MAX_HOLES] = {};  // as the score card holds it
    int hole = 1;                                 // the hole in play, 1..holeCount
    // How the hole began: the blocks' phase and, per ball, where it last rested and how it
    // was turned (the balls carry both from hole to hole).
    int startOscillation = 1;
    float lastRest[MAX_PLAYERS][3] = {};
    double quaternion[MAX_PLAYERS][4] = {{1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}};
    std::vector<RoundEvent> events;               // in playing order
    // Where the hole stood when the file was written.
    long steps = 0;                               // ball steps played on the hole
    int currentPlayer = 1;                        // player on turn
    int holeStrokes[MAX_PLAYERS] = {};            // strokes on the hole so far
    std::string seatToken;                        // a network joiner's seat secret, else empty
};

// The level names a seat is written as: "person", "novice", "club", "expert".
const char* seat_file_word(Seat seat);

// The file's text.
std::string format_round_file(const RoundFile& round);
// Reads a round file's text. False with a message on anything malformed, out of range, too
// long or of another version; out is then unspecified.
bool parse_round_file(std::string_view text, RoundFile& out, std::string* error);

// Reads the file at path (at most ROUND_FILE_MAX_BYTES) and parses it.
bool read_round_file(const std::string& path, RoundFile& out, std::string* error);
// Writes the file atomically (a temporary file renamed over it).
bool write_round_file(const std::string& path, const RoundFile& round, std::string* error);

// A 64-bit FNV-1a hash of bytes.
unsigned long long hash_bytes(std::string_view bytes);
// The hash of the file at path; false with a message when it cannot be read.
bool hash_file(const std::string& path, unsigned long long& hash, std::string* error);
// True when the round's course file is still there with the same contents; else false and why.
bool round_course_unchanged(const RoundFile& round, std::string* error);
