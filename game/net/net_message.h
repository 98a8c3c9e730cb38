// The messages of network play and their framing. Every message is a frame: the protocol
// version (one byte), the type (one byte), the payload's length (four bytes, little-endian)
// and the payload. Each type has a hard bound on its length; the reader refuses a frame whose
// header is wrong or whose length passes the bound before it waits for a byte of it. No
// window code and no sockets: the readers and writers work on bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hole/round_file.h"
#include "hole/round_state.h"

constexpr int NET_PROTOCOL_VERSION = 3;
constexpr size_t NET_HEADER_BYTES = 6;
constexpr size_t NET_COURSE_CHUNK_BYTES = 32768;     // course bytes in one chunk at most
constexpr size_t NET_BYE_TEXT_MAX = 200;             // characters of a farewell's reason
constexpr int NET_MAX_MACHINES = 4;                  // the host and three joiners
constexpr size_t NET_TOKEN_CHARS = 32;
constexpr size_t NET_COURSE_NAME_MAX = 64;               // a seat's secret: 128 random bits in hex

enum class NetType : uint8_t {
    Hello = 1,         // joiner → host: the joining machine's players
    Lobby = 2,         // host → all: who has joined, and which machine the receiver is
    CourseChunk = 3,   // host → joiner: a piece of the course archive
    CourseEnd = 4,     // host → joiner: the archive's size and hash; it is complete
    CourseReady = 5,   // joiner → host: the course is unpacked and read
    Start = 6,         // host → all: the round begins
    Putt = 7,          // the player on turn's aims, putts, pick-ups and skips, as the round file keeps them
    Rest = 8,          // all → host: the hash of the balls once they rest after a stroke
    Resync = 9,        // host → one: the host's resting balls, to continue from
    Bye = 10,          // either way: leaving, with the reason
    RoundState = 11,   // host → a machine come back: the round so far, as the round file holds it
    Ping = 12,         // host → all: nothing else to say, but still here
    StateWanted = 13,  // joiner → host: this machine cannot follow the round; it wants the host's state
};

// The longest payload each type may have (0 for an unknown type).
size_t net_payload_bound(uint8_t type);

struct NetFrame {
    NetType type = NetType::Bye;
    std::string payload;
};

// Bytes as they arrive, cut into frames. Frames are taken from `start` on; the bytes before it
// are dropped only once they are most of the buffer, so many small frames cost no copying.
struct NetFrameReader {
    std::string buffer;
    size_t start = 0;
};

enum class NetRead {
    Frame,      // out holds the next frame
    NeedMore,   // the next frame has not fully arrived
    Bad,        // wrong version, unknown type or a length past its bound: drop the peer
};

// Adds bytes that arrived.
void net_feed(NetFrameReader& reader, const char* data, size_t size);
// Takes the next whole frame; why says what was wrong when Bad.
NetRead net_next_frame(NetFrameReader& reader, NetFrame& out, std::string* why);

// A frame's bytes for a payload (which must be within its type's bound).
std::string net_frame_bytes(NetType type, const std::string& payload);

struct NetHello {
    int version = NET_PROTOCOL_VERSION;
    std::vector<std::string> names;   // 1..4 player names of the machine
    std::string token;                // the seat's secret when coming back to a round, else empty
};

struct NetLobbySeat {
    std::string name;
    int machine = 0;   // 0 the host, 1..3 the joiners in order
};

struct NetLobby {
    int yourMachine = 0;               // the receiver's machine number
    std::vector<NetLobbySeat> seats;   // 0..4, in playing order
    std::string yourToken;             // the receiver's seat secret (NET_TOKEN_CHARS hex digits)
    int turnSeconds = 0;               // the host's time limit on each turn so far (see net_turn_seconds_valid)
};

struct NetCourseChunk {
    uint32_t offset = 0;     // where the bytes go in the archive
    std::string bytes;       // 1..NET_COURSE_CHUNK_BYTES
};

struct NetCourseEnd {
    uint64_t size = 0;       // the archive's length
    uint64_t hash = 0;       // hash_bytes of the archive
    std::string name;        // the course file's own name ("two.cor"); see net_course_name_valid
};

// The shortest and longest time a host may give each turn, in seconds.
constexpr int NET_TURN_SECONDS_MIN = 5;
constexpr int NET_TURN_SECONDS_MAX = 3600;
// 0 (no limit) or NET_TURN_SECONDS_MIN..NET_TURN_SECONDS_MAX.
inline bool net_turn_seconds_valid(int seconds)
{
    return seconds == 0 || (seconds >= NET_TURN_SECONDS_MIN && seconds <= NET_TURN_SECONDS_MAX);
}

struct NetStart {
    uint64_t roundSeed = 0;
    bool rejoin = false;     // the round is under way: its state follows (RoundState)
    int turnSeconds = 0;     // each turn's time limit (see net_turn_seconds_valid); 0 none
};

struct NetRoundState {
    int rests = 0;           // strokes come to rest on the hole so far
    std::string roundFile;   // the round file's text (format_round_file)
};

// One event of the hole in play (the round file's RoundEvent), with the hole it belongs to.
struct NetPutt {
    int hole = 1;
    RoundEventKind kind = RoundEventKind::Putt;
    long step = 0;
    int player = 1;
    int clicks = 0;
    int stroke = 0;          // the player's stroke on the hole this putt makes (Putt)
    double angle = 0;        // exact as struck
    double power = 0;
};

struct NetRest {
    int hole = 1;
    int strike = 0;          // strikes and pick-ups on the hole so far
    uint64_t hash = 0;
};

struct NetBallRest {
    double position[3] = {};
    double quaternion[4] = {1, 0, 0, 0};
    double linear[3] = {};
    double angular[3] = {};
    float lastRest[3] = {};
    double stuckAnchor[3] = {};
    int stuckSteps = 0;
    int restSteps = 0;
    bool atRest = true;
    bool holedOut = false;
};

struct NetResync {
    int hole = 1;
    int strike = 0;
    long step = 0;           // the hole's ball step (a frame's start) the balls are taken at
    std::vector<NetBallRest> balls;   // 1..4
};

std::string encode_hello(const NetHello& m);
std::string encode_lobby(const NetLobby& m);
std::string encode_course_chunk(const NetCourseChunk& m);
std::string encode_course_end(const NetCourseEnd& m);
std::string encode_start(const NetStart& m);
std::string encode_putt(const NetPutt& m);
std::string encode_rest(const NetRest& m);
std::string encode_resync(const NetResync& m);
// A farewell: sentAway when the host turns the receiver away (refused or dropped), else leaving.
std::string encode_bye(const std::string& reason, bool sentAway = false);
std::string encode_round_state(const NetRoundState& m);

// Each reads a whole payload: false on anything short, long, out of range or trailing.
bool decode_hello(const std::string& payload, NetHello& out);
bool decode_lobby(const std::string& payload, NetLobby& out);
bool decode_course_chunk(const std::string& payload, NetCourseChunk& out);
bool decode_course_end(const std::string& payload, NetCourseEnd& out);
bool decode_start(const std::string& payload, NetStart& out);
bool decode_putt(const std::string& payload, NetPutt& out);
bool decode_rest(const std::string& payload, NetRest& out);
bool decode_resync(const std::string& payload, NetResync& out);
bool decode_bye(const std::string& payload, std::string& reason, bool* sentAway = nullptr);
bool decode_round_state(const std::string& payload, NetRoundState& out);

// A player name as the player dialog allows it: 1..MAX_NAME_LENGTH of its characters.
bool net_name_valid(const std::string& name);
// A course file name a joiner may keep the course under: 1..NET_COURSE_NAME_MAX letters, digits,
// spaces, '-', '_' and '.', not beginning with '.' or a space, ending in ".cor".
bool net_course_name_valid(const std::string& name);
// A seat secret as the host makes them: NET_TOKEN_CHARS lowercase hex digits.
bool net_token_valid(const std::string& token);
