#include "platform/pixel/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// jpeglib.h needs FILE declared before it.
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace brumil::platform {
namespace {

// libjpeg reports fatal errors through a callback that must not return; the
// documented way out is a long jump back to the caller. The jump only crosses
// libjpeg's own C frames, and the functions below keep every object with a
// destructor outside the span between setjmp and the jump.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void OnFatalError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr) {}  // warnings are not shown

struct DecodeState {
    jpeg_decompress_struct info;
    ErrorManager err;
    DecodedPicture out;
    bool created = false;
};

bool DecodeInto(DecodeState& st, std::span<const std::uint8_t> bytes, int maxSide) {
    st.info.err = jpeg_std_error(&st.err.pub);
    st.err.pub.error_exit = OnFatalError;
    st.err.pub.output_message = OnMessage;
    if (setjmp(st.err.jump) != 0) return false;
    jpeg_create_decompress(&st.info);
    st.created = true;
    jpeg_mem_src(&st.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&st.info, TRUE) != JPEG_HEADER_OK) return false;
    if (st.info.image_width == 0 || st.info.image_height == 0) return false;
    if (st.info.image_width > static_cast<unsigned>(maxSide) ||
        st.info.image_height > static_cast<unsigned>(maxSide))
        return false;
    st.info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&st.info);
    if (st.info.output_components != 4) return false;
    st.out.width = static_cast<int>(st.info.output_width);
    st.out.height = static_cast<int>(st.info.output_height);
    st.out.argb.assign(static_cast<std::size_t>(st.out.width) * st.out.height, 0);
    while (st.info.output_scanline < st.info.output_height) {
        auto* row = reinterpret_cast<JSAMPLE*>(
            st.out.argb.data() + static_cast<std::size_t>(st.info.output_scanline) * st.out.width);
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&st.info, rows, 1) != 1) return false;
    }
    jpeg_finish_decompress(&st.info);
    // BGRA with the filler byte 0xFF gives 0xFFRRGGBB on little-endian hosts.
    return true;
}

struct EncodeState {
    jpeg_compress_struct info;
    ErrorManager err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool created = false;
};

bool EncodeInto(EncodeState& st, std::span<const std::uint32_t> argb, int width, int height,
                int quality) {
    st.info.err = jpeg_std_error(&st.err.pub);
    st.err.pub.error_exit = OnFatalError;
    st.err.pub.output_message = OnMessage;
    if (setjmp(st.err.jump) != 0) return false;
    jpeg_create_compress(&st.info);
    st.created = true;
    jpeg_mem_dest(&st.info, &st.buffer, &st.size);
    st.info.image_width = static_cast<JDIMENSION>(width);
    st.info.image_height = static_cast<JDIMENSION>(height);
    st.info.input_components = 4;
    st.info.in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(&st.info);
    jpeg_set_quality(&st.info, quality, TRUE);
    jpeg_start_compress(&st.info, TRUE);
    while (st.info.next_scanline < st.info.image_height) {
        const std::uint32_t* src =
            argb.data() + static_cast<std::size_t>(st.info.next_scanline) * width;
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPLE*>(const_cast<std::uint32_t*>(src))};
        jpeg_write_scanlines(&st.info, rows, 1);
    }
    jpeg_finish_compress(&st.info);
    return true;
}

}  // namespace

std::optional<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> bytes, int maxSide) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
    auto st = std::make_unique<DecodeState>();
    const bool ok = DecodeInto(*st, bytes, maxSide);
    if (st->created) jpeg_destroy_decompress(&st->info);
    if (!ok) return std::nullopt;
    return std::move(st->out);
}

std::vector<std::uint8_t> EncodeJpeg(std::span<const std::uint32_t> argb, int width, int height,
                                     int quality) {
    if (width <= 0 || height <= 0 ||
        argb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    auto st = std::make_unique<EncodeState>();
    const bool ok =
        EncodeInto(*st, argb, width, height, quality < 1 ? 1 : (quality > 100 ? 100 : quality));
    if (st->created) jpeg_destroy_compress(&st->info);
    std::vector<std::uint8_t> out;
    if (ok && st->buffer != nullptr) out.assign(st->buffer, st->buffer + st->size);
    std::free(st->buffer);
    return out;
}

}  // namespace brumil::platform
