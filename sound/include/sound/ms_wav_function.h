#pragma once
// CmsWAVFunction: editing operations on whole sounds held in CmsWAV objects:
// one sample frame read or written, a copy in another sample size or channel
// count, a copy at another rate, and ten block operations that combine a
// range of one sound into a range of another. It holds no data; the waves
// stay the caller's. The sample arithmetic is that of the wave routines
// (platform/sound/wave_routines.h), one routine call per operation.
//
// A wave counts as loaded when its WaveLoaded flag is set (Add or a
// successful Load). Positions, indexes and lengths count frames; the
// routines check them against both waves and clip lengths to what both
// hold, so nothing is ever written outside a wave. Source and destination
// may be the same wave.

#include <optional>

#include "core/vb_types.h"
#include "sound/ms_wav.h"

namespace brumil::sound {

class CmsWAVFunction {
public:
    // One frame on the 16-bit scale (the 24-bit scale for the "24" forms); a
    // mono frame reads the same on both sides. An unloaded wave or a position
    // outside it reads (0, 0) and writes nothing.
    static void GetWaveSample(const CmsWAV& wave, Long position, Long& left, Long& right);
    static void LetWaveSample(CmsWAV& wave, Long position, Long left, Long right);
    static void GetWaveSample24(const CmsWAV& wave, Long position, Long& left, Long& right);
    static void LetWaveSample24(CmsWAV& wave, Long position, Long left, Long right);

    // dst becomes src in `bits` and `channels` (omitted: the source's), same
    // length and rate. 1 when src is not loaded, when dst refuses the format
    // (dst is then untouched) or the conversion fails; else 0.
    static Long CreateCopy(CmsWAV& dst, CmsWAV& src, std::optional<double> bits = {},
                           std::optional<double> channels = {});
    // dst becomes src resampled to `rate` (clamped to 0.5 .. 2) times as many
    // frames: at `rate` times the sampling rate when hzExChange (the copy
    // lasts as long as the source), else at the source's rate (it plays
    // `rate` times longer and lower). Results as CreateCopy.
    static Long CreateCopyFrequency(CmsWAV& dst, CmsWAV& src, Single rate, bool hzExChange = false);

    // Block operations: nothing unless both waves are loaded. An omitted
    // length is the destination's frame count.
    static void Blt(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                    std::optional<double> length = {}, Single level = 1.0f);
    static void BltAdd(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                       std::optional<double> length = {}, Single level = 1.0f);
    static void BltSub(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                       std::optional<double> length = {}, Single level = 1.0f);
    static void BltMul(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                       std::optional<double> length = {}, Single level = 1.0f);
    static void BltAddNoise(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                            std::optional<double> length = {}, Single level = 0.1f);
    static void BltBlur(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                        std::optional<double> length = {}, Long blurLevel = 1);
    static void BltGluder(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                          std::optional<double> length = {}, Long gluderLevel = 1);
    static void BltSin(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                       std::optional<double> length = {}, Single level = 0.1f, Single v = 0.1f,
                       Single m = 0.0f, Single a = 0.0f);
    static void BltEndLoop(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                           std::optional<double> length = {}, Single level = 1.0f,
                           Single v = 100.0f, Single m = 2.0f, Single a = 5.0f);
    static void BltLoopBlur(CmsWAV& dst, CmsWAV& src, Long dstIndex = 0, Long srcIndex = 0,
                            std::optional<double> length = {}, Single level = 1.0f,
                            Single v = 50.0f, Single m = 0.0f, Single a = 0.0f);

private:
    // The two groups of block operations, by code; an unknown code does
    // nothing.
    static void Dispatch1(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                          std::optional<double> length, Long code, Single level, Long integerLevel);
    static void Dispatch2(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                          std::optional<double> length, Long code, Single level, Single v, Single m,
                          Single a);
};

}  // namespace brumil::sound
