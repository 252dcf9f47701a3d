#pragma once
// CApi: the shared helper object. Most members forward to the helper modules
// (text.h, val.h, math_helpers.h, paths.h, pak_archive.h, save_text.h); CApi
// adds the state they need: the open-file table with the file last opened by
// PakFileOpen, the two random generators, the clock and the single-copy lock.
//
// Results of 0 and 1 mean success and failure where nothing else is said.
// One CApi holds one current pak file; a component that keeps a file open
// across timer ticks makes a private CApi of its own.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/api_form.h"
#include "core/file_table.h"
#include "core/math_helpers.h"
#include "core/math_random.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/val.h"
#include "core/vb_types.h"
#include "platform/base/clock.h"
#include "platform/base/single_instance.h"
#include "platform/codec/helper_random.h"
#include "platform/sound/ogg_decoder.h"

namespace brumil::core {

class CApi {
public:
    explicit CApi(platform::Clock& clock = platform::SystemClock());
    CApi(const CApi&) = delete;
    CApi& operator=(const CApi&) = delete;
    ~CApi();

    // ---- System -------------------------------------------------------------
    // Ends the program at once when another copy holds the single-copy lock,
    // first showing `message` in a warning box when it is not empty. The first
    // copy keeps the lock for the life of this object.
    void AppPrevInstance(std::string_view message);
    // This copy holds the single-copy lock (false when the lock file could
    // not be opened and the copy carried on without it).
    bool HoldsInstanceLock() const { return instanceLock_ != nullptr; }
    void Sleep(Long milliseconds);
    // Applies the given values to a window (api_form.h): x and y place it,
    // kept inside the screen; client width and height size its client area;
    // font size (0 gives 9) and name apply to every control; no caption
    // removes the caption and sizing border. Omitted values keep its state.
    void SetupForm(ApiForm& form, const FormSetup& setup);
    // Converts a point in the window's client coordinates to the screen in
    // place: 0, 0 gives the client area's origin on the screen.
    void FormOnPosition(const ApiForm& form, Long& x, Long& y);
    // Milliseconds of the 32-bit clock; compare with platform::DeadlinePassed.
    platform::Millis GetTime() { return clock_.NowMs(); }
    // Today's date: a four-digit year, two-digit month and day, each only when
    // its flag is set and each followed by its separator.
    std::string GetTimeWideYearMD(bool year, std::string_view afterYear, bool month,
                                  std::string_view afterMonth, bool day, std::string_view afterDay);
    // With restore False: remembers the current folder and, when `fileName` is
    // not found from it, makes the program's folder current. With restore
    // True: returns to the remembered folder.
    void DLLTest(std::string_view fileName, bool restore);

    // ---- Random numbers -------------------------------------------------------
    // Seeds both generators (the helper library's and the program's own).
    void Randomize(std::uint64_t seed);
    void SeedHelperRandom(std::uint64_t seed) { helperRandom_.Seed(seed); }
    void SeedMathRandom(std::uint64_t seed) { mathRandom_.Seed(seed); }
    // min..max inclusive from the helper library's generator.
    Long Rnd(Long min, Long max);
    // 0..n-1 from the helper library's generator; n of 1 or less gives 0.
    Long RndDLL(Long n);
    // min..max inclusive from the program's own generator.
    Long Math_Rnd(Long min, Long max) { return mathRandom_.Range(min, max); }

    // ---- Text -------------------------------------------------------------------
    void TextAdd(std::string& text, std::string_view line) { core::TextAdd(text, line); }
    void TextChange(std::string& text, std::string_view search, std::string_view replacement,
                    Long compare = kBinaryCompare) {
        core::TextChange(text, search, replacement, compare);
    }
    std::string Divide(std::string& text, std::string_view delimiter) {
        return core::Divide(text, delimiter);
    }
    std::string DivideHalf(std::string_view text, std::string_view delimiter) {
        return core::DivideHalf(text, delimiter);
    }
    std::string MidOther(std::string_view text, Long start, Long length,
                         std::string_view replacement) {
        return core::MidOther(text, start, length, replacement);
    }
    Long LVal(std::string_view text) { return core::LVal(text); }
    Long LValBound(std::string_view text, Long min = INT32_MIN, Long max = INT32_MAX) {
        return core::LValBound(text, min, max);
    }
    Single SValBound(std::string_view text, Single min = -32767.0f, Single max = 32767.0f) {
        return core::SValBound(text, min, max);
    }

    // ---- Maths ------------------------------------------------------------------
    template <typename T, typename U, typename V>
    void Math_Bound(T& value, const U& min, const V& max) {
        core::Math_Bound(value, min, max);
    }
    template <typename T>
    T Math_Max(std::span<const T> list) {
        return core::Math_Max(list);
    }
    template <typename T>
    T Math_Min(std::span<const T> list) {
        return core::Math_Min(list);
    }
    template <typename T, typename U>
    bool CompareEach(const T& a, std::span<const U> list) {
        return core::CompareEach(a, list);
    }
    template <typename T>
    void SortIndex(std::span<const T> data, std::span<Long> index, bool decreasing) {
        core::SortIndex(data, index, decreasing);
    }
    Single Math_Remainder(Single number, Single div) { return core::Math_Remainder(number, div); }
    void Math_Color(Single t, std::span<const Long> colors, Long& result) {
        core::Math_Color(t, colors, result);
    }
    Single Math_Length(Single x1, Single y1, Single x2, Single y2) {
        return core::Math_Length(x1, y1, x2, y2);
    }
    Single Math_HomingRadian(Single x1, Single y1, Single x2, Single y2) {
        return core::Math_HomingRadian(x1, y1, x2, y2);
    }
    Long SHL(Long value, Long bits) { return core::SHL(value, bits); }
    Long SHR(Long value, Long bits) { return core::SHR(value, bits); }
    Long SAR(Long value, Long bits) { return core::SAR(value, bits); }
    Long CopyMemory(std::span<std::uint8_t> dest, Long destStart, std::span<const std::uint8_t> src,
                    Long srcStart, Long length) {
        return core::CopyMemory(dest, destStart, src, srcStart, length);
    }
    Long ZeroMemory(std::span<std::uint8_t> dest, Long destStart, Long length) {
        return core::ZeroMemory(dest, destStart, length);
    }

    // ---- Paths and folders ----------------------------------------------------
    void ExepathAddition(std::string& basePath) { core::ExepathAddition(basePath); }
    std::string GetAbolutePath(std::string_view path) { return core::GetAbolutePath(path); }
    std::string GetFilePath(std::string_view fullPath) { return core::GetFilePath(fullPath); }
    std::string GetFileName(std::string_view fullPath) { return core::GetFileName(fullPath); }
    std::string GetFileExt(std::string_view fullPath) { return core::GetFileExt(fullPath); }
    // True when a plain file of that path exists.
    bool DirFile(std::string_view fullPath);
    // Creates one folder level unless it exists; errors are ignored.
    void MakeDir(std::string_view path);
    // The sub-folders of `path`, sorted by name: `skip` leading ones left out,
    // at most `limit` (0 for all), as names, or as full paths when `namesOnly`
    // is False.
    std::vector<std::string> GetFolders(std::string_view path, Long skip = 0, Long limit = 0,
                                        bool namesOnly = true);

    // ---- Files by number and ".pak" archives -------------------------------
    // Opens `fileName` as a plain file or an archive entry (pak_archive.h) under
    // a free file number: 0 when open, 1 when not found. A file opened before
    // stays open under its own number.
    Long PakFileOpen(std::string_view fileName);
    // The current file's number (0 when none is open).
    Long PakFileNumber() const { return pak_.number; }
    // 1-based position of the current file's first byte in the opened file (1
    // for a plain file); 0 when none is open.
    Long PakFileRecnumber() const { return pak_.recnumber; }
    // The current file's length in bytes (clamped to the 32-bit range).
    Long PakFileLength() const { return pak_.length; }
    // The path of the file that was opened (the archive, for an entry).
    std::string PakFilePath() const { return pak_.path; }
    // Closes the current file.
    void PakFileClose();

    Long FreeFile() const { return files_.FreeFile(); }
    // Opens `fileName` for writing bytes under `fileNumber`: with
    // `deleteOldFile` an existing file is deleted first, without it an
    // existing file is not opened. 0 when open, 1 on any failure.
    Long FileOpenWrite(std::string_view fileName, Long fileNumber, bool deleteOldFile = false);
    // Bytes at a 1-based position of an open file; answers the count read or
    // -1 (see FileTable).
    Long ReadBytes(Long fileNumber, Long position, std::span<std::uint8_t> out) const {
        return files_.ReadBytes(fileNumber, position, out);
    }
    Long WriteBytes(Long fileNumber, Long position, std::span<const std::uint8_t> bytes) {
        return files_.WriteBytes(fileNumber, position, bytes);
    }
    Long FileLength(Long fileNumber) const { return files_.Length(fileNumber); }
    void FileClose(Long fileNumber);

    // ---- Text files --------------------------------------------------------------
    // The file (plain or archive entry) as text: a save-text encoded file is
    // decoded ("" when it is damaged); any other file is cut at the first NUL,
    // a leading UTF-8 byte-order mark dropped. "" when the file cannot be read.
    std::string LoadText(std::string_view fileName);
    // Writes plain text, replacing the file atomically: 0, or 1 on failure.
    Long SaveText(std::string_view fileName, std::string_view text);
    // Writes the save-text encoded form, replacing the file atomically.
    Long SaveTextEncode(std::string_view fileName, std::string_view text);

    // ---- Codec blocks (platform/codec.h) ---------------------------------------
    // Replaces `buf` by one codec block of program `codingMode`: 0, or 1 (buf
    // unchanged) for an unknown program.
    Long Encoder(std::vector<std::uint8_t>& buf, Long codingMode);
    // Replaces a codec block by its decoded bytes: 0, or 1 (buf unchanged) when
    // the block is refused.
    Long Decoder(std::vector<std::uint8_t>& buf);
    // Decodes the block in `src` (program from its header) into `dst`: 0, or 1
    // (dst unchanged) when the block is refused.
    Long DecoderByProg(std::vector<std::uint8_t>& dst, std::span<const std::uint8_t> src);

    // ---- Ogg decoding (api_ogg.cpp, over platform/ogg_decoder.h) ----------------
    // Decodes a whole Ogg Vorbis stream held in memory to 16-bit little-endian
    // PCM: `buffer` becomes the PCM bytes and size, bits, channels and hz are
    // filled. Answers the byte count; 0 (outputs untouched) when the stream does
    // not decode, is damaged or truncated, or has more than two channels.
    Long DecodeOggMemory(std::span<const std::uint8_t> dataSource,
                         std::vector<std::uint8_t>& buffer, Long& size, Long& bits, Long& channels,
                         Long& hz);
    // Step decoding driven by streamFlag: 0 open (takes a stream slot into
    // `index`, sizes `buffer` to the whole PCM, decodes a first step, flag 1),
    // 1 next step from byte `cursor`, 2 close (flag 3), 3 nothing. A step is
    // requestDecodeSize in units of 4096 bytes, rounded up, at least one.
    // Answers -cursor while unfinished; `size` when this step finished (stream
    // closed, slot freed, index -1, cursor 0, flag 3); 0 on failure (the stream
    // is closed, flag 3) and in modes 2 and 3. The caller keeps dataSource
    // alive and unchanged between steps.
    Long DecodeOggStreamMemory(Long& streamFlag, Long& index, Long& cursor, Long requestDecodeSize,
                               std::span<const std::uint8_t> dataSource,
                               std::vector<std::uint8_t>& buffer, Long& size, Long& bits,
                               Long& channels, Long& hz);

private:
    platform::OggStreamTable oggStreams_;  // the decoder's stream slots
    // ---- end of Ogg decoding ------------------------------------------------------

private:
    struct PakState {
        Long number = 0;
        Long recnumber = 0;
        Long length = 0;
        std::string path;
    };

    platform::Clock& clock_;
    FileTable files_;
    PakState pak_;
    platform::HelperRandom helperRandom_;
    MathRandom mathRandom_;
    std::unique_ptr<platform::InstanceLock> instanceLock_;
    std::string dllTestFolder_;
};

// The one shared helper object, made on first use.
CApi& gApi();

}  // namespace brumil::core
