// The sound library's sounds, synthesized: clicks for the keys and switches, a soft whoosh for a
// panel sliding out or in, a falling tone for power-off. 22,050 samples a second, 16-bit mono.
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "assets/generator/art.h"

namespace voltaro::assets::art {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// Deterministic white noise in [-1, 1].
class Noise {
public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / double(1u << 23) - 1.0;
    }

private:
    std::uint32_t state_ = 0x1999u;
};

// A two-pole band-pass (the audio-cookbook biquad, 0 dB at its centre) whose centre may move
// from sample to sample. Stable at every centre below half the sample rate.
class BandPass {
public:
    double step(double in, double centreHz, double q) {
        const double w = 2 * kPi * centreHz / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double a0 = 1 + alpha;
        const double out =
            (alpha * in - alpha * in2_ + 2 * std::cos(w) * out1_ - (1 - alpha) * out2_) / a0;
        in2_ = in1_;
        in1_ = in;
        out2_ = out1_;
        out1_ = out;
        return out;
    }

private:
    double in1_ = 0, in2_ = 0, out1_ = 0, out2_ = 0;
};

std::vector<double> samples(double seconds) {
    return std::vector<double>(static_cast<std::size_t>(seconds * kRate), 0.0);
}

// A percussive click: a decaying tone with a burst of filtered noise at its start.
std::vector<double> click(double seconds, double toneHz, double decay, double noiseHz,
                          double level) {
    std::vector<double> s = samples(seconds);
    Noise noise;
    BandPass filter;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double tone = std::sin(2 * kPi * toneHz * t) * std::exp(-t / decay);
        const double burst = filter.step(noise.next(), noiseHz, 1.2) * std::exp(-t / (decay * 0.4));
        s[i] = level * (0.75 * tone + 0.6 * burst);
    }
    return s;
}

// Air moving past: noise through a band-pass sweeping from `fromHz` to `toHz`, swelling and
// fading.
std::vector<double> whoosh(double seconds, double fromHz, double toHz, double level) {
    std::vector<double> s = samples(seconds);
    Noise noise;
    BandPass a, b;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double x = double(i) / double(s.size());
        const double centre = fromHz * std::pow(toHz / fromHz, x);
        const double envelope = std::pow(std::sin(kPi * std::pow(x, 0.7)), 2.0);
        const double n = noise.next();
        s[i] = level * envelope * (a.step(n, centre, 1.1) + 0.35 * b.step(n, centre * 2.2, 2.0));
    }
    return s;
}

// Power-down: a tone and its fifth gliding down an octave and a half, fading out.
std::vector<double> powerDown(double seconds, double level) {
    std::vector<double> s = samples(seconds);
    double phase = 0, phase2 = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double x = double(i) / double(s.size());
        const double hz = 660.0 * std::pow(0.28, x);
        phase += 2 * kPi * hz / kRate;
        phase2 += 2 * kPi * hz * 1.5 / kRate;
        const double envelope = std::min(1.0, x * 60) * std::pow(1.0 - x, 1.6);
        s[i] = level * envelope * (0.8 * std::sin(phase) + 0.25 * std::sin(phase2));
    }
    return s;
}

// The WAVE image of `s`, faded in and out over a millisecond so that no sound starts or stops
// with a step, then scaled so that its loudest sample reaches `peak` (of full scale).
std::vector<unsigned char> wave(std::vector<double> s, double peak) {
    const std::size_t fade = std::min<std::size_t>(s.size() / 4, kRate / 1000);
    for (std::size_t i = 0; i < fade; ++i) {
        s[i] *= double(i) / fade;
        s[s.size() - 1 - i] *= double(i) / fade;
    }
    double loudest = 0;
    for (const double v : s) loudest = std::max(loudest, std::abs(v));
    if (loudest > 0)
        for (double& v : s) v *= peak / loudest;
    std::vector<unsigned char> out(44 + 2 * s.size());
    auto put32 = [&out](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    auto put16 = [&out](std::size_t at, std::uint16_t v) {
        out[at] = static_cast<unsigned char>(v);
        out[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    const auto dataBytes = static_cast<std::uint32_t>(2 * s.size());
    std::copy_n("RIFF", 4, out.begin());
    put32(4, 36 + dataBytes);
    std::copy_n("WAVEfmt ", 8, out.begin() + 8);
    put32(16, 16);
    put16(20, 1);  // PCM
    put16(22, 1);  // mono
    put32(24, kRate);
    put32(28, kRate * 2);
    put16(32, 2);
    put16(34, 16);
    std::copy_n("data", 4, out.begin() + 36);
    put32(40, dataBytes);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double v = std::clamp(s[i], -1.0, 1.0);
        put16(44 + 2 * i,
              static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767))));
    }
    return out;
}

}  // namespace

std::vector<unsigned char> sound(const std::string& name) {
    if (name == "Tick") return wave(click(0.030, 2400, 0.0035, 5200, 1), 0.55);
    if (name == "TickLo") return wave(click(0.036, 1250, 0.0050, 2600, 1), 0.6);
    if (name == "Dip") return wave(click(0.020, 3600, 0.0018, 7000, 1), 0.45);
    if (name == "out") return wave(whoosh(0.30, 300, 1500, 1), 0.4);
    if (name == "in") return wave(whoosh(0.30, 1500, 300, 1), 0.4);
    if (name == "Off") return wave(powerDown(0.46, 1), 0.55);
    throw std::invalid_argument("no such sound: " + name);
}

}  // namespace voltaro::assets::art
