// CmsWAVFunction: argument defaults and checks around one wave routine call
// per operation.
#include "sound/ms_wav_function.h"

#include <vector>

namespace brumil::sound {

namespace {

bool Loaded(const CmsWAV& w) {
    return w.WaveLoaded != kFalse;
}

using BlockRoutine = std::int32_t (*)(const platform::WaveDesc&, const platform::WaveDesc&,
                                      std::int32_t, std::int32_t, std::int32_t, float);
using ShapedBlockRoutine = std::int32_t (*)(const platform::WaveDesc&, const platform::WaveDesc&,
                                            std::int32_t, std::int32_t, std::int32_t, float, float,
                                            float, float);

// The source as the routines see it. When it is also the destination its
// bytes are copied first, since re-creating the destination drops them.
struct SourceSnapshot {
    std::vector<Byte> bytes;
    platform::WaveDesc desc;

    SourceSnapshot(CmsWAV& src, bool aliased) : desc(src.WaveDescriptor()) {
        if (!aliased) return;
        bytes.assign(src.WaveData().begin(), src.WaveData().end());
        desc.data = bytes;
    }
};

Long Result(std::int32_t routine) {
    return routine == 0 ? 0 : 1;
}

}  // namespace

void CmsWAVFunction::GetWaveSample(const CmsWAV& wave, Long position, Long& left, Long& right) {
    left = 0;
    right = 0;
    if (!Loaded(wave)) return;
    platform::GetWave(wave.WaveData(), position, wave.WaveBit(), wave.WaveChannel(),
                      wave.WaveBlocks(), left, right);
}

void CmsWAVFunction::LetWaveSample(CmsWAV& wave, Long position, Long left, Long right) {
    if (!Loaded(wave)) return;
    platform::LetWave(wave.WaveDescriptor().data, position, wave.WaveBit(), wave.WaveChannel(),
                      wave.WaveBlocks(), left, right);
}

void CmsWAVFunction::GetWaveSample24(const CmsWAV& wave, Long position, Long& left, Long& right) {
    left = 0;
    right = 0;
    if (!Loaded(wave)) return;
    platform::GetWave24(wave.WaveData(), position, wave.WaveBit(), wave.WaveChannel(),
                        wave.WaveBlocks(), left, right);
}

void CmsWAVFunction::LetWaveSample24(CmsWAV& wave, Long position, Long left, Long right) {
    if (!Loaded(wave)) return;
    platform::LetWave24(wave.WaveDescriptor().data, position, wave.WaveBit(), wave.WaveChannel(),
                        wave.WaveBlocks(), left, right);
}

Long CmsWAVFunction::CreateCopy(CmsWAV& dst, CmsWAV& src, std::optional<double> bits,
                                std::optional<double> channels) {
    if (!Loaded(src)) return 1;
    const Long b = RoundToLong(bits.value_or(src.WaveBit()));
    const Long c = RoundToLong(channels.value_or(src.WaveChannel()));
    const SourceSnapshot source(src, &dst == &src);
    if (dst.Add(src.WaveBlocks(), b, c, src.WaveHz()) != 0) return 1;
    return Result(platform::WaveFormat(dst.WaveDescriptor(), source.desc));
}

Long CmsWAVFunction::CreateCopyFrequency(CmsWAV& dst, CmsWAV& src, Single rate, bool hzExChange) {
    if (!Loaded(src)) return 1;
    if (rate < 0.5f) rate = 0.5f;
    if (rate > 2.0f) rate = 2.0f;
    const Long blocks = src.WaveBlocks(), bits = src.WaveBit(), channels = src.WaveChannel();
    const Long hz = src.WaveHz();
    const Long newBlocks = RoundToLong(static_cast<double>(blocks) * rate);
    const Long newHz = hzExChange ? RoundToLong(static_cast<double>(hz) * rate) : hz;
    // Either way the copy has `rate` times the frames, so each of its frames
    // advances the source by 1 / rate frames.
    const Single step = 1.0f / rate;
    const SourceSnapshot source(src, &dst == &src);
    if (dst.Add(newBlocks, bits, channels, newHz) != 0) return 1;
    return Result(platform::WaveExpand(dst.WaveDescriptor(), source.desc, step));
}

void CmsWAVFunction::Dispatch1(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                               std::optional<double> length, Long code, Single level,
                               Long integerLevel) {
    const Long n = RoundToLong(length.value_or(dst.WaveBlocks()));
    if (!Loaded(dst) || !Loaded(src)) return;
    static constexpr BlockRoutine kLevelled[] = {platform::WaveBlt, platform::WaveBltAdd,
                                                 platform::WaveBltSub, platform::WaveBltAddNoise};
    const platform::WaveDesc d = dst.WaveDescriptor(), s = src.WaveDescriptor();
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 3:
            kLevelled[code](d, s, dstIndex, srcIndex, n, level);
            break;
        case 4:
            platform::WaveBltBlur(d, s, dstIndex, srcIndex, n, integerLevel);
            break;
        case 5:
            platform::WaveBltGluder(d, s, dstIndex, srcIndex, n, integerLevel);
            break;
        case 6:
            platform::WaveBltMul(d, s, dstIndex, srcIndex, n, level);
            break;
        default:
            break;
    }
}

void CmsWAVFunction::Dispatch2(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                               std::optional<double> length, Long code, Single level, Single v,
                               Single m, Single a) {
    const Long n = RoundToLong(length.value_or(dst.WaveBlocks()));
    if (!Loaded(dst) || !Loaded(src)) return;
    static constexpr ShapedBlockRoutine kShaped[] = {platform::WaveBltSin, platform::WaveBltEndLoop,
                                                     platform::WaveBltLoopBlur};
    if (code < 1 || code > 3) return;
    kShaped[code - 1](dst.WaveDescriptor(), src.WaveDescriptor(), dstIndex, srcIndex, n, level, v,
                      m, a);
}

void CmsWAVFunction::Blt(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                         std::optional<double> length, Single level) {
    Dispatch1(dst, src, dstIndex, srcIndex, length, 0, level, 0);
}

void CmsWAVFunction::BltAdd(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                            std::optional<double> length, Single level) {
    Dispatch1(dst, src, dstIndex, srcIndex, length, 1, level, 0);
}

void CmsWAVFunction::BltSub(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                            std::optional<double> length, Single level) {
    Dispatch1(dst, src, dstIndex, srcIndex, length, 2, level, 0);
}

void CmsWAVFunction::BltAddNoise(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                                 std::optional<double> length, Single level) {
    Dispatch1(dst, src, dstIndex, srcIndex, length, 3, level, 0);
}

void CmsWAVFunction::BltBlur(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                             std::optional<double> length, Long blurLevel) {
    Dispatch1(dst, src, dstIndex, srcIndex, length, 4, 0, blurLevel);
}

void CmsWAVFunction::BltGluder(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                               std::optional<double> length, Long gluderLevel) {
    Dispatch1(dst, src, dstIndex, srcIndex, length, 5, 0, gluderLevel);
}

void CmsWAVFunction::BltMul(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                            std::optional<double> length, Single level) {
    Dispatch1(dst, src, dstIndex, srcIndex, length, 6, level, 0);
}

void CmsWAVFunction::BltSin(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                            std::optional<double> length, Single level, Single v, Single m,
                            Single a) {
    Dispatch2(dst, src, dstIndex, srcIndex, length, 1, level, v, m, a);
}

void CmsWAVFunction::BltEndLoop(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                                std::optional<double> length, Single level, Single v, Single m,
                                Single a) {
    Dispatch2(dst, src, dstIndex, srcIndex, length, 2, level, v, m, a);
}

void CmsWAVFunction::BltLoopBlur(CmsWAV& dst, CmsWAV& src, Long dstIndex, Long srcIndex,
                                 std::optional<double> length, Single level, Single v, Single m,
                                 Single a) {
    Dispatch2(dst, src, dstIndex, srcIndex, length, 3, level, v, m, a);
}

}  // namespace brumil::sound
