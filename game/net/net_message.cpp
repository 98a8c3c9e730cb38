#include "game/net/net_message.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <string_view>

#include "game/rules/player_setup.h"

namespace {

constexpr size_t NAME_FIELD_MAX = 1 + MAX_NAME_LENGTH;
constexpr size_t BALL_REST_BYTES = 16 * 8 + 5 * 4 + 2;

// Little-endian values appended to a payload.
struct Writer {
    std::string out;
    void u8(unsigned v) { out.push_back(static_cast<char>(v & 0xff)); }
    void u16(unsigned v)
    {
        u8(v & 0xff);
        u8((v >> 8) & 0xff);
    }
    void u32(uint32_t v)
    {
        for (int k = 0; k < 4; ++k) u8((v >> (8 * k)) & 0xff);
    }
    void u64(uint64_t v)
    {
        for (int k = 0; k < 8; ++k) u8(static_cast<unsigned>((v >> (8 * k)) & 0xff));
    }
    void f64(double v)
    {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u64(bits);
    }
    void f32(float v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void text(const std::string& s)
    {
        u8(static_cast<unsigned>(s.size()));
        out += s;
    }
};

// Reads a payload; once anything is short or wrong, ok stays false and reads give zeros.
struct Reader {
    const std::string& in;
    size_t at = 0;
    bool ok = true;
    bool take(size_t n)
    {
        if (!ok || in.size() - at < n) {
            ok = false;
            return false;
        }
        return true;
    }
    unsigned u8()
    {
        if (!take(1)) return 0;
        return static_cast<unsigned char>(in[at++]);
    }
    unsigned u16()
    {
        const unsigned low = u8();
        return low | (u8() << 8);
    }
    uint32_t u32()
    {
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= static_cast<uint32_t>(u8()) << (8 * k);
        return v;
    }
    uint64_t u64()
    {
        uint64_t v = 0;
        for (int k = 0; k < 8; ++k) v |= static_cast<uint64_t>(u8()) << (8 * k);
        return v;
    }
    double f64()
    {
        const uint64_t bits = u64();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    float f32()
    {
        const uint32_t bits = u32();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    std::string text(size_t max)
    {
        const size_t n = u8();
        if (n > max || !take(n)) {
            ok = false;
            return {};
        }
        std::string s = in.substr(at, n);
        at += n;
        return s;
    }
    bool done() const { return ok && at == in.size(); }
};

bool finite_all(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

size_t net_payload_bound(uint8_t type)
{
    switch (static_cast<NetType>(type)) {
    case NetType::Hello: return 2 + MAX_PLAYERS * NAME_FIELD_MAX + 1 + NET_TOKEN_CHARS;
    case NetType::Lobby: return 2 + MAX_PLAYERS * (NAME_FIELD_MAX + 1) + 1 + NET_TOKEN_CHARS + 2;
    case NetType::CourseChunk: return 4 + NET_COURSE_CHUNK_BYTES;
    case NetType::CourseEnd: return 16 + 1 + NET_COURSE_NAME_MAX;
    case NetType::CourseReady: return 0;
    case NetType::Start: return 11;
    case NetType::Putt: return 4 + 2 + 8 + 8 + 8;
    case NetType::Rest: return 1 + 4 + 8;
    case NetType::Resync: return 1 + 4 + 8 + 1 + MAX_PLAYERS * BALL_REST_BYTES;
    case NetType::Bye: return 3 + NET_BYE_TEXT_MAX;
    case NetType::Ping: return 0;
    case NetType::StateWanted: return 0;
    case NetType::RoundState: return 4 + static_cast<size_t>(ROUND_FILE_MAX_BYTES);
    }
    return 0;
}

void net_feed(NetFrameReader& reader, const char* data, size_t size)
{
    if (reader.start > 0 && reader.start * 2 >= reader.buffer.size()) {
        reader.buffer.erase(0, reader.start);
        reader.start = 0;
    }
    reader.buffer.append(data, size);
}

NetRead net_next_frame(NetFrameReader& reader, NetFrame& out, std::string* why)
{
    const std::string_view b = std::string_view(reader.buffer).substr(reader.start);
    if (b.size() < NET_HEADER_BYTES) {
        // Even a partial header can be wrong already.
        if (!b.empty() && static_cast<unsigned char>(b[0]) != NET_PROTOCOL_VERSION) {
            if (why) *why = "a message of another version";
            return NetRead::Bad;
        }
        return NetRead::NeedMore;
    }
    if (static_cast<unsigned char>(b[0]) != NET_PROTOCOL_VERSION) {
        if (why) *why = "a message of another version";
        return NetRead::Bad;
    }
    const uint8_t type = static_cast<uint8_t>(b[1]);
    const size_t bound = net_payload_bound(type);
    const bool known = type >= static_cast<uint8_t>(NetType::Hello) && type <= static_cast<uint8_t>(NetType::StateWanted);
    if (!known) {
        if (why) *why = "a message of an unknown kind";
        return NetRead::Bad;
    }
    uint32_t length = 0;
    for (int k = 0; k < 4; ++k) length |= static_cast<uint32_t>(static_cast<unsigned char>(b[2 + k])) << (8 * k);
    if (length > bound) {
        if (why) *why = "a message longer than its kind allows";
        return NetRead::Bad;
    }
    if (b.size() - NET_HEADER_BYTES < length) return NetRead::NeedMore;
    out.type = static_cast<NetType>(type);
    out.payload.assign(b.substr(NET_HEADER_BYTES, length));
    reader.start += NET_HEADER_BYTES + length;
    if (reader.start == reader.buffer.size()) {
        reader.buffer.clear();
        reader.start = 0;
    }
    return NetRead::Frame;
}

std::string net_frame_bytes(NetType type, const std::string& payload)
{
    Writer w;
    w.u8(NET_PROTOCOL_VERSION);
    w.u8(static_cast<unsigned>(type));
    w.u32(static_cast<uint32_t>(payload.size()));
    return w.out + payload;
}

bool net_course_name_valid(const std::string& name)
{
    if (name.size() < 5 || name.size() > NET_COURSE_NAME_MAX || name.front() == '.' || name.front() == ' ') return false;
    if (name.compare(name.size() - 4, 4, ".cor") != 0) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != ' ' && c != '-' && c != '_' && c != '.') return false;
    return true;
}

bool net_token_valid(const std::string& token)
{
    if (token.size() != NET_TOKEN_CHARS) return false;
    for (char c : token)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

bool net_name_valid(const std::string& name)
{
    if (name.empty() || name.size() > static_cast<size_t>(MAX_NAME_LENGTH)) return false;
    if (name.front() == ' ' || name.back() == ' ') return false;
    for (char c : name)
        if (c == '\0' || !std::strchr(NAME_CHARACTERS, c)) return false;
    return true;
}

std::string encode_hello(const NetHello& m)
{
    Writer w;
    w.u8(static_cast<unsigned>(m.version));
    w.u8(static_cast<unsigned>(m.names.size()));
    for (const std::string& name : m.names) w.text(name);
    w.text(m.token);
    return w.out;
}

bool decode_hello(const std::string& payload, NetHello& out)
{
    Reader r{payload};
    out.version = static_cast<int>(r.u8());
    const unsigned count = r.u8();
    if (count < 1 || count > MAX_PLAYERS) return false;
    out.names.clear();
    for (unsigned k = 0; k < count && r.ok; ++k) {
        out.names.push_back(r.text(MAX_NAME_LENGTH));
        if (!net_name_valid(out.names.back())) return false;
    }
    out.token = r.text(NET_TOKEN_CHARS);
    if (!out.token.empty() && !net_token_valid(out.token)) return false;
    return r.done();
}

std::string encode_lobby(const NetLobby& m)
{
    Writer w;
    w.u8(static_cast<unsigned>(m.yourMachine));
    w.u8(static_cast<unsigned>(m.seats.size()));
    for (const NetLobbySeat& seat : m.seats) {
        w.text(seat.name);
        w.u8(static_cast<unsigned>(seat.machine));
    }
    w.text(m.yourToken);
    w.u16(static_cast<unsigned>(net_turn_seconds_valid(m.turnSeconds) ? m.turnSeconds : 0));
    return w.out;
}

bool decode_lobby(const std::string& payload, NetLobby& out)
{
    Reader r{payload};
    out.yourMachine = static_cast<int>(r.u8());
    const unsigned count = r.u8();
    if (out.yourMachine >= NET_MAX_MACHINES || count > MAX_PLAYERS) return false;
    out.seats.clear();
    for (unsigned k = 0; k < count && r.ok; ++k) {
        NetLobbySeat seat;
        seat.name = r.text(MAX_NAME_LENGTH);
        seat.machine = static_cast<int>(r.u8());
        if (!net_name_valid(seat.name) || seat.machine >= NET_MAX_MACHINES) return false;
        out.seats.push_back(seat);
    }
    out.yourToken = r.text(NET_TOKEN_CHARS);
    if (!out.yourToken.empty() && !net_token_valid(out.yourToken)) return false;
    out.turnSeconds = static_cast<int>(r.u16());
    return r.done() && net_turn_seconds_valid(out.turnSeconds);
}

std::string encode_course_chunk(const NetCourseChunk& m)
{
    Writer w;
    w.u32(m.offset);
    return w.out + m.bytes;
}

bool decode_course_chunk(const std::string& payload, NetCourseChunk& out)
{
    Reader r{payload};
    out.offset = r.u32();
    if (!r.ok || payload.size() <= 4) return false;
    out.bytes.assign(payload, 4, std::string::npos);
    return out.bytes.size() <= NET_COURSE_CHUNK_BYTES;
}

std::string encode_course_end(const NetCourseEnd& m)
{
    Writer w;
    w.u64(m.size);
    w.u64(m.hash);
    w.text(m.name);
    return w.out;
}

bool decode_course_end(const std::string& payload, NetCourseEnd& out)
{
    Reader r{payload};
    out.size = r.u64();
    out.hash = r.u64();
    out.name = r.text(NET_COURSE_NAME_MAX);
    return r.done() && out.size > 0 && net_course_name_valid(out.name);
}

std::string encode_start(const NetStart& m)
{
    Writer w;
    w.u64(m.roundSeed);
    w.u8(m.rejoin ? 1 : 0);
    w.u16(static_cast<unsigned>(net_turn_seconds_valid(m.turnSeconds) ? m.turnSeconds : 0));
    return w.out;
}

bool decode_start(const std::string& payload, NetStart& out)
{
    Reader r{payload};
    out.roundSeed = r.u64();
    const unsigned rejoin = r.u8();
    out.rejoin = rejoin == 1;
    out.turnSeconds = static_cast<int>(r.u16());
    return r.done() && rejoin <= 1 && net_turn_seconds_valid(out.turnSeconds);
}

std::string encode_round_state(const NetRoundState& m)
{
    Writer w;
    w.u32(static_cast<uint32_t>(m.rests));
    return w.out + m.roundFile;
}

bool decode_round_state(const std::string& payload, NetRoundState& out)
{
    Reader r{payload};
    const uint32_t rests = r.u32();
    if (!r.ok || rests > 1000000u || payload.size() - 4 > static_cast<size_t>(ROUND_FILE_MAX_BYTES)) return false;
    out.rests = static_cast<int>(rests);
    out.roundFile.assign(payload, 4, std::string::npos);
    return true;
}

std::string encode_putt(const NetPutt& m)
{
    Writer w;
    w.u8(static_cast<unsigned>(m.hole));
    w.u8(static_cast<unsigned>(m.kind));
    w.u8(static_cast<unsigned>(m.player));
    w.u8(static_cast<unsigned>(m.clicks));
    w.u8(static_cast<unsigned>(m.stroke & 0xff));
    w.u8(static_cast<unsigned>((m.stroke >> 8) & 0xff));
    w.u64(static_cast<uint64_t>(m.step));
    w.f64(m.angle);
    w.f64(m.power);
    return w.out;
}

bool decode_putt(const std::string& payload, NetPutt& out)
{
    Reader r{payload};
    out.hole = static_cast<int>(r.u8());
    const unsigned kind = r.u8();
    out.player = static_cast<int>(r.u8());
    out.clicks = static_cast<int>(r.u8());
    out.stroke = static_cast<int>(r.u8());
    out.stroke |= static_cast<int>(r.u8()) << 8;
    const uint64_t step = r.u64();
    out.angle = r.f64();
    out.power = r.f64();
    // Settling belongs to a replay at one machine; it never travels.
    if (!r.done() || kind > static_cast<unsigned>(RoundEventKind::Skip) || kind == static_cast<unsigned>(RoundEventKind::Settle))
        return false;
    out.kind = static_cast<RoundEventKind>(kind);
    if (out.hole < 1 || out.hole > MAX_HOLES || out.player < 1 || out.player > MAX_PLAYERS || out.clicks > 1) return false;
    if (step > static_cast<uint64_t>(ROUND_STEPS_MAX) || out.stroke > ROUND_SCORE_MAX) return false;
    out.step = static_cast<long>(step);
    if (!finite_all({out.angle, out.power}) || std::fabs(out.angle) > 360.0) return false;
    // A putt's power is what the meter can show; a struck ball has some.
    if (out.kind == RoundEventKind::Putt && (out.power <= 0 || out.power > MAX_POWER)) return false;
    return true;
}

std::string encode_rest(const NetRest& m)
{
    Writer w;
    w.u8(static_cast<unsigned>(m.hole));
    w.u32(static_cast<uint32_t>(m.strike));
    w.u64(m.hash);
    return w.out;
}

bool decode_rest(const std::string& payload, NetRest& out)
{
    Reader r{payload};
    out.hole = static_cast<int>(r.u8());
    const uint32_t strike = r.u32();
    out.hash = r.u64();
    if (!r.done() || out.hole < 1 || out.hole > MAX_HOLES || strike > 1000000u) return false;
    out.strike = static_cast<int>(strike);
    return true;
}

std::string encode_resync(const NetResync& m)
{
    Writer w;
    w.u8(static_cast<unsigned>(m.hole));
    w.u32(static_cast<uint32_t>(m.strike));
    w.u64(static_cast<uint64_t>(m.step));
    w.u8(static_cast<unsigned>(m.balls.size()));
    for (const NetBallRest& ball : m.balls) {
        for (double v : ball.position) w.f64(v);
        for (double v : ball.quaternion) w.f64(v);
        for (double v : ball.linear) w.f64(v);
        for (double v : ball.angular) w.f64(v);
        for (float v : ball.lastRest) w.f32(v);
        for (double v : ball.stuckAnchor) w.f64(v);
        w.u32(static_cast<uint32_t>(ball.stuckSteps));
        w.u32(static_cast<uint32_t>(ball.restSteps));
        w.u8(ball.atRest ? 1 : 0);
        w.u8(ball.holedOut ? 1 : 0);
    }
    return w.out;
}

bool decode_resync(const std::string& payload, NetResync& out)
{
    Reader r{payload};
    out.hole = static_cast<int>(r.u8());
    const uint32_t strike = r.u32();
    const uint64_t step = r.u64();
    const unsigned count = r.u8();
    if (!r.ok || out.hole < 1 || out.hole > MAX_HOLES || strike > 1000000u || count < 1 || count > MAX_PLAYERS ||
        step > static_cast<uint64_t>(ROUND_STEPS_MAX))
        return false;
    out.strike = static_cast<int>(strike);
    out.step = static_cast<long>(step);
    out.balls.assign(count, NetBallRest{});
    for (NetBallRest& ball : out.balls) {
        for (double& v : ball.position) v = r.f64();
        for (double& v : ball.quaternion) v = r.f64();
        for (double& v : ball.linear) v = r.f64();
        for (double& v : ball.angular) v = r.f64();
        for (float& v : ball.lastRest) v = r.f32();
        for (double& v : ball.stuckAnchor) v = r.f64();
        const uint32_t stuck = r.u32(), rest = r.u32();
        if (stuck > 100000u || rest > 100000u) return false;
        ball.stuckSteps = static_cast<int>(stuck);
        ball.restSteps = static_cast<int>(rest);
        const unsigned atRest = r.u8(), holedOut = r.u8();
        if (atRest > 1 || holedOut > 1) return false;
        ball.atRest = atRest == 1;
        ball.holedOut = holedOut == 1;
        // Positions stay on the grid's scale; anything else is not a resting ball.
        for (double v : ball.position)
            if (!std::isfinite(v) || std::fabs(v) > 1e6) return false;
        for (double v : ball.stuckAnchor)
            if (!std::isfinite(v) || std::fabs(v) > 1e6) return false;
        for (double v : ball.linear)
            if (!std::isfinite(v) || std::fabs(v) > 1e6) return false;
        for (double v : ball.angular)
            if (!std::isfinite(v) || std::fabs(v) > 1e6) return false;
        for (double v : ball.quaternion)
            if (!std::isfinite(v) || std::fabs(v) > 2.0) return false;
        for (float v : ball.lastRest)
            if (!std::isfinite(v) || std::fabs(v) > 1e6f) return false;
    }
    return r.done();
}

std::string encode_bye(const std::string& reason, bool sentAway)
{
    const std::string cut = reason.substr(0, NET_BYE_TEXT_MAX);
    Writer w;
    w.u8(sentAway ? 1 : 0);
    w.u8(static_cast<unsigned>(cut.size() & 0xff));
    w.u8(static_cast<unsigned>(cut.size() >> 8));
    return w.out + cut;
}

bool decode_bye(const std::string& payload, std::string& reason, bool* sentAway)
{
    Reader r{payload};
    const unsigned away = r.u8();
    size_t n = r.u8();
    n |= static_cast<size_t>(r.u8()) << 8;
    if (!r.ok || away > 1 || n > NET_BYE_TEXT_MAX || payload.size() != 3 + n) return false;
    if (sentAway) *sentAway = away == 1;
    reason.clear();
    for (size_t k = 3; k < payload.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(payload[k]);
        reason.push_back(c >= 32 && c < 127 ? static_cast<char>(c) : '?');
    }
    return true;
}
