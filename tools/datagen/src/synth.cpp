#include "synth.h"

#include <algorithm>

namespace brumil::datagen {

float Oscillator(Wave w, double phase) {
    const double p = phase - std::floor(phase);
    switch (w) {
        case Wave::Sine:
            return static_cast<float>(std::sin(2.0 * 3.14159265358979 * p));
        case Wave::Square:
            return p < 0.5 ? 0.8f : -0.8f;
        case Wave::Saw:
            return static_cast<float>(2.0 * p - 1.0) * 0.8f;
        case Wave::Triangle:
            return static_cast<float>(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p);
    }
    return 0;
}

float Envelope(double t, double attack, double length, double release) {
    if (t < 0 || t >= length) return 0;
    float e = 1;
    if (attack > 0 && t < attack) e = static_cast<float>(t / attack);
    const double left = length - t;
    if (release > 0 && left < release) e = std::min(e, static_cast<float>(left / release));
    return e;
}

double NoteHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

std::vector<std::int16_t> ToPcm16(std::span<const float> samples, float gain) {
    std::vector<std::int16_t> out(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const float v = std::tanh(samples[i] * gain);
        out[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32000.0f));
    }
    return out;
}

std::vector<std::uint8_t> Pcm16Bytes(std::span<const std::int16_t> samples) {
    std::vector<std::uint8_t> out;
    out.reserve(samples.size() * 2);
    for (std::int16_t s : samples) {
        const auto u = static_cast<std::uint16_t>(s);
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

}  // namespace brumil::datagen
