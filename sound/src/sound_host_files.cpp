// File access of the players through the core helpers' pak lookup.
#include "core/api.h"
#include "sound_host.h"

namespace brumil::sound::detail {

std::optional<std::vector<Byte>> ReadSoundFile(std::string_view path) {
    // Opened, read whole and closed in one go, so the shared helper's current
    // pak file is free again afterwards.
    core::CApi& api = core::gApi();
    if (api.PakFileOpen(path) != 0) return std::nullopt;
    const Long number = api.PakFileNumber();
    const Long first = api.PakFileRecnumber();
    const Long length = api.PakFileLength();
    std::optional<std::vector<Byte>> out;
    if (first >= 1 && length >= 0) {
        std::vector<Byte> bytes(static_cast<std::size_t>(length));
        if (api.ReadBytes(number, first, bytes) == length) out = std::move(bytes);
    }
    api.PakFileClose();
    return out;
}

bool WriteSoundFile(std::string_view path, std::span<const Byte> bytes) {
    core::CApi& api = core::gApi();
    const Long number = api.FreeFile();
    if (number == 0 || api.FileOpenWrite(path, number, true) != 0) return false;
    const bool ok = bytes.empty() || api.WriteBytes(number, 1, bytes) == 0;
    api.FileClose(number);
    return ok;
}

}  // namespace brumil::sound::detail
