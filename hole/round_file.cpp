// Writing and reading the round file.
//
// The round file is ASCII text, one record per line ending in '\n', in this order:
//
//   minigolf round 1                      the format and its version
//   course HASH PATH                      16 hex digits of the course file's FNV-1a hash, then
//                                         its path as opened (the rest of the line)
//   holes N                               holes of the course, 1..18
//   seed S                                the round's seed, decimal
//   mode M                                0 a scored round, 2 moved by Go To Hole
//   guide G                               1 when the aim guide was used in the round, else 0
//   player SEAT COLOUR NAME               one line per player in playing order (1..4): SEAT is
//                                         person, novice, club or expert; COLOUR 1..11; NAME
//                                         the rest of the line, 1..13 printable characters
//   score S1 ... S18                      one line per player: strokes per hole, 0 = not played
//   hole H                                the hole in play, 1..N
//   start T                               the blocks' phase when the hole started, 1..480
//   ball K X Y Z QW QX QY QZ              one line per player's ball K (1-based): where it
//                                         last rested (float) and its rotation (double) when
//                                         the hole started
//   aim STEP CLICKS                       any number of aim, putt, pickup, settle and skip
//   putt STEP PLAYER ANGLE POWER          lines, in the order they happened, STEP counted in
//   pickup STEP PLAYER                    ball steps from the hole's start (see RoundEventKind)
//   settle STEP
//   skip STEP PLAYER                      (network play with a time limit on each turn)
//   at STEPS PLAYER K1 K2 K3 K4           ball steps played on the hole when written, the
//                                         player on turn and the four players' strokes on it
//   seat TOKEN                            only in a round joined over the network: the secret
//                                         (32 lowercase hex digits) that gets its seats back
//   end
//
// Floats are written with 9 significant digits and doubles with 17, which read back to the
// same value. The reader refuses anything else: a line out of order or too long, a number
// out of range, a file over ROUND_FILE_MAX_BYTES or of another version.
#include "hole/round_file.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/fs.h"

namespace {

constexpr int SEAT_COUNT = 4;
const char* const SEAT_NAMES[SEAT_COUNT] = {"person", "novice", "club", "expert"};
constexpr double FLOAT_LIMIT = 1e7;   // positions and angles are far below this

void append_format(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void append_format(std::string& out, const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out += buffer;
}

// Hands out the text one line at a time and splits lines into words.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line without its '\n'; false at the end or on a line too long or not ended.
    bool next(std::string_view& line, std::string* error)
    {
        if (at_ >= text_.size()) return fail(error, "the file ends early");
        size_t end = text_.find('\n', at_);
        if (end == std::string_view::npos) return fail(error, "the last line is not complete");
        if (end - at_ > static_cast<size_t>(ROUND_LINE_MAX)) return fail(error, "a line is too long");
        line = text_.substr(at_, end - at_);
        at_ = end + 1;
        ++lineNumber_;
        return true;
    }
    int line_number() const { return lineNumber_; }
    bool at_end() const { return at_ >= text_.size(); }

private:
    static bool fail(std::string* error, const char* why)
    {
        if (error) *error = why;
        return false;
    }
    std::string_view text_;
    size_t at_ = 0;
    int lineNumber_ = 0;
};

// Splits off the next blank-separated word of rest.
std::string_view take_word(std::string_view& rest)
{
    size_t start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    size_t end = rest.find(' ', start);
    std::string_view word = rest.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return word;
}

bool to_long(std::string_view word, long long low, long long high, long long& out)
{
    if (word.empty() || word.size() > 20) return false;
    char buffer[24];
    std::memcpy(buffer, word.data(), word.size());
    buffer[word.size()] = '\0';
    if (!(buffer[0] == '-' || (buffer[0] >= '0' && buffer[0] <= '9'))) return false;
    char* stop = nullptr;
    errno = 0;
    long long value = std::strtoll(buffer, &stop, 10);
    if (errno != 0 || *stop != '\0' || value < low || value > high) return false;
    out = value;
    return true;
}

bool to_unsigned(std::string_view word, int base, unsigned long long& out)
{
    if (word.empty() || word.size() > 20) return false;
    char buffer[24];
    std::memcpy(buffer, word.data(), word.size());
    buffer[word.size()] = '\0';
    for (size_t k = 0; k < word.size(); ++k)
        if (!std::isxdigit(static_cast<unsigned char>(buffer[k])) || (base == 10 && !std::isdigit(static_cast<unsigned char>(buffer[k]))))
            return false;
    char* stop = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(buffer, &stop, base);
    if (errno != 0 || *stop != '\0') return false;
    out = value;
    return true;
}

bool to_double(std::string_view word, double limit, double& out)
{
    if (word.empty() || word.size() > 40) return false;
    char buffer[48];
    std::memcpy(buffer, word.data(), word.size());
    buffer[word.size()] = '\0';
    for (size_t k = 0; k < word.size(); ++k) {
        const char c = buffer[k];
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'))
            return false;   // no hex floats, infinities or NaNs
    }
    char* stop = nullptr;
    errno = 0;
    double value = std::strtod(buffer, &stop);
    if (*stop != '\0' || !std::isfinite(value) || std::fabs(value) > limit) return false;
    out = value;
    return true;
}

bool to_float(std::string_view word, double limit, float& out)
{
    double value = 0;
    if (!to_double(word, limit, value)) return false;
    // Read as a float directly, so the text of a float comes back as that very float.
    char buffer[48];
    std::memcpy(buffer, word.data(), word.size());
    buffer[word.size()] = '\0';
    out = std::strtof(buffer, nullptr);
    return std::isfinite(out);
}

// Reads the next line and checks its first word; rest is what follows it.
bool expect_line(LineReader& reader, const char* key, std::string_view& rest, std::string* error)
{
    std::string_view line;
    if (!reader.next(line, error)) return false;
    std::string_view word = take_word(line);
    if (word != key) {
        if (error) *error = "line " + std::to_string(reader.line_number()) + ": '" + key + "' expected";
        return false;
    }
    rest = line;
    return true;
}

bool seat_token_valid(const std::string& token)
{
    if (token.size() != 32) return false;
    for (char c : token)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

bool bad_line(const LineReader& reader, const char* what, std::string* error)
{
    if (error) *error = "line " + std::to_string(reader.line_number()) + ": " + what;
    return false;
}

bool printable(std::string_view text)
{
    for (char c : text)
        if (c < 0x20 || c > 0x7e) return false;
    return true;
}

// Reads one number line "KEY N" with N in low..high.
bool number_line(LineReader& reader, const char* key, long long low, long long high, long long& out, std::string* error)
{
    std::string_view rest;
    if (!expect_line(reader, key, rest, error)) return false;
    if (!to_long(take_word(rest), low, high, out) || !take_word(rest).empty())
        return bad_line(reader, (std::string(key) + " out of range").c_str(), error);
    return true;
}

bool read_event(std::string_view word, std::string_view rest, const RoundFile& round, RoundEvent& event)
{
    long long step = 0, value = 0;
    if (!to_long(take_word(rest), 0, ROUND_STEPS_MAX, step)) return false;
    event.step = static_cast<long>(step);
    const int players = static_cast<int>(round.seats.size());
    if (word == "aim") {
        event.kind = RoundEventKind::Aim;
        if (!to_long(take_word(rest), 0, 1, value)) return false;
        event.clicks = static_cast<int>(value);
    } else if (word == "putt") {
        event.kind = RoundEventKind::Putt;
        if (!to_long(take_word(rest), 1, players, value)) return false;
        event.player = static_cast<int>(value);
        if (!to_float(take_word(rest), 720.0, event.angle)) return false;
        if (!to_float(take_word(rest), MAX_POWER, event.power) || event.power < 1.0f) return false;
        if (event.step < 1) return false;   // a putt strikes in a step, the first is 1
    } else if (word == "settle") {
        event.kind = RoundEventKind::Settle;
    } else if (word == "pickup" || word == "skip") {
        event.kind = word == "skip" ? RoundEventKind::Skip : RoundEventKind::PickUp;
        if (!to_long(take_word(rest), 1, players, value)) return false;
        event.player = static_cast<int>(value);
    } else {
        return false;
    }
    return take_word(rest).empty();
}

}  // namespace

const char* seat_file_word(Seat seat)
{
    const int k = static_cast<int>(seat);
    return k >= 0 && k < SEAT_COUNT ? SEAT_NAMES[k] : SEAT_NAMES[0];
}

std::string format_round_file(const RoundFile& round)
{
    std::string out;
    append_format(out, "minigolf round %d\n", ROUND_FILE_VERSION);
    append_format(out, "course %016llx ", round.courseHash);
    out += round.coursePath;
    out += '\n';
    append_format(out, "holes %d\nseed %llu\nmode %d\nguide %d\n", round.holeCount, round.roundSeed,
                  static_cast<int>(round.mode), round.aimGuideUsed ? 1 : 0);
    for (const RoundSeat& seat : round.seats) {
        append_format(out, "player %s %d ", seat_file_word(seat.seat), seat.ballColour);
        out += seat.name;
        out += '\n';
    }
    for (size_t p = 0; p < round.seats.size() && p < MAX_PLAYERS; ++p) {
        out += "score";
        for (int h = 0; h < MAX_HOLES; ++h) append_format(out, " %d", round.scoreTable[p][h]);
        out += '\n';
    }
    append_format(out, "hole %d\nstart %d\n", round.hole, round.startOscillation);
    for (size_t k = 0; k < round.seats.size() && k < MAX_PLAYERS; ++k) {
        const float* r = round.lastRest[k];
        const double* q = round.quaternion[k];
        append_format(out, "ball %zu %.9g %.9g %.9g %.17g %.17g %.17g %.17g\n", k + 1, r[0], r[1], r[2], q[0], q[1], q[2],
                      q[3]);
    }
    for (const RoundEvent& event : round.events) {
        switch (event.kind) {
        case RoundEventKind::Aim: append_format(out, "aim %ld %d\n", event.step, event.clicks); break;
        case RoundEventKind::Putt:
            append_format(out, "putt %ld %d %.9g %.9g\n", event.step, event.player, event.angle, event.power);
            break;
        case RoundEventKind::PickUp: append_format(out, "pickup %ld %d\n", event.step, event.player); break;
        case RoundEventKind::Settle: append_format(out, "settle %ld\n", event.step); break;
        case RoundEventKind::Skip: append_format(out, "skip %ld %d\n", event.step, event.player); break;
        }
    }
    append_format(out, "at %ld %d %d %d %d %d\n", round.steps, round.currentPlayer, round.holeStrokes[0],
                  round.holeStrokes[1], round.holeStrokes[2], round.holeStrokes[3]);
    if (seat_token_valid(round.seatToken)) out += "seat " + round.seatToken + "\n";
    out += "end\n";
    return out;
}

bool parse_round_file(std::string_view text, RoundFile& out, std::string* error)
{
    out = RoundFile{};
    if (text.size() > static_cast<size_t>(ROUND_FILE_MAX_BYTES)) {
        if (error) *error = "the file is too large to be a round file";
        return false;
    }
    LineReader reader(text);
    std::string_view rest;
    long long value = 0;

    if (!expect_line(reader, "minigolf", rest, error)) return false;
    if (take_word(rest) != "round") return bad_line(reader, "not a round file", error);
    if (!to_long(take_word(rest), 0, 1000000, value) || !take_word(rest).empty())
        return bad_line(reader, "not a round file", error);
    if (value != ROUND_FILE_VERSION) {
        if (error) *error = "a round file of another version (" + std::to_string(value) + ")";
        return false;
    }

    if (!expect_line(reader, "course", rest, error)) return false;
    std::string_view hash = take_word(rest);
    if (hash.size() != 16 || !to_unsigned(hash, 16, out.courseHash)) return bad_line(reader, "bad course hash", error);
    if (rest.empty() || rest.size() > static_cast<size_t>(ROUND_PATH_MAX) || !printable(rest))
        return bad_line(reader, "bad course path", error);
    out.coursePath = std::string(rest);

    if (!number_line(reader, "holes", 1, MAX_HOLES, value, error)) return false;
    out.holeCount = static_cast<int>(value);
    if (!expect_line(reader, "seed", rest, error)) return false;
    if (!to_unsigned(take_word(rest), 10, out.roundSeed) || !take_word(rest).empty())
        return bad_line(reader, "bad seed", error);
    if (!number_line(reader, "mode", 0, 2, value, error)) return false;
    if (value == 1) return bad_line(reader, "bad mode", error);
    out.mode = static_cast<GoToHoleMode>(value);
    if (!number_line(reader, "guide", 0, 1, value, error)) return false;
    out.aimGuideUsed = value == 1;

    // The players, then a score line for each.
    std::string_view line;
    if (!reader.next(line, error)) return false;
    while (take_word(rest = line) == "player") {
        take_word(line);
        if (out.seats.size() >= static_cast<size_t>(MAX_PLAYERS)) return bad_line(reader, "more than four players", error);
        RoundSeat seat;
        std::string_view seatWord = take_word(line);
        int level = -1;
        for (int k = 0; k < SEAT_COUNT; ++k)
            if (seatWord == SEAT_NAMES[k]) level = k;
        if (level < 0) return bad_line(reader, "unknown seat", error);
        seat.seat = static_cast<Seat>(level);
        if (!to_long(take_word(line), 1, 11, value)) return bad_line(reader, "bad ball colour", error);
        seat.ballColour = static_cast<int>(value);
        if (line.empty() || line.size() > static_cast<size_t>(MAX_NAME_LENGTH) || !printable(line) || line[0] == ' ')
            return bad_line(reader, "bad player name", error);
        seat.name = std::string(line);
        out.seats.push_back(seat);
        if (!reader.next(line, error)) return false;
    }
    if (out.seats.empty()) return bad_line(reader, "no players", error);
    for (size_t p = 0; p < out.seats.size(); ++p) {
        if (p > 0 && !reader.next(line, error)) return false;
        if (take_word(line) != "score") return bad_line(reader, "'score' expected", error);
        for (int h = 0; h < MAX_HOLES; ++h) {
            if (!to_long(take_word(line), 0, ROUND_SCORE_MAX, value)) return bad_line(reader, "bad score", error);
            out.scoreTable[p][h] = static_cast<int>(value);
        }
        if (!take_word(line).empty()) return bad_line(reader, "too many scores", error);
    }

    if (!number_line(reader, "hole", 1, out.holeCount, value, error)) return false;
    out.hole = static_cast<int>(value);
    if (!number_line(reader, "start", 1, 480, value, error)) return false;
    out.startOscillation = static_cast<int>(value);
    for (size_t k = 0; k < out.seats.size(); ++k) {
        if (!expect_line(reader, "ball", rest, error)) return false;
        if (!to_long(take_word(rest), static_cast<long long>(k + 1), static_cast<long long>(k + 1), value))
            return bad_line(reader, "balls out of order", error);
        for (int c = 0; c < 3; ++c)
            if (!to_float(take_word(rest), FLOAT_LIMIT, out.lastRest[k][c])) return bad_line(reader, "bad ball position", error);
        for (int c = 0; c < 4; ++c)
            if (!to_double(take_word(rest), 1.5, out.quaternion[k][c])) return bad_line(reader, "bad ball rotation", error);
        if (!take_word(rest).empty()) return bad_line(reader, "too many numbers", error);
    }

    // The hole's events until the closing "at" line.
    long lastStep = 0;
    for (;;) {
        if (!reader.next(line, error)) return false;
        rest = line;
        std::string_view word = take_word(rest);
        if (word == "at") break;
        if (out.events.size() >= static_cast<size_t>(ROUND_EVENTS_MAX)) return bad_line(reader, "too many putts", error);
        RoundEvent event;
        if (!read_event(word, rest, out, event)) return bad_line(reader, "bad aim, putt or pickup", error);
        if (event.step < lastStep) return bad_line(reader, "events out of order", error);
        lastStep = event.step;
        out.events.push_back(event);
    }
    if (!to_long(take_word(rest), lastStep, ROUND_STEPS_MAX, value)) return bad_line(reader, "bad step count", error);
    out.steps = static_cast<long>(value);
    if (!to_long(take_word(rest), 1, static_cast<long long>(out.seats.size()), value))
        return bad_line(reader, "bad player on turn", error);
    out.currentPlayer = static_cast<int>(value);
    for (int& strokes : out.holeStrokes) {
        if (!to_long(take_word(rest), 0, ROUND_SCORE_MAX, value)) return bad_line(reader, "bad stroke count", error);
        strokes = static_cast<int>(value);
    }
    if (!take_word(rest).empty()) return bad_line(reader, "too many numbers", error);
    if (!reader.next(line, error)) return false;
    rest = line;
    std::string_view word = take_word(rest);
    if (word == "seat") {
        out.seatToken = std::string(take_word(rest));
        if (!seat_token_valid(out.seatToken) || !rest.empty()) return bad_line(reader, "bad seat", error);
        if (!reader.next(line, error)) return false;
        rest = line;
        word = take_word(rest);
    }
    if (word != "end") {
        if (error) *error = "line " + std::to_string(reader.line_number()) + ": 'end' expected";
        return false;
    }
    if (!rest.empty() || !reader.at_end()) return bad_line(reader, "text after the end", error);
    return true;
}

bool read_round_file(const std::string& path, RoundFile& out, std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (error) *error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buffer[8192];
    size_t n = 0;
    bool tooLarge = false;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (text.size() + n > static_cast<size_t>(ROUND_FILE_MAX_BYTES)) {
            tooLarge = true;
            break;
        }
        text.append(buffer, n);
    }
    std::fclose(file);
    if (tooLarge) {
        if (error) *error = path + " is too large to be a round file";
        return false;
    }
    std::string why;
    if (!parse_round_file(text, out, &why)) {
        if (error) *error = path + ": " + why;
        return false;
    }
    return true;
}

bool write_round_file(const std::string& path, const RoundFile& round, std::string* error)
{
    return write_file_atomic(path, format_round_file(round), error);
}

unsigned long long hash_bytes(std::string_view bytes)
{
    unsigned long long hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

bool hash_file(const std::string& path, unsigned long long& hash, std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (error) *error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    hash = 14695981039346656037ull;
    unsigned char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        for (size_t k = 0; k < n; ++k) {
            hash ^= buffer[k];
            hash *= 1099511628211ull;
        }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed && error) *error = "cannot read " + path;
    return !failed;
}

bool round_course_unchanged(const RoundFile& round, std::string* error)
{
    unsigned long long hash = 0;
    std::string why;
    if (!hash_file(round.coursePath, hash, &why)) {
        if (error) *error = "The round's course is missing: " + why;
        return false;
    }
    if (hash != round.courseHash) {
        if (error) *error = "The round's course " + round.coursePath + " has changed since the round began.";
        return false;
    }
    return true;
}
