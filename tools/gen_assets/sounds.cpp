// The eleven sound effects, synthesised: clicks and knocks are decaying resonances, splash,
// sand and whoosh are shaped noise, the bumper a gliding tone, the hum and rumble low tones.
#include <algorithm>
#include <cmath>

#include "bytes.h"
#include "image.h"
#include "sounds.h"

namespace {

using Signal = std::vector<float>;

int samples_for(double seconds) { return static_cast<int>(seconds * EFFECT_RATE); }
double time_of(int i) { return static_cast<double>(i) / EFFECT_RATE; }

// Adds a sine that starts at t0 and dies away with time constant tau.
void add_ring(Signal& s, double t0, double freq, double amp, double tau) {
  const int start = static_cast<int>(t0 * EFFECT_RATE);
  for (int i = std::max(start, 0); i < static_cast<int>(s.size()); ++i) {
    const double t = time_of(i - start);
    if (t > tau * 8) break;
    s[i] += static_cast<float>(amp * std::exp(-t / tau) * std::sin(2 * M_PI * freq * t));
  }
}

// Adds noise from t0 for a while, with a decaying envelope, low-passed by a one-pole filter
// whose cut-off is given in hertz.
void add_noise_burst(Signal& s, Random& rnd, double t0, double amp, double tau, double cutoff) {
  const int start = static_cast<int>(t0 * EFFECT_RATE);
  const double a = 1 - std::exp(-2 * M_PI * cutoff / EFFECT_RATE);
  double y = 0;
  for (int i = std::max(start, 0); i < static_cast<int>(s.size()); ++i) {
    const double t = time_of(i - start);
    if (t > tau * 8) break;
    y += a * ((rnd.uniform() * 2 - 1) - y);
    s[i] += static_cast<float>(amp * std::exp(-t / tau) * y);
  }
}

// Scales the signal so its peak is the given level (0..1) and fades the last samples to zero.
std::vector<int16_t> finish(Signal s, double peak, double fadeSeconds = 0.01) {
  const int fade = std::min<int>(samples_for(fadeSeconds), static_cast<int>(s.size()));
  for (int k = 0; k < fade; ++k) s[s.size() - 1 - k] *= static_cast<float>(k) / fade;
  float maxAbs = 1e-9f;
  for (float v : s) maxAbs = std::max(maxAbs, std::fabs(v));
  std::vector<int16_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i)
    out[i] = static_cast<int16_t>(std::lround(std::clamp(s[i] / maxAbs * peak, -1.0, 1.0) * 32767));
  return out;
}

std::vector<int16_t> putter_hit_ball() {
  Signal s(samples_for(0.14));
  Random rnd(1);
  add_noise_burst(s, rnd, 0, 0.8, 0.002, 9000);
  add_ring(s, 0, 1850, 0.7, 0.014);
  add_ring(s, 0, 930, 0.5, 0.022);
  add_ring(s, 0, 3400, 0.25, 0.006);
  return finish(s, 0.85);
}

std::vector<int16_t> ball_hit_wood() {
  Signal s(samples_for(0.22));
  Random rnd(2);
  add_noise_burst(s, rnd, 0, 0.6, 0.004, 2500);
  add_ring(s, 0, 520, 0.8, 0.04);
  add_ring(s, 0, 1180, 0.45, 0.022);
  add_ring(s, 0, 2030, 0.2, 0.012);
  return finish(s, 0.8);
}

std::vector<int16_t> ball_hit_ball() {
  Signal s(samples_for(0.1));
  Random rnd(3);
  add_noise_burst(s, rnd, 0, 0.5, 0.001, 11000);
  add_ring(s, 0, 3150, 0.7, 0.009);
  add_ring(s, 0, 4700, 0.45, 0.006);
  add_ring(s, 0, 2200, 0.25, 0.012);
  return finish(s, 0.75);
}

// A rubbery "boing": a tone that drops in pitch and wobbles as the rubber settles.
std::vector<int16_t> bumper() {
  Signal s(samples_for(0.5));
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = time_of(static_cast<int>(i));
    const double freq = 150 + 170 * std::exp(-t / 0.05) + 14 * std::exp(-t / 0.2) * std::sin(2 * M_PI * 17 * t);
    phase += 2 * M_PI * freq / EFFECT_RATE;
    const double env = std::min(1.0, t / 0.003) * std::exp(-t / 0.13);
    s[i] = static_cast<float>(env * (std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase)));
  }
  Random rnd(4);
  add_noise_burst(s, rnd, 0, 0.4, 0.006, 1200);
  return finish(s, 0.85);
}

// A plop, a rush of spray, then a few bubbles.
std::vector<int16_t> ball_in_water() {
  Signal s(samples_for(0.85));
  Random rnd(5);
  double phase = 0;
  for (int i = 0; i < samples_for(0.08); ++i) {
    const double t = time_of(i);
    phase += 2 * M_PI * (950 * std::exp(-t / 0.03) + 250) / EFFECT_RATE;
    s[i] += static_cast<float>(0.7 * std::exp(-t / 0.03) * std::sin(phase));
  }
  add_noise_burst(s, rnd, 0.01, 0.9, 0.12, 3500);
  add_noise_burst(s, rnd, 0.02, 0.4, 0.25, 900);
  for (int b = 0; b < 7; ++b) {
    const double t0 = rnd.range(0.15f, 0.65f), f0 = rnd.range(380, 700);
    double ph = 0;
    const int start = samples_for(t0);
    for (int i = 0; i < samples_for(0.035) && start + i < static_cast<int>(s.size()); ++i) {
      const double t = time_of(i);
      ph += 2 * M_PI * f0 * (1 + 12 * t) / EFFECT_RATE;  // bubbles rise in pitch as they burst
      s[start + i] += static_cast<float>(0.22 * std::sin(PI_F * t / 0.035) * std::sin(ph));
    }
  }
  return finish(s, 0.8, 0.05);
}

// Grains of sand hissing: high noise in tiny random grains under a soft envelope.
std::vector<int16_t> sand() {
  Signal s(samples_for(0.45));
  Random rnd(6);
  double low = 0, grain = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = time_of(static_cast<int>(i));
    const double n = rnd.uniform() * 2 - 1;
    low += 0.25 * (n - low);
    const double high = n - low;  // the hiss above about 1.5 kHz
    if (i % 90 == 0) grain = 0.4 + 0.6 * rnd.uniform();
    const double env = std::min(1.0, t / 0.03) * std::exp(-t / 0.14);
    s[i] = static_cast<float>(env * grain * high);
  }
  return finish(s, 0.6, 0.04);
}

// A whoosh: noise through a band that sweeps up and back down, with a rising shimmer.
std::vector<int16_t> warp() {
  Signal s(samples_for(0.9));
  Random rnd(7);
  double bp1 = 0, bp2 = 0, phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = time_of(static_cast<int>(i)) / 0.9;
    const double centre = 300 + 2600 * std::sin(M_PI * t);
    // State-variable band-pass filter.
    const double f = 2 * std::sin(M_PI * centre / EFFECT_RATE), q = 0.35;
    const double n = rnd.uniform() * 2 - 1;
    const double high = n - bp2 - q * bp1;
    bp1 += f * high;
    bp2 += f * bp1;
    phase += 2 * M_PI * (220 + 900 * t * t) / EFFECT_RATE;
    const double env = std::sin(M_PI * t);
    s[i] = static_cast<float>(env * env * (bp1 * 0.9 + 0.18 * std::sin(phase) * std::sin(2 * M_PI * 11 * t)));
  }
  return finish(s, 0.75, 0.02);
}

// The ball rattles round the cup liner and drops to the bottom.
std::vector<int16_t> ball_in_cup() {
  Signal s(samples_for(0.7));
  Random rnd(8);
  const double hits[] = {0.0, 0.07, 0.125, 0.17, 0.205, 0.232, 0.252};
  double amp = 0.8;
  for (double t0 : hits) {
    add_noise_burst(s, rnd, t0, amp * 0.4, 0.0015, 8000);
    add_ring(s, t0, 1650 + rnd.range(-80, 80), amp * 0.6, 0.012);
    add_ring(s, t0, 2750 + rnd.range(-120, 120), amp * 0.35, 0.008);
    amp *= 0.8;
  }
  add_ring(s, 0.3, 140, 0.9, 0.06);  // the drop onto the bottom
  add_ring(s, 0.3, 620, 0.35, 0.03);
  add_noise_burst(s, rnd, 0.3, 0.5, 0.01, 1500);
  return finish(s, 0.85, 0.05);
}

std::vector<int16_t> ball_hit_edge() {
  Signal s(samples_for(0.3));
  Random rnd(9);
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = time_of(static_cast<int>(i));
    phase += 2 * M_PI * (60 + 45 * std::exp(-t / 0.03)) / EFFECT_RATE;
    s[i] += static_cast<float>(std::exp(-t / 0.07) * std::sin(phase));
  }
  add_noise_burst(s, rnd, 0, 0.7, 0.02, 600);
  add_ring(s, 0, 240, 0.3, 0.03);
  return finish(s, 0.9, 0.03);
}

// The belt's hum. The game restarts it every physics step (180 times a second) while a ball
// rides a belt, so it has no attack, starts at a zero crossing, and every component is a
// multiple of 180 Hz: a restart lands where the wave already is.
std::vector<int16_t> conveyor() {
  Signal s(samples_for(0.5));
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = time_of(static_cast<int>(i));
    const double w = 2 * M_PI * 180 * t;
    s[i] = static_cast<float>(std::sin(w) + 0.5 * std::sin(2 * w) + 0.3 * std::sin(3 * w) +
                              0.12 * std::sin(5 * w) + 0.06 * std::sin(8 * w));
  }
  return finish(s, 0.45, 0.1);
}

// The moving blocks grind into motion: about a second of low rumble.
std::vector<int16_t> block_moving() {
  Signal s(samples_for(1.05));
  Random rnd(10);
  double l1 = 0, l2 = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = time_of(static_cast<int>(i));
    const double n = rnd.uniform() * 2 - 1;
    l1 += 0.03 * (n - l1);
    l2 += 0.03 * (l1 - l2);
    const double grind = 1 + 0.4 * std::sin(2 * M_PI * 7 * t);
    const double tone = std::sin(2 * M_PI * 46 * t) + 0.6 * std::sin(2 * M_PI * 69 * t + 1) +
                        0.25 * std::sin(2 * M_PI * 138 * t);
    const double env = std::min(1.0, t / 0.08) * std::min(1.0, (1.05 - t) / 0.25);
    s[i] = static_cast<float>(env * grind * (6 * l2 + 0.5 * tone));
  }
  return finish(s, 0.8, 0.02);
}

}  // namespace

std::vector<Effect> make_effects() {
  return {{"ball_hit_wood", ball_hit_wood()}, {"putter_hit_ball", putter_hit_ball()},
          {"ball_in_cup", ball_in_cup()},     {"ball_in_water", ball_in_water()},
          {"warp", warp()},                   {"sand", sand()},
          {"block_moving", block_moving()},   {"bumper", bumper()},
          {"conveyor", conveyor()},           {"ball_hit_ball", ball_hit_ball()},
          {"ball_hit_edge", ball_hit_edge()}};
}

std::vector<uint8_t> encode_wave(const std::vector<int16_t>& samples) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  put_bytes(out, "RIFF");
  put_u32(out, 36 + dataBytes);
  put_bytes(out, "WAVEfmt ");
  put_u32(out, 16);
  put_u16(out, 1);  // PCM
  put_u16(out, 1);  // mono
  put_u32(out, EFFECT_RATE);
  put_u32(out, EFFECT_RATE * 2);
  put_u16(out, 2);
  put_u16(out, 16);
  put_bytes(out, "data");
  put_u32(out, dataBytes);
  for (int16_t v : samples) put_u16(out, static_cast<uint16_t>(v));
  return out;
}
