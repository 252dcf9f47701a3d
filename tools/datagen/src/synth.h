#pragma once
// Small sound synthesis kit shared by the effects and the music: oscillators,
// envelopes, noise and a one-pole filter, over float samples at 44100 Hz.

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "draw.h"

namespace brumil::datagen {

constexpr int kRate = 44100;

enum class Wave { Sine, Square, Saw, Triangle };

// One cycle of the wave at phase (in turns, any value), -1..1.
float Oscillator(Wave w, double phase);

// Attack and release in seconds around a hold; 0 outside 0..length.
float Envelope(double t, double attack, double length, double release);

// Frequency of a MIDI note number.
double NoteHz(double note);

// A one-pole low-pass filter.
class LowPass {
public:
    explicit LowPass(double hz) { SetCutoff(hz); }
    void SetCutoff(double hz) {
        k_ = static_cast<float>(1.0 - std::exp(-2.0 * 3.14159265358979 * hz / kRate));
    }
    float operator()(float x) {
        y_ += (x - y_) * k_;
        return y_;
    }

private:
    float k_ = 1;
    float y_ = 0;
};

// Floats (-1..1) to 16-bit samples, scaled by gain with a soft limit.
std::vector<std::int16_t> ToPcm16(std::span<const float> samples, float gain);
// 16-bit samples as little-endian bytes.
std::vector<std::uint8_t> Pcm16Bytes(std::span<const std::int16_t> samples);

}  // namespace brumil::datagen
