#include "core/file_table.h"

#include <algorithm>

namespace brumil::core {
namespace {
bool ValidNumber(Long n) {
    return n >= 1 && n <= FileTable::kMaxFileNumber;
}
}  // namespace

Long FileTable::FreeFile() const {
    for (Long n = 1; n <= kMaxFileNumber; ++n) {
        if (!InUse(n)) return n;
    }
    return 0;
}

bool FileTable::OpenRead(Long number, std::string_view path) {
    if (!ValidNumber(number) || InUse(number)) return false;
    auto file = platform::OpenFile::OpenRead(path);
    if (!file) return false;
    files_.emplace(number, Entry{std::move(*file), std::string(path)});
    return true;
}

bool FileTable::OpenWrite(Long number, std::string_view path, bool replace) {
    if (!ValidNumber(number) || InUse(number)) return false;
    auto file =
        platform::OpenFile::OpenWrite(path, replace ? platform::OpenFile::WriteMode::kReplace
                                                    : platform::OpenFile::WriteMode::kCreateNew);
    if (!file) return false;
    files_.emplace(number, Entry{std::move(*file), std::string(path)});
    return true;
}

Long FileTable::ReadBytes(Long number, Long position, std::span<std::uint8_t> out) const {
    const auto it = files_.find(number);
    if (it == files_.end() || position < 1) return -1;
    out = out.first(std::min<std::size_t>(out.size(), INT32_MAX));
    const auto n = it->second.file.ReadAt(static_cast<std::uint64_t>(position - 1), out);
    return n ? static_cast<Long>(*n) : -1;
}

Long FileTable::WriteBytes(Long number, Long position, std::span<const std::uint8_t> bytes) {
    const auto it = files_.find(number);
    if (it == files_.end() || position < 1) return 1;
    return it->second.file.WriteAt(static_cast<std::uint64_t>(position - 1), bytes) ? 0 : 1;
}

Long FileTable::Length(Long number) const {
    const auto it = files_.find(number);
    if (it == files_.end()) return -1;
    return static_cast<Long>(std::min<std::uint64_t>(it->second.file.Size(), INT32_MAX));
}

std::string FileTable::PathOf(Long number) const {
    const auto it = files_.find(number);
    return it == files_.end() ? std::string() : it->second.path;
}

}  // namespace brumil::core
