#pragma once
// What the players need from the rest of the program, in one place: the
// pak-aware file reads of the core helpers, the framework's sound device
// (buffers, output format, 3D listener, master level) and Ogg decoding.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "platform/sound/sound_buffer.h"

namespace brumil::sound::detail {

// The whole file found as a plain file or as an entry of the ".pak" archive
// standing for its folder; nothing when it is not found or cannot be read.
std::optional<std::vector<Byte>> ReadSoundFile(std::string_view path);

// A secondary buffer on the framework's device (flags as given; the device
// adds its focus bits); null when refused or when there is no device.
std::unique_ptr<platform::SoundBuffer> CreateBuffer(Long size, Long hz, Long bits, Long channels,
                                                    Long flags);

// The output format the primary buffer reports; nothing without a device.
std::optional<platform::PcmFormat> PrimaryFormat();

// Applies the deferred 3D settings through the framework's listener.
void CommitDeferred3D();

// The 3D control of a buffer made with the 3D capability, its distances set
// to the players' range (1 to 32) and committed; null when there is none.
std::unique_ptr<platform::Sound3DBuffer> Open3DBuffer(platform::SoundBuffer& buffer);

// Position and velocity as deferred settings of the 3D buffer, then the
// listener's commit, so both take effect together.
void SetDeferred3D(platform::Sound3DBuffer& buffer, Single x, Single y, Single z, Single vx,
                   Single vy, Single vz);

// The master level in percent (0 .. -100).
Long MasterVolumeOffset();

}  // namespace brumil::sound::detail

namespace brumil::sound::detail {

// Decodes a whole Ogg Vorbis file to 16-bit PCM (the core helpers' decoder):
// the PCM byte count, 0 when it does not decode (outputs then untouched).
Long DecodeOggWhole(std::span<const Byte> ogg, std::vector<Byte>& pcm, Long& bits, Long& channels,
                    Long& hz);

// Writes a file whole (program path, replacing it); false on any failure.
bool WriteSoundFile(std::string_view path, std::span<const Byte> bytes);

}  // namespace brumil::sound::detail

namespace brumil::sound::detail {

// One step of the core helpers' incremental Ogg decoder (modes 0 open, 1
// decode, 2 close, 3 closed): minus the bytes decoded while unfinished, the
// total when this step finished, 0 on failure and in modes 2 and 3.
Long DecodeOggStream(Long& mode, Long& index, Long& cursor, Long requestBytes,
                     std::span<const Byte> source, std::vector<Byte>& pcm, Long& size, Long& bits,
                     Long& channels, Long& hz);

}  // namespace brumil::sound::detail
