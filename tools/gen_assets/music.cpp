// Music: short General MIDI songs (melody, chords, bass, drums) that loop cleanly, written as
// standard MIDI files of format 0. Melodies are made from chord tones on the strong beats and
// scale steps between them, with the opening phrase coming back so the tune is memorable.
#include <algorithm>
#include <cstdio>

#include "image.h"
#include "sounds.h"

namespace {

constexpr int PPQ = 480;  // ticks per quarter note
constexpr int BAR = 4 * PPQ;

struct Event {
  int tick;
  int order;  // note-offs before note-ons at the same tick
  std::vector<uint8_t> bytes;
};

struct Song {
  std::vector<Event> events;
  void note(int channel, int tick, int length, int pitch, int velocity) {
    events.push_back({tick, 1, {static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(pitch), static_cast<uint8_t>(velocity)}});
    events.push_back({tick + length, 0, {static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(pitch), 0}});
  }
  void program(int channel, int instrument) {
    events.push_back({0, 0, {static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(instrument)}});
  }
  void control(int channel, int number, int value) {
    events.push_back({0, 0, {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(number), static_cast<uint8_t>(value)}});
  }
};

struct TuneStyle {
  const char* fileName;
  int bpm;
  int key;                  // MIDI note of the tonic near middle C
  bool minor;
  int progressionA[4];      // scale degrees 0..6 of the chords, one per bar
  int progressionB[4];
  int melodyInstrument, chordInstrument, bassInstrument;
  uint32_t seed;
};

const int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
const int MINOR[7] = {0, 2, 3, 5, 7, 8, 10};

int scale_note(const TuneStyle& st, int degree) {  // degree may be negative or above 6
  const int* steps = st.minor ? MINOR : MAJOR;
  const int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
  const int d = degree - octave * 7;
  return st.key + 12 * octave + steps[d];
}

// Rhythms of one bar of melody, in eighth notes; 0 marks a rest of one eighth.
const std::vector<std::vector<int>> RHYTHMS = {
    {2, 2, 2, 2}, {1, 1, 2, 4}, {3, 1, 2, 2}, {2, 2, 4}, {4, 2, 2}, {1, 1, 1, 1, 2, 2}, {2, 1, 1, 4}};

// One four-bar phrase over the given chords; starts near startDegree and ends on a chord tone.
std::vector<std::pair<int, int>> make_phrase(const int chords[4], Random& rnd, int& degree,
                                             bool closeOnTonic) {
  std::vector<std::pair<int, int>> notes;  // (length in eighths, scale degree; -100 = rest)
  for (int bar = 0; bar < 4; ++bar) {
    const std::vector<int>& rhythm = bar == 3 ? RHYTHMS[4] : RHYTHMS[rnd.next() % RHYTHMS.size()];
    int pos = 0;
    for (size_t k = 0; k < rhythm.size(); ++k) {
      const bool strong = pos % 4 == 0;
      if (strong) {
        // Move to the nearest tone of the chord: root, third or fifth.
        int best = degree, bestDist = 99;
        for (int tone : {0, 2, 4})
          for (int oct = -1; oct <= 2; ++oct) {
            const int cand = chords[bar] + tone + 7 * oct;
            const int dist = std::abs(cand - degree) + (rnd.next() % 2);
            if (dist < bestDist && cand >= 0 && cand <= 11) {
              bestDist = dist;
              best = cand;
            }
          }
        degree = best;
      } else {
        const int step = static_cast<int>(rnd.next() % 5) - 2;  // -2 .. +2
        degree = std::clamp(degree + (step == 0 ? 1 : step), 0, 11);
      }
      if (bar == 3 && k + 1 == rhythm.size() && closeOnTonic) degree = 7;
      notes.push_back({rhythm[k], degree});
      pos += rhythm[k];
    }
  }
  return notes;
}

Tune build(const TuneStyle& st) {
  Song song;
  Random rnd(st.seed);
  constexpr int MELODY = 0, CHORDS = 1, BASS = 2, DRUMS = 9;
  song.program(MELODY, st.melodyInstrument);
  song.program(CHORDS, st.chordInstrument);
  song.program(BASS, st.bassInstrument);
  song.control(MELODY, 7, 100);
  song.control(CHORDS, 7, 70);
  song.control(BASS, 7, 96);
  song.control(DRUMS, 7, 70);
  song.control(MELODY, 91, 50);  // a little reverb
  song.control(CHORDS, 91, 60);

  int degree = 4;
  const auto phraseA = make_phrase(st.progressionA, rnd, degree, false);
  const auto phraseA2 = make_phrase(st.progressionA, rnd, degree, true);
  const auto phraseB = make_phrase(st.progressionB, rnd, degree, false);
  const auto phraseB2 = make_phrase(st.progressionB, rnd, degree, false);

  // A A' B B' A A' : 24 bars... then a closing A' so the loop returns home: 32 bars in all.
  struct Section {
    const std::vector<std::pair<int, int>>* melody;
    const int* chords;
  };
  const Section form[8] = {{&phraseA, st.progressionA}, {&phraseA2, st.progressionA}, {&phraseB, st.progressionB},
                           {&phraseB2, st.progressionB}, {&phraseA, st.progressionA}, {&phraseA2, st.progressionA},
                           {&phraseB, st.progressionB},  {&phraseA2, st.progressionA}};
  int tick = 0;
  for (int sec = 0; sec < 8; ++sec) {
    const Section& s = form[sec];
    int t = tick;
    for (const auto& [eighths, deg] : *s.melody) {
      const int len = eighths * PPQ / 2;
      if (deg > -100) song.note(MELODY, t, len - 30, scale_note(st, deg) + (st.key < 60 ? 12 : 0), 84 + static_cast<int>(rnd.next() % 14));
      t += len;
    }
    for (int bar = 0; bar < 4; ++bar) {
      const int b0 = tick + bar * BAR;
      const int root = s.chords[bar];
      // Chords: a block chord on beat one, pushed again on the "and" of two.
      for (int tone : {0, 2, 4}) {
        const int pitch = scale_note(st, root + tone);
        song.note(CHORDS, b0, 3 * PPQ / 2 - 20, pitch, 62);
        song.note(CHORDS, b0 + 3 * PPQ / 2, 5 * PPQ / 2 - 20, pitch, 56);
      }
      // Bass: root, fifth, root, approach note.
      const int bassRoot = scale_note(st, root) - 24;
      const int bassLine[4] = {bassRoot, bassRoot + 7, bassRoot + 12, scale_note(st, s.chords[(bar + 1) % 4]) - 25};
      for (int beat = 0; beat < 4; ++beat) song.note(BASS, b0 + beat * PPQ, PPQ - 40, bassLine[beat], beat == 0 ? 100 : 84);
      // Drums: kick on one and three, snare on two and four, closed hi-hat on the eighths.
      for (int e = 0; e < 8; ++e) song.note(DRUMS, b0 + e * PPQ / 2, PPQ / 4, 42, e % 2 == 0 ? 62 : 44);
      song.note(DRUMS, b0, PPQ / 4, 36, 92);
      song.note(DRUMS, b0 + 2 * PPQ, PPQ / 4, 36, 84);
      song.note(DRUMS, b0 + PPQ, PPQ / 4, 38, 70);
      song.note(DRUMS, b0 + 3 * PPQ, PPQ / 4, 38, 74);
    }
    tick += 4 * BAR;
  }
  const int endTick = tick;

  // Write format 0: header, then one track with the tempo, the events and the end.
  std::sort(song.events.begin(), song.events.end(),
            [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
  std::vector<uint8_t> track;
  auto put_var = [&](uint32_t v) {
    uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while ((v >>= 7) != 0) buf[n++] = static_cast<uint8_t>(0x80 | (v & 0x7F));
    while (n > 0) track.push_back(buf[--n]);
  };
  const uint32_t usPerQuarter = 60000000u / st.bpm;
  put_var(0);
  track.insert(track.end(), {0xFF, 0x51, 0x03, static_cast<uint8_t>(usPerQuarter >> 16),
                             static_cast<uint8_t>(usPerQuarter >> 8), static_cast<uint8_t>(usPerQuarter)});
  put_var(0);
  track.insert(track.end(), {0xFF, 0x58, 0x04, 4, 2, 24, 8});  // 4/4
  int last = 0;
  for (const Event& e : song.events) {
    if (e.tick > endTick) continue;
    put_var(static_cast<uint32_t>(e.tick - last));
    track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    last = e.tick;
  }
  put_var(static_cast<uint32_t>(endTick - last));
  track.insert(track.end(), {0xFF, 0x2F, 0x00});

  std::vector<uint8_t> midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, PPQ >> 8, PPQ & 0xFF, 'M', 'T', 'r', 'k'};
  const uint32_t n = static_cast<uint32_t>(track.size());
  midi.insert(midi.end(), {static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 8),
                           static_cast<uint8_t>(n)});
  midi.insert(midi.end(), track.begin(), track.end());
  const double seconds = static_cast<double>(endTick) / PPQ * 60.0 / st.bpm;
  return {st.fileName, midi, seconds};
}

}  // namespace

std::vector<Tune> make_tunes() {
  const TuneStyle styles[] = {
      // Sunny and easy: vibraphone over electric piano.
      {"Background.mid", 118, 60, false, {0, 5, 3, 4}, {3, 4, 2, 5}, 11, 4, 32, 7},
      // A stroll through the meadow: clarinet and nylon guitar.
      {"tune_meadow.mid", 100, 55, false, {0, 3, 1, 4}, {5, 3, 0, 4}, 71, 24, 32, 19},
      // By the sea: steel drums and marimba, brisk.
      {"tune_seaside.mid", 132, 65, false, {0, 2, 3, 4}, {3, 0, 1, 4}, 114, 12, 33, 23},
      // Twilight: flute over strings, in a minor key.
      {"tune_twilight.mid", 92, 57, true, {0, 5, 2, 6}, {3, 0, 5, 4}, 73, 48, 32, 31},
  };
  std::vector<Tune> out;
  for (const TuneStyle& st : styles) out.push_back(build(st));
  return out;
}
