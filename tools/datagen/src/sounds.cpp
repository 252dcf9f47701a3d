// The hundred sound effects "sound/zio1x00.wav" .. "zio1x99.wav": mono 16-bit
// 44100 Hz, none longer than a second. Ten families (blips, chimes, bursts,
// lasers, zaps, explosions, arpeggios, bells, hits, whooshes) times ten
// variations of pitch and length; the menu sounds are written by hand.

#include <cstdio>
#include <functional>
#include <string>

#include "pictures.h"
#include "sound/wave_file.h"
#include "synth.h"

namespace brumil::datagen {

namespace {

using Render = std::function<float(double t)>;

std::vector<float> Sample(double seconds, const Render& f) {
    std::vector<float> out(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = f(static_cast<double>(i) / kRate);
    return out;
}

// A decaying tone of a few sine partials: the chimes of the menu.
float Chime(double t, double hz, double start, double decay) {
    const double u = t - start;
    if (u < 0) return 0;
    const double env = std::exp(-u / decay) * std::min(1.0, u / 0.004);
    const double v = std::sin(2 * kPi * hz * u) + 0.35 * std::sin(2 * kPi * hz * 2 * u) +
                     0.12 * std::sin(2 * kPi * hz * 3 * u);
    return static_cast<float>(env * v);
}

std::vector<float> MenuSound(int n) {
    switch (n) {
        case 39:  // cursor move: a soft short tick
            return Sample(0.09, [](double t) { return 0.5f * Chime(t, 1568, 0, 0.025); });
        case 5:  // accept, first part: a rising pair
            return Sample(0.45, [](double t) {
                return 0.45f * (Chime(t, 1046.5, 0, 0.09) + Chime(t, 1568, 0.07, 0.14));
            });
        case 40:  // accept, second part: a high shimmer
            return Sample(0.6, [](double t) {
                return 0.3f * (Chime(t, 2637, 0, 0.16) + Chime(t, 3136, 0.05, 0.16) +
                               Chime(t, 3951, 0.1, 0.18));
            });
        case 1:  // capture: one clear note
            return Sample(0.3, [](double t) { return 0.5f * Chime(t, 880, 0, 0.08); });
        case 37:  // second part of capture and cancel: a soft pluck
            return Sample(0.12, [](double t) {
                return 0.35f * Oscillator(Wave::Triangle, 660 * t) *
                       static_cast<float>(std::exp(-t / 0.03));
            });
        case 27:  // cancel: a falling pair
            return Sample(0.4, [](double t) {
                return 0.45f * (Chime(t, 784, 0, 0.07) + Chime(t, 523.25, 0.08, 0.12));
            });
        default:
            return {};
    }
}

std::vector<float> Effect(int n) {
    const int family = n % 10;
    const int v = n / 10;
    const double pitch = std::pow(2.0, static_cast<double>(v) / 6.0 - 0.6);
    Rng rng(static_cast<std::uint32_t>(1000 + n));
    switch (family) {
        case 0: {  // blip: square sweeping up
            const double len = 0.07 + 0.01 * v, f0 = 520 * pitch;
            double phase = 0;
            return Sample(len, [=](double t) mutable {
                phase += f0 * (1 + t / len) / kRate;
                return 0.35f * Oscillator(Wave::Square, phase) * Envelope(t, 0.003, len, 0.03);
            });
        }
        case 1: {  // chime: two notes a fifth or a fourth apart
            const double hz = 660 * pitch, step = (v % 2) ? 1.5 : 1.3348;
            return Sample(0.5 + 0.03 * v, [=](double t) {
                return 0.4f * (Chime(t, hz, 0, 0.12) + Chime(t, hz * step, 0.09, 0.18));
            });
        }
        case 2: {  // burst: filtered noise with a fast fall
            LowPass lp(1500 + 500.0 * v);
            const double len = 0.25 + 0.025 * v;
            return Sample(len, [=](double t) mutable {
                const float noise = rng.Range(-1, 1);
                return 0.9f * lp(noise) * static_cast<float>(std::exp(-t / (len * 0.25)));
            });
        }
        case 3: {  // laser: saw sweeping down
            const double len = 0.18 + 0.02 * v, f0 = 1800 * pitch, f1 = 200 * pitch;
            double phase = 0;
            LowPass lp(5000);
            return Sample(len, [=](double t) mutable {
                phase += (f0 + (f1 - f0) * (t / len)) / kRate;
                return 0.4f * lp(Oscillator(Wave::Saw, phase)) * Envelope(t, 0.002, len, 0.05);
            });
        }
        case 4: {  // zap: frequency modulation with a falling index
            const double len = 0.15 + 0.015 * v, fc = 400 * pitch, fm = fc * (1.5 + 0.25 * v);
            return Sample(len, [=](double t) {
                const double index = 6 * std::exp(-t / (len * 0.4));
                const double s = std::sin(2 * kPi * fc * t + index * std::sin(2 * kPi * fm * t));
                return 0.4f * static_cast<float>(s) * Envelope(t, 0.002, len, 0.04);
            });
        }
        case 5: {  // explosion: low rumble and a thump
            const double len = 0.6 + 0.035 * v;
            LowPass lp(900);
            double phase = 0;
            return Sample(len, [=](double t) mutable {
                lp.SetCutoff(900 * std::exp(-t * 3) + 80);
                phase += (90 * std::exp(-t * 8) + 40) * pitch / kRate;
                const float rumble = 1.6f * lp(rng.Range(-1, 1));
                const float thump = 0.7f * Oscillator(Wave::Sine, phase);
                return (rumble + thump) * static_cast<float>(std::exp(-t / (len * 0.3)));
            });
        }
        case 6: {  // arpeggio: quick rising notes
            const double base = 72 + v, each = 0.06;
            const int steps[] = {0, 4, 7, 12};
            return Sample(4 * each + 0.15, [=](double t) {
                const int k = std::min(3, static_cast<int>(t / each));
                const double u = t - k * each;
                const double hz = NoteHz(base + steps[k]);
                return 0.35f * Oscillator(Wave::Triangle, hz * u) *
                       static_cast<float>(std::exp(-u / (k == 3 ? 0.08 : 0.04)));
            });
        }
        case 7: {  // bell: inharmonic partials
            const double hz = 500 * pitch;
            return Sample(0.85, [=](double t) {
                const double s = std::sin(2 * kPi * hz * t) * std::exp(-t / 0.3) +
                                 0.5 * std::sin(2 * kPi * hz * 2.76 * t) * std::exp(-t / 0.15) +
                                 0.25 * std::sin(2 * kPi * hz * 5.4 * t) * std::exp(-t / 0.07);
                return 0.35f * static_cast<float>(s * std::min(1.0, t / 0.003));
            });
        }
        case 8: {  // hit: a dropping thud with a click
            double phase = 0;
            return Sample(0.22, [=](double t) mutable {
                phase += (60 + 200 * pitch * std::exp(-t * 30)) / kRate;
                const float click =
                    t < 0.01 ? rng.Range(-1, 1) * static_cast<float>(1 - t / 0.01) : 0.0f;
                return 0.6f * Oscillator(Wave::Sine, phase) *
                           static_cast<float>(std::exp(-t / 0.06)) +
                       0.4f * click;
            });
        }
        default: {  // whoosh: noise whose colour rises and falls
            const double len = 0.4 + 0.03 * v;
            LowPass lp(300);
            return Sample(len, [=](double t) mutable {
                const double x = t / len;
                lp.SetCutoff(300 + 4000 * pitch * std::sin(kPi * x));
                return 1.2f * lp(rng.Range(-1, 1)) * static_cast<float>(std::sin(kPi * x));
            });
        }
    }
}

}  // namespace

void WriteSoundEffects(Output& out) {
    for (int n = 0; n < 100; ++n) {
        std::vector<float> s = MenuSound(n);
        if (s.empty()) s = Effect(n);
        const auto pcm = ToPcm16(s, 1.0f);
        const auto header = sound::MakeWaveFileHeader(static_cast<Long>(pcm.size()), 16, 1, kRate);
        std::vector<std::uint8_t> file(header.begin(), header.end());
        const auto bytes = Pcm16Bytes(pcm);
        file.insert(file.end(), bytes.begin(), bytes.end());
        char name[32];
        std::snprintf(name, sizeof name, "sound/zio1x%02d.wav", n);
        out.Bytes(name, file);
    }
}

}  // namespace brumil::datagen
