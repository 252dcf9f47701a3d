#include "core/pak_archive.h"

#include <algorithm>
#include <cstring>

#include "core/text.h"
#include "platform/base/files.h"

namespace brumil::core {
namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kEntryFixedSize = 2 + 4 + 4;

std::uint32_t GetU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool ValidName(std::string_view name) {
    if (name.empty() || name.size() > kMaxPakNameLength) return false;
    if (name == "." || name == "..") return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace

std::optional<std::vector<PakEntry>> ParsePakIndex(std::span<const std::uint8_t> head,
                                                   std::uint64_t fileSize) {
    if (head.size() < kHeaderSize || fileSize < kHeaderSize) return std::nullopt;
    if (std::memcmp(head.data(), kPakMagic, sizeof kPakMagic) != 0) return std::nullopt;
    const std::uint32_t count = GetU32(head.data() + 8);
    if (count > kMaxPakEntries) return std::nullopt;
    std::vector<PakEntry> entries;
    entries.reserve(count);
    std::size_t at = kHeaderSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (head.size() - at < 2) return std::nullopt;
        const std::size_t nameLength = std::size_t{head[at]} | std::size_t{head[at + 1]} << 8;
        if (head.size() - at < kEntryFixedSize + nameLength) return std::nullopt;
        PakEntry e;
        e.name.assign(reinterpret_cast<const char*>(head.data() + at + 2), nameLength);
        e.offset = GetU32(head.data() + at + 2 + nameLength);
        e.length = GetU32(head.data() + at + 6 + nameLength);
        if (!ValidName(e.name)) return std::nullopt;
        if (std::uint64_t{e.offset} + e.length > fileSize) return std::nullopt;
        at += kEntryFixedSize + nameLength;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::optional<std::vector<PakEntry>> ReadPakIndex(std::string_view archivePath) {
    const auto size = platform::FileSize(archivePath);
    if (!size || *size < kHeaderSize) return std::nullopt;
    const auto header = platform::ReadFileRange(archivePath, 0, kHeaderSize);
    if (!header || header->size() < kHeaderSize) return std::nullopt;
    const std::uint32_t count = GetU32(header->data() + 8);
    if (count > kMaxPakEntries) return std::nullopt;
    // The table is at most this long; the check above keeps the read bounded.
    const std::uint64_t tableMax =
        kHeaderSize + std::uint64_t{count} * (kEntryFixedSize + kMaxPakNameLength);
    const auto head = platform::ReadFileRange(
        archivePath, 0, static_cast<std::size_t>(std::min<std::uint64_t>(tableMax, *size)));
    if (!head) return std::nullopt;
    return ParsePakIndex(*head, *size);
}

const PakEntry* FindPakEntry(const std::vector<PakEntry>& entries, std::string_view name) {
    for (const PakEntry& e : entries) {
        if (EqualsNoCaseAscii(e.name, name)) return &e;
    }
    return nullptr;
}

std::optional<PakLocation> LocatePakFile(std::string_view path) {
    if (path.empty()) return std::nullopt;
    if (platform::FileExists(path)) {
        const auto size = platform::FileSize(path);
        if (!size) return std::nullopt;
        return PakLocation{std::string(path), 0, *size, false};
    }
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos || cut == 0) return std::nullopt;
    const std::string archive = std::string(path.substr(0, cut)) + ".pak";
    const std::string_view name = path.substr(cut + 1);
    if (!ValidName(name)) return std::nullopt;
    const auto entries = ReadPakIndex(archive);
    if (!entries) return std::nullopt;
    const PakEntry* e = FindPakEntry(*entries, name);
    if (!e) return std::nullopt;
    return PakLocation{archive, e->offset, e->length, true};
}

std::optional<std::vector<std::uint8_t>> BuildPak(std::span<const PakInput> files) {
    if (files.size() > kMaxPakEntries) return std::nullopt;
    std::uint64_t tableSize = kHeaderSize;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!ValidName(files[i].name)) return std::nullopt;
        for (std::size_t k = 0; k < i; ++k) {
            if (EqualsNoCaseAscii(files[k].name, files[i].name)) return std::nullopt;
        }
        tableSize += kEntryFixedSize + files[i].name.size();
    }
    std::uint64_t total = tableSize;
    for (const auto& f : files) total += f.bytes.size();
    if (total > 0xFFFFFFFFull) return std::nullopt;

    std::vector<std::uint8_t> out(kPakMagic, kPakMagic + sizeof kPakMagic);
    PutU32(out, static_cast<std::uint32_t>(files.size()));
    auto offset = static_cast<std::uint32_t>(tableSize);
    for (const auto& f : files) {
        PutU16(out, static_cast<std::uint32_t>(f.name.size()));
        out.insert(out.end(), f.name.begin(), f.name.end());
        PutU32(out, offset);
        PutU32(out, static_cast<std::uint32_t>(f.bytes.size()));
        offset += static_cast<std::uint32_t>(f.bytes.size());
    }
    for (const auto& f : files) out.insert(out.end(), f.bytes.begin(), f.bytes.end());
    return out;
}

}  // namespace brumil::core
