// The WAV reader on generated and on broken files, the MIDI check, and the choice of music.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "audio/audio.h"
#include "audio/midi_check.h"
#include "audio/wave_reader.h"
#include "audio_test_files.h"
#include "hole/course.h"

using namespace audio_test;

namespace {

std::vector<uint8_t> pcm_bytes(size_t n)
{
    std::vector<uint8_t> d(n);
    for (size_t k = 0; k < n; ++k) d[k] = uint8_t(k * 7 + 3);
    return d;
}

// Opens bytes written to a file; the reader stays open on success.
bool open_bytes(WaveReader& reader, const TempDir& dir, const std::vector<uint8_t>& bytes)
{
    std::string path = dir.file("t.wav");
    write_bytes(path, bytes);
    return reader.open(path);
}

}  // namespace

TEST(WaveReader, ReadsTheFormatAndDataPastOtherChunks)
{
    TempDir dir;
    std::vector<uint8_t> data = pcm_bytes(1001);  // odd: the chunk gets a pad byte
    std::vector<uint8_t> chunks;
    put_chunk(chunks, "LIST", std::vector<uint8_t>(5, 'x'));  // odd-sized chunk before "fmt "
    put_chunk(chunks, "fmt ", fmt_body(1, 2, 44100, 16));
    put_chunk(chunks, "fact", std::vector<uint8_t>(4, 0));
    put_chunk(chunks, "data", data);
    WaveReader reader;
    ASSERT_TRUE(open_bytes(reader, dir, riff_wave(chunks))) << reader.error();
    EXPECT_EQ(reader.format().formatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(reader.format().channels, 2);
    EXPECT_EQ(reader.format().samplesPerSec, 44100u);
    EXPECT_EQ(reader.format().blockAlign, 4);
    EXPECT_EQ(reader.format().bitsPerSample, 16);
    EXPECT_EQ(reader.format().extraSize, 0);
    EXPECT_EQ(reader.data_size(), 1001u);

    // Reads in pieces; a request past the end gives only what is left.
    std::vector<uint8_t> got(2000, 0);
    size_t n = 0;
    ASSERT_TRUE(reader.read(600, got.data(), &n));
    EXPECT_EQ(n, 600u);
    EXPECT_EQ(reader.bytes_left(), 401u);
    ASSERT_TRUE(reader.read(1000, got.data() + 600, &n));
    EXPECT_EQ(n, 401u);
    EXPECT_EQ(reader.bytes_left(), 0u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), got.begin()));
    ASSERT_TRUE(reader.read(10, got.data(), &n));
    EXPECT_EQ(n, 0u);

    // Reset starts the data again.
    ASSERT_TRUE(reader.reset());
    EXPECT_EQ(reader.bytes_left(), 1001u);
    ASSERT_TRUE(reader.read(3, got.data(), &n));
    EXPECT_EQ(got[0], data[0]);
    EXPECT_EQ(got[2], data[2]);
    reader.close();
    EXPECT_FALSE(reader.is_open());
    EXPECT_FALSE(reader.read(3, got.data(), &n));
}

TEST(WaveReader, KeepsTheExtraBytesOfOtherFormats)
{
    TempDir dir;
    std::vector<uint8_t> fmt = fmt_body(3, 1, 22050, 32);
    put16(fmt, 2);
    fmt.push_back(0xAB);
    fmt.push_back(0xCD);
    std::vector<uint8_t> chunks;
    put_chunk(chunks, "fmt ", fmt);
    put_chunk(chunks, "data", pcm_bytes(16));
    WaveReader reader;
    ASSERT_TRUE(open_bytes(reader, dir, riff_wave(chunks))) << reader.error();
    EXPECT_EQ(reader.format().formatTag, WAVE_FORMAT_IEEE_FLOAT);
    ASSERT_EQ(reader.format().extraSize, 2);
    EXPECT_EQ(reader.format().extra[0], 0xAB);
    EXPECT_EQ(reader.format().extra[1], 0xCD);
}

TEST(WaveReader, RefusesBrokenFiles)
{
    TempDir dir;
    std::vector<uint8_t> fmt16 = fmt_body(1, 1, 22050, 16);
    std::vector<uint8_t> data = pcm_bytes(100);

    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
    cases.push_back({"empty", {}});
    {
        std::vector<uint8_t> c;
        put_chunk(c, "fmt ", fmt16);
        put_chunk(c, "data", data);
        std::vector<uint8_t> v = riff_wave(c);
        std::memcpy(v.data(), "RIFX", 4);
        cases.push_back({"not RIFF", v});
        std::memcpy(v.data(), "RIFF", 4);
        std::memcpy(v.data() + 8, "AVI ", 4);
        cases.push_back({"not WAVE", v});
    }
    {
        std::vector<uint8_t> c;
        put_chunk(c, "fmt ", std::vector<uint8_t>(fmt16.begin(), fmt16.begin() + 14));
        put_chunk(c, "data", data);
        cases.push_back({"fmt under 16 bytes", riff_wave(c)});
    }
    {
        std::vector<uint8_t> c;
        put_chunk(c, "fmt ", fmt16);
        cases.push_back({"no data chunk", riff_wave(c)});
    }
    {
        std::vector<uint8_t> c;
        put_chunk(c, "data", data);
        cases.push_back({"no fmt chunk", riff_wave(c)});
    }
    {
        // The data chunk claims more than the file holds; the RIFF size is made to match, so
        // only the chunk's own size is wrong.
        std::vector<uint8_t> c;
        put_chunk(c, "fmt ", fmt16);
        put_chunk(c, "data", data);
        std::vector<uint8_t> v = riff_wave(c);
        size_t sizeAt = v.size() - data.size() - 4;
        v[sizeAt] = 0xFF;
        v[sizeAt + 1] = 0xFF;
        cases.push_back({"data size past the end", v});
    }
    {
        std::vector<uint8_t> c;
        put_chunk(c, "fmt ", fmt16);
        put_chunk(c, "data", data);
        std::vector<uint8_t> v = riff_wave(c);
        v[4] = 0xF0;  // RIFF size beyond the file
        cases.push_back({"RIFF size past the end", v});
    }
    {
        std::vector<uint8_t> fmt = fmt_body(3, 1, 22050, 32);
        put16(fmt, 40);  // forty extra bytes announced, none there
        std::vector<uint8_t> c;
        put_chunk(c, "fmt ", fmt);
        put_chunk(c, "data", data);
        cases.push_back({"extra bytes past the fmt chunk", riff_wave(c)});
    }
    for (const auto& [name, bytes] : cases) {
        WaveReader reader;
        EXPECT_FALSE(open_bytes(reader, dir, bytes)) << name;
        EXPECT_FALSE(reader.is_open()) << name;
        EXPECT_FALSE(reader.error().empty()) << name;
    }
    WaveReader reader;
    EXPECT_FALSE(reader.open(dir.file("missing.wav")));
}

TEST(WaveReader, RefusesEveryTruncationOfAGoodFile)
{
    TempDir dir;
    std::vector<uint8_t> whole = ramp_wave(50);
    for (size_t len = 0; len < whole.size(); ++len) {
        WaveReader reader;
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(len));
        EXPECT_FALSE(open_bytes(reader, dir, cut)) << "cut at " << len;
    }
    WaveReader reader;
    EXPECT_TRUE(open_bytes(reader, dir, whole));
}

TEST(WaveReader, RandomChunkContentsStayWithinTheFile)
{
    TempDir dir;
    std::mt19937 random(1234);
    int opened = 0;
    for (int round = 0; round < 300; ++round) {
        // A valid header, then random chunk headers and bytes.
        std::vector<uint8_t> body;
        const char* ids[] = {"fmt ", "data", "LIST", "junk"};
        int chunkCount = 1 + int(random() % 4);
        for (int k = 0; k < chunkCount; ++k) {
            put_id(body, ids[random() % 4]);
            // Mostly honest sizes, sometimes a lie in either direction.
            uint32_t n = 16 + random() % 40;
            uint32_t size = n;
            if (random() % 3 == 0) size = random() % 2 ? uint32_t(random()) : uint32_t(random() % 60);
            put32(body, size);
            for (uint32_t b = 0; b < n; ++b) body.push_back(uint8_t(random()));
        }
        std::vector<uint8_t> v = riff_wave(body);
        WaveReader reader;
        if (!open_bytes(reader, dir, v)) continue;
        ++opened;
        EXPECT_LE(reader.data_size(), v.size());
        std::vector<uint8_t> sink(reader.data_size() + 1);
        size_t n = 0;
        EXPECT_TRUE(reader.read(sink.size(), sink.data(), &n));
        EXPECT_EQ(n, reader.data_size());
    }
    EXPECT_GT(opened, 0);  // some rounds must form a readable file, or the check proves little
}

TEST(MidiCheck, AcceptsAStandardFileAndRefusesOthers)
{
    std::string why;
    std::vector<uint8_t> good = small_midi();
    EXPECT_TRUE(check_midi_file(good.data(), good.size(), &why)) << why;

    std::vector<uint8_t> wave = ramp_wave(10);
    EXPECT_FALSE(check_midi_file(wave.data(), wave.size(), &why));
    for (size_t len = 0; len < good.size(); ++len) {
        EXPECT_FALSE(check_midi_file(good.data(), len, &why)) << "cut at " << len;
    }
    std::vector<uint8_t> noTracks = good;
    noTracks[11] = 0;
    EXPECT_FALSE(check_midi_file(noTracks.data(), noTracks.size(), &why));
    std::vector<uint8_t> twoTracks = good;
    twoTracks[11] = 2;  // announces a second track that is not there
    EXPECT_FALSE(check_midi_file(twoTracks.data(), twoTracks.size(), &why));
}

namespace {

// A Standard MIDI File of the given tracks (format 1, 96 ticks a quarter note).
std::vector<uint8_t> midi_of(const std::vector<std::vector<uint8_t>>& tracks, uint16_t division = 96)
{
    std::vector<uint8_t> v = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, uint8_t(tracks.size() >> 8), uint8_t(tracks.size()),
                              uint8_t(division >> 8), uint8_t(division)};
    for (const std::vector<uint8_t>& track : tracks) {
        put_id(v, "MTrk");
        put_be32(v, uint32_t(track.size()));
        v.insert(v.end(), track.begin(), track.end());
    }
    return v;
}

std::vector<uint8_t> joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<uint8_t> NOTE = {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0};   // a quarter note
const std::vector<uint8_t> END = {0x00, 0xFF, 0x2F, 0x00};

}  // namespace

// Each refused file here made the synthesiser retry without end inside the mixer's callback
// when looped, freezing the game at its next sound.
TEST(MidiCheck, RefusesWhatTheSynthesiserCannotPlayThroughToTheEnd)
{
    std::string why;
    const std::vector<uint8_t> tune = joined(NOTE, END);
    ASSERT_TRUE(check_midi_file(midi_of({tune}).data(), midi_of({tune}).size(), &why)) << why;
    // Running status, a system exclusive message, text and bytes after the end are played.
    const std::vector<uint8_t> rich = {0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7, 0x00, 0xFF, 0x01, 0x02, 'h', 'i',
                                       0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0x90, 64, 90,
                                       0x30, 64, 0, 0x00, 0xFF, 0x2F, 0x00, 0x00, 0x90};
    std::vector<uint8_t> file = midi_of({rich, tune});
    EXPECT_TRUE(check_midi_file(file.data(), file.size(), &why)) << why;
    std::vector<std::vector<uint8_t>> many(127, tune);
    file = midi_of(many);
    EXPECT_TRUE(check_midi_file(file.data(), file.size(), &why)) << why;

    struct Case {
        const char* what;
        std::vector<uint8_t> file;
    };
    std::vector<uint8_t> longHeader = midi_of({tune});
    longHeader[7] = 8;
    longHeader.insert(longHeader.begin() + 14, {0, 0});
    std::vector<uint8_t> foreignChunk = midi_of({tune, tune});
    const std::vector<uint8_t> junk = {'J', 'U', 'N', 'K', 0, 0, 0, 2, 'a', 'b'};
    foreignChunk.insert(foreignChunk.begin() + 14, junk.begin(), junk.end());
    foreignChunk[11] = 1;
    const Case refused[] = {
        {"a header of 8 bytes", longHeader},
        {"SMPTE timing", midi_of({tune}, 0xE728)},
        {"128 tracks", midi_of(std::vector<std::vector<uint8_t>>(128, tune))},
        {"a chunk other than a track", foreignChunk},
        {"music that lasts no time", midi_of({{0x00, 0x90, 60, 100, 0x00, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}, END})},
        {"a track with no end", midi_of({NOTE})},
        {"an end of track with a length", midi_of({joined(NOTE, {0x00, 0xFF, 0x2F, 0x01, 0x00})})},
        {"a tempo of two bytes", midi_of({joined({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}, tune)})},
        {"a time signature of three bytes", midi_of({joined({0x00, 0xFF, 0x58, 0x03, 4, 2, 24}, tune)})},
        {"running status after a meta event", midi_of({{0x00, 0x90, 60, 100, 0x00, 0xFF, 0x01, 0x01, 'a', 0x60, 60, 0,
                                                        0x00, 0xFF, 0x2F, 0x00}})},
        {"running status at the start", midi_of({joined({0x00, 60, 100}, tune)})},
        {"a system message", midi_of({joined({0x00, 0xF1, 0x00}, tune)})},
        {"a status byte as data", midi_of({joined({0x00, 0x90, 60, 0xC0}, tune)})},
        {"a note cut by the track's end", midi_of({{0x00, 0x90, 60}})},
        {"a delta time of five bytes", midi_of({joined({0x81, 0x81, 0x81, 0x81, 0x01, 0xC0, 0x00}, tune)})},
        {"a meta event longer than its track", midi_of({{0x00, 0xFF, 0x01, 0x7F, 'a'}})},
    };
    for (const Case& c : refused) {
        why.clear();
        EXPECT_FALSE(check_midi_file(c.file.data(), c.file.size(), &why)) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
    }
}

// The game's own tunes, made at build time, are all accepted.
TEST(MidiCheck, AcceptsEveryGeneratedTune)
{
    int tunes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(MG_RUN_DIR) + "/sounds")) {
        if (entry.path().extension() != ".mid") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string why;
        EXPECT_TRUE(check_midi_file(bytes.data(), bytes.size(), &why)) << entry.path() << ": " << why;
        ++tunes;
    }
    EXPECT_GE(tunes, 1);
}

TEST(MusicChoice, FollowsTheCourseHole)
{
    Course c;
    EXPECT_EQ(choose_music_file(c, 1, ""), "sounds/Background.mid");  // no course

    c.holeCount = 3;
    std::strcpy(c.musicFile[0], "temp\\song one.mid");
    std::strcpy(c.musicFile[1], "NoMidiFilePresent");
    std::strcpy(c.musicFile[2], "nomidifilepresent");
    EXPECT_EQ(choose_music_file(c, 1, ""), "temp/song one.mid");
    EXPECT_EQ(choose_music_file(c, 2, ""), "");
    EXPECT_EQ(choose_music_file(c, 3, ""), "");
    EXPECT_EQ(choose_music_file(c, 4, ""), "sounds/Background.mid");  // after the last hole

    // An entry filling its whole buffer is read no further than the buffer.
    std::memset(c.musicFile[0], 'a', COURSE_PATH_MAX);
    EXPECT_EQ(choose_music_file(c, 1, "").size(), size_t(COURSE_PATH_MAX));
    c.musicFile[0][0] = 0;
    EXPECT_EQ(choose_music_file(c, 1, ""), "");
}
