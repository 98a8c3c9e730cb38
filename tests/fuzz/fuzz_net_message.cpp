// Network messages: bytes as a peer may send them, cut into frames and each payload read as
// its type; a payload that reads writes back to the same bytes.
#include "game/net/net_message.h"
#include "tests/fuzz/fuzz_util.h"

namespace {

template <typename Message, typename Decode, typename Encode>
void round_trip(const std::string& payload, Decode decode, Encode encode)
{
    Message message;
    if (!decode(payload, message)) return;
    const std::string again = encode(message);
    Message second;
    FUZZ_CHECK(decode(again, second));
    FUZZ_CHECK(encode(second) == again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NetFrameReader reader;
    // Fed in two pieces, as bytes arrive: where the cut falls must not matter.
    const size_t cut = size > 0 ? data[0] % (size + 1) : 0;
    net_feed(reader, reinterpret_cast<const char*>(data), cut);
    int frames = 0;
    bool fed = false;
    for (;;) {
        NetFrame frame;
        std::string why;
        const NetRead read = net_next_frame(reader, frame, &why);
        if (read == NetRead::Bad) {
            FUZZ_CHECK(!why.empty());
            break;
        }
        if (read == NetRead::NeedMore) {
            if (fed) break;
            net_feed(reader, reinterpret_cast<const char*>(data) + cut, size - cut);
            fed = true;
            continue;
        }
        ++frames;
        FUZZ_CHECK(frame.payload.size() <= net_payload_bound(static_cast<uint8_t>(frame.type)));
        FUZZ_CHECK(reader.buffer.size() <= size);
        const std::string& p = frame.payload;
        switch (frame.type) {
        case NetType::Hello: round_trip<NetHello>(p, decode_hello, encode_hello); break;
        case NetType::Lobby: round_trip<NetLobby>(p, decode_lobby, encode_lobby); break;
        case NetType::CourseChunk: round_trip<NetCourseChunk>(p, decode_course_chunk, encode_course_chunk); break;
        case NetType::CourseEnd: round_trip<NetCourseEnd>(p, decode_course_end, encode_course_end); break;
        case NetType::Start: round_trip<NetStart>(p, decode_start, encode_start); break;
        case NetType::Putt: round_trip<NetPutt>(p, decode_putt, encode_putt); break;
        case NetType::Rest: round_trip<NetRest>(p, decode_rest, encode_rest); break;
        case NetType::Resync: round_trip<NetResync>(p, decode_resync, encode_resync); break;
        case NetType::Bye: {
            std::string reason;
            if (decode_bye(p, reason)) FUZZ_CHECK(reason.size() <= NET_BYE_TEXT_MAX);
            break;
        }
        case NetType::CourseReady:
        case NetType::Ping:
        case NetType::StateWanted: break;
        case NetType::RoundState: {
            NetRoundState state;
            if (!decode_round_state(p, state)) break;
            RoundFile round;
            std::string error;
            const bool parsed = parse_round_file(state.roundFile, round, &error);
            FUZZ_CHECK(parsed || !error.empty());
            round_trip<NetRoundState>(p, decode_round_state, encode_round_state);
            break;
        }
        }
    }
    FUZZ_CHECK(frames <= static_cast<int>(size / NET_HEADER_BYTES) + 1);
    return 0;
}
