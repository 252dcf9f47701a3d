#pragma once
// The WIT sound container: the sound record of the music player and its file.
//
// File layout (little-endian; nothing follows the data, no checksum):
//   0 magic "WIT\xFF" (the Long 0xFF544957) | 4 DataSize | 8 DataBits
//   12 DataChannels | 16 DataHz | 20 PlayerStart | 24 PlayerRestart
//   28 PlayerEnd | 32 reserved | 36 DefaultStream | 40 DefaultVolume (float)
//   44 TagTitle: 2-byte unsigned length n, n bytes of UTF-8 text
//      TagInfo: the same
//      pass count (4) | source kind (4)
//      data array: dimension count (2, always 1) | element count k (4)
//                  | lower bound (4, 0) | k bytes
//
// With a pass count n >= 1 the data bytes are the PCM wrapped in n codec
// blocks of the core helpers; with source kind 1 they are a whole Ogg file.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/vb_types.h"

namespace brumil::sound {

constexpr Long kWitMagic = static_cast<Long>(0xFF544957u);
constexpr std::size_t kWitHeaderSize = 44;

enum WitSourceKind : Long { kWitSourcePcm = 0, kWitSourceOgg = 1 };

struct WitRecord {
    Long magic = 0;
    Long dataSize = 0;      // bytes of PCM the sound decodes to
    Long dataBits = 0;      // 8 or 16
    Long dataChannels = 0;  // 1 or 2
    Long dataHz = 0;
    Long playerStart = 0;  // byte offsets in the PCM
    Long playerRestart = 0;
    Long playerEnd = 0;      // 0 or less: the end of the PCM
    Long reserved = 0;       // carried through unchanged
    Long defaultStream = 0;  // 1: ring-buffer stream, 0: one whole buffer
    Single defaultVolume = 0;
    std::string tagTitle;
    std::string tagInfo;
    Long passCount = 0;  // codec blocks around the PCM
    Long sourceKind = kWitSourcePcm;
    std::vector<Byte> data;

    // Bytes per sample frame.
    Long BlockSize() const { return (dataBits / 8) * dataChannels; }
    bool operator==(const WitRecord&) const = default;
};

// Reads a WIT file. Nothing when the magic, bits (8, 16) or channels (1, 2)
// fail, or when the tag or data records are truncated or malformed; the
// caller then tries the file by its extension.
std::optional<WitRecord> ReadWitFile(std::span<const Byte> file);

// The file bytes for a record. Tags longer than 65535 bytes are cut at a
// character boundary.
std::vector<Byte> WriteWitFile(const WitRecord& record);

}  // namespace brumil::sound
