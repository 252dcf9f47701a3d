// Stage music: seven short looping tunes (lead, bass, chords and drums), each
// an intro followed by a loop body, encoded as stereo Ogg Vorbis with a ".sli"
// loop file naming the body. Notes that ring past the end of the body are
// folded back onto its start, so the loop joins without a click.

#include <cstdio>
#include <string>

#include "pictures.h"
#include "platform/sound/ogg_encoder.h"
#include "synth.h"

namespace brumil::datagen {

namespace {

enum class Voice {
    Square,
    Saw,
    Triangle,
    Pluck,
    Piano,
    Brass,
    Pad,
    BassSaw,
    BassSquare,
    BassSine,
    Kick,
    Snare,
    Hat,
    Tabla
};

struct Tune {
    const char* file;
    double bpm;
    int root;                 // MIDI note of the key's tonic (octave 4)
    std::vector<int> scale;   // semitones above the tonic
    std::vector<int> chords;  // scale degree of each bar's chord, repeated
    Voice lead, bass, harmony;
    int drums;  // 0 none, 1 four on the floor, 2 break, 3 hand drums
    std::uint32_t seed;
};

struct Note {
    double start, length;  // seconds
    double midi;
    Voice voice;
    float gain, pan;  // pan -1 left .. 1 right
};

struct Buffer {
    std::vector<float> left, right;
    std::size_t loopStart = 0;
    // Adds a sample; anything past the end folds back into the loop body.
    void Add(std::size_t i, float v, float pan) {
        const std::size_t body = left.size() - loopStart;
        while (i >= left.size()) i -= body;
        left[i] += v * (1 - pan) * 0.5f;
        right[i] += v * (1 + pan) * 0.5f;
    }
};

float VoiceLength(Voice v, double length) {
    switch (v) {
        case Voice::Kick:
            return 0.3f;
        case Voice::Snare:
            return 0.2f;
        case Voice::Hat:
            return 0.06f;
        case Voice::Tabla:
            return 0.25f;
        case Voice::Pluck:
        case Voice::Piano:
            return static_cast<float>(length + 0.6);
        default:
            return static_cast<float>(length + 0.12);
    }
}

void Render(Buffer& buf, const Note& n, Rng& rng) {
    const double hz = NoteHz(n.midi);
    const auto first = static_cast<std::size_t>(n.start * kRate);
    const auto count = static_cast<std::size_t>(VoiceLength(n.voice, n.length) * kRate);
    LowPass lp(2000), lp2(800);
    double phase = 0, phase2 = 0, phase3 = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double t = static_cast<double>(k) / kRate;
        float v = 0;
        switch (n.voice) {
            case Voice::Square:
                phase += hz * (1 + 0.004 * std::sin(2 * kPi * 5.5 * t)) / kRate;
                v = 0.5f * Oscillator(Wave::Square, phase) *
                    Envelope(t, 0.01, n.length + 0.08, 0.08);
                break;
            case Voice::Saw:
                phase += hz / kRate;
                lp.SetCutoff(1200 + 2500 * std::exp(-t * 6));
                v = 0.6f * lp(Oscillator(Wave::Saw, phase)) *
                    Envelope(t, 0.01, n.length + 0.1, 0.1);
                break;
            case Voice::Triangle:
                phase += hz / kRate;
                v = 0.7f * Oscillator(Wave::Triangle, phase) *
                    Envelope(t, 0.005, n.length + 0.1, 0.1);
                break;
            case Voice::Pluck:
                phase += hz / kRate;
                lp.SetCutoff(600 + 5000 * std::exp(-t * 9));
                v = 0.8f *
                    lp(Oscillator(Wave::Saw, phase) + 0.3f * Oscillator(Wave::Square, phase * 2)) *
                    static_cast<float>(std::exp(-t * 3.5)) * Envelope(t, 0.002, 10, 0);
                break;
            case Voice::Piano: {
                phase += hz / kRate;
                const double s = std::sin(2 * kPi * phase) * std::exp(-t * 2.2) +
                                 0.45 * std::sin(4 * kPi * phase) * std::exp(-t * 4) +
                                 0.2 * std::sin(6 * kPi * phase) * std::exp(-t * 7);
                v = 0.7f * static_cast<float>(s) * Envelope(t, 0.003, n.length + 0.6, 0.2);
                break;
            }
            case Voice::Brass:
                phase += hz / kRate;
                lp.SetCutoff(500 + 2500 * std::min(1.0, t / 0.06));
                v = 0.6f * lp(Oscillator(Wave::Saw, phase)) *
                    Envelope(t, 0.03, n.length + 0.1, 0.1);
                break;
            case Voice::Pad:
                phase += hz / kRate;
                phase2 += hz * 1.006 / kRate;
                phase3 += hz * 0.994 / kRate;
                lp.SetCutoff(1400);
                v = 0.35f *
                    lp(Oscillator(Wave::Saw, phase) + Oscillator(Wave::Saw, phase2) +
                       Oscillator(Wave::Saw, phase3)) *
                    Envelope(t, 0.15, n.length + 0.12, 0.2);
                break;
            case Voice::BassSaw:
                phase += hz / kRate;
                lp.SetCutoff(300 + 900 * std::exp(-t * 8));
                v = 0.9f * lp(Oscillator(Wave::Saw, phase)) *
                    Envelope(t, 0.005, n.length + 0.05, 0.05);
                break;
            case Voice::BassSquare:
                phase += hz / kRate;
                v = 0.5f * lp2(Oscillator(Wave::Square, phase)) *
                    Envelope(t, 0.005, n.length + 0.05, 0.05);
                break;
            case Voice::BassSine:
                phase += hz / kRate;
                v = 0.8f *
                    (Oscillator(Wave::Sine, phase) + 0.2f * Oscillator(Wave::Triangle, phase * 2)) *
                    Envelope(t, 0.01, n.length + 0.08, 0.08);
                break;
            case Voice::Kick:
                phase += (45 + 110 * std::exp(-t * 35)) / kRate;
                v = 1.0f * Oscillator(Wave::Sine, phase) * static_cast<float>(std::exp(-t * 9));
                break;
            case Voice::Snare:
                phase += 185.0 / kRate;
                v = (0.5f * lp(rng.Range(-1, 1)) + 0.3f * Oscillator(Wave::Sine, phase)) *
                    static_cast<float>(std::exp(-t * 18));
                break;
            case Voice::Hat: {
                const float noise = rng.Range(-1, 1);
                v = 0.35f * (noise - lp(noise)) * static_cast<float>(std::exp(-t * 60));
                break;
            }
            case Voice::Tabla:
                phase += (180 + 140 * std::exp(-t * 25)) * (n.midi / 60.0) / kRate;
                v = 0.6f * Oscillator(Wave::Sine, phase) * static_cast<float>(std::exp(-t * 12));
                break;
        }
        buf.Add(first + k, v * n.gain, n.pan);
    }
}

int Degree(const Tune& tune, int degree) {
    const int size = static_cast<int>(tune.scale.size());
    const int octave = degree >= 0 ? degree / size : -((-degree + size - 1) / size);
    return tune.root + 12 * octave + tune.scale[static_cast<std::size_t>(degree - octave * size)];
}

// Notes of one tune: intro bars (bass and drums), then the body in phrases of
// four bars whose second half answers the first.
std::vector<Note> Compose(const Tune& tune, int introBars, int bodyBars, double bar) {
    std::vector<Note> notes;
    Rng rng(tune.seed);
    const double eighth = bar / 8;
    // One phrase of lead melody (four bars), reused with a varied ending.
    std::vector<std::pair<int, int>> phrase;  // (slot, degree) with degree -99 for rests
    int degree = 7;
    for (int slot = 0; slot < 32; ++slot) {
        const int chord = tune.chords[static_cast<std::size_t>((slot / 8) % tune.chords.size())];
        if (slot % 4 == 0) {
            const int tones[] = {chord, chord + 2, chord + 4};
            int best = tones[0] + 7;
            for (int t : tones) {
                for (int o : {0, 7, 14}) {
                    if (std::abs(t + o - degree) < std::abs(best - degree)) best = t + o;
                }
            }
            degree = best;
            phrase.push_back({slot, degree});
        } else if (rng.Below(100) < 55) {
            degree = std::clamp(degree + rng.Below(5) - 2, 3, 13);
            phrase.push_back({slot, degree});
        }
    }
    const int totalBars = introBars + bodyBars;
    for (int b = 0; b < totalBars; ++b) {
        const double t0 = b * bar;
        const int chord = tune.chords[static_cast<std::size_t>(b % tune.chords.size())];
        const bool body = b >= introBars;
        // Bass: root on the beats, the fifth on the off-beats of even bars.
        for (int q = 0; q < 4; ++q) {
            const int deg = (q % 2 == 1 && b % 2 == 0) ? chord + 4 : chord;
            notes.push_back({t0 + q * bar / 4, bar / 4 * 0.85,
                             static_cast<double>(Degree(tune, deg) - 24), tune.bass, 0.5f, 0});
        }
        if (body) {
            // Harmony: the chord held for the bar.
            for (int k : {0, 2, 4}) {
                notes.push_back({t0, bar * 0.95, static_cast<double>(Degree(tune, chord + k) - 12),
                                 tune.harmony, 0.12f, -0.4f + 0.4f * static_cast<float>(k / 2)});
            }
            // Lead.
            const int inPhrase = (b - introBars) % 4;
            const bool answer = ((b - introBars) / 4) % 2 == 1;
            for (std::size_t i = 0; i < phrase.size(); ++i) {
                const auto [slot, deg] = phrase[i];
                if (slot / 8 != inPhrase) continue;
                const int next = i + 1 < phrase.size() ? phrase[i + 1].first : 32;
                const int len = std::max(1, std::min(next - slot, 4));
                int d = deg;
                if (answer && inPhrase == 3) d = slot % 8 == 0 ? chord + 7 : deg - 1;
                notes.push_back({t0 + (slot % 8) * eighth, len * eighth * 0.9,
                                 static_cast<double>(Degree(tune, d)), tune.lead, 0.32f, 0.2f});
            }
        }
        // Drums.
        for (int s = 0; s < 8; ++s) {
            const double t = t0 + s * eighth;
            switch (tune.drums) {
                case 1:
                    if (s % 2 == 0) notes.push_back({t, 0.1, 36, Voice::Kick, 0.8f, 0});
                    if (s == 2 || s == 6) notes.push_back({t, 0.1, 38, Voice::Snare, 0.5f, 0.1f});
                    notes.push_back({t + eighth / 2, 0.05, 42, Voice::Hat, 0.4f, -0.3f});
                    break;
                case 2:
                    if (s == 0 || s == 3 || s == 5)
                        notes.push_back({t, 0.1, 36, Voice::Kick, 0.8f, 0});
                    if (s == 2 || s == 6) notes.push_back({t, 0.1, 38, Voice::Snare, 0.55f, 0.1f});
                    notes.push_back({t, 0.05, 42, Voice::Hat, 0.35f, -0.3f});
                    break;
                case 3:
                    if (s == 0 || s == 3 || s == 4 || s == 6) {
                        notes.push_back({t, 0.1, s == 3 ? 72.0 : 60.0, Voice::Tabla, 0.6f,
                                         s == 3 ? 0.3f : -0.2f});
                    }
                    break;
                default:
                    break;
            }
        }
    }
    return notes;
}

void WriteTune(Output& out, const Tune& tune, int index) {
    const double bar = 4 * 60.0 / tune.bpm;
    const int introBars = 2;
    int bodyBars = 8;
    while ((introBars + bodyBars) * bar < 22.0) bodyBars += 4;
    const auto loopStart = static_cast<std::size_t>(introBars * bar * kRate);
    const auto total = static_cast<std::size_t>((introBars + bodyBars) * bar * kRate);
    Buffer buf;
    buf.left.assign(total, 0);
    buf.right.assign(total, 0);
    buf.loopStart = loopStart;
    Rng noise(tune.seed * 7 + 1);
    for (const Note& n : Compose(tune, introBars, bodyBars, bar)) Render(buf, n, noise);

    const auto left = ToPcm16(buf.left, 0.8f);
    const auto right = ToPcm16(buf.right, 0.8f);
    std::vector<std::int16_t> stereo(total * 2);
    for (std::size_t i = 0; i < total; ++i) {
        stereo[2 * i] = left[i];
        stereo[2 * i + 1] = right[i];
    }
    platform::OggEncodeOptions options;
    options.channels = 2;
    options.hz = kRate;
    options.quality = 0.3f;
    options.serial = 100 + index;
    const auto ogg = platform::EncodeOggVorbis(stereo, options);
    const std::string name = std::string("bgm/") + tune.file;
    if (ogg.empty()) {
        out.Result().ok = false;
        out.Result().errors.push_back("cannot encode " + name);
        return;
    }
    out.Bytes(name, ogg);
    char loop[96];
    std::snprintf(loop, sizeof loop, "LOOPSTART=%zu\r\nLOOPLENGTH=%zu\r\n", loopStart,
                  total - loopStart);
    out.Text(name + ".sli", loop);
}

const std::vector<Tune>& Tunes() {
    static const std::vector<int> major{0, 2, 4, 5, 7, 9, 11};
    static const std::vector<int> minor{0, 2, 3, 5, 7, 8, 10};
    static const std::vector<Tune> tunes{
        {"regos.ogg",
         132,
         57,
         minor,
         {0, 5, 2, 6},
         Voice::Square,
         Voice::BassSaw,
         Voice::Pad,
         1,
         11},
        {"インド風の曲.ogg",
         100,
         62,
         {0, 1, 4, 5, 7, 8, 10},
         {0, 0, 1, 0},
         Voice::Pluck,
         Voice::BassSine,
         Voice::Pad,
         3,
         12},
        {"03_abx0002-04rv70.ogg",
         140,
         64,
         minor,
         {0, 3, 5, 4},
         Voice::Triangle,
         Voice::BassSquare,
         Voice::Pad,
         2,
         13},
        {"ピアノっぽいもの.ogg",
         88,
         60,
         major,
         {0, 5, 3, 4},
         Voice::Piano,
         Voice::BassSine,
         Voice::Piano,
         0,
         14},
        {"sta1.ogg",
         120,
         55,
         major,
         {0, 4, 5, 3},
         Voice::Square,
         Voice::BassSine,
         Voice::Pad,
         1,
         15},
        {"sta2.ogg", 150, 54, minor, {0, 6, 5, 4}, Voice::Saw, Voice::BassSaw, Voice::Pad, 2, 16},
        {"オケダンス.ogg",
         126,
         58,
         major,
         {0, 3, 4, 0},
         Voice::Brass,
         Voice::BassSaw,
         Voice::Pad,
         1,
         17},
    };
    return tunes;
}

}  // namespace

int MusicTrackCount() {
    return static_cast<int>(Tunes().size());
}

void WriteMusicTrack(Output& out, int index) {
    if (index < 0 || index >= MusicTrackCount()) return;
    WriteTune(out, Tunes()[static_cast<std::size_t>(index)], index);
}

}  // namespace brumil::datagen
